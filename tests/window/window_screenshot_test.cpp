#include "ui/thumbnail_requests.h"
#include "window/appearance.h"
#include "window/content_view.h"
#include "window/window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <algorithm>

namespace {

// Distinct colours in a coarse sample: a blank or one-colour window has a handful.
int colourCount(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 7)
        for (int x = 0; x < image.width(); x += 7)
            colours.insert(image.pixel(x, y) & 0xf0f0f0);
    return int(colours.size());
}

// A shot of `view` once the thumbnails its lists asked for while painting have come.
QImage grabWithThumbnails(QWidget& view)
{
    view.grab();
    EXPECT_TRUE(waitFor([&] {
        const QList<ThumbnailRequests*> requests = view.findChildren<ThumbnailRequests*>();
        return std::all_of(requests.begin(), requests.end(), [](const ThumbnailRequests* r) {
            return r->pending() == 0 && r->wanted() == 0;
        });
    }));
    deliverQueued(); // the lists repaint the items whose pictures came
    return view.grab().toImage();
}

} // namespace

// Each layout, light and dark, renders a full window; with QUORVANE_SCREENSHOTS
// set the pictures are kept there for looking at.
TEST_F(WindowTest, EveryLayoutRendersInLightAndDark)
{
    for (int i = 0; i < 12; ++i) {
        QImage picture(160, 120, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(i * 30, 200, 220));
        QPainter(&picture).fillRect(20, 20, 60, 40, Qt::white);
        ASSERT_TRUE(picture.save(files.filePath(QStringLiteral("photo %1.png").arg(i))));
    }
    QDir(files.path()).mkdir(QStringLiteral("Projects"));
    QFile note(files.filePath("notes.txt"));
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("hello");
    note.close();

    ContentView view(*router);
    view.resize(1280, 800);
    view.show();
    WorkspaceModel& model = openFiles(14);
    const QString keep = qEnvironmentVariable("QUORVANE_SCREENSHOTS");
    for (Appearance appearance : {Appearance::Light, Appearance::Dark}) {
        applyAppearance(*qApp, appearance);
        for (BrowserMode mode : allCases<BrowserMode>()) {
            model.setMode(mode);
            model.setSelection({files.filePath("photo 3.png")});
            const QImage shot = grabWithThumbnails(view);
            const QString name =
                QStringLiteral("%1-%2.png")
                    .arg(rawValue(mode), appearance == Appearance::Dark ? "dark" : "light");
            EXPECT_GT(colourCount(shot), 40) << name.toStdString();
            const QRgb corner = shot.pixel(shot.width() - 5, shot.height() / 2);
            EXPECT_EQ(qGray(corner) < 128, appearance == Appearance::Dark) << name.toStdString();
            if (!keep.isEmpty()) shot.save(QDir(keep).filePath(name));
        }
    }
    applyAppearance(*qApp, Appearance::Light);
}

// The tool sections over the same folder, light and dark.
TEST_F(WindowTest, ToolSectionsRenderInLightAndDark)
{
    for (int i = 0; i < 3; ++i) {
        QFile copy(files.filePath(QStringLiteral("copy %1.txt").arg(i)));
        ASSERT_TRUE(copy.open(QIODevice::WriteOnly));
        copy.write(QByteArray(4000, 'q'));
    }
    QDir(files.path()).mkpath(QStringLiteral("Projects/src"));
    QFile source(files.filePath("Projects/src/main.cpp"));
    ASSERT_TRUE(source.open(QIODevice::WriteOnly));
    source.write(QByteArray(9000, 'c'));
    source.close();

    ContentView view(*router);
    view.resize(1280, 800);
    view.show();
    const QString keep = qEnvironmentVariable("QUORVANE_SCREENSHOTS");
    for (Feature feature : {Feature::Storage, Feature::Duplicates, Feature::Large,
                            Feature::Timeline, Feature::Transfers}) {
        scanned(feature, files.path());
        for (Appearance appearance : {Appearance::Light, Appearance::Dark}) {
            applyAppearance(*qApp, appearance);
            deliverQueued(); // the new palette reaches the widgets through events
            const QImage shot = view.grab().toImage();
            const QString name =
                QStringLiteral("%1-%2.png")
                    .arg(titleOf(feature), appearance == Appearance::Dark ? "dark" : "light");
            EXPECT_GT(colourCount(shot), 40) << name.toStdString();
            const QRgb corner = shot.pixel(shot.width() - 5, shot.height() / 2);
            EXPECT_EQ(qGray(corner) < 128, appearance == Appearance::Dark) << name.toStdString();
            if (!keep.isEmpty()) shot.save(QDir(keep).filePath(name));
        }
    }
    applyAppearance(*qApp, Appearance::Light);
}
