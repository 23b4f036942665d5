#include "window/window_sheets.h"

#include "duplicate_guard.h"
#include "palette/command_palette.h"
#include "ui/name_sheet.h"
#include "ui/ui_style.h"
#include "window/conflict_dialog.h"
#include "workspace/workspace_model.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
enum Slot { NewFolder, Rename, Text, Error, Trash, LastCopy, Palette, Conflict };

// The job waiting on a taken name, if any (only the running one can).
const TransferItem* waitingOnConflict(const QList<TransferItem>& items)
{
    for (const TransferItem& item : items)
        if (item.conflict) return &item;
    return nullptr;
}
} // namespace

WindowSheets::WindowSheets(QWidget* window) : QObject(window), window_(window) {}

QString WindowSheets::trashTitle(qsizetype count)
{
    return tr("Move %n selected items to Trash?", nullptr, int(count));
}

void WindowSheets::setModel(WorkspaceModel* model)
{
    connections_.clear();
    for (auto& dialog : open_)
        if (dialog) dialog->deleteLater();
    // The copy still waits on its question: the new model's update asks again.
    open_[Conflict] = nullptr;
    model_ = model;
    connections_.follow(model,
                        {&WorkspaceModel::sheetsChanged, &WorkspaceModel::ocrChanged,
                         &WorkspaceModel::errorChanged, &WorkspaceModel::transfersChanged},
                        this, &WindowSheets::update, Qt::QueuedConnection);
    update();
}

void WindowSheets::update()
{
    if (!model_) return;
    if (model_->palette() && !open_[Palette]) showPalette();
    if (model_->newFolder() && !open_[NewFolder]) showNewFolder();
    if (model_->renameTarget() && !open_[Rename]) showRename();
    if (model_->ocrText() && !open_[Text]) showText();
    if (model_->error() && !open_[Error]) showError();
    if (model_->confirmTrash() && !open_[Trash]) confirmTrash();
    if (!open_[Conflict] && waitingOnConflict(model_->transfers())) askConflict();
}

void WindowSheets::showPalette()
{
    auto* palette = new CommandPalette(*model_, window_);
    palette->setAttribute(Qt::WA_DeleteOnClose);
    palette->setWindowModality(Qt::WindowModal);
    open_[Palette] = palette;
    palette->open();
}

void WindowSheets::showNewFolder()
{
    QPointer<WorkspaceModel> model = model_;
    auto* sheet = new NameSheet(
        tr("New folder"), tr("Untitled folder"),
        [model](const QString& name) {
            if (model) model->createFolder(name);
        },
        window_);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, [model] {
        if (model) model->setNewFolder(false);
    });
    open_[NewFolder] = sheet;
    sheet->open();
}

void WindowSheets::showRename()
{
    QPointer<WorkspaceModel> model = model_;
    const FileEntry target = *model_->renameTarget();
    auto* sheet = new NameSheet(
        tr("Rename file"), target.name,
        [model, target](const QString& name) {
            if (model) model->rename(target, name);
        },
        window_);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    connect(sheet, &QDialog::finished, this, [model] {
        if (model) model->setRenameTarget(std::nullopt);
    });
    open_[Rename] = sheet;
    sheet->open();
}

