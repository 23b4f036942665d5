// Paste conflicts, cut and paste, drops, and Undo/Redo, driven through the real
// window's keys, menus and dialogs, then checked on the disk.
#include "scratch_mount.h"
#include "temporary_trash.h"
#include "transfer_store.h"
#include "transfers/transfers_view.h"
#include "trash_can.h"
#include "ui/drop_highlight.h"
#include "ui/name_sheet.h"
#include "window/conflict_dialog.h"
#include "window/items_dialog.h"
#include "window/shown_window.h"
#include "window/sidebar.h"
#include "window/sidebar_row.h"
#include "window/window_dialogs.h"
#include "window/window_sheets.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDrag>
#include <QFile>
#include <QFileSystemModel>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

namespace {

QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

class FileActions : public ShownWindowTest {
protected:
    void SetUp() override
    {
        trash = temporaryTrash();
        ShownWindowTest::SetUp();
    }

    // Copies (or cuts) everything `from` lists with the keyboard and pastes it into `to`.
    void transfer(const QString& from, const QStringList& listed, const QString& to,
                  const QStringList& listedThere, Qt::Key key = Qt::Key_C)
    {
        show(from, listed);
        click(from + u'/' + listed[0]);
        QTest::keyClick(explorer()->currentView(), Qt::Key_A, Qt::ControlModifier);
        ASSERT_EQ(router->current().selection().size(), listed.size());
        shortcut(key);
        show(to, listedThere);
        shortcut(Qt::Key_V);
    }

    ConflictDialog* conflict() { return waitForShown<ConflictDialog>(*window); }
    void answer(ConflictDialog* dialog, ConflictAnswer answer, bool toAll = false)
    {
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(dialog->button(answer));
        dialog->applyToAll()->setChecked(toAll);
        dialog->button(answer)->click();
        EXPECT_TRUE(waitFor([&] { return !dialog || !dialog->isVisible(); }));
    }
    // Every job of the queue has ended.
    bool queueDone() const
    {
        const QList<TransferItem>& items = router->transferStore().items();
        return !items.isEmpty() && std::all_of(items.cbegin(), items.cend(), [](auto& item) {
            return item.status != TransferStatus::Queued && item.status != TransferStatus::Copying;
        });
    }
    bool trashHolds(const QString& name, const QByteArray& data) const
    {
        for (const QString& held : trashedNames())
            if (held.startsWith(QFileInfo(name).completeBaseName()) &&
                contents(trash + "/files/" + held) == data)
                return true;
        return false;
    }

    void rename(const QString& path, const QString& name)
    {
        click(path);
        router->current().setRenameTarget(router->current().selected());
        NameSheet* sheet = waitForShown<NameSheet>(*window);
        ASSERT_TRUE(sheet);
        auto* field = sheet->findChild<QLineEdit*>();
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, name);
        QTest::keyClick(field, Qt::Key_Return);
        ASSERT_TRUE(waitFor([&] { return !sheet || !sheet->isVisible(); }));
    }

