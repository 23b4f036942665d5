#include "test_support.h"
#include "workspace/workspace_fixture.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace {

// The platform's keys and folder chooser answer as the test says.
struct ActionFixture : WorkspaceFixture {
    Qt::KeyboardModifiers held;
    std::optional<QString> chosenFolder;
    QStringList prompts;
    WorkspacePlatform platform_ = WorkspacePlatform::headless();

    explicit ActionFixture(Feature feature = Feature::Explorer) : WorkspaceFixture(feature)
    {
        platform_.modifiers = [this] { return held; };
        platform_.chooseFolder = [this](const QString& prompt, const QString&) {
            prompts << prompt;
            return chosenFolder;
        };
        model->setPlatform(platform_);
    }

    // Shares its clipboard with the model's copy.
    const WorkspacePlatform& platform() const { return platform_; }

    // A folder listing of `tree`, waited for.
    void show(const TempTree& tree, qsizetype count)
    {
        model->navigate(tree.root());
        ASSERT_TRUE(waitFor([&] { return model->files().size() == count; }));
        ASSERT_TRUE(waitUntilSettled(*model));
    }
};

QSet<QString> pathsOf(const QList<FileEntry>& files, std::initializer_list<int> at)
{
    QSet<QString> out;
    for (int i : at)
        out.insert(files[i].path);
    return out;
}

} // namespace

TEST(WorkspaceActions, SelectionFollowsTheModifierKeys)
{
    TempTree tree;
    for (const char* n : {"a", "b", "c", "d", "e"})
        tree.file(n, "x");
    ActionFixture f;
    f.show(tree, 5);
    const QList<FileEntry> shown = f.model->visible();
    ASSERT_EQ(shown.size(), 5);

    f.held = Qt::ShiftModifier; // nothing selected yet: a plain click
    f.model->select(shown[2]);
    EXPECT_EQ(f.model->selection(), pathsOf(shown, {2}));

    f.held = Qt::ControlModifier;
    f.model->select(shown[4]);
    EXPECT_EQ(f.model->selection(), pathsOf(shown, {2, 4}));
    f.model->select(shown[2]);
    EXPECT_EQ(f.model->selection(), pathsOf(shown, {4}));

    f.held = {};
    f.model->select(shown[3]);
    EXPECT_EQ(f.model->selection(), pathsOf(shown, {3}));
    f.held = Qt::ControlModifier;
    f.model->select(shown[4]);
    // Before the anchor (the first selected): the range up to it, the rest kept.
    f.held = Qt::ShiftModifier;
    f.model->select(shown[1]);
    EXPECT_EQ(f.model->selection(), pathsOf(shown, {1, 2, 3, 4}));
}

TEST(WorkspaceActions, PreviewsStepThroughVisibleFilesWithoutWrapping)
{
    TempTree tree;
    tree.file("a.txt", "a");
    tree.folder("m-folder");
    tree.file("z.txt", "z");
    ActionFixture f;
    f.show(tree, 3);
    const QList<FileEntry> shown = f.model->visible();
    const auto folder =
        std::find_if(shown.begin(), shown.end(), [](auto& e) { return e.isDirectory; });
    ASSERT_NE(folder, shown.end());

    f.model->setSelection({folder->path});
    f.model->preview();
    EXPECT_FALSE(f.model->previewFile().has_value());

    QList<FileEntry> files = shown;
    files.removeIf([](const FileEntry& e) { return e.isDirectory; });
    f.model->open(files.first());
    ASSERT_EQ(f.model->previewFile(), files.first());
    f.model->stepPreview(-1);
    EXPECT_EQ(f.model->previewFile(), files.first());
    f.model->stepPreview(1); // the folder in between is skipped
    EXPECT_EQ(f.model->previewFile(), files.last());
    EXPECT_EQ(f.model->selection(), QSet<QString>{files.last().path});
    f.model->stepPreview(1);
    EXPECT_EQ(f.model->previewFile(), files.last());
}

TEST(WorkspaceActions, FolderChangesReloadOrReportTheRefusal)
{
    TempTree tree;
    tree.file("one.txt", "1");
    ActionFixture f;
    f.model->createFolder("x");
    EXPECT_EQ(f.model->error(), QStringLiteral("Choose a destination folder to create a folder."));
    f.model->setError(std::nullopt);

    f.show(tree, 1);
    f.model->createFolder("new");
    ASSERT_TRUE(waitFor([&] { return f.model->files().size() == 2; }));
    f.model->createFolder("bad/name");
    ASSERT_TRUE(waitFor([&] { return f.model->error().has_value(); }));
    EXPECT_EQ(f.model->files().size(), 2);
    f.model->setError(std::nullopt);

    const FileEntry one = FileEntry::fromPath(tree.path("one.txt"));
    f.model->rename(one, "renamed.txt");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(tree.path("renamed.txt")); }));
    ASSERT_TRUE(waitFor([&] {
        const auto files = f.model->files();
        return std::any_of(files.begin(), files.end(),
                           [](const FileEntry& e) { return e.name == "renamed.txt"; });
    }));
}

