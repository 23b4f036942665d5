#include "window/legibility_audit.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QHash>
#include <QLabel>
#include <QToolButton>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <vector>

namespace {

double luminance(QRgb colour)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(colour)) + 0.7152 * channel(qGreen(colour)) +
           0.0722 * channel(qBlue(colour));
}

// The most common colour among `pixels` (grouped by their top four bits per
// channel, averaged within the group).
QRgb commonColour(const std::vector<QRgb>& pixels)
{
    QHash<QRgb, std::pair<int, std::array<qint64, 3>>> groups;
    for (QRgb pixel : pixels) {
        auto& group = groups[pixel & 0xf0f0f0];
        ++group.first;
        group.second[0] += qRed(pixel);
        group.second[1] += qGreen(pixel);
        group.second[2] += qBlue(pixel);
    }
    int best = 0;
    QRgb colour = qRgb(0, 0, 0);
    for (const auto& group : groups) {
        if (group.first <= best) continue;
        best = group.first;
        colour = qRgb(int(group.second[0] / best), int(group.second[1] / best),
                      int(group.second[2] / best));
    }
    return colour;
}

// The value below which `share` of `values` lie.
double quantile(std::vector<double> values, double share)
{
    if (values.empty()) return 1.0;
    const auto at = values.begin() + std::ptrdiff_t(share * double(values.size() - 1));
    std::nth_element(values.begin(), at, values.end());
    return *at;
}

bool hasVisibleChildren(const QWidget* widget)
{
    const auto children = widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    return std::any_of(children.begin(), children.end(), [](const QWidget* child) {
        return child->isVisible() && !child->isWindow();
    });
}

} // namespace

LegibilityAudit::LegibilityAudit(QWidget* window) : window_(window)
{
    const QPixmap grabbed = window->grab();
    ratio_ = grabbed.devicePixelRatio();
    picture_ = grabbed.toImage().convertToFormat(QImage::Format_RGB32);
}

double LegibilityAudit::contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

double LegibilityAudit::symbolContrast(const QImage& picture, const QRect& area,
                                       const QImage& symbol)
{
    const QImage mask = symbol.convertToFormat(QImage::Format_ARGB32);
    const QRect inside = area.intersected(picture.rect());
    if (mask.isNull() || inside.width() < mask.width() || inside.height() < mask.height())
        return 1.0;
    // Symbols tinted with a translucent colour (secondary text) are never fully
    // opaque; their strokes are the pixels near the symbol's own highest alpha.
    int peak = 0;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            peak = std::max(peak, qAlpha(mask.pixel(x, y)));
    std::vector<QPoint> opaque;
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (peak > 0 && qAlpha(mask.pixel(x, y)) >= peak * 4 / 5) opaque.emplace_back(x, y);
    if (opaque.empty()) return 1.0;
    std::vector<QRgb> all;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            all.push_back(picture.pixel(x, y));
    const QRgb page = commonColour(all);
    // The symbol as it would look drawn over that colour.
    std::vector<QRgb> expected;
    for (const QPoint& point : opaque) {
        const QRgb colour = mask.pixel(point);
        const double alpha = qAlpha(colour) / 255.0;
        const auto mix = [alpha](int over, int under) {
            return int(over * alpha + under * (1 - alpha));
        };
        expected.push_back(qRgb(mix(qRed(colour), qRed(page)), mix(qGreen(colour), qGreen(page)),
                                mix(qBlue(colour), qBlue(page))));
    }
    // The symbol is where the picture matches it best.
    QPoint best = inside.topLeft();
    qint64 bestDistance = std::numeric_limits<qint64>::max();
    for (int top = inside.top(); top + mask.height() <= inside.bottom() + 1; ++top)
        for (int left = inside.left(); left + mask.width() <= inside.right() + 1; ++left) {
            qint64 distance = 0;
            for (std::size_t i = 0; i < opaque.size(); ++i) {
                const QRgb want = expected[i],
                           have = picture.pixel(left + opaque[i].x(), top + opaque[i].y());
                distance += std::abs(qRed(want) - qRed(have)) +
                            std::abs(qGreen(want) - qGreen(have)) +
                            std::abs(qBlue(want) - qBlue(have));
                if (distance >= bestDistance) break;
            }
            if (distance < bestDistance) {
                bestDistance = distance;
                best = QPoint(left, top);
            }
        }
    const QRect placed(best, mask.size());
    std::vector<QRgb> around;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (!placed.contains(x, y) ||
                qAlpha(mask.pixel(x - placed.left(), y - placed.top())) == 0)
                around.push_back(picture.pixel(x, y));
    if (around.empty()) return 1.0;
    const QRgb background = commonColour(around);
    std::vector<double> contrasts;
    contrasts.reserve(opaque.size());
    for (const QPoint& point : opaque)
        contrasts.push_back(contrast(picture.pixel(best + point), background));
    return quantile(std::move(contrasts), 0.5);
}

double LegibilityAudit::textContrast(const QImage& picture, const QRect& area)
{
    const QRect inside = area.intersected(picture.rect());
    std::vector<QRgb> pixels;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            pixels.push_back(picture.pixel(x, y));
    if (pixels.empty()) return 1.0;
    const QRgb background = commonColour(pixels);
    std::vector<double> contrasts;
    contrasts.reserve(pixels.size());
    for (QRgb pixel : pixels)
        contrasts.push_back(contrast(pixel, background));
    // Glyph edges blend into the background; the cores of the strokes carry
    // the text's colour, and small text has few of them.
    std::vector<double> strokes;
    for (double value : contrasts)
        if (value > 1.05) strokes.push_back(value);
    if (strokes.size() < 3) return 1.0;
    return quantile(std::move(strokes), 0.97);
}

