#include "analysis/stats_card.h"

#include "ui/ui_style.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

StatsCard::StatsCard(QWidget* parent) : CardFrame(12, parent), row_(new QHBoxLayout(this))
{
    row_->setContentsMargins(20, 20, 20, 20);
    row_->setSpacing(30);
    row_->addStretch();
}

void StatsCard::set(Feature feature, const QList<Stat>& stats)
{
    // The colour is looked up at each paint, so a switch of appearance shows at once.
    setFill([feature] { return UiStyle::withAlpha(colorOf(feature), 0.05); });
    while (cells_.size() < stats.size()) {
        auto* cell = new QWidget(this);
        auto* column = new QVBoxLayout(cell);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        QLabel* caption = UiStyle::label({}, 9, QFont::DemiBold, true, cell);
        QFont font = caption->font();
        font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
        caption->setFont(font);
        QLabel* value = UiStyle::label({}, 24, QFont::DemiBold, false, cell);
        column->addWidget(caption);
        column->addWidget(value);
        row_->insertWidget(int(cells_.size()), cell);
        cells_ << cell;
        captions_ << caption;
        values_ << value;
    }
    for (qsizetype at = 0; at < cells_.size(); ++at) {
        const bool shown = at < stats.size();
        cells_[at]->setVisible(shown);
        if (!shown) continue;
        captions_[at]->setText(stats[at].caption);
        values_[at]->setText(stats[at].value);
    }
    stats_ = stats;
    update();
}

QString StatsCard::value(const QString& caption) const
{
    for (const Stat& stat : stats_)
        if (stat.caption == caption) return stat.value;
    return {};
}
