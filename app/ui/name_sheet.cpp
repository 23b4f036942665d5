#include "ui/name_sheet.h"

#include "ui/symbols.h"
#include "ui/ui_style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

NameSheet::NameSheet(const QString& title, const QString& initial,
                     std::function<void(const QString&)> action, QWidget* parent)
    : QDialog(parent), action_(std::move(action)), field_(new QLineEdit(initial)),
      save_(new QPushButton(tr("Save")))
{
    setWindowTitle(title);
    setWindowModality(Qt::WindowModal);
    setFixedWidth(390);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(26, 26, 26, 26);
    column->setSpacing(20);

    auto* heading = new QHBoxLayout;
    heading->setSpacing(8);
    auto* icon = new QLabel;
    icon->setPixmap(symbolPixmap(QStringLiteral("folder"), 22, QColor()));
    heading->addWidget(icon);
    heading->addWidget(UiStyle::label(title, 17, QFont::Bold));
    heading->addStretch(1);
    column->addLayout(heading);

    field_->setPlaceholderText(tr("Name"));
    field_->setClearButtonEnabled(true);
    field_->selectAll();
    column->addWidget(field_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* cancel = new QPushButton(tr("Cancel"));
    cancel->setAutoDefault(false);
    buttons->addWidget(cancel);
    save_->setDefault(true);
    buttons->addWidget(save_);
    column->addLayout(buttons);

    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(save_, &QPushButton::clicked, this, &NameSheet::submit);
    connect(field_, &QLineEdit::returnPressed, this, &NameSheet::submit);
    connect(field_, &QLineEdit::textChanged, this, [this] { save_->setEnabled(canSave()); });
    save_->setEnabled(canSave());
}

QString NameSheet::name() const
{
    return field_->text();
}

void NameSheet::setName(const QString& name)
{
    field_->setText(name);
}

bool NameSheet::canSave() const
{
    // Only spaces and tabs count as blank; the name itself is passed on untouched.
    for (QChar c : field_->text())
        if (c != u' ' && c != u'\t') return true;
    return false;
}

void NameSheet::submit()
{
    if (!canSave()) return;
    const QString entered = name();
    accept();
    if (action_) action_(entered);
}
