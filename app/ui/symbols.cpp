#include "ui/symbols.h"

#include <QHash>
#include <QPainter>
#include <QPixmap>
#include <iterator>
#include <optional>

namespace {

// Symbol names used by the views → freedesktop (Breeze) icon names.
const QHash<QString, QString>& table()
{
    struct Name {
        const char* symbol;
        const char* icon;
    };
    static constexpr Name pairs[]{
        {"magnifyingglass", "system-search"},
        {"plus", "list-add"},
        {"internaldrive", "drive-harddisk"},
        {"internaldrive.fill", "drive-harddisk"},
        {"externaldrive", "drive-removable-media"},
        {"lock.shield", "security-high"},
        {"gearshape", "settings-configure"},
        {"house", "go-home"},
        {"menubar.dock.rectangle", "user-desktop"},
        {"doc", "document-new"},
        {"doc.fill", "text-x-generic"},
        {"doc.text", "text-x-generic"},
        {"photo", "image-x-generic"},
        {"photo.stack", "view-preview"},
        {"photo.on.rectangle.angled", "photo"},
        {"play.rectangle", "video-x-generic"},
        {"film", "video-x-generic"},
        {"music.note", "audio-x-generic"},
        {"waveform", "audio-x-generic"},
        {"arrow.down.to.line", "folder-download"},
        {"arrow.down.circle", "arrow-down-double"},
        {"chevron.left", "go-previous"},
        {"chevron.right", "go-next"},
        {"chevron.down", "go-down"},
        {"arrow.clockwise", "view-refresh"},
        {"info.circle", "help-about"},
        {"folder.badge.plus", "folder-new"},
        {"exclamationmark.circle.fill", "dialog-warning"},
        {"exclamationmark.circle", "dialog-error-symbolic"},
        {"folder", "folder"},
        {"folder.fill", "folder"},
        {"desktopcomputer", "computer"},
        {"square.stack.3d.up", "view-list-icons"},
        {"square.grid.2x2", "view-grid"},
        {"square.grid.3x3", "view-list-icons"},
        {"list.bullet", "view-list-details"},
        {"rectangle.split.3x1", "view-split-left-right"},
        {"rectangle.bottomthird.inset.filled", "view-preview"},
        {"rectangle.inset.filled", "view-preview"},
        {"arrow.up.arrow.down", "view-sort"},
        {"play.circle.fill", "media-playback-start"},
        {"pause.circle", "media-playback-pause"},
        {"xmark", "window-close"},
        {"checkmark.seal", "dialog-ok-apply"},
        {"checkmark.circle.fill", "emblem-ok-symbolic"},
        {"arrow.right.circle", "go-next"},
        {"arrow.left.arrow.right", "folder-sync"},
        {"arrow.triangle.branch", "vcs-branch"},
        {"ellipsis", "view-more-symbolic"},
        {"return", "key-enter"},
        {"clock", "document-open-recent"},
        {"calendar", "view-calendar"},
        {"calendar.circle.fill", "view-calendar-day"},
        {"chart.pie", "office-chart-pie"},
        {"square.on.square", "edit-copy"},
        {"paintpalette", "format-fill-color"},
        {"hand.raised", "security-medium"},
        {"minus.magnifyingglass", "zoom-out"},
        {"plus.magnifyingglass", "zoom-in"},
    };
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> made;
        made.reserve(std::size(pairs));
        for (const Name& name : pairs)
            made.insert(QLatin1String(name.symbol), QLatin1String(name.icon));
        return made;
    }();
    return names;
}

// Tinted symbols, keyed by name, size and colour. Kept as images: a static
// pixmap would outlive the GUI application.
QHash<QString, QImage>& tintedSymbols()
{
    static QHash<QString, QImage> tinted;
    return tinted;
}

// Breeze is installed with the application and drawn for our own light and
// dark palettes, so its light or dark variant is used whatever the desktop's
// theme: a theme made for another background would hide its symbols.
void ensureTheme()
{
    static const bool done = [] {
        // Platforms without a desktop (offscreen, some minimal sessions) search only
        // the resources; the system's themes are still there to use.
        QStringList paths = QIcon::themeSearchPaths();
        if (!paths.contains(QStringLiteral("/usr/share/icons"))) {
            paths << QStringLiteral("/usr/share/icons");
            QIcon::setThemeSearchPaths(paths);
        }
        QIcon::setFallbackThemeName(QStringLiteral("breeze"));
        if (!QIcon::themeName().startsWith(u"breeze"))
            QIcon::setThemeName(QStringLiteral("breeze"));
        return true;
    }();
    (void)done;
}

// Whether the icon is drawn in one colour (alpha aside). Coloured icons, such
// as emblems with a white mark on a filled square, would become a solid block
// when tinted.
bool isMonochrome(const QImage& image)
{
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    std::optional<QRgb> first;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if (qAlpha(line[x]) < 128) continue;
            const QRgb colour = line[x];
            if (!first) {
                first = colour;
                continue;
            }
            const int distance = std::abs(qRed(colour) - qRed(*first)) +
                                 std::abs(qGreen(colour) - qGreen(*first)) +
                                 std::abs(qBlue(colour) - qBlue(*first));
            if (distance > 96) return false;
        }
    }
    return true;
}

} // namespace

QString themeIconName(const QString& symbol)
{
    return table().value(symbol, symbol);
}

QIcon symbolIcon(const QString& symbol)
{
    ensureTheme();
    return QIcon::fromTheme(themeIconName(symbol));
}

void useDarkSymbols(bool dark)
{
    ensureTheme();
    const QString theme = dark ? QStringLiteral("breeze-dark") : QStringLiteral("breeze");
    if (QIcon::themeName() != theme) QIcon::setThemeName(theme);
    tintedSymbols().clear();
}

QPixmap symbolPixmap(const QString& symbol, int edge, const QColor& color)
{
    // Views paint the same few tinted symbols in every item; tint each once.
    QHash<QString, QImage>& tinted = tintedSymbols();
    const QString key = symbol + u'|' + QString::number(edge) + u'|' +
                        QString::number(color.isValid() ? color.rgba() : 0, 16);
    if (auto found = tinted.constFind(key); found != tinted.constEnd())
        return QPixmap::fromImage(*found);
    if (tinted.size() > 512) tinted.clear();
    QPixmap pixmap = symbolIcon(symbol).pixmap(edge, edge);
    if (pixmap.isNull()) return pixmap;
    if (color.isValid() && isMonochrome(pixmap.toImage())) {
        QPainter painter(&pixmap);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        painter.fillRect(pixmap.rect(), color);
    }
    tinted.insert(key, pixmap.toImage());
    return pixmap;
}
