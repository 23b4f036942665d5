#include "file_thumbnail_generator.h"
#include "isolated_render.h"
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

// A one-page PDF whose compressed content stream unpacks to `rectangles`
// filled rectangles: small on disk, minutes of drawing for a renderer.
QByteArray drawingBomb(int rectangles)
{
    QByteArray drawing;
    drawing.reserve(qsizetype(rectangles) * 16);
    for (int i = 0; i < rectangles; ++i)
        drawing += "0 0 612 792 re f\n";
    const QByteArray packed = qCompress(drawing, 9).mid(4); // zlib stream without Qt's length
    const QList<QByteArray> objects = {
        "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Contents 4 0 R >>",
        "<< /Length " + QByteArray::number(packed.size()) + " /Filter /FlateDecode >>\nstream\n" +
            packed + "\nendstream"};
    QByteArray pdf = "%PDF-1.4\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets << pdf.size();
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1) +
           " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
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
    const QString bomb = tree.file(QStringLiteral("bomb.pdf"), drawingBomb(1'000'000));
    RenderLimits limits;
    limits.time = 1s;
    FileThumbnailGenerator generator(FreedesktopThumbnails(tree.path(QStringLiteral("cache"))),
                                     limits);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(generator.make(FileEntry::fromPath(bomb), 256, [] { return false; }).isNull());
    EXPECT_LT(clock.elapsed(), 5000);
}
