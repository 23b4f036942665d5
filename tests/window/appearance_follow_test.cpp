#include "analysis/stats_card.h"
#include "sections/named_colors.h"
#include "shell/settings_view.h"
#include "transfer_item.h"
#include "transfers/transfer_list_model.h"
#include "transfers/transfer_row_delegate.h"
#include "transfers/transfers_view.h"
#include "ui/file_card_list.h"
#include "ui/file_card_model.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "window/appearance.h"
#include "window/desktop_color_scheme.h"
#include "window/legibility_audit.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QDBusVariant>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabBar>
#include <gtest/gtest.h>

namespace {

// A desktop whose preference the test sets.
class FakeColorScheme : public DesktopColorScheme {
public:
    bool prefersDark() const override { return dark; }
    void set(bool value)
    {
        dark = value;
        Q_EMIT changed();
    }
    bool dark = false;
};

bool paletteIsDark()
{
    return qApp->palette().color(QPalette::Window).lightness() < 128;
}

// The share of a symbol's pixels that are opaque: a tinted filled emblem is all opaque.
double opaqueShare(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            opaque += qAlpha(image.pixel(x, y)) > 128;
    return double(opaque) / double(image.width() * image.height());
}

// The mean lightness of a symbol's opaque pixels.
int inkLightness(const QPixmap& pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    qint64 sum = 0, count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128) {
                sum += QColor(image.pixel(x, y)).lightness();
                ++count;
            }
    return count ? int(sum / count) : -1;
}

} // namespace

// "System" follows the desktop while running; "Light" and "Dark" ignore it.
TEST(AppearanceFollowTest, SystemFollowsTheDesktopWhileRunning)
{
    auto owned = std::make_unique<FakeColorScheme>();
    FakeColorScheme& desktop = *owned;
    AppearanceController controller(*qApp, std::move(owned));
    controller.set(Appearance::System);
    EXPECT_FALSE(paletteIsDark());
    desktop.set(true);
    EXPECT_TRUE(paletteIsDark());
    desktop.set(false);
    EXPECT_FALSE(paletteIsDark());

    controller.set(Appearance::Light);
    desktop.set(true);
    EXPECT_FALSE(paletteIsDark());
    controller.set(Appearance::Dark);
    desktop.set(false);
    EXPECT_TRUE(paletteIsDark());
    controller.set(Appearance::Light);
}

// The portal sends the value wrapped once (ReadOne, SettingChanged) or twice (Read).
TEST(AppearanceFollowTest, PortalValuesAreUnwrapped)
{
    EXPECT_TRUE(PortalColorScheme::meansDark(QVariant(1u)));
    EXPECT_FALSE(PortalColorScheme::meansDark(QVariant(2u)));
    EXPECT_FALSE(PortalColorScheme::meansDark(QVariant(0u)));
    const QVariant once = QVariant::fromValue(QDBusVariant(QVariant(1u)));
    EXPECT_TRUE(PortalColorScheme::meansDark(once));
    EXPECT_TRUE(PortalColorScheme::meansDark(QVariant::fromValue(QDBusVariant(once))));
    EXPECT_FALSE(PortalColorScheme::meansDark(QVariant()));
}

// Untinted symbols are drawn light on a dark palette and dark on a light one;
// filled emblems keep their own colours instead of turning into a solid block.
TEST(AppearanceFollowTest, SymbolsFollowTheAppearance)
{
    applyAppearance(*qApp, Appearance::Light);
    const int light = inkLightness(symbolPixmap(QStringLiteral("chevron.left"), 16, QColor()));
    applyAppearance(*qApp, Appearance::Dark);
    const int dark = inkLightness(symbolPixmap(QStringLiteral("chevron.left"), 16, QColor()));
    EXPECT_LT(light, 100);
    EXPECT_GT(dark, 180);

    for (const char* symbol : {"checkmark.seal", "exclamationmark.circle", "square.on.square"}) {
        const QPixmap tinted = symbolPixmap(QString::fromLatin1(symbol), 70, Qt::blue);
        ASSERT_FALSE(tinted.isNull()) << symbol;
        EXPECT_LT(opaqueShare(tinted), 0.6) << symbol;
    }
    applyAppearance(*qApp, Appearance::Light);
}

