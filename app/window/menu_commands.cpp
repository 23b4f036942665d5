#include "window/menu_commands.h"

#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

MenuCommands::MenuCommands(WorkspaceRouter& router, QMenuBar& menuBar)
    : QObject(&menuBar), router_(router)
{
    auto model = [this]() -> WorkspaceModel& { return router_.current(); };

    QMenu* file = menuBar.addMenu(tr("&File"));
    add(file, tr("Open Folder…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O),
        [model] { model().chooseFolder(); });
    needFolder_ << add(file, tr("New Folder…"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_N),
                       [model] { model().setNewFolder(true); });
    file->addSeparator();
    add(file, tr("Quit"), QKeySequence::Quit, [] { QApplication::quit(); });

    QMenu* edit = menuBar.addMenu(tr("&Edit"));
    undo_ = add(edit, tr("Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z), [model] { model().undo(); });
    redo_ = add(edit, tr("Redo"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                [model] { model().redo(); });
    edit->addSeparator();
    add(edit, tr("Cut"), QKeySequence(Qt::CTRL | Qt::Key_X), [model] { model().cutSelection(); });
    add(edit, tr("Copy"), QKeySequence(Qt::CTRL | Qt::Key_C), [model] { model().copySelection(); });
    needFolder_ << add(edit, tr("Paste"), QKeySequence(Qt::CTRL | Qt::Key_V),
                       [model] { model().paste(); });
    add(edit, tr("Select All"), QKeySequence(Qt::CTRL | Qt::Key_A),
        [model] { model().selectAll(); });

    QMenu* navigate = menuBar.addMenu(tr("&Navigate"));
    add(navigate, tr("Command Palette"), QKeySequence(Qt::CTRL | Qt::Key_K),
        [model] { model().setPalette(true); });
    QAction* enclosing = add(navigate, tr("Enclosing Folder"), QKeySequence(Qt::CTRL | Qt::Key_Up),
                             [model] { model().enclosingFolder(); });
    enclosing->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Up), QKeySequence(Qt::ALT | Qt::Key_Up)});
    needFolder_ << enclosing;
    back_ = add(navigate, tr("Back"), QKeySequence(Qt::ALT | Qt::Key_Left),
                [model] { model().goBack(); });
    forward_ = add(navigate, tr("Forward"), QKeySequence(Qt::ALT | Qt::Key_Right),
                   [model] { model().goForward(); });
    add(navigate, tr("Quick Look"), QKeySequence(Qt::Key_Space), [model] { model().preview(); });
    add(navigate, tr("Move to Trash…"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
        [model] { model().setConfirmTrash(true); });

    connect(&router_, &WorkspaceRouter::currentChanged, this, &MenuCommands::follow);
    follow();
    // One history for every section: it is the queue's.
    connect(&router_.current().undoJournal(), &UndoJournal::changed, this,
            &MenuCommands::updateUndo);
    updateUndo();
}

QAction* MenuCommands::add(QMenu* menu, const QString& title, const QKeySequence& shortcut,
                           std::function<void()> action)
{
    QAction* item = menu->addAction(title);
    item->setShortcut(shortcut);
    connect(item, &QAction::triggered, this, [action = std::move(action)] { action(); });
    return item;
}

void MenuCommands::follow()
{
    disconnect(scopeConnection_);
    disconnect(historyConnection_);
    scopeConnection_ = connect(&router_.current(), &WorkspaceModel::libraryScopeChanged, this,
                               &MenuCommands::updateEnabled);
    historyConnection_ = connect(&router_.current(), &WorkspaceModel::historyChanged, this,
                                 &MenuCommands::updateEnabled);
    updateEnabled();
}

void MenuCommands::updateEnabled()
{
    const bool hasFolder = !router_.current().isMacScope();
    for (QAction* item : needFolder_)
        item->setEnabled(hasFolder);
    back_->setEnabled(router_.current().canGoBack());
    forward_->setEnabled(router_.current().canGoForward());
}

void MenuCommands::updateUndo()
{
    const UndoJournal& journal = router_.current().undoJournal();
    // An ampersand in a file name is text, not a mnemonic.
    const auto shown = [](QString title, const QString& idle) {
        return title.isEmpty() ? idle : title.replace(u'&', QStringLiteral("&&"));
    };
    undo_->setText(shown(journal.undoTitle(), tr("Undo")));
    redo_->setText(shown(journal.redoTitle(), tr("Redo")));
    undo_->setEnabled(journal.canUndo());
    redo_->setEnabled(journal.canRedo());
}