    // What the Explorer's own drag of `path` (and the rest of its selection) carries.
    QMimeData* dragOut(const QString& path)
    {
        FileListView* view = explorer()->currentView();
        QMimeData* carried = nullptr;
        Qt::DropActions offered;
        QTimer::singleShot(0, window.get(), [&] {
            if (auto* drag = view->findChild<QDrag*>()) {
                carried = fileUrlsMimeData(drag->mimeData()->urls());
                offered = drag->supportedActions();
                QDrag::cancel();
            }
        });
        const QPoint from = itemAt(view, path);
        QTest::mousePress(view->viewport(), Qt::LeftButton, {}, from);
        QTest::mouseMove(view->viewport(), from + QPoint(30, 30));
        QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, from + QPoint(30, 30));
        waitFor([&] { return carried != nullptr; }, 3000);
        // Where it lands decides whether it moves.
        EXPECT_EQ(offered, Qt::CopyAction | Qt::MoveAction);
        return carried;
    }

    // Drags `data` into `target` and over `at`, as the desktop delivers a
    // drag; whether it would be taken there.
    static bool dragOver(QWidget* target, const QPoint& at, const QMimeData* data,
                         Qt::KeyboardModifiers held = {})
    {
        const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(at, offered, data, Qt::NoButton, held);
        QApplication::sendEvent(target, &enter);
        QDragMoveEvent move(at, offered, data, Qt::NoButton, held);
        QApplication::sendEvent(target, &move);
        return enter.isAccepted() && move.isAccepted();
    }
    // Drags `data` over `target` at `at` and drops it there, as the desktop
    // delivers a drag; the action the drop took, or IgnoreAction when refused.
    static Qt::DropAction drop(QWidget* target, const QPoint& at, const QMimeData* data,
                               Qt::KeyboardModifiers held = {},
                               Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction)
    {
        QDragEnterEvent enter(at, offered, data, Qt::NoButton, held);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted()) return Qt::IgnoreAction;
        QDragMoveEvent move(at, offered, data, Qt::NoButton, held);
        QApplication::sendEvent(target, &move);
        if (!move.isAccepted()) return Qt::IgnoreAction;
        QDropEvent dropped(at, offered, data, Qt::LeftButton, held);
        QApplication::sendEvent(target, &dropped);
        return dropped.isAccepted() ? dropped.dropAction() : Qt::IgnoreAction;
    }
    // Around the items of the Explorer's current layout, where none is.
    QPoint besideItems() const
    {
        QWidget* viewport = explorer()->currentView()->viewport();
        return {viewport->width() - 5, viewport->height() - 5};
    }

    QString trash;
};

} // namespace

TEST_F(FileActions, APasteOntoATakenNameAsksAndKeepBothOrReplaceSettleIt)
{
    const QString from = tree.file("src/a.txt", "new");
    tree.file("dest/a.txt", "old");
    const QString dest = tree.path("dest");
    transfer(tree.path("src"), {"a.txt"}, dest, {"a.txt"});

    ConflictDialog* dialog = conflict();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->text(), "\u201Ca.txt\u201D already exists in \u201Cdest\u201D");
    EXPECT_FALSE(dialog->button(ConflictAnswer::Merge)); // files don't merge
    answer(dialog, ConflictAnswer::KeepBoth);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(contents(dest + "/a (2).txt"), "new");
    EXPECT_EQ(contents(dest + "/a.txt"), "old");
    EXPECT_EQ(contents(from), "new");
    expectShowing(dest, {"a (2).txt", "a.txt"});

    // Again, replacing: the old one goes to the trash, never away.
    shortcut(Qt::Key_V);
    answer(conflict(), ConflictAnswer::Replace);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(contents(dest + "/a.txt"), "new");
    EXPECT_TRUE(trashHolds("a.txt", "old"));
    expectShowing(dest, {"a (2).txt", "a.txt"});
}

TEST_F(FileActions, SkipForAllAsksOnceAndFoldersCanMerge)
{
    tree.file("src/one.txt", "1 new");
    tree.file("src/two.txt", "2 new");
    tree.file("more/box/inner.txt", "inner");
    tree.file("dest/one.txt", "1 old");
    tree.file("dest/two.txt", "2 old");
    tree.file("dest/box/kept.txt", "kept");
    const QString dest = tree.path("dest");
    int asked = 0;
    QObject::connect(&router->transferStore(), &TransferStore::conflictRaised, window.get(),
                     [&] { ++asked; });
    transfer(tree.path("src"), {"one.txt", "two.txt"}, dest, {"box", "one.txt", "two.txt"});
    answer(conflict(), ConflictAnswer::Skip, true);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(asked, 1); // the second name was skipped without asking again
    EXPECT_EQ(contents(dest + "/one.txt"), "1 old");
    EXPECT_EQ(contents(dest + "/two.txt"), "2 old");

    transfer(tree.path("more"), {"box"}, dest, {"box", "one.txt", "two.txt"});
    ConflictDialog* dialog = conflict();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(dialog->button(ConflictAnswer::Merge));
    answer(dialog, ConflictAnswer::Merge);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(contents(dest + "/box/kept.txt"), "kept");
    EXPECT_EQ(contents(dest + "/box/inner.txt"), "inner");
}