void WindowSheets::showText()
{
    QPointer<WorkspaceModel> model = model_;
    auto* sheet = new QDialog(window_);
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    sheet->setWindowModality(Qt::WindowModal);
    sheet->setWindowTitle(tr("Extracted text"));
    sheet->resize(600, 450);
    auto* column = new QVBoxLayout(sheet);
    column->setContentsMargins(28, 28, 28, 28);
    column->setSpacing(20);
    column->addWidget(UiStyle::label(tr("Extracted text"), 17, QFont::Bold));
    auto* text = new QPlainTextEdit(*model_->ocrText());
    text->setReadOnly(true);
    column->addWidget(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* copy = new QPushButton(tr("Copy text"));
    copy->setAutoDefault(false);
    auto* done = new QPushButton(tr("Done"));
    done->setDefault(true);
    buttons->addWidget(copy);
    buttons->addWidget(done);
    column->addLayout(buttons);
    const QString content = *model_->ocrText();
    connect(copy, &QPushButton::clicked, sheet, [content] {
        QApplication::clipboard()->clear();
        QApplication::clipboard()->setText(content);
    });
    connect(done, &QPushButton::clicked, sheet, &QDialog::accept);
    connect(sheet, &QDialog::finished, this, [model] {
        if (model) model->setOcrText(std::nullopt);
    });
    open_[Text] = sheet;
    sheet->open();
}

void WindowSheets::showError()
{
    QPointer<WorkspaceModel> model = model_;
    auto* alert = new QMessageBox(QMessageBox::Warning, tr("Something needs your attention"),
                                  tr("Something needs your attention"), QMessageBox::Ok, window_);
    alert->setInformativeText(*model_->error());
    alert->setAttribute(Qt::WA_DeleteOnClose);
    alert->setWindowModality(Qt::WindowModal);
    connect(alert, &QDialog::finished, this, [model] {
        if (model) model->setError(std::nullopt);
    });
    open_[Error] = alert;
    alert->open();
}

QMessageBox* WindowSheets::trashQuestion(const QString& title, const QString& detail)
{
    auto* dialog =
        new QMessageBox(QMessageBox::Question, title, title, QMessageBox::NoButton, window_);
    dialog->setInformativeText(detail);
    dialog->addButton(tr("Move to Trash"), QMessageBox::DestructiveRole);
    dialog->addButton(QMessageBox::Cancel);
    dialog->setDefaultButton(QMessageBox::Cancel);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    return dialog;
}

void WindowSheets::confirmTrash()
{
    QPointer<WorkspaceModel> model = model_;
    QMessageBox* dialog =
        trashQuestion(trashTitle(model_->selection().size()),
                      tr("You can restore these items from the Trash in your file manager."));
    connect(dialog, &QMessageBox::buttonClicked, this,
            [this, model, dialog](QAbstractButton* clicked) {
                if (!model) return;
                model->setConfirmTrash(false);
                if (dialog->buttonRole(clicked) != QMessageBox::DestructiveRole) return;
                const QList<FileEntry> last =
                    model->feature() == Feature::Duplicates
                        ? DuplicateGuard::lastCopies(model->selection(), model->duplicateGroups())
                        : QList<FileEntry>();
                if (last.isEmpty())
                    model->trash();
                else
                    confirmLastCopies(last);
            });
    connect(dialog, &QDialog::finished, this, [model] {
        if (model && model->confirmTrash()) model->setConfirmTrash(false);
    });
    open_[Trash] = dialog;
    dialog->open();
}

void WindowSheets::confirmLastCopies(const QList<FileEntry>& copies)
{
    QPointer<WorkspaceModel> model = model_;
    QMessageBox* dialog =
        trashQuestion(copies.size() == 1 ? tr(lastCopyTitle) : tr("Move the last copies to Trash?"),
                      DuplicateGuard::warning(copies));
    connect(dialog, &QMessageBox::buttonClicked, this, [model, dialog](QAbstractButton* clicked) {
        if (model && dialog->buttonRole(clicked) == QMessageBox::DestructiveRole) model->trash();
    });
    open_[LastCopy] = dialog;
    dialog->open();
}

void WindowSheets::askConflict()
{
    const TransferItem& item = *waitingOnConflict(model_->transfers());
    QPointer<TransferStore> store = &model_->transferStore();
    auto* dialog = new ConflictDialog(*item.conflict, window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
    connect(dialog, &ConflictDialog::answered, this,
            [store, id = item.id](const ConflictChoice& choice) {
                if (store) store->answerConflict(id, choice);
            });
    // The next conflict may already wait: it asks as soon as this one is gone.
    connect(dialog, &QDialog::finished, this, [this] {
        open_[Conflict] = nullptr;
        QTimer::singleShot(0, this, &WindowSheets::update);
    });
    open_[Conflict] = dialog;
    dialog->open();
}
