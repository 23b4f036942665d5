// Image preview latency: from opening a 24 MP JPEG to the first paint of the
// picture, and the longest GUI-thread stall while stepping through 100
// pictures (a 1 ms timer records the gaps between its ticks).
#include "library/preview_surfaces.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

QImage picture(int width, int height, int seed)
{
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, width, height);
    gradient.setColorAt(0, QColor::fromHsv(seed * 37 % 360, 180, 220));
    gradient.setColorAt(1, QColor::fromHsv(seed * 91 % 360, 200, 90));
    painter.fillRect(image.rect(), gradient);
    for (int i = 0; i < 40; ++i)
        painter.fillRect(
            QRect((i * 7919 + seed) % width, (i * 104729) % height, width / 10, height / 12),
            QColor::fromHsv((i * 53 + seed) % 360, 150, 200));
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const int steps = argc > 1 ? std::atoi(argv[1]) : 100;

    std::printf("writing fixtures…\n");
    const QString big = dir.filePath(QStringLiteral("big.jpg"));
    picture(6000, 4000, 1).save(big, "JPEG", 90);
    QStringList frames;
    for (int i = 0; i < steps; ++i) {
        const QString path =
            dir.filePath(QStringLiteral("p%1.jpg").arg(i, 3, 10, QLatin1Char('0')));
        picture(4000, 3000, i + 2).save(path, "JPEG", 85);
        frames << path;
    }

    ImagePreview preview;
    preview.resize(1000, 400);
    preview.show();
    // The picture counts as shown once the loaded image has been painted:
    // grab() paints the surface right away, as the next frame would.
    QElapsedTimer clock;
    bool done = false;
    std::function<void()> painted;
    QObject::connect(&preview, &ImagePreview::imageLoaded, [&] {
        preview.grab();
        painted();
    });
    painted = [&] { done = true; };
    clock.start();
    preview.setFile(FileEntry::fromPath(big));
    while (!done)
        app.processEvents(QEventLoop::WaitForMoreEvents);
    std::printf("24 MP JPEG, open to first paint: %lld ms\n", clock.elapsed());

    // Stepping: the next picture as soon as the last one painted.
    qint64 longest = 0, last = 0;
    QElapsedTimer ticks;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = ticks.nsecsElapsed();
        if (last) longest = std::max(longest, now - last);
        last = now;
    });
    int at = 0;
    done = false;
    painted = [&] {
        if (++at >= frames.size()) {
            done = true;
            return;
        }
        preview.setFile(FileEntry::fromPath(frames[at]));
    };
    ticks.start();
    ticker.start();
    clock.restart();
    preview.setFile(FileEntry::fromPath(frames[0]));
    while (!done)
        app.processEvents(QEventLoop::WaitForMoreEvents);
    ticker.stop();
    std::printf("%d pictures of 12 MP stepped in %lld ms (%.1f ms each)\n", int(frames.size()),
                clock.elapsed(), double(clock.elapsed()) / frames.size());
    std::printf("longest GUI-thread gap between 1 ms ticks: %.1f ms\n", longest / 1e6);
    return 0;
}