TEST_F(FileActions, CutAndPasteMovesTheItems)
{
    tree.file("src/a.txt", "a");
    tree.folder("dest");
    transfer(tree.path("src"), {"a.txt"}, tree.path("dest"), {}, Qt::Key_X);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(router->transferStore().items()[0].kind, TransferKind::Move);
    EXPECT_FALSE(QFile::exists(tree.path("src/a.txt")));
    EXPECT_EQ(contents(tree.path("dest/a.txt")), "a");
    expectShowing(tree.path("dest"), {"a.txt"});

    // Moved once: pasting again has nothing left to move.
    shortcut(Qt::Key_V);
    EXPECT_EQ(router->transferStore().items().size(), 1);

    // Undo puts it back where it was.
    shortcut(Qt::Key_Z);
    EXPECT_EQ(contents(tree.path("src/a.txt")), "a");
    EXPECT_FALSE(QFile::exists(tree.path("dest/a.txt")));
}

TEST_F(FileActions, FilesCutInAnotherFileManagerAreMovedOnPaste)
{
    const QString source = tree.file("elsewhere/cut.txt", "c");
    const QString kept = tree.file("elsewhere/copied.txt", "k");
    tree.folder("dest");
    show(tree.path("dest"), {});
    // What GNOME-style file managers put on the clipboard, and nothing else.
    auto* foreign = new QMimeData;
    foreign->setData(QStringLiteral("x-special/gnome-copied-files"),
                     "cut\n" + QUrl::fromLocalFile(source).toEncoded());
    QGuiApplication::clipboard()->setMimeData(foreign);
    shortcut(Qt::Key_V);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_FALSE(QFile::exists(source));
    EXPECT_EQ(contents(tree.path("dest/cut.txt")), "c");

    QGuiApplication::clipboard()->setMimeData(fileUrlsMimeData({QUrl::fromLocalFile(kept)}));
    shortcut(Qt::Key_V);
    ASSERT_TRUE(
        waitFor([&] { return queueDone() && QFile::exists(tree.path("dest/copied.txt")); }));
    EXPECT_EQ(contents(kept), "k");
    expectShowing(tree.path("dest"), {"copied.txt", "cut.txt"});
}

TEST_F(FileActions, UndoAndRedoARenameNamedInTheEditMenu)
{
    tree.file("work/a.txt", "a");
    const QString work = tree.path("work");
    show(work, {"a.txt"});
    ASSERT_TRUE(editAction("Undo"));
    EXPECT_EQ(editAction("Undo")->text(), "Undo");
    EXPECT_FALSE(editAction("Undo")->isEnabled());
    EXPECT_FALSE(editAction("Redo")->isEnabled());

    rename(work + "/a.txt", "b.txt");
    expectShowing(work, {"b.txt"});
    EXPECT_EQ(editAction("Undo")->text(), "Undo Rename \u201Ca.txt\u201D");
    EXPECT_TRUE(editAction("Undo")->isEnabled());

    shortcut(Qt::Key_Z);
    EXPECT_EQ(contents(work + "/a.txt"), "a");
    EXPECT_FALSE(QFile::exists(work + "/b.txt"));
    expectShowing(work, {"a.txt"});
    EXPECT_FALSE(editAction("Undo")->isEnabled());
    EXPECT_EQ(editAction("Redo")->text(), "Redo Rename \u201Ca.txt\u201D");

    shortcut(Qt::Key_Z, Qt::ShiftModifier);
    EXPECT_EQ(contents(work + "/b.txt"), "a");
    expectShowing(work, {"b.txt"});

    // A name taken meanwhile: the undo is refused, said as the window says
    // errors, and nothing moves.
    tree.file("work/a.txt", "someone else's");
    shortcut(Qt::Key_Z);
    QMessageBox* alert = waitForQuestion(*window, QStringLiteral("Something needs your attention"));
    ASSERT_TRUE(alert);
    EXPECT_FALSE(alert->informativeText().isEmpty());
    press(alert, QMessageBox::AcceptRole);
    EXPECT_EQ(contents(work + "/a.txt"), "someone else's");
    EXPECT_EQ(contents(work + "/b.txt"), "a");
    EXPECT_TRUE(editAction("Undo")->isEnabled());
}

