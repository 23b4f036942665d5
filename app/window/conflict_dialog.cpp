#include "window/conflict_dialog.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QPushButton>

namespace {

QString quoted(const QString& text)
{
    return QCoreApplication::translate("ConflictDialog", "“%1”", "a quoted name").arg(text);
}

} // namespace

ConflictDialog::ConflictDialog(const NameConflict& conflict, QWidget* parent)
    : QMessageBox(QMessageBox::Question, titleFor(conflict), titleFor(conflict),
                  QMessageBox::NoButton, parent)
{
    setInformativeText(conflict.canMerge()
                           ? tr("Merging adds the folder's items to the one already there. "
                                "Replacing moves the one already there to the Trash.")
                           : tr("Replacing moves the item already there to the Trash."));
    const auto add = [this](const QString& title, ConflictAnswer answer, ButtonRole role) {
        answers_.insert(addButton(title, role), answer);
    };
    add(tr("Replace"), ConflictAnswer::Replace, QMessageBox::DestructiveRole);
    add(tr("Skip"), ConflictAnswer::Skip, QMessageBox::RejectRole);
    add(tr("Keep both"), ConflictAnswer::KeepBoth, QMessageBox::AcceptRole);
    if (conflict.canMerge()) add(tr("Merge"), ConflictAnswer::Merge, QMessageBox::AcceptRole);
    setDefaultButton(qobject_cast<QPushButton*>(button(ConflictAnswer::KeepBoth)));
    setEscapeButton(button(ConflictAnswer::Skip));
    setCheckBox(new QCheckBox(tr("Apply to all"), this));
    connect(this, &QMessageBox::buttonClicked, this, [this](QAbstractButton* clicked) {
        Q_EMIT answered({answers_.value(clicked, ConflictAnswer::Skip), checkBox()->isChecked()});
    });
}

QString ConflictDialog::titleFor(const NameConflict& conflict)
{
    const QFileInfo existing(conflict.existing);
    return tr("%1 already exists in %2")
        .arg(quoted(existing.fileName()), quoted(QFileInfo(existing.path()).fileName()));
}

QAbstractButton* ConflictDialog::button(ConflictAnswer answer) const
{
    return answers_.key(answer, nullptr);
}

QCheckBox* ConflictDialog::applyToAll() const
{
    return checkBox();
}
