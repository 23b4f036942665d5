#include "analysis/analysis_view.h"
#include "analysis/duplicate_group_card.h"
#include "discovery/tracker_sandbox.h"
#include "library/embedded_preview.h"
#include "library/media_library_view.h"
#include "private_settings.h"
#include "ui/file_list_view.h"
#include "window/content_view.h"
#include "window/desktop_platform.h"
#include "window/main_window.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"
#include "workspace/workspace_wait.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QAction* actionNamed(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions())
        if (action->text() == text) return action;
    return nullptr;
}

QStringList leftovers(const QString& folder)
{
    QStringList found;
    QDirIterator walk(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                      QDirIterator::Subdirectories);
    while (walk.hasNext())
        if (walk.next().contains(QStringLiteral(".quorvane-copy-"))) found << walk.filePath();
    return found;
}

} // namespace

// Images → one format → preview → copy through the Transfer Queue → the copy
// is found as a duplicate of its original → the window closes with no work left.
TEST(EndToEnd, FromTheIndexToADuplicate)
{
    QCoreApplication::setOrganizationName(QStringLiteral("QuorvaneTest"));
    QCoreApplication::setApplicationName(QStringLiteral("QuorvaneEndToEnd"));
    PrivateSettings settings;

    TrackerSandbox sandbox;
    const QDir root(sandbox.folder());
    ASSERT_TRUE(root.mkpath("Pictures") && root.mkpath("Copies"));
    const QString beach = root.filePath("Pictures/beach.png");
    QImage picture(96, 64, QImage::Format_RGB32);
    picture.fill(QColor(30, 120, 200));
    ASSERT_TRUE(picture.save(beach));
    picture.fill(QColor(200, 90, 40));
    ASSERT_TRUE(picture.save(root.filePath("Pictures/sunset.jpg")));
    picture.fill(QColor(20, 160, 60));
    ASSERT_TRUE(picture.save(root.filePath("Pictures/forest.jpg")));
    const QString failure = sandbox.start();
    ASSERT_TRUE(failure.isEmpty()) << failure.toStdString();

    auto router = std::make_unique<WorkspaceRouter>();
    auto window = std::make_unique<MainWindow>(*router);
    router->setPlatform(desktopPlatform(window.get()));
    window->resize(1280, 800);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ContentView& content = *window->content();

    // Images from the index, narrowed to PNG.
    router->activate(Feature::Images);
    WorkspaceModel& images = router->current();
    ASSERT_TRUE(waitFor([&] { return images.libraryResult().files.size() == 3; }, 60000));
    ASSERT_TRUE(waitUntilSettled(images));
    auto* library = qobject_cast<MediaLibraryView*>(content.currentSectionView());
    ASSERT_TRUE(library);
    QMenu* formats = library->filterMenu(QStringLiteral("Format"));
    ASSERT_TRUE(formats);
    Q_EMIT formats->aboutToShow();
    QAction* png = actionNamed(formats, QStringLiteral("PNG"));
    ASSERT_TRUE(png) << "formats offered: " << formats->actions().size();
    png->trigger();
    ASSERT_TRUE(waitFor([&] { return images.libraryResult().files.size() == 1; }));
    ASSERT_EQ(images.libraryResult().files.first().path, beach);

    // Space previews the selected picture inside the window; Escape-like close returns.
    FileListView* grid = library->grid();
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Right);
    ASSERT_EQ(images.selection(), QSet<QString>{beach});
    QTest::keyClick(grid, Qt::Key_Space);
    ASSERT_TRUE(images.previewFile().has_value());
    EXPECT_TRUE(qobject_cast<EmbeddedPreview*>(content.currentSectionView()));
    images.setPreviewFile(std::nullopt);
    EXPECT_EQ(content.currentSectionView(), library);

    // Copy, then paste into the Transfer Queue's destination.
    images.copySelection();
    router->activate(Feature::Transfers);
    WorkspaceModel& transfers = router->current();
    transfers.navigate(root.filePath("Copies"));
    ASSERT_TRUE(waitUntilSettled(transfers));
    transfers.paste();
    ASSERT_TRUE(waitFor(
        [&] {
            return transfers.transfers().size() == 1 &&
                   transfers.transfers().first().status == TransferStatus::Completed;
        },
        60000));
    const QString copy = root.filePath("Copies/beach.png");
    ASSERT_TRUE(QFile::exists(copy));

    // The copy and its original are one duplicate group.
    router->activate(Feature::Duplicates);
    WorkspaceModel& duplicates = router->current();
    duplicates.navigate(sandbox.folder());
    duplicates.scan();
    ASSERT_TRUE(
        waitFor([&] { return duplicates.report().has_value() && !duplicates.busy(); }, 60000));
    ASSERT_EQ(duplicates.duplicateGroups().size(), 1);
    QStringList group;
    for (const FileEntry& file : duplicates.duplicateGroups().first())
        group << file.path;
    group.sort();
    EXPECT_EQ(group, (QStringList{copy, beach}));
    auto* analysis = qobject_cast<AnalysisView*>(content.currentSectionView());
    ASSERT_TRUE(analysis);
    ASSERT_EQ(analysis->groupCards().size(), 1);
    EXPECT_EQ(analysis->groupCards().first()->title(), "2 matching copies");

    // Closing ends every job and leaves nothing half-made behind.
    window->close();
    router->stopAllWork();
    window.reset();
    router.reset();
    EXPECT_TRUE(leftovers(sandbox.folder()).isEmpty());
    EXPECT_TRUE(QFile::exists(beach));
}