TEST_F(FileActions, UndoBringsTrashedItemsBackAndRemovesANewFolder)
{
    const QString gone = tree.file("work/gone.txt", "g");
    tree.file("work/keep.txt", "k");
    const QString work = tree.path("work");
    show(work, {"gone.txt", "keep.txt"});
    click(gone);
    QTest::keyClick(explorer()->currentView(), Qt::Key_Delete, Qt::ControlModifier);
    press(waitForQuestion(*window, WindowSheets::trashTitle(1)), QMessageBox::DestructiveRole);
    ASSERT_TRUE(waitFor([&] { return !QFile::exists(gone); }));
    expectShowing(work, {"keep.txt"});
    EXPECT_EQ(editAction("Undo")->text(), "Undo Move to Trash \u201Cgone.txt\u201D");

    shortcut(Qt::Key_Z);
    EXPECT_EQ(contents(gone), "g");
    expectShowing(work, {"gone.txt", "keep.txt"});

    router->current().createFolder(QStringLiteral("Fresh"));
    expectShowing(work, {"Fresh", "gone.txt", "keep.txt"});
    shortcut(Qt::Key_Z);
    EXPECT_FALSE(QFileInfo::exists(work + "/Fresh"));
    expectShowing(work, {"gone.txt", "keep.txt"});
}

TEST_F(FileActions, CutFromTheFileMenuMovesOnPaste)
{
    tree.file("src/a.txt", "a");
    tree.file("src/b.txt", "b");
    tree.folder("dest");
    show(tree.path("src"), {"a.txt", "b.txt"});
    fromFileMenu(explorer()->currentView(), tree.path("src/b.txt"), QStringLiteral("Cut"));
    show(tree.path("dest"), {});
    shortcut(Qt::Key_V);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(router->transferStore().items()[0].kind, TransferKind::Move);
    EXPECT_EQ(contents(tree.path("dest/b.txt")), "b");
    EXPECT_FALSE(QFile::exists(tree.path("src/b.txt")));
    EXPECT_EQ(contents(tree.path("src/a.txt")), "a");
    expectShowing(tree.path("dest"), {"b.txt"});
}

TEST_F(FileActions, DraggingItemsOntoAFolderMovesThemAndCtrlCopies)
{
    tree.file("src/a.txt", "a");
    tree.file("src/b.txt", "b");
    tree.file("src/box/b.txt", "older b");
    const QString src = tree.path("src");
    show(src, {"box", "a.txt", "b.txt"});
    FileListView* view = explorer()->currentView();
    const QPoint box = itemAt(view, src + "/box");

    // On the same file system a plain drop moves; undo puts it back.
    std::unique_ptr<QMimeData> a(dragOut(src + "/a.txt"));
    ASSERT_TRUE(a);
    EXPECT_EQ(a->urls(), QList<QUrl>{QUrl::fromLocalFile(src + "/a.txt")});
    EXPECT_EQ(drop(view->viewport(), box, a.get()), Qt::MoveAction);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(contents(src + "/box/a.txt"), "a");
    expectShowing(src, {"box", "b.txt"});
    shortcut(Qt::Key_Z);
    EXPECT_EQ(contents(src + "/a.txt"), "a");
    EXPECT_FALSE(QFile::exists(src + "/box/a.txt"));

    // Ctrl copies, through the same question a paste asks on a taken name.
    std::unique_ptr<QMimeData> b(dragOut(src + "/b.txt"));
    ASSERT_TRUE(b);
    EXPECT_EQ(drop(view->viewport(), box, b.get(), Qt::ControlModifier), Qt::CopyAction);
    answer(conflict(), ConflictAnswer::KeepBoth);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(contents(src + "/box/b (2).txt"), "b");
    EXPECT_EQ(contents(src + "/box/b.txt"), "older b");
    EXPECT_EQ(contents(src + "/b.txt"), "b");

    // Neither on a file, nor where the items are already, nor on the dragged folder itself.
    const qsizetype queued = router->transferStore().items().size();
    EXPECT_EQ(drop(view->viewport(), besideItems(), b.get()), Qt::IgnoreAction);
    std::unique_ptr<QMimeData> folder(dragOut(src + "/box"));
    ASSERT_TRUE(folder);
    EXPECT_EQ(drop(view->viewport(), box, folder.get()), Qt::IgnoreAction);
    EXPECT_EQ(router->transferStore().items().size(), queued);
    expectShowing(src, {"box", "a.txt", "b.txt"});
}

