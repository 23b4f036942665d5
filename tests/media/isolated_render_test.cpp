#include "media/file_thumbnail_generator.h"
#include "media/isolated_render.h"
#include "media/media_fixtures.h"
#include "test_support.h"

#include <QElapsedTimer>
#include <QFile>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

QImage filled(int width, int height, const QColor& color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

} // namespace

TEST(IsolatedRender, PictureComesBackFromTheChild)
{
    const QImage image = renderIsolated([] { return filled(37, 21, QColor(10, 200, 30)); }, {}, {});
    ASSERT_EQ(image.size(), QSize(37, 21));
    EXPECT_EQ(image.pixelColor(36, 20), QColor(10, 200, 30));
    EXPECT_TRUE(renderIsolated([] { return QImage(); }, {}, {}).isNull());
    EXPECT_TRUE(
        renderIsolated([]() -> QImage { throw std::runtime_error("broken"); }, {}, {}).isNull());
}

TEST(IsolatedRender, EndlessOrGreedyRenderingIsStopped)
{
    // Never returns: killed at the time limit.
    QElapsedTimer clock;
    clock.start();
    RenderLimits limits;
    limits.time = 300ms;
    const auto endless = [] {
        for (volatile bool forever = true; forever;) {
        }
        return QImage();
    };
    EXPECT_TRUE(renderIsolated(endless, limits, {}).isNull());
    EXPECT_LT(clock.elapsed(), 3000);

    // Cancelled by its caller long before the limit.
    limits.time = 60s;
    std::atomic_bool stop = false;
    std::thread stopper([&] {
        std::this_thread::sleep_for(100ms);
        stop = true;
    });
    clock.restart();
    EXPECT_TRUE(renderIsolated(endless, limits, [&] { return stop.load(); }).isNull());
    stopper.join();
    EXPECT_LT(clock.elapsed(), 3000);

#if !defined(__SANITIZE_ADDRESS__)
    // Asks for far more memory than allowed: the allocation fails in the child only.
    limits.memory = qint64(64) << 20;
    const QImage greedy = renderIsolated(
        [] {
            std::vector<char> hoard(size_t(1) << 30, 'x');
            return filled(4, 4, QColor(hoard[12], 0, 0));
        },
        limits, {});
    EXPECT_TRUE(greedy.isNull());
#endif
}

TEST(IsolatedRender, HostilePdfThumbnailEndsAtTheTimeLimit)
{
    TempTree tree;
    const QString bomb = tree.file(QStringLiteral("bomb.pdf"), drawingBombPdf(1'000'000));
    RenderLimits limits;
    limits.time = 1s;
    FileThumbnailGenerator generator(FreedesktopThumbnails(tree.path(QStringLiteral("cache"))),
                                     limits);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(generator.make(FileEntry::fromPath(bomb), 256, [] { return false; }).isNull());
    EXPECT_LT(clock.elapsed(), 5000);
}
