#pragma once

#include "sections/feature.h"
#include "ui/card_frame.h"

#include <QList>

class QHBoxLayout;
class QLabel;

// Figures side by side, each a small caption over a large value, on the
// section's colour.
class StatsCard : public CardFrame {
    Q_OBJECT
public:
    struct Stat {
        QString caption;
        QString value;
    };

    explicit StatsCard(QWidget* parent = nullptr);
    // Drawn on a wash of `feature`'s colour, which follows the appearance.
    void set(Feature feature, const QList<Stat>& stats);
    const QList<Stat>& stats() const { return stats_; }
    // The value under `caption`, or a null string when that figure is not shown.
    QString value(const QString& caption) const;

private:
    QHBoxLayout* row_;
    QList<QLabel*> captions_;
    QList<QLabel*> values_;
    QList<QWidget*> cells_;
    QList<Stat> stats_;
};