TEST_F(FileActions, AHoveringDragMarksWhereItWouldLand)
{
    tree.file("src/a.txt", "a");
    tree.folder("src/box");
    const QString src = tree.path("src");
    show(src, {"box", "a.txt"});
    FileListView* view = explorer()->currentView();
    QWidget* viewport = view->viewport();
    auto* highlight = viewport->findChild<DropHighlight*>();
    ASSERT_TRUE(highlight);
    EXPECT_FALSE(highlight->isVisible());
    QMimeData outside;
    outside.setUrls({QUrl::fromLocalFile(tree.file("elsewhere/c.txt", "c"))});
    const auto hover = [&](const QPoint& at, const QMimeData* data) {
        return dragOver(viewport, at, data);
    };

    // Over a folder's tile: that tile, drawn in the selection colour on screen.
    const QModelIndex boxIndex = view->indexAt(itemAt(view, src + "/box"));
    ASSERT_TRUE(hover(itemAt(view, src + "/box"), &outside));
    EXPECT_TRUE(highlight->isVisible());
    EXPECT_EQ(highlight->geometry(), view->visualRect(boxIndex));
    const QImage shown = viewport->grab().toImage();
    const QPoint edge(view->visualRect(boxIndex).center().x(),
                      view->visualRect(boxIndex).top() + 1);
    const QColor accent = viewport->palette().color(QPalette::Highlight);
    const QColor painted = shown.pixelColor(edge * shown.devicePixelRatio());
    EXPECT_LT(std::abs(painted.hue() - accent.hue()), 12) << painted.name().toStdString();

    // Beside the items: the whole folder shown.
    ASSERT_TRUE(hover(besideItems(), &outside));
    EXPECT_EQ(highlight->geometry(), viewport->rect());
    // Where the drop isn't taken (the items are in that folder already), no mark.
    QMimeData inside;
    inside.setUrls({QUrl::fromLocalFile(src + "/a.txt")});
    EXPECT_FALSE(hover(besideItems(), &inside));
    EXPECT_FALSE(highlight->isVisible());
    ASSERT_TRUE(hover(itemAt(view, src + "/box"), &inside));
    EXPECT_TRUE(highlight->isVisible());
    // The drag going away or landing takes the mark along.
    QDragLeaveEvent leave;
    QApplication::sendEvent(viewport, &leave);
    EXPECT_FALSE(highlight->isVisible());
    EXPECT_EQ(drop(viewport, itemAt(view, src + "/box"), &inside), Qt::MoveAction);
    EXPECT_FALSE(highlight->isVisible());
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(contents(src + "/box/a.txt"), "a");
}

TEST_F(FileActions, DropsFromOtherApplicationsTakeOnlyThisComputersFiles)
{
    const QString moved = tree.file("elsewhere/moved.txt", "m");
    const QString copied = tree.file("elsewhere/copied.txt", "c");
    const QString cut = tree.file("elsewhere/cut.txt", "x");
    const QString dest = tree.path("dest");
    tree.folder("dest");
    show(dest, {});
    FileListView* view = explorer()->currentView();

    // A plain text/uri-list, as browsers and editors drag: the web address is refused aloud.
    QMimeData uris;
    uris.setData(QStringLiteral("text/uri-list"),
                 QUrl::fromLocalFile(moved).toEncoded() + "\r\nhttps://example.org/page.txt\r\n");
    EXPECT_EQ(drop(view->viewport(), besideItems(), &uris), Qt::MoveAction);
    QMessageBox* alert = waitForQuestion(*window, QStringLiteral("Something needs your attention"));
    ASSERT_TRUE(alert);
    EXPECT_TRUE(alert->informativeText().contains(QStringLiteral("https://example.org/page.txt")))
        << alert->informativeText().toStdString();
    press(alert, QMessageBox::AcceptRole);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(contents(dest + "/moved.txt"), "m");
    EXPECT_FALSE(QFile::exists(moved));

    // A source that offers only copying is copied, even where a move would do.
    QMimeData copyOnly;
    copyOnly.setUrls({QUrl::fromLocalFile(copied)});
    EXPECT_EQ(drop(view->viewport(), besideItems(), &copyOnly, {}, Qt::CopyAction), Qt::CopyAction);

    // What GNOME-style file managers drag, marked as cut.
    QMimeData gnome;
    gnome.setData(QStringLiteral("x-special/gnome-copied-files"),
                  "cut\n" + QUrl::fromLocalFile(cut).toEncoded());
    EXPECT_EQ(drop(view->viewport(), besideItems(), &gnome), Qt::MoveAction);
    ASSERT_TRUE(waitFor([&] {
        return queueDone() && QFile::exists(dest + "/cut.txt") &&
               QFile::exists(dest + "/copied.txt");
    }));
    EXPECT_FALSE(QFile::exists(cut));
    EXPECT_EQ(contents(copied), "c");
    expectShowing(dest, {"copied.txt", "cut.txt", "moved.txt"});
}