TEST(WorkspaceActions, TrashingRefreshesAlsoAfterAFailure)
{
    TempTree tree;
    const QString data = tree.folder("xdg-data");
    ScopedEnv xdg("XDG_DATA_HOME", data.toLocal8Bit());
    tree.file("shown/a.txt", "a");
    tree.file("shown/b.txt", "b");
    ActionFixture f;
    f.model->navigate(tree.path("shown"));
    ASSERT_TRUE(waitFor([&] { return f.model->files().size() == 2; }));
    f.model->setSelection({tree.path("shown/a.txt"), tree.path("shown/missing.txt")});
    f.model->trash();
    ASSERT_TRUE(waitFor([&] { return f.model->files().size() == 1; }));
    ASSERT_TRUE(waitFor([&] { return f.model->error().has_value(); }));
    EXPECT_FALSE(QFile::exists(tree.path("shown/a.txt")));
}

TEST(WorkspaceActions, CopyAndPasteQueueTransfers)
{
    TempTree tree;
    tree.file("src/a.txt", "a");
    tree.folder("dest");
    ActionFixture f(Feature::Images);
    f.model->setSelection({tree.path("src/a.txt")});
    f.model->copySelection();

    // The whole index has no current folder: ask, and queue nothing on cancel.
    f.model->paste();
    EXPECT_EQ(f.prompts, QStringList{"Copy here"});
    EXPECT_TRUE(f.store.items().isEmpty());

    f.chosenFolder = tree.path("dest");
    f.model->paste();
    ASSERT_EQ(f.store.items().size(), 1);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(tree.path("dest/a.txt")); }));
    ASSERT_TRUE(waitFor([&] {
        return f.model->transfers().size() == 1 &&
               f.model->transfers()[0].status == TransferStatus::Completed;
    }));

    f.model->setSelection({tree.path("src/missing.txt")});
    f.model->copySelection();
    f.model->paste();
    ASSERT_TRUE(waitFor([&] {
        return f.model->transfers().size() == 2 &&
               f.model->transfers()[1].status == TransferStatus::Failed;
    }));
    f.model->clearCompletedTransfers();
    ASSERT_EQ(f.model->transfers().size(), 1);
    EXPECT_EQ(f.model->transfers()[0].status, TransferStatus::Failed);
}

TEST(WorkspaceActions, PastingTakesOnlyAbsoluteLocalFilesAndSaysWhatItLeftOut)
{
    TempTree tree;
    tree.file("work/secret.txt", "not to be copied");
    const QString source = tree.file("src/a.txt", "a");
    tree.folder("dest");
    ActionFixture f;
    f.show(tree, 3);
    f.model->navigate(tree.path("dest"));
    ASSERT_TRUE(waitFor([&] { return f.model->folder() == tree.path("dest"); }));
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(tree.path("work")));
    f.platform().writeClipboard({QUrl(QStringLiteral("file:secret.txt")),
                                 QUrl(QStringLiteral("file://elsewhere/etc/hostname")),
                                 QUrl(QStringLiteral("https://example.org/a.txt")),
                                 QUrl::fromLocalFile(source)});
    f.model->paste();
    QDir::setCurrent(before);

    ASSERT_EQ(f.store.items().size(), 1);
    EXPECT_EQ(f.store.items()[0].source, source);
    ASSERT_TRUE(f.model->error().has_value());
    for (const char* left :
         {"file:secret.txt", "file://elsewhere/etc/hostname", "https://example.org/a.txt"})
        EXPECT_TRUE(f.model->error()->contains(QLatin1String(left)))
            << f.model->error()->toStdString();
    ASSERT_TRUE(waitFor([&] { return QFile::exists(tree.path("dest/a.txt")); }));
    EXPECT_FALSE(QFile::exists(tree.path("dest/secret.txt")));

    // A clipboard of nothing pastable queues nothing.
    f.platform().writeClipboard({QUrl(QStringLiteral("file:secret.txt"))});
    f.model->paste();
    EXPECT_EQ(f.store.items().size(), 1);
}

TEST(WorkspaceActions, TextExtractionShowsItsProgressAndCanBeStopped)
{
    TempTree tree;
    QImage page(900, 160, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
        QPainter painter(&page);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(48);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPoint(40, 100), QStringLiteral("Invoice 4711"));
    }
    ASSERT_TRUE(page.save(tree.path("scan.png")));
    ActionFixture f;
    f.show(tree, 1);
    f.model->select(f.model->visible().first());

    // Stopped at once: no text, no error, and no longer busy.
    f.model->extractText();
    EXPECT_TRUE(f.model->ocrBusy());
    f.model->cancelTextExtraction();
    ASSERT_TRUE(waitFor([&] { return !f.model->ocrBusy(); }));
    EXPECT_FALSE(f.model->ocrText().has_value());
    EXPECT_FALSE(f.model->error().has_value());

    QStringList progress;
    QObject::connect(f.model.get(), &WorkspaceModel::ocrChanged, [&] {
        if (!f.model->ocrProgress().isEmpty()) progress << f.model->ocrProgress();
    });
    f.model->extractText();
    ASSERT_TRUE(waitFor([&] { return !f.model->ocrBusy(); }));
    EXPECT_EQ(f.model->ocrText(), QStringLiteral("Invoice 4711"));
    ASSERT_FALSE(progress.isEmpty());
    EXPECT_TRUE(progress.first().startsWith(QStringLiteral("Reading text… ")));
    EXPECT_TRUE(f.model->ocrProgress().isEmpty());
}
