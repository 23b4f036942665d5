#pragma once

#include "explorer/explorer_browser.h"
#include "test_support.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "window/content_view.h"
#include "window/desktop_platform.h"
#include "window/main_window.h"
#include "window/model_testers.h"
#include "window/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

// The real window on screen over the fixture's router, with the desktop
// platform, every item model under a fatal tester, and the Explorer helpers
// a person's gestures need.
class ShownWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        window = std::make_unique<MainWindow>(*router);
        router->setPlatform(desktopPlatform(window.get()));
        window->show();
        activate();
        testers = std::make_unique<ModelTesters>(window.get());
    }
    void TearDown() override
    {
        router->stopAllWork();
        testers.reset();
        window.reset();
        WindowTest::TearDown();
    }

    // Window shortcuts reach only the active window.
    void activate()
    {
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    ExplorerBrowser* explorer() const
    {
        return qobject_cast<ExplorerBrowser*>(window->content()->currentSectionView());
    }

    // The names the Explorer lists.
    QStringList shownNames() const
    {
        QStringList names;
        const FileListModel& list = *explorer()->listModel();
        for (int row = 0; row < list.rowCount(); ++row)
            names << list.entry(row).name;
        return names;
    }

    // Opens `folder` in the Explorer and waits until it lists exactly `names`.
    void show(const QString& folder, const QStringList& names)
    {
        router->openLocation(folder);
        expectShowing(folder, names);
    }
    void expectShowing(const QString& folder, const QStringList& names)
    {
        WorkspaceModel& model = router->current();
        ASSERT_TRUE(explorer());
        ASSERT_TRUE(waitFor([&] { return model.folder() == folder && shownNames() == names; }))
            << shownNames().join(u',').toStdString() << " in " << model.folder().toStdString();
        EXPECT_TRUE(waitUntilSettled(model));
    }

    // Where the item of `path` is in `view`'s viewport, scrolled into sight.
    static QPoint itemAt(FileListView* view, const QString& path)
    {
        const int row = view->fileModel()->rowOf(path);
        EXPECT_GE(row, 0) << path.toStdString();
        const QModelIndex index = view->model()->index(row, 0);
        view->scrollTo(index);
        QRect rect;
        EXPECT_TRUE(waitFor([&] {
            rect = view->visualRect(index);
            return rect.isValid() && view->viewport()->rect().contains(rect.center());
        }));
        return rect.center();
    }

    // Clicks the row of `path` in the Explorer's current layout.
    void click(const QString& path)
    {
        FileListView* view = explorer()->currentView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, itemAt(view, path));
    }

    // Right-clicks `path` and picks `action` from its menu.
    void fromFileMenu(FileListView* view, const QString& path, const QString& action)
    {
        const QPoint at = itemAt(view, path);
        bool picked = false;
        QTimer::singleShot(0, view, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            for (QAction* item : menu->actions())
                if (item->text() == action) {
                    QTest::mouseClick(menu, Qt::LeftButton, {},
                                      menu->actionGeometry(item).center());
                    picked = true;
                    return;
                }
            menu->close();
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        EXPECT_TRUE(picked) << action.toStdString();
    }

    // A key with Ctrl (and more) pressed on the window, as a shortcut.
    void shortcut(Qt::Key key, Qt::KeyboardModifiers more = {})
    {
        activate();
        QTest::keyClick(window.get(), key, Qt::ControlModifier | more);
    }

    // The Edit menu's action whose text starts with `prefix`.
    QAction* editAction(const QString& prefix) const
    {
        for (QAction* top : window->menuBar()->actions())
            if (top->menu() && top->text() == QLatin1String("&Edit"))
                for (QAction* item : top->menu()->actions())
                    if (item->text().startsWith(prefix)) return item;
        return nullptr;
    }

    std::unique_ptr<MainWindow> window;
    std::unique_ptr<ModelTesters> testers;
    TempTree tree;
};