// A failed copy shows the error symbol and its message in the error colour,
// readable in both appearances, also after switching while it is shown.
TEST(AppearanceFollowTest, FailedTransferShowsTheErrorColour)
{
    applyAppearance(*qApp, Appearance::Light);
    QStandardItemModel transfers;
    QAbstractItemModelTester tester(&transfers,
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    auto* item = new QStandardItem(QStringLiteral("a.txt"));
    item->setData(QStringLiteral("Failed"), TransferListModel::StatusTextRole);
    item->setData(int(TransferStatus::Failed), TransferListModel::StatusRole);
    item->setData(QStringLiteral("/tmp/out"), TransferListModel::DestinationRole);
    item->setData(QStringLiteral("Permission denied"), TransferListModel::ErrorRole);
    transfers.appendRow(item);
    QListView window;
    window.setFrameShape(QFrame::NoFrame);
    window.setModel(&transfers);
    auto* delegate = new TransferRowDelegate(&window);
    window.setItemDelegate(delegate);
    window.resize(600, 200);
    window.show();
    const QModelIndex row = transfers.index(0, 0);
    using Part = TransferRowDelegate::Part;
    for (Appearance appearance : {Appearance::Light, Appearance::Dark}) {
        applyAppearance(*qApp, appearance);
        QCoreApplication::processEvents();
        const QImage picture = window.viewport()->grab().toImage();
        const QRect error = delegate->partRect(row, Part::Detail);
        int inErrorColour = 0;
        for (int y = error.top(); y <= error.bottom(); ++y)
            for (int x = error.left(); x <= error.right(); ++x)
                inErrorColour += picture.pixelColor(x, y).rgb() == NamedColors::error().rgb();
        EXPECT_GT(inErrorColour, 0);
        // The symbol is an outline, not a blob: most of its square shows the card.
        const QRect symbol = delegate->partRect(row, Part::Symbol);
        const QRgb card = picture.pixel(symbol.topLeft() + QPoint(-6, 0));
        int inked = 0;
        for (int y = symbol.top(); y <= symbol.bottom(); ++y)
            for (int x = symbol.left(); x <= symbol.right(); ++x)
                inked += picture.pixel(x, y) != card;
        EXPECT_LT(double(inked) / (symbol.width() * symbol.height()), 0.6);
        EXPECT_GE(
            LegibilityAudit::symbolContrast(picture, symbol.adjusted(-4, -4, 4, 4),
                                            symbolPixmap(QStringLiteral("exclamationmark.circle"),
                                                         symbol.width(), NamedColors::error())
                                                .toImage()),
            3.0);
        for (Part part : {Part::Name, Part::Status, Part::Destination, Part::Detail})
            EXPECT_GE(LegibilityAudit::textContrast(picture, delegate->partRect(row, part)), 4.5)
                << int(part);
    }
    applyAppearance(*qApp, Appearance::Light);
}

// The settings window's tab symbols and texts are readable in both appearances.
TEST(AppearanceFollowTest, SettingsTabsAreReadable)
{
    SettingsView view([](const QString&) {});
    view.show();
    for (Appearance appearance : {Appearance::Dark, Appearance::Light}) {
        applyAppearance(*qApp, appearance);
        QCoreApplication::processEvents();
        const LegibilityAudit audit(&view);
        EXPECT_TRUE(audit.faintSymbols().isEmpty())
            << audit.faintSymbols().join('\n').toStdString();
        EXPECT_TRUE(audit.faintTexts().isEmpty()) << audit.faintTexts().join('\n').toStdString();
        // The tab bar paints its icons itself: measure each tab's symbol on its own.
        auto* tabs = view.findChild<QTabBar*>();
        ASSERT_NE(tabs, nullptr);
        const QImage picture = tabs->grab().toImage();
        for (int i = 0; i < tabs->count(); ++i) {
            const QImage symbol = tabs->tabIcon(i).pixmap(tabs->iconSize()).toImage();
            EXPECT_GE(LegibilityAudit::symbolContrast(picture, tabs->tabRect(i), symbol), 3.0)
                << tabs->tabText(i).toStdString();
        }
    }
}

// A shown figures card takes on the new appearance's wash at once, not at the
// next scan: the painted fill is the section colour of the appearance now in use.
TEST(AppearanceFollowTest, FiguresCardFollowsASwitchWhileShown)
{
    applyAppearance(*qApp, Appearance::Light);
    QWidget window;
    window.setAutoFillBackground(true);
    window.resize(500, 120);
    auto* card = new StatsCard(&window);
    card->setGeometry(0, 0, 500, 120);
    card->set(Feature::Storage, {{QStringLiteral("FILES"), QStringLiteral("3")}});
    window.show();
    QList<QRgb> painted;
    for (Appearance appearance : {Appearance::Light, Appearance::Dark, Appearance::Light}) {
        applyAppearance(*qApp, appearance);
        QCoreApplication::processEvents();
        const QColor wash = UiStyle::withAlpha(colorOf(Feature::Storage), 0.05);
        EXPECT_EQ(card->fill(), wash);
        // An empty spot inside the card: the wash over the window's background.
        const QColor pixel = window.grab().toImage().pixelColor(20, 100);
        const QColor ground = window.palette().color(QPalette::Window);
        const auto blend = [&](int over, int under) {
            return qRound(over * wash.alphaF() + under * (1 - wash.alphaF()));
        };
        EXPECT_NEAR(pixel.red(), blend(wash.red(), ground.red()), 3);
        EXPECT_NEAR(pixel.green(), blend(wash.green(), ground.green()), 3);
        EXPECT_NEAR(pixel.blue(), blend(wash.blue(), ground.blue()), 3);
        painted << pixel.rgb();
    }
    EXPECT_NE(painted[0], painted[1]);
    EXPECT_EQ(painted[0], painted[2]);
}

namespace {

// The lightest and darkest lightness among the pixels of `area`.
std::pair<int, int> lightnessRange(const QImage& image, const QRect& area)
{
    int lightest = 0, darkest = 255;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int lightness = image.pixelColor(x, y).lightness();
            lightest = std::max(lightest, lightness);
            darkest = std::min(darkest, lightness);
        }
    return {lightest, darkest};
}

} // namespace