QRect LegibilityAudit::visibleRect(const QWidget* widget) const
{
    if (!widget->isVisible() || widget->isWindow()) return {};
    QRect rect(widget->mapTo(window_, QPoint(0, 0)), widget->size());
    for (const QWidget* parent = widget->parentWidget(); parent && parent != window_;
         parent = parent->parentWidget())
        rect &= QRect(parent->mapTo(window_, QPoint(0, 0)), parent->size());
    rect &= window_->rect();
    return rect;
}

QString LegibilityAudit::describe(const QWidget* widget) const
{
    QString text;
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        text = button->text().isEmpty() ? button->toolTip() : button->text();
    else if (const auto* label = qobject_cast<const QLabel*>(widget))
        text = label->text().left(40);
    QString path;
    for (const QObject* at = widget; at && at != window_; at = at->parent())
        if (at->metaObject()->className() != QByteArrayLiteral("QWidget"))
            path.prepend(QString::fromLatin1(at->metaObject()->className()) + u'/');
    const QRect where = visibleRect(widget);
    return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6")
        .arg(path.chopped(1), text)
        .arg(where.x())
        .arg(where.y())
        .arg(where.width())
        .arg(where.height());
}

QStringList LegibilityAudit::faintSymbols(double minimum) const
{
    QStringList found;
    const auto scaled = [this](const QRect& rect) {
        return QRect((rect.topLeft() * ratio_), rect.size() * ratio_);
    };
    for (QWidget* widget : window_->findChildren<QWidget*>()) {
        const QRect area = visibleRect(widget);
        if (area.width() < 6 || area.height() < 6) continue;
        QImage symbol;
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && !button->icon().isNull()) {
            const QIcon::Mode mode = button->isEnabled() ? QIcon::Normal : QIcon::Disabled;
            symbol = button->icon()
                         .pixmap(button->iconSize(), ratio_, mode,
                                 button->isChecked() ? QIcon::On : QIcon::Off)
                         .toImage();
        } else if (auto* label = qobject_cast<QLabel*>(widget)) {
            const QPixmap pixmap = label->pixmap();
            // Thumbnails and file previews are pictures, not symbols.
            if (pixmap.isNull() || pixmap.width() > 64 * pixmap.devicePixelRatio()) continue;
            symbol = pixmap.toImage();
            if (!qFuzzyCompare(pixmap.devicePixelRatio(), ratio_))
                symbol = symbol.scaled(symbol.size() * (ratio_ / pixmap.devicePixelRatio()),
                                       Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        }
        if (symbol.isNull()) continue;
        // Styles may draw an icon smaller than the button's icon size; the
        // size whose picture is found with the highest contrast is the one drawn.
        double measured = symbolContrast(picture_, scaled(area), symbol);
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            for (int edge : {12, 16, 22}) {
                const QImage smaller =
                    button->icon()
                        .pixmap(QSize(edge, edge), ratio_,
                                button->isEnabled() ? QIcon::Normal : QIcon::Disabled)
                        .toImage();
                if (!smaller.isNull())
                    measured = std::max(measured, symbolContrast(picture_, scaled(area), smaller));
            }
        if (measured < minimum)
            found << QStringLiteral("%1: symbol contrast %2")
                         .arg(describe(widget))
                         .arg(measured, 0, 'f', 2);
    }
    return found;
}

QStringList LegibilityAudit::faintTexts(double minimum) const
{
    QStringList found;
    for (QWidget* widget : window_->findChildren<QWidget*>()) {
        QString text;
        QRect area = visibleRect(widget);
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (!label->pixmap().isNull()) continue;
            text = label->text();
            area &= QRect(label->mapTo(window_, label->contentsRect().topLeft()),
                          label->contentsRect().size());
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            // Icon-only tool buttons keep their text for menus and tool tips.
            if (auto* tool = qobject_cast<QToolButton*>(button);
                tool && !tool->icon().isNull() && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
                continue;
            text = button->text();
        }
        // A row scrolled partly out of view shows part of its text.
        if (text.trimmed().isEmpty() || area.width() < 4 || area.height() < widget->height())
            continue;
        const QRect scaled(area.topLeft() * ratio_, area.size() * ratio_);
        const double measured = textContrast(picture_, scaled);
        // Disabled controls are exempt, as readers expect them to be faint.
        if (measured < minimum && widget->isEnabled())
            found << QStringLiteral("%1: text contrast %2")
                         .arg(describe(widget))
                         .arg(measured, 0, 'f', 2);
    }
    return found;
}

QStringList LegibilityAudit::overlappingControls() const
{
    QStringList found;
    QList<QWidget*> parents = window_->findChildren<QWidget*>();
    parents.prepend(window_);
    for (QWidget* parent : parents) {
        if (!parent->isVisible()) continue;
        // A scroll area's viewport and bars are its own parts, not controls.
        if (qobject_cast<QAbstractScrollArea*>(parent)) continue;
        QList<QWidget*> leaves;
        for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (!child->isWindow() && child->isVisible() && !hasVisibleChildren(child) &&
                !visibleRect(child).isEmpty())
                leaves << child;
        for (int i = 0; i < leaves.size(); ++i)
            for (int j = i + 1; j < leaves.size(); ++j) {
                const QRect shared = leaves[i]->geometry() & leaves[j]->geometry();
                if (shared.width() > 1 && shared.height() > 1)
                    found << QStringLiteral("%1 overlaps %2")
                                 .arg(describe(leaves[i]), describe(leaves[j]));
            }
    }
    return found;
}
