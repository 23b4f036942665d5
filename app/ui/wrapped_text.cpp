#include "ui/wrapped_text.h"

#include <QCache>
#include <QFontMetricsF>
#include <QPainter>
#include <QStaticText>
#include <QTextLayout>

namespace {

struct Laidout {
    QList<QStaticText> lines;
};

QList<QString> wrap(const QString& text, const QFont& font, qreal width, int lines)
{
    const QFontMetricsF metrics(font);
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    QList<QString> shown;
    int start = 0;
    for (int i = 0; i < lines; ++i) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) break;
        line.setLineWidth(width);
        if (i == lines - 1) {
            shown << metrics.elidedText(text.mid(start), Qt::ElideRight, width);
            break;
        }
        shown << text.mid(line.textStart(), line.textLength());
        start = line.textStart() + line.textLength();
    }
    layout.endLayout();
    return shown;
}

// Enough for a few screens of tiles in a couple of views.
QCache<QString, Laidout>& laidoutNames()
{
    static QCache<QString, Laidout> cache(1500);
    return cache;
}

} // namespace

void WrappedText::draw(QPainter& painter, const QRectF& rect, const QString& text,
                       const QFont& font, int lines, Qt::Alignment alignment)
{
    const QString key = font.key() + u'|' + QString::number(rect.width()) + u'|' +
                        QString::number(lines) + u'|' + text;
    QCache<QString, Laidout>& cache = laidoutNames();
    Laidout* laidout = cache.object(key);
    if (!laidout) {
        laidout = new Laidout;
        for (const QString& line : wrap(text, font, rect.width(), lines)) {
            QStaticText shown(line.trimmed());
            shown.setTextFormat(Qt::PlainText);
            shown.prepare(QTransform(), font);
            laidout->lines << shown;
        }
        cache.insert(key, laidout);
    }
    painter.setFont(font);
    const qreal height = QFontMetricsF(font).height();
    qreal y = rect.top();
    for (const QStaticText& line : std::as_const(laidout->lines)) {
        const qreal width = line.size().width();
        qreal x = rect.left();
        if (alignment & Qt::AlignHCenter)
            x += (rect.width() - width) / 2;
        else if (alignment & Qt::AlignRight)
            x += rect.width() - width;
        painter.drawStaticText(QPointF(x, y), line);
        y += height;
    }
}