TEST_F(FileActions, DropsOnASidebarLocationGoThereAndCrossFileSystemsAsCopies)
{
    tree.folder("home/Documents");
    std::optional<ScopedEnv> home(std::in_place, "HOME", QFile::encodeName(tree.path("home")));
    const QString local = tree.file("src/local.txt", "l");
    SidebarRow* documents = nullptr;
    for (auto* row : window->content()->sidebar()->findChildren<SidebarRow*>())
        if (row->text() == QLatin1String("Documents")) documents = row;
    ASSERT_TRUE(documents);
    const QPoint on = documents->rect().center();

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(local)});
    EXPECT_EQ(drop(documents, on, &data), Qt::MoveAction);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(contents(tree.path("home/Documents/local.txt")), "l");
    EXPECT_FALSE(QFile::exists(local));

    // A home on a file system of its own.
    const QString scratchHome = tree.folder("scratch");
    ScratchMount scratch(scratchHome);
    if (!scratch.mounted()) GTEST_SKIP() << "no second file system can be mounted here";
    tree.folder("scratch/Documents");
    home.emplace("HOME", QFile::encodeName(scratchHome));
    const QString far = tree.file("src/far.txt", "f");
    data.setUrls({QUrl::fromLocalFile(far)});
    EXPECT_EQ(drop(documents, on, &data), Qt::CopyAction);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    EXPECT_EQ(contents(scratchHome + "/Documents/far.txt"), "f");
    EXPECT_EQ(contents(far), "f");

    // The sidebar row is marked while the drag hovers it, and not after.
    data.setUrls({QUrl::fromLocalFile(tree.file("src/next.txt", "n"))});
    EXPECT_TRUE(dragOver(documents, on, &data));
    auto* mark = documents->findChild<DropHighlight*>();
    ASSERT_TRUE(mark);
    EXPECT_TRUE(mark->isVisible());
    EXPECT_EQ(mark->geometry(), documents->rect());
    QDragLeaveEvent leave;
    QApplication::sendEvent(documents, &leave);
    EXPECT_FALSE(mark->isVisible());
}

TEST_F(FileActions, AShiftDropOntoAnotherDiskMovesOnlyWhenTheCopyIsWhole)
{
    const QString moved = tree.file("src/moved.txt", "m");
    const QString big = tree.file("src/big.bin", QByteArray(3 << 20, 'b'));
    if (!TrashCan::canTrash(moved)) GTEST_SKIP() << "the test folder's disk has no trash here";
    const QString far = tree.folder("far");
    ScratchMount scratch(far, "2m");
    if (!scratch.mounted()) GTEST_SKIP() << "no second file system can be mounted here";
    show(far, {});
    FileListView* view = explorer()->currentView();

    // Shift moves across disks: a copy, then the original to the trash.
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(moved)});
    EXPECT_EQ(drop(view->viewport(), besideItems(), &data, Qt::ShiftModifier), Qt::MoveAction);
    ASSERT_TRUE(waitFor([&] { return queueDone() && !QFile::exists(moved); }))
        << router->transferStore().items().last().error.value_or(QString()).toStdString();
    EXPECT_EQ(contents(far + "/moved.txt"), "m");
    EXPECT_TRUE(trashHolds("moved.txt", "m"));
    expectShowing(far, {"moved.txt"});

    // A copy that can't be finished leaves the original where it was and nothing half-made.
    data.setUrls({QUrl::fromLocalFile(big)});
    EXPECT_EQ(drop(view->viewport(), besideItems(), &data, Qt::ShiftModifier), Qt::MoveAction);
    ASSERT_TRUE(waitFor([&] {
        return queueDone() &&
               router->transferStore().items().last().status == TransferStatus::Failed;
    }));
    EXPECT_EQ(QFileInfo(big).size(), 3 << 20);
    EXPECT_EQ(QDir(far).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"moved.txt"});
    EXPECT_FALSE(trashHolds("big.bin", QByteArray(3 << 20, 'b')));
}

