#include "sections/browser_mode.h"
#include "window/appearance.h"
#include "window/content_view.h"
#include "window/legibility_audit.h"
#include "window/window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QTest>
#include <QToolButton>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString joined(const QStringList& lines)
{
    return lines.join(QStringLiteral("\n  "));
}

} // namespace

// The measuring itself: a symbol drawn in the background's own colour, or
// missing, is found faint, a dark one on white is not, and grey text on grey is faint.
TEST(LegibilityAuditTest, MeasuresSymbolsAndTextFromPixels)
{
    QImage symbol(16, 16, QImage::Format_ARGB32);
    symbol.fill(Qt::transparent);
    QPainter(&symbol).fillRect(4, 4, 8, 8, QColor(0x23, 0x26, 0x29));
    QImage page(40, 30, QImage::Format_RGB32);
    page.fill(QColor(0x24, 0x25, 0x28));
    QPainter(&page).drawImage(10, 7, symbol);
    EXPECT_LT(LegibilityAudit::symbolContrast(page, page.rect(), symbol), 1.1);
    page.fill(Qt::white);
    QPainter(&page).drawImage(10, 7, symbol);
    EXPECT_GT(LegibilityAudit::symbolContrast(page, page.rect(), symbol), 12.0);
    page.fill(Qt::white);
    EXPECT_LT(LegibilityAudit::symbolContrast(page, page.rect(), symbol), 1.1);

    page.fill(QColor(0x80, 0x80, 0x80));
    QPainter(&page).fillRect(5, 10, 20, 3, QColor(0x99, 0x99, 0x99));
    EXPECT_LT(LegibilityAudit::textContrast(page, page.rect()), 1.5);
    QPainter(&page).fillRect(5, 10, 20, 3, Qt::black);
    EXPECT_GT(LegibilityAudit::textContrast(page, page.rect()), 4.5);
    EXPECT_NEAR(LegibilityAudit::contrast(qRgb(0, 0, 0), qRgb(255, 255, 255)), 21.0, 0.01);
}

// Every section, and each Explorer layout, light and dark, at the default and
// the minimum window size: symbols reach 3:1 and texts 4.5:1 against the
// pixels around them, and no two controls cover each other.
TEST_F(WindowTest, EverySectionIsLegibleInLightAndDark)
{
    for (int i = 0; i < 6; ++i) {
        QImage picture(160, 120, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(i * 50, 180, 200));
        ASSERT_TRUE(picture.save(files.filePath(QStringLiteral("photo %1.png").arg(i))));
    }
    QDir(files.path()).mkpath(QStringLiteral("Projects/src"));
    write(files.filePath("notes.txt"), "hello");
    // Two identical files, so the Duplicate Finder and the analysis rows have something to show.
    write(files.filePath("copy one.bin"), QByteArray(20000, 'q'));
    write(files.filePath("Projects/copy two.bin"), QByteArray(20000, 'q'));
    write(files.filePath("Projects/src/main.cpp"), QByteArray(9000, 'c'));

    ContentView view(*router);
    view.show();
    const QList<QSize> sizes{QSize(1280, 800), QSize(900, 580)};

    // With QUORVANE_SCREENSHOTS set the measured pictures are kept there for looking at.
    const QString keep = qEnvironmentVariable("QUORVANE_SCREENSHOTS");
    QStringList problems;
    for (Feature feature : allCases<Feature>()) {
        WorkspaceModel& model = scanned(feature, files.path());
        QList<BrowserMode> modes{model.mode()};
        if (feature == Feature::Explorer) {
            const auto all = allCases<BrowserMode>();
            modes = QList<BrowserMode>(all.begin(), all.end());
        }
        for (BrowserMode mode : modes) {
            model.setMode(mode);
            for (const QSize& size : sizes)
                for (Appearance appearance : {Appearance::Light, Appearance::Dark}) {
                    applyAppearance(*qApp, appearance);
                    view.resize(size);
                    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
                    ASSERT_TRUE(waitUntilSettled(model));
                    QCoreApplication::processEvents();
                    const LegibilityAudit audit(&view);
                    if (!keep.isEmpty())
                        audit.picture().save(QDir(keep).filePath(
                            QStringLiteral("%1-%2-%3-%4.png")
                                .arg(titleOf(feature), rawValue(mode))
                                .arg(size.width())
                                .arg(appearance == Appearance::Dark ? "dark" : "light")));
                    const QString where =
                        QStringLiteral("%1 %2 %3x%4 %5: ")
                            .arg(titleOf(feature), rawValue(mode))
                            .arg(size.width())
                            .arg(size.height())
                            .arg(appearance == Appearance::Dark ? "dark" : "light");
                    for (const QStringList& found : {audit.faintSymbols(3.0), audit.faintTexts(4.5),
                                                     audit.overlappingControls()})
                        for (const QString& line : found)
                            problems << where + line;
                }
        }
    }
    applyAppearance(*qApp, Appearance::Light);
    problems.removeDuplicates();
    EXPECT_TRUE(problems.isEmpty())
        << problems.size() << " problems:\n  " << joined(problems).toStdString();
}
