#include "explorer/explorer_browser.h"
#include "test_support.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/file_menu.h"
#include "ui/name_sheet.h"
#include "window/content_view.h"
#include "window/main_window.h"
#include "window/top_bar.h"
#include "window/window_fixture.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_wait.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QElapsedTimer>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <iostream>

// Readable failures.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

void writeFile(const QString& path, const QByteArray& bytes = "x")
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// The shown push button of `window` reading `text`, if any.
QPushButton* shownButton(const QWidget& window, const QString& text)
{
    for (auto* candidate : window.findChildren<QPushButton*>())
        if (candidate->text() == text && candidate->isVisible()) return candidate;
    return nullptr;
}

QString names(const WorkspaceModel& model)
{
    QStringList names;
    for (const QString& path : model.selection())
        names << QFileInfo(path).fileName();
    names.sort();
    return names.join(QLatin1Char(','));
}

// The Explorer of a shown main window, with every list model checked while the test runs.
class ExplorerGestures : public WindowTest {
protected:
    void show()
    {
        window = std::make_unique<MainWindow>(*router);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        browser = qobject_cast<ExplorerBrowser*>(window->content()->currentSectionView());
        ASSERT_NE(browser, nullptr);
        tester = std::make_unique<QAbstractItemModelTester>(
            browser->listModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }
    void TearDown() override
    {
        tester.reset();
        window.reset();
        WindowTest::TearDown();
    }
    FileListView* list()
    {
        FileListView* view = browser->currentView();
        view->setFocus();
        return view;
    }
    QPoint centre(const QString& name)
    {
        const int row = browser->listModel()->rowOf(files.filePath(name));
        EXPECT_GE(row, 0) << name.toStdString();
        return list()->visualRect(browser->listModel()->index(row)).center();
    }
    // A point of the list below every item.
    QPoint empty()
    {
        QWidget* viewport = list()->viewport();
        return QPoint(viewport->width() - 8, viewport->height() - 8);
    }
    QString shown() const { return router->current().folder(); }

    std::unique_ptr<MainWindow> window;
    ExplorerBrowser* browser = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

} // namespace

TEST_F(ExplorerGestures, KeysSelectRenameTrashAndWalkThroughFolders)
{
    TempTree trash;
    ScopedEnv xdg("XDG_DATA_HOME", trash.folder("data").toLocal8Bit());
    QDir(files.path()).mkdir(QStringLiteral("docs"));
    writeFile(files.filePath("docs/inner.txt"));
    for (const char* name : {"alpha.txt", "beta.txt", "bravo.md"})
        writeFile(files.filePath(QString::fromLatin1(name)));
    WorkspaceModel& model = openFiles(4);
    show();

    QTest::keyClick(list(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(names(model), QStringLiteral("alpha.txt,beta.txt,bravo.md,docs"));
    QTest::keyClick(list(), Qt::Key_Escape);
    EXPECT_TRUE(model.selection().isEmpty());

    // Type-ahead: the letters add up, and start over after a pause.
    QTest::keyClicks(list(), QStringLiteral("br"));
    EXPECT_EQ(names(model), QStringLiteral("bravo.md"));
    EXPECT_TRUE(list()->isTypingAhead());
    ASSERT_TRUE(waitFor([&] { return !list()->isTypingAhead(); }, 3000));
    QTest::keyClick(list(), Qt::Key_A);
    EXPECT_EQ(names(model), QStringLiteral("alpha.txt"));

    // F2 renames the selected item, which stays selected under its new name.
    QTest::keyClick(list(), Qt::Key_F2);
    ASSERT_TRUE(model.renameTarget());
    EXPECT_EQ(model.renameTarget()->name, QStringLiteral("alpha.txt"));
    NameSheet* sheet = nullptr;
    ASSERT_TRUE(waitFor([&] {
        sheet = window->findChild<NameSheet*>();
        return sheet && sheet->isVisible();
    }));
    sheet->setName(QStringLiteral("first.txt"));
    sheet->submit();
    ASSERT_TRUE(waitFor([&] { return names(model) == QStringLiteral("first.txt"); }));
    EXPECT_TRUE(QFile::exists(files.filePath("first.txt")));
    EXPECT_FALSE(QFile::exists(files.filePath("alpha.txt")));

    // Delete asks first; the answer moves the file to the trash.
    QTest::keyClick(list(), Qt::Key_Delete);
    EXPECT_TRUE(model.confirmTrash());
    QMessageBox* question = nullptr;
    ASSERT_TRUE(waitFor([&] {
        question = window->findChild<QMessageBox*>();
        return question && question->isVisible();
    }));
    for (QAbstractButton* button : question->buttons())
        if (question->buttonRole(button) == QMessageBox::DestructiveRole) button->click();
    ASSERT_TRUE(waitFor([&] { return !QFile::exists(files.filePath("first.txt")); }));
    EXPECT_TRUE(waitFor([&] { return browser->listModel()->rowCount() == 3; }));
    // The window's own shortcuts again, now that the dialogs are gone.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    // Into docs, up with Backspace, then Back and Forward through the history.
    const QString root = files.path();
    const QString docs = files.filePath("docs");
    model.open(FileEntry::fromPath(docs));
    ASSERT_TRUE(waitFor([&] { return shown() == docs && model.files().size() == 1; }));
    QTest::keyClick(list(), Qt::Key_Backspace);
    ASSERT_TRUE(waitFor([&] { return shown() == root && model.files().size() == 3; }));
    QTest::keyClick(list(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(shown(), docs);
    QTest::keyClick(list(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(shown(), root);
    EXPECT_TRUE(model.canGoForward());
    QTest::keyClick(list(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(shown(), docs);
    QTest::keyClick(list(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(shown(), root);
    EXPECT_FALSE(model.canGoForward());
    QTest::keyClick(list(), Qt::Key_Right, Qt::AltModifier); // nothing further
    EXPECT_EQ(shown(), root);

    // A new way forgets the old one forward; Alt+Up goes to the enclosing folder.
    model.open(FileEntry::fromPath(docs));
    QTest::keyClick(list(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(shown(), root);
    EXPECT_TRUE(model.canGoForward());
    QTest::keyClick(list(), Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(shown(), docs);
    QTest::keyClick(list(), Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(shown(), root);
    EXPECT_FALSE(model.canGoForward());

    // The back button follows the same history, back to the whole computer where it began.
    QToolButton* back = window->content()->topBar()->backButton();
    EXPECT_EQ(back->toolTip(), QStringLiteral("Back to docs"));
    back->click();
    EXPECT_EQ(shown(), docs);
    for (int click = 0; click < 10 && back->isEnabled(); ++click)
        back->click();
    EXPECT_TRUE(model.isMacScope());
    EXPECT_FALSE(back->isEnabled());
    EXPECT_EQ(back->toolTip(), QStringLiteral("Enclosing folder"));
}

TEST_F(ExplorerGestures, ClicksBandsRightClicksAndDragsInGridAndList)
{
    const QStringList all = {QStringLiteral("a.txt"), QStringLiteral("b.txt"),
                             QStringLiteral("c.txt"), QStringLiteral("d.txt")};
    for (const QString& name : all)
        writeFile(files.filePath(name));
    WorkspaceModel& model = openFiles(4);
    show();
    for (BrowserMode mode : {BrowserMode::Grid, BrowserMode::List}) {
        SCOPED_TRACE(rawValue(mode).toStdString());
        model.setMode(mode);
        QWidget* viewport = list()->viewport();

        QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(QStringLiteral("a.txt")));
        EXPECT_EQ(names(model), QStringLiteral("a.txt"));
        QTest::mouseClick(viewport, Qt::LeftButton, {}, empty());
        EXPECT_TRUE(model.selection().isEmpty());

        // A band from empty space to the middle of b.txt takes in every item it meets.
        QTest::mousePress(viewport, Qt::LeftButton, {}, empty());
        QTest::mouseMove(viewport, centre(QStringLiteral("b.txt")));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, centre(QStringLiteral("b.txt")));
        EXPECT_EQ(names(model), QStringLiteral("b.txt,c.txt,d.txt"));

        // Dragging one of them drags all three.
        QList<QUrl> dragged;
        QTimer::singleShot(0, window.get(), [&] {
            if (auto* drag = list()->findChild<QDrag*>()) {
                dragged = drag->mimeData()->urls();
                QDrag::cancel();
            }
        });
        const QPoint from = centre(QStringLiteral("c.txt"));
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        QTest::mouseMove(viewport, from + QPoint(30, 30));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + QPoint(30, 30));
        EXPECT_TRUE(waitFor([&] { return !dragged.isEmpty(); }, 3000));
        EXPECT_EQ(dragged, (QList<QUrl>{QUrl::fromLocalFile(files.filePath("b.txt")),
                                        QUrl::fromLocalFile(files.filePath("c.txt")),
                                        QUrl::fromLocalFile(files.filePath("d.txt"))}));
        EXPECT_EQ(names(model), QStringLiteral("b.txt,c.txt,d.txt"));

        // A plain click on one of a selection selects it alone once released.
        QTest::mouseClick(viewport, Qt::LeftButton, {}, centre(QStringLiteral("c.txt")));
        EXPECT_EQ(names(model), QStringLiteral("c.txt"));

        // A right click on an unselected item selects it; on a selected one keeps the selection.
        model.setSelection({files.filePath("a.txt"), files.filePath("b.txt")});
        QTest::mouseClick(viewport, Qt::RightButton, {}, centre(QStringLiteral("b.txt")));
        EXPECT_EQ(names(model), QStringLiteral("a.txt,b.txt"));
        QTest::mouseClick(viewport, Qt::RightButton, {}, centre(QStringLiteral("d.txt")));
        EXPECT_EQ(names(model), QStringLiteral("d.txt"));
    }
}

TEST_F(ExplorerGestures, TheShownFolderFollowsTheDiskAndKeepsSelectionAndPlace)
{
    for (int i = 0; i < 300; ++i)
        writeFile(files.filePath(QStringLiteral("file %1.txt").arg(i, 3, 10, QLatin1Char('0'))));
    WorkspaceModel& model = openFiles(300);
    show();
    window->resize(1280, 800);
    FileListView* view = list();
    QScrollBar* scroll = view->verticalScrollBar();
    ASSERT_TRUE(waitFor([&] { return scroll->maximum() > 200; }));
    scroll->setValue(scroll->maximum() / 2);
    const int place = scroll->value();
    const QString kept = files.filePath("file 150.txt");
    model.setSelection({kept});

    QElapsedTimer clock;
    auto appears = [&](const QString& name) {
        return browser->listModel()->rowOf(files.filePath(name)) >= 0;
    };
    // Another program adds, renames and removes files.
    clock.start();
    writeFile(files.filePath("added by someone.txt"));
    ASSERT_TRUE(waitFor([&] { return appears(QStringLiteral("added by someone.txt")); }, 2000));
    const qint64 addedMs = clock.elapsed();
    ASSERT_TRUE(QFile::rename(files.filePath("file 001.txt"), files.filePath("renamed.txt")));
    ASSERT_TRUE(waitFor([&] { return appears(QStringLiteral("renamed.txt")); }, 2000));
    EXPECT_FALSE(appears(QStringLiteral("file 001.txt")));
    ASSERT_TRUE(QFile::remove(files.filePath("file 002.txt")));
    ASSERT_TRUE(waitFor([&] { return !appears(QStringLiteral("file 002.txt")); }, 2000));
    EXPECT_LT(addedMs, 1000);
    std::cout << "an added file was listed after " << addedMs << " ms\n";
    EXPECT_EQ(model.selection(), QSet<QString>{kept});
    EXPECT_EQ(scroll->value(), place);
    EXPECT_EQ(model.files().size(), 300);

    // Previewing a file and going back to the files finds the list at that file.
    const FileListModel* rows = browser->listModel();
    view->scrollTo(rows->index(rows->rowOf(kept)));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {},
                       view->visualRect(rows->index(rows->rowOf(kept))).center());
    ASSERT_TRUE(waitFor([&] { return model.previewFile().has_value(); }));
    QPushButton* back = nullptr;
    ASSERT_TRUE(waitFor(
        [&] { return (back = shownButton(*window, QStringLiteral("Back to files"))) != nullptr; }));
    QTest::mouseClick(back, Qt::LeftButton);
    ASSERT_TRUE(waitFor([&] { return !model.previewFile() && browser->isVisible(); }));
    view = browser->currentView();
    const QModelIndex shown = rows->index(rows->rowOf(kept));
    EXPECT_TRUE(
        waitFor([&] { return view->viewport()->rect().contains(view->visualRect(shown)); }));
    EXPECT_GT(view->verticalScrollBar()->value(), 0);
    EXPECT_EQ(view->currentIndex(), shown);
    EXPECT_EQ(model.selection(), QSet<QString>{kept});

    // A selected file that goes away leaves the selection.
    ASSERT_TRUE(QFile::remove(kept));
    ASSERT_TRUE(waitFor([&] { return model.selection().isEmpty(); }, 2000));

    // A folder made here is listed, selected, and scrolled into view with the focus on it.
    model.createFolder(QStringLiteral("Fresh"));
    ASSERT_TRUE(waitFor([&] { return names(model) == QStringLiteral("Fresh"); }));
    ASSERT_TRUE(appears(QStringLiteral("Fresh")));
    const QModelIndex fresh =
        browser->listModel()->index(browser->listModel()->rowOf(files.filePath("Fresh")));
    EXPECT_EQ(view->currentIndex(), fresh);
    EXPECT_TRUE(view->viewport()->rect().contains(view->visualRect(fresh)));

    // The shown folder itself goes away: the nearest folder still there is shown.
    const QString inner = files.filePath("inner");
    QDir(files.path()).mkdir(QStringLiteral("inner"));
    writeFile(files.filePath("inner/only.txt"));
    model.navigate(inner);
    ASSERT_TRUE(waitFor([&] { return model.files().size() == 1; }));
    ASSERT_TRUE(QDir(inner).removeRecursively());
    ASSERT_TRUE(waitFor([&] { return model.folder() == files.path(); }, 3000));
    EXPECT_FALSE(model.error());
}

// The desktop's folders are set before the window starts: GLib reads each of
// them once per process, and the window's background work may be first to ask.
class OpenWithGestures : public ExplorerGestures {
protected:
    TempTree desktop;
    ScopedEnv data{"XDG_DATA_HOME", desktop.folder("data").toLocal8Bit()};
    ScopedEnv config{"XDG_CONFIG_HOME", desktop.folder("config").toLocal8Bit()};
};

TEST_F(OpenWithGestures, OpenWithListsTheDesktopsApplicationsAndStartsTheChosenOne)
{
    const QString marker = desktop.path("opened");
    const QString script = desktop.file(
        "mark.sh", QStringLiteral("#!/bin/sh\nprintf '%s' \"$1\" > '%1'\n").arg(marker).toUtf8());
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto application = [&](const QString& id, const QString& name, const QString& exec) {
        desktop.file(QStringLiteral("data/applications/%1.desktop").arg(id),
                     QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2 %f\n"
                                    "MimeType=text/plain;\n")
                         .arg(name, exec)
                         .toUtf8());
    };
    application(QStringLiteral("quorvane-marker"), QStringLiteral("Marker Writer"), script);
    application(QStringLiteral("quorvane-other"), QStringLiteral("Other Reader"),
                QStringLiteral("/bin/true"));
    // As the desktop's database tools leave them: the cache says who opens what.
    desktop.file("data/applications/mimeinfo.cache",
                 "[MIME Cache]\ntext/plain=quorvane-marker.desktop;quorvane-other.desktop;\n");
    desktop.file("config/mimeapps.list",
                 "[Default Applications]\ntext/plain=quorvane-marker.desktop;\n");

    writeFile(files.filePath("notes.txt"), "some notes\n");
    WorkspaceModel& model = openFiles(1);
    QMenu menu;
    fillFileMenu(menu, model, model.files().first());
    QMenu* openWith = nullptr;
    for (QAction* action : menu.actions())
        if (action->text() == QStringLiteral("Open With")) openWith = action->menu();
    ASSERT_NE(openWith, nullptr);
    EXPECT_EQ(menu.actions().at(0)->text(), QStringLiteral("Open")); // still the preview
    Q_EMIT openWith->aboutToShow();
    QStringList titles;
    for (QAction* action : openWith->actions())
        if (!action->isSeparator()) titles << action->text();
    ASSERT_FALSE(titles.isEmpty());
    EXPECT_EQ(titles.first(), QStringLiteral("Marker Writer"));
    EXPECT_TRUE(openWith->actions().first()->font().bold());
    EXPECT_TRUE(titles.contains(QStringLiteral("Other Reader")));

    openWith->actions().first()->trigger();
    // A process of its own, started through the desktop: slow on a busy machine.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 60000));
    // Read afresh each time: the marker may exist before the application wrote it.
    QString written;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            QFile opened(marker);
            written =
                opened.open(QIODevice::ReadOnly) ? QString::fromUtf8(opened.readAll()) : QString();
            return written == files.filePath("notes.txt");
        },
        60000))
        << written.toStdString();
    EXPECT_FALSE(model.error());

    // The preview offers the same menu; "Open" there still previews in the window.
    show();
    model.open(model.files().first());
    ASSERT_TRUE(model.previewFile());
    QPushButton* button = nullptr;
    ASSERT_TRUE(waitFor(
        [&] { return (button = shownButton(*window, QStringLiteral("Open With"))) != nullptr; }));
    ASSERT_NE(button->menu(), nullptr);
    Q_EMIT button->menu()->aboutToShow();
    ASSERT_FALSE(button->menu()->actions().isEmpty());
    EXPECT_EQ(button->menu()->actions().first()->text(), QStringLiteral("Marker Writer"));
}

TEST_F(ExplorerGestures, TilesAndRowsTellAccessibilityToolsTheirNameKindAndSelection)
{
    QDir(files.path()).mkdir(QStringLiteral("photos"));
    writeFile(files.filePath("notes.txt"));
    WorkspaceModel& model = openFiles(2);
    show();
    for (BrowserMode mode : {BrowserMode::Grid, BrowserMode::List}) {
        SCOPED_TRACE(rawValue(mode).toStdString());
        model.setMode(mode);
        FileListView* view = list();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(view);
        ASSERT_NE(accessible, nullptr);
        EXPECT_EQ(accessible->role(), QAccessible::List);
        ASSERT_EQ(accessible->childCount(), 2);
        const int folderRow = browser->listModel()->rowOf(files.filePath("photos"));
        const int fileRow = browser->listModel()->rowOf(files.filePath("notes.txt"));
        QAccessibleInterface* folder = accessible->child(folderRow);
        QAccessibleInterface* file = accessible->child(fileRow);
        ASSERT_TRUE(folder && file);
        EXPECT_EQ(folder->role(), QAccessible::ListItem);
        EXPECT_EQ(folder->text(QAccessible::Name), QStringLiteral("photos"));
        EXPECT_EQ(folder->text(QAccessible::Description), QStringLiteral("Folder"));
        EXPECT_EQ(file->text(QAccessible::Name), QStringLiteral("notes.txt"));
        EXPECT_FALSE(file->text(QAccessible::Description).isEmpty());
        EXPECT_NE(file->text(QAccessible::Description), QStringLiteral("Folder"));
        EXPECT_EQ(accessible->indexOfChild(file), fileRow);
        EXPECT_EQ(accessible->childAt(file->rect().center().x(), file->rect().center().y()), file);

        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(browser->listModel()->index(fileRow)).center());
        EXPECT_TRUE(file->state().selected);
        EXPECT_TRUE(file->state().focused);
        EXPECT_FALSE(folder->state().selected);
        model.setSelection({});
        EXPECT_FALSE(file->state().selected);
    }
}

TEST_F(ExplorerGestures, EveryControlReachedByTabShowsItsFocus)
{
    writeFile(files.filePath("a.txt"));
    writeFile(files.filePath("b.txt"));
    WorkspaceModel& model = openFiles(2);
    show();
    model.setSelection({files.filePath("b.txt")});
    auto describe = [](QWidget* widget) {
        QString name = widget->accessibleName();
        if (name.isEmpty()) name = widget->toolTip();
        if (auto* button = qobject_cast<QAbstractButton*>(widget); button && name.isEmpty())
            name = button->text();
        return QStringLiteral("%1 \"%2\"")
            .arg(QString::fromLatin1(widget->metaObject()->className()), name);
    };
    QSet<QWidget*> seen;
    QStringList unmarked;
    for (int step = 0; step < 100; ++step) {
        QWidget* from = QApplication::focusWidget() ? QApplication::focusWidget() : window.get();
        QTest::keyClick(from, Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        if (!focused || seen.contains(focused)) break;
        seen.insert(focused);
        // With what is drawn around it: a ring may sit just outside the control.
        auto look = [&] {
            QWidget* around = focused->parentWidget();
            return around->grab(focused->geometry().adjusted(-3, -3, 3, 3)).toImage();
        };
        const QImage marked = look();
        focused->clearFocus();
        const QImage plain = look();
        focused->setFocus(Qt::TabFocusReason);
        if (marked == plain) unmarked << describe(focused);
        if (auto* list = qobject_cast<FileListView*>(focused)) {
            // The ring sits on the selected item.
            EXPECT_EQ(list->currentIndex().row(),
                      browser->listModel()->rowOf(files.filePath("b.txt")));
        }
    }
    EXPECT_GT(seen.size(), 5);
    EXPECT_TRUE(unmarked.isEmpty()) << unmarked.join(QStringLiteral(", ")).toStdString();
}
