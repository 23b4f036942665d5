// The file list view places its items from their row numbers alone: in each
// layout the items sit in reading order without overlapping, a point finds
// the item drawn there, and the keys walk the lines, however long the list.
#include "ui/file_delegates.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"

#include <QAbstractItemModelTester>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr int kRows = 200000;

QList<FileEntry> manyEntries()
{
    QList<FileEntry> entries;
    entries.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        FileEntry entry;
        entry.name = QStringLiteral("item %1.txt").arg(i);
        entry.path = QStringLiteral("/listed/") + entry.name;
        entries << entry;
    }
    return entries;
}

struct Shown {
    FileListModel list;
    QAbstractItemModelTester tester{&list, QAbstractItemModelTester::FailureReportingMode::Fatal};
    FileTileDelegate tiles;
    FileRowDelegate rows;
    std::unique_ptr<FileListView> view;

    explicit Shown(FileListView::Layout layout)
    {
        list.setEntries(manyEntries());
        view = std::make_unique<FileListView>(&list, layout);
        if (layout == FileListView::Layout::Rows) {
            view->setItemDelegate(&rows);
            view->setTileSize(0, FileRowDelegate::height, 0);
        } else {
            view->setItemDelegate(&tiles);
            view->setTileSize(FileTileDelegate::minimumWidth, FileTileDelegate::height,
                              FileTileDelegate::spacing);
        }
        view->resize(900, 600);
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    }

    QRect rectOf(int row) const { return view->visualRect(list.index(row)); }
    // The rows with a tile on screen, by asking the view for each one's place.
    QList<int> rowsOnScreen(int from) const
    {
        QList<int> shown;
        for (int row = std::max(0, from); row < list.rowCount() && row < from + 400; ++row)
            if (rectOf(row).intersects(view->viewport()->rect())) shown << row;
        return shown;
    }
};

// Items on screen follow their rows, and each is where a click finds it.
void expectReadingOrder(const Shown& shown, const QList<int>& rows, FileListView::Layout layout)
{
    ASSERT_GE(rows.size(), 2);
    for (int i = 0; i < rows.size(); ++i) {
        const QRect rect = shown.rectOf(rows[i]);
        EXPECT_EQ(shown.view->indexAt(rect.center()).row(), rows[i]);
        // Lines going down fit the width: no tile is cut at the side.
        if (layout != FileListView::Layout::Strip) {
            EXPECT_GE(rect.left(), 0) << rows[i];
            EXPECT_LT(rect.right(), shown.view->viewport()->width()) << rows[i];
        }
        if (i == 0) continue;
        const QRect before = shown.rectOf(rows[i - 1]);
        EXPECT_FALSE(rect.intersects(before)) << rows[i];
        const bool sameLine = rect.top() == before.top();
        if (layout == FileListView::Layout::Strip) {
            EXPECT_TRUE(sameLine);
        }
        if (layout == FileListView::Layout::Rows) {
            EXPECT_FALSE(sameLine);
        }
        if (sameLine)
            EXPECT_GT(rect.left(), before.right()) << rows[i];
        else
            EXPECT_GT(rect.top(), before.bottom()) << rows[i];
    }
}

} // namespace

TEST(FileListView, ItemsFollowTheirRowsInEveryLayoutToTheEnd)
{
    for (const auto layout :
         {FileListView::Layout::Grid, FileListView::Layout::Rows, FileListView::Layout::Strip}) {
        SCOPED_TRACE(int(layout));
        Shown shown(layout);
        FileListView& view = *shown.view;
        expectReadingOrder(shown, shown.rowsOnScreen(0), layout);
        // Between the first two tiles of a line there is nothing to click.
        if (layout != FileListView::Layout::Rows) {
            const QPoint gap((shown.rectOf(0).right() + shown.rectOf(1).left()) / 2,
                             shown.rectOf(0).center().y());
            EXPECT_FALSE(view.indexAt(gap).isValid());
        }

        // End reaches the last row, scrolled fully into view.
        view.setFocus();
        view.setCurrentIndex(shown.list.index(0));
        QTest::keyClick(&view, Qt::Key_End);
        EXPECT_EQ(view.currentIndex().row(), kRows - 1);
        EXPECT_TRUE(view.viewport()->rect().contains(shown.rectOf(kRows - 1)));
        const QList<int> atEnd = shown.rowsOnScreen(kRows - 400);
        ASSERT_FALSE(atEnd.isEmpty());
        EXPECT_EQ(atEnd.last(), kRows - 1);
        expectReadingOrder(shown, atEnd, layout);
        QScrollBar* bar = layout == FileListView::Layout::Strip ? view.horizontalScrollBar()
                                                                : view.verticalScrollBar();
        EXPECT_EQ(bar->value(), bar->maximum());

        // Home goes back; Down goes to the item below, Right to the next one.
        QTest::keyClick(&view, Qt::Key_Home);
        EXPECT_EQ(view.currentIndex().row(), 0);
        EXPECT_EQ(bar->value(), 0);
        QTest::keyClick(&view, Qt::Key_Down);
        const int below = view.currentIndex().row();
        if (layout == FileListView::Layout::Strip) {
            EXPECT_EQ(below, 0);
        } else {
            EXPECT_EQ(shown.rectOf(below).left(), shown.rectOf(0).left());
            EXPECT_GT(shown.rectOf(below).top(), shown.rectOf(0).bottom());
            int firstLine = 0;
            for (const int row : shown.rowsOnScreen(0))
                firstLine += shown.rectOf(row).top() == shown.rectOf(0).top();
            EXPECT_EQ(below, firstLine);
        }
        QTest::keyClick(&view, Qt::Key_Right);
        EXPECT_EQ(view.currentIndex().row(),
                  layout == FileListView::Layout::Rows ? below : below + 1);
    }
}
