// Paste conflicts, cut and paste, and Undo/Redo, driven through the real
// window's keys, menus and dialogs, then checked on the disk.
#include "temporary_trash.h"
#include "transfer_store.h"
#include "ui/name_sheet.h"
#include "window/conflict_dialog.h"
#include "window/shown_window.h"
#include "window/window_dialogs.h"
#include "window/window_sheets.h"

#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>

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