TEST_F(FileActions, AddFilesInTheQueueTakesFoldersToo)
{
    tree.file("src/box/inner.txt", "inner");
    tree.file("src/crate/deep.txt", "deep");
    tree.file("src/loose.txt", "loose");
    const QString dest = tree.folder("dest");
    QTest::mouseClick(window->content()->sidebar()->row(Feature::Transfers), Qt::LeftButton);
    auto* queue = qobject_cast<TransfersView*>(window->content()->currentSectionView());
    ASSERT_TRUE(queue);

    // A click selects a folder in the chooser, a Ctrl+click a second one; its
    // button takes them instead of opening one.
    bool chose = false, placed = false;
    // The destination is asked for once the chooser is gone, from its own event loop.
    QTimer destinationWatch;
    destinationWatch.setInterval(20);
    QObject::connect(&destinationWatch, &QTimer::timeout, window.get(), [&] {
        for (auto* dialog : window->findChildren<QFileDialog*>())
            if (dialog->isVisible() && !qobject_cast<ItemsDialog*>(dialog)) {
                destinationWatch.stop();
                dialog->setDirectory(dest);
                static_cast<QDialog*>(dialog)->accept(); // its own accept is protected
                placed = true;
                return;
            }
    });
    QTimer::singleShot(0, window.get(), [&] {
        auto* items = waitForShown<ItemsDialog>(*window);
        if (!items) return;
        items->setDirectory(tree.path("src"));
        // The dialog lists the folder in the background; its button follows what is listed.
        auto* listing = items->findChild<QFileSystemModel*>();
        waitFor([&] { return listing && listing->index(tree.path("src/crate")).isValid(); });
        // The chooser's list or detail view, whichever it shows.
        QAbstractItemView* list = nullptr;
        waitFor([&] {
            for (auto* view : items->findChildren<QAbstractItemView*>())
                if (view->isVisible() && view->model() == listing &&
                    !qobject_cast<QHeaderView*>(view))
                    list = view;
            return list != nullptr;
        });
        if (!list) return items->reject();
        const auto pick = [&](const QString& name, Qt::KeyboardModifiers held) {
            const QModelIndex index = listing->index(tree.path(name));
            list->scrollTo(index);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, held,
                              list->visualRect(index).center());
        };
        pick(QStringLiteral("src/box"), {});
        pick(QStringLiteral("src/crate"), Qt::ControlModifier);
        QPushButton* take = items->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
        chose = take && waitFor([&] { return take->isEnabled(); });
        destinationWatch.start();
        if (chose)
            take->click();
        else
            items->reject();
    });
    queue->addButton()->click();
    EXPECT_TRUE(chose);
    EXPECT_TRUE(placed);
    ASSERT_TRUE(waitFor([&] { return queueDone(); }));
    QStringList sources;
    for (const TransferItem& added : router->transferStore().items()) {
        sources.append(added.source);
        EXPECT_EQ(added.destinationFolder, dest) << added.error.value_or("").toStdString();
    }
    sources.sort();
    EXPECT_EQ(sources, QStringList({tree.path("src/box"), tree.path("src/crate")}));
    EXPECT_EQ(contents(dest + "/box/inner.txt"), "inner");
    EXPECT_EQ(contents(dest + "/crate/deep.txt"), "deep");
    EXPECT_FALSE(QFile::exists(dest + "/loose.txt"));
}
