#include "explorer/explorer_browser.h"
#include "ui/banded_paint.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/thumbnail_requests.h"
#include "window/content_view.h"
#include "window/main_window.h"
#include "window/window_fixture.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>
#include <QWidget>

namespace {

// Holds every thread of Qt's global pool until released, as a busy machine
// or a long job there would.
class BusyGlobalPool {
public:
    BusyGlobalPool()
    {
        QThreadPool* pool = QThreadPool::globalInstance();
        threads_ = pool->maxThreadCount();
        for (int i = 0; i < threads_; ++i)
            pool->start([this] { gate_.tryAcquire(1, 10000); });
        busy_ = QTest::qWaitFor([&] { return pool->activeThreadCount() == threads_; }, 5000);
    }
    ~BusyGlobalPool()
    {
        gate_.release(threads_);
        QThreadPool::globalInstance()->waitForDone();
    }
    bool busy() const { return busy_; }
    // Still held: nothing drawn since was waiting for the pool.
    bool stillHeld() const
    {
        return QThreadPool::globalInstance()->activeThreadCount() == threads_;
    }

private:
    QSemaphore gate_;
    int threads_ = 0;
    bool busy_ = false;
};

QImage picture(QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    QLinearGradient shade(0, 0, size.width(), size.height());
    shade.setColorAt(0, QColor(20, 120, 200, 160));
    shade.setColorAt(1, QColor(240, 90, 30, 255));
    painter.fillRect(image.rect(), shade);
    return image;
}

QImage canvas()
{
    QImage image(420, 360, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

} // namespace

// Large pictures are drawn in bands that give exactly the pixels of one draw,
// and none of them waits for Qt's global pool while it is busy.
TEST(BandedPaint, DrawsTheSamePixelsWithoutWaitingForABusyPool)
{
    const QPixmap pixmap = QPixmap::fromImage(picture(QSize(300, 250)));
    const QImage image = picture(QSize(640, 480));
    const QRectF scaled(17.5, 40.25, 307, 230.5);
    auto draw = [&](bool banded) {
        QImage target = canvas();
        QPainter painter(&target);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(3, 5);
        if (banded) {
            BandedPaint::drawPixmap(painter, QPointF(60, 30), pixmap);
            BandedPaint::drawImage(painter, scaled, image);
        } else {
            painter.drawPixmap(QPointF(60, 30), pixmap);
            painter.drawImage(scaled, image);
        }
        return target;
    };
    const QImage whole = draw(false);

    BusyGlobalPool pool;
    ASSERT_TRUE(pool.busy());
    const QImage bands = draw(true);
    EXPECT_TRUE(pool.stillHeld());
    EXPECT_EQ(bands, whole);
}

// Wishes of a scroll that never settles stay bounded, and the newest, the
// ones still on screen, are kept.
TEST(ThumbnailRequests, ALongScrollKeepsOnlyItsNewestWishes)
{
    QTemporaryDir folder;
    ThumbnailRequests requests;
    QList<FileEntry> files;
    for (int i = 0; i < 3 * ThumbnailRequests::wishLimit; ++i) {
        FileEntry file;
        file.path = folder.filePath(QStringLiteral("p%1.png").arg(i));
        file.name = QStringLiteral("p%1.png").arg(i);
        files << file;
        requests.image(file, 80);
    }
    EXPECT_LE(requests.wanted(), ThumbnailRequests::wishLimit);
    EXPECT_GE(requests.wanted(), ThumbnailRequests::wishLimit / 2);
    EXPECT_TRUE(requests.isAwaited(files.last().path, 80));
    EXPECT_TRUE(requests.isAwaited(files[files.size() - 100].path, 80));
    EXPECT_FALSE(requests.isAwaited(files.first().path, 80));
}

// The Explorer's grid of pictures paints a whole frame while Qt's global pool
// is busy: no part of it waits there.
TEST_F(WindowTest, TheGridPaintsWhileTheGlobalPoolIsBusy)
{
    for (int i = 0; i < 12; ++i)
        ASSERT_TRUE(
            picture(QSize(400, 300)).save(files.filePath(QStringLiteral("shot %1.png").arg(i))));
    MainWindow window(*router);
    window.resize(1280, 800);
    window.show();
    WorkspaceModel& model = openFiles(12);
    model.setMode(BrowserMode::Grid);
    auto* browser =
        qobject_cast<ExplorerBrowser*>(window.content()->sectionView(SectionKind::Explorer));
    ASSERT_TRUE(browser);
    FileListView* grid = browser->currentView();
    FileListModel* list = browser->listModel();
    // Every tile shows its picture before the pool is taken.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            grid->viewport()->repaint();
            for (int row = 0; row < list->rowCount(); ++row)
                if (list->thumbnail(row, 240).isNull()) return false;
            return true;
        },
        20000));
    const QImage before = grid->viewport()->grab().toImage();

    BusyGlobalPool pool;
    ASSERT_TRUE(pool.busy());
    const QImage during = grid->viewport()->grab().toImage();
    EXPECT_TRUE(pool.stillHeld());
    EXPECT_EQ(during, before);
}
