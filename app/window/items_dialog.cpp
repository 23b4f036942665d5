#include "window/items_dialog.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <algorithm>

ItemsDialog::ItemsDialog(QWidget* parent, const QString& prompt, const QString& folder)
    : QFileDialog(parent, prompt, folder)
{
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::ExistingFiles);
    setLabelText(QFileDialog::Accept, prompt);
    for (auto* view : findChildren<QAbstractItemView*>())
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
}

void ItemsDialog::accept()
{
    const QStringList chosen = selectedFiles();
    // The files mode takes a folder as a place to open, not as a choice.
    if (chosen.isEmpty() || !std::all_of(chosen.cbegin(), chosen.cend(), [](const QString& path) {
            return QFileInfo::exists(path);
        }))
        return;
    QDialog::accept();
}