// Painted file rows take on the new appearance at once: the card's fill over
// the window, a name in the text's ink.
TEST(AppearanceFollowTest, FileCardRowsFollowASwitchWhileShown)
{
    applyAppearance(*qApp, Appearance::Light);
    QWidget window;
    window.setAutoFillBackground(true);
    window.resize(600, 140);
    auto* files = new FileCardModel(10, &window);
    files->setFiles({FileEntry::indexed(QStringLiteral("/nowhere/WWWWWWWW.bin"), 2048, {}, false),
                     FileEntry::indexed(QStringLiteral("/nowhere/other.bin"), 10, {}, false)});
    auto* list = new FileCardList(files, FileCardDelegate::Look::Tool, 5, &window);
    list->setGeometry(0, 0, 600, list->height());
    window.show();
    const QRect card = list->cardDelegate()->cardRect(*list, files->index(0));
    // Right of the texts' start, clear of the thumbnail: the name's first letters.
    const QRect name(card.left() + 54, card.top() + 12, 40, 12);
    QList<QRgb> fills;
    for (Appearance appearance : {Appearance::Light, Appearance::Dark, Appearance::Light}) {
        applyAppearance(*qApp, appearance);
        QCoreApplication::processEvents();
        const QImage shot = window.grab().toImage();
        const QColor fill = UiStyle::withAlpha(Palette::surface(), 0.5);
        const QColor ground = window.palette().color(QPalette::Window);
        const QColor pixel = shot.pixelColor(card.left() + 4, card.center().y());
        const auto blend = [&](int over, int under) {
            return qRound(over * fill.alphaF() + under * (1 - fill.alphaF()));
        };
        EXPECT_NEAR(pixel.red(), blend(fill.red(), ground.red()), 3);
        EXPECT_NEAR(pixel.green(), blend(fill.green(), ground.green()), 3);
        EXPECT_NEAR(pixel.blue(), blend(fill.blue(), ground.blue()), 3);
        fills << pixel.rgb();
        const auto [lightest, darkest] = lightnessRange(shot, name);
        if (appearance == Appearance::Dark)
            EXPECT_GT(lightest, 180);
        else
            EXPECT_LT(darkest, 100);
    }
    EXPECT_NE(fills[0], fills[1]);
    EXPECT_EQ(fills[0], fills[2]);
}
