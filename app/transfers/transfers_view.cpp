#include "transfers/transfers_view.h"

#include "file_size_format.h"
#include "sections/named_colors.h"
#include "transfer_store.h"
#include "ui/card_frame.h"
#include "ui/elided_label.h"
#include "ui/empty_state.h"
#include "ui/file_menu.h"
#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QLabel* selectable(QLabel* label)
{
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setCursor(Qt::IBeamCursor);
    return label;
}

// A thin rounded track with the accent fill; the style's own bar all but
// disappears at this height in the dark palette.
class ProgressLine : public QProgressBar {
public:
    using QProgressBar::QProgressBar;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF track(rect());
        const qreal radius = track.height() / 2;
        UiStyle::card(painter, track, radius, UiStyle::quaternaryFill());
        const int span = maximum() - minimum();
        if (span <= 0 || value() <= minimum()) return;
        const qreal part = qreal(value() - minimum()) / span;
        QRectF done = track;
        done.setWidth(std::max(track.height(), track.width() * part));
        UiStyle::card(painter, done, radius, Palette::blue());
    }
};

void retainRoom(QWidget* widget)
{
    QSizePolicy policy = widget->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(policy);
}

bool nameMatches(const TransferItem& item, const QString& query)
{
    return query.isEmpty() || item.name().contains(query, Qt::CaseInsensitive);
}

} // namespace

void TransferRow::showStatusSymbol()
{
    QString symbol = QStringLiteral("arrow.right.circle");
    QColor tint = Palette::blue();
    if (shownStatus_ == TransferStatus::Completed) {
        symbol = QStringLiteral("checkmark.circle.fill");
        tint = NamedColors::inAppearance(QColor::fromRgba(NamedColors::green));
    } else if (shownStatus_ == TransferStatus::Failed) {
        symbol = QStringLiteral("exclamationmark.circle");
        tint = NamedColors::error();
    }
    symbol_->setPixmap(symbolPixmap(symbol, 22, tint));
}

TransferRow::TransferRow(QWidget* parent) : QWidget(parent)
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(18, 18, 18, 18);
    column->setSpacing(10);
    auto* first = new QHBoxLayout;
    first->setSpacing(12);
    symbol_ = new QLabel(this);
    symbol_->setFixedSize(22, 22);
    followPalette(symbol_, [this] { showStatusSymbol(); });
    auto* texts = new QVBoxLayout;
    texts->setSpacing(2);
    name_ = UiStyle::label({}, 13, QFont::DemiBold, false, this);
    status_ = UiStyle::label({}, 10, QFont::Normal, false, this);
    texts->addWidget(name_);
    texts->addWidget(status_);
    retry_ = new QPushButton(tr("Retry"), this);
    pause_ = new QPushButton(tr("Pause"), this);
    cancel_ = new QPushButton(tr("Cancel"), this);
    first->addWidget(symbol_, 0, Qt::AlignTop);
    first->addLayout(texts, 1);
    first->addWidget(retry_);
    first->addWidget(pause_);
    first->addWidget(cancel_);
    more_ = new QToolButton(this);
    more_->setIcon(symbolIcon(QStringLiteral("ellipsis")));
    more_->setToolTip(tr("More"));
    more_->setAccessibleName(tr("More"));
    more_->setAutoRaise(true);
    more_->setPopupMode(QToolButton::InstantPopup);
    menu_ = new QMenu(more_);
    moveUp_ = menu_->addAction(tr("Move Up"), this, [this] { Q_EMIT reorder(item_.id, -1); });
    moveDown_ = menu_->addAction(tr("Move Down"), this, [this] { Q_EMIT reorder(item_.id, 1); });
    menu_->addSeparator();
    reveal_ = menu_->addAction(tr("Show in File Manager"), this,
                               [this] { revealInFileManager(revealedPath()); });
    more_->setMenu(menu_);
    first->addWidget(more_);
    column->addLayout(first);
    destination_ = selectable(UiStyle::label({}, 10, QFont::Normal, true, this));
    column->addWidget(destination_);
    // Whatever the status, the row keeps one height: the progress line keeps
    // its room while hidden, and the byte count and the failure share one line.
    progress_ = new ProgressLine(this);
    progress_->setTextVisible(false);
    progress_->setFixedHeight(6);
    progress_->setRange(0, 1000);
    retainRoom(progress_);
    column->addWidget(progress_);
    auto* detail = new QHBoxLayout;
    detail->setSpacing(0);
    bytes_ = UiStyle::label({}, 10, QFont::Normal, true, this);
    retainRoom(bytes_);
    detail->addWidget(bytes_);
    error_ = new ElidedLabel(Qt::ElideRight, this);
    error_->setFont(UiStyle::font(10));
    selectable(error_);
    followPalette(error_, [this] {
        // Only the text colour is set, so the rest keeps following the application palette.
        QPalette colours;
        colours.setColor(QPalette::WindowText, NamedColors::error());
        error_->setPalette(colours);
    });
    detail->addWidget(error_, 1);
    column->addLayout(detail);
    for (QPushButton* button : {retry_, pause_, cancel_})
        retainRoom(button);
    connect(retry_, &QPushButton::clicked, this, [this] { Q_EMIT retry(item_.id); });
    connect(pause_, &QPushButton::clicked, this, [this] { Q_EMIT pause(item_.id, !item_.paused); });
    connect(cancel_, &QPushButton::clicked, this, [this] { Q_EMIT cancel(item_.id); });
}

void TransferRow::show(const TransferItem& item)
{
    const bool statusChanged = shownStatus_ != item.status || shownPaused_ != item.paused;
    item_ = item;
    if (statusChanged) {
        shownStatus_ = item.status;
        shownPaused_ = item.paused;
        showStatusSymbol();
        status_->setText(item.paused ? tr("Paused") : rawValue(item.status));
        const bool again =
            item.status == TransferStatus::Failed || item.status == TransferStatus::Cancelled;
        const bool waiting =
            item.status == TransferStatus::Copying || item.status == TransferStatus::Queued;
        retry_->setVisible(again);
        pause_->setVisible(waiting);
        pause_->setText(item.paused ? tr("Resume") : tr("Pause"));
        cancel_->setVisible(waiting);
        const bool copying = item.status == TransferStatus::Copying;
        progress_->setVisible(copying);
        bytes_->setVisible(copying);
    }
    name_->setText(item.name());
    destination_->setText(item.destination());
    if (item.status == TransferStatus::Copying) {
        const double part = item.total > 0 ? double(item.bytes) / double(item.total) : 0.0;
        progress_->setValue(int(std::clamp(part, 0.0, 1.0) * 1000));
        bytes_->setText(formatFileSize(item.bytes) + tr(" of ") + formatFileSize(item.total));
    }
    error_->setText(item.error.value_or(QString()));
    error_->setVisible(item.error.has_value());
}

void TransferRow::setMovable(bool earlier, bool later)
{
    moveUp_->setEnabled(earlier);
    moveDown_->setEnabled(later);
}

QString TransferRow::revealedPath() const
{
    if (item_.outcome && !item_.outcome->placed.isEmpty())
        return item_.outcome->placed.constFirst().to;
    return item_.source;
}

void TransferRow::contextMenuEvent(QContextMenuEvent* event)
{
    menu_->exec(event->globalPos());
}

QString TransferRow::name() const
{
    return name_->text();
}

QString TransferRow::statusText() const
{
    return status_->text();
}

QString TransferRow::destinationText() const
{
    return destination_->text();
}

QString TransferRow::progressText() const
{
    return bytes_->isHidden() ? QString() : bytes_->text();
}

QString TransferRow::errorText() const
{
    return error_->isHidden() ? QString() : error_->fullText();
}

void TransferRow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    UiStyle::card(painter, QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, Palette::surface(),
                  Palette::line());
}

TransfersView::TransfersView(QWidget* parent) : SectionView(parent)
{
    QVBoxLayout* column = makeScrollingColumn(scroll_);
    QWidget* content = scroll_->widget();

    auto* card = new CardFrame(12, content);
    card->setFill([] { return Palette::surface(); });
    card->setBorder([] { return Palette::line(); });
    auto* header = new QHBoxLayout(card);
    header->setContentsMargins(18, 18, 18, 18);
    header->setSpacing(10);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(UiStyle::label(tr("Transfer queue"), 13, QFont::DemiBold, false, card));
    subtitle_ = selectable(UiStyle::label({}, 10, QFont::Normal, true, card));
    texts->addWidget(subtitle_);
    remaining_ = selectable(UiStyle::label({}, 10, QFont::Normal, true, card));
    texts->addWidget(remaining_);
    header->addLayout(texts, 1);
    pauseQueue_ = new QPushButton(tr("Pause queue"), card);
    header->addWidget(pauseQueue_);
    connect(pauseQueue_, &QPushButton::clicked, this, [this] {
        if (model_) model_->pauseQueue(!model_->transferStore().isQueuePaused());
    });
    clear_ = new QPushButton(tr("Clear completed"), card);
    add_ = new QPushButton(symbolIcon(QStringLiteral("plus")), tr("Add files…"), card);
    add_->setDefault(true);
    header->addWidget(clear_);
    header->addWidget(add_);
    column->addWidget(card);
    connect(clear_, &QPushButton::clicked, this, [this] {
        if (model_) model_->clearCompletedTransfers();
    });
    connect(add_, &QPushButton::clicked, this, [this] {
        if (model_) model_->addTransfer();
    });

    empty_ = new EmptyState(content);
    empty_->set(QStringLiteral("arrow.left.arrow.right"), tr("Ready when you are"),
                tr("Add files or folders to start a copy. Jobs run one at a time and keep going "
                   "when you switch sections."));
    // The block's own hint leaves room for one line of its wrapped detail;
    // ours run to three.
    empty_->setMinimumHeight(empty_->sizeHint().height() +
                             2 * QFontMetrics(UiStyle::font(12)).lineSpacing());
    column->addWidget(empty_);
    noMatch_ =
        UiStyle::label(tr("No transfers match your search."), 12, QFont::Normal, true, content);
    column->addWidget(noMatch_);
    list_ = new QWidget(content);
    rowLayout_ = new QVBoxLayout(list_);
    rowLayout_->setContentsMargins(0, 0, 0, 0);
    rowLayout_->setSpacing(12);
    column->addWidget(list_);
    column->addStretch();

    connect(scroll_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &TransfersView::buildMoreIfNear);
    connect(scroll_->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            &TransfersView::buildMoreIfNear);
    setModel(nullptr);
}

TransfersView::~TransfersView()
{
    connections_.clear();
    for (const auto& connection : std::as_const(storeConnections_))
        disconnect(connection);
}

void TransfersView::setModel(WorkspaceModel* model)
{
    connections_.clear();
    for (const auto& connection : std::as_const(storeConnections_))
        disconnect(connection);
    storeConnections_.clear();
    if (model) {
        TransferStore* store = &model->transferStore();
        storeConnections_ << connect(store, &TransferStore::remainingChanged, this,
                                     &TransfersView::updateQueueControls)
                          << connect(store, &TransferStore::queuePausedChanged, this,
                                     &TransfersView::updateQueueControls);
    }
    if (model != model_) built_ = rowPage;
    model_ = model;
    connections_.follow(model, {&WorkspaceModel::transfersChanged, &WorkspaceModel::queryChanged},
                        this, &TransfersView::updateRows);
    connections_.follow(model,
                        {&WorkspaceModel::folderChanged, &WorkspaceModel::libraryScopeChanged},
                        this, &TransfersView::updateHeader);
    updateHeader();
    updateRows();
}

QString TransfersView::subtitle() const
{
    return subtitle_->text();
}

QString TransfersView::remainingText() const
{
    return remaining_->isHidden() ? QString() : remaining_->text();
}

QString TransfersView::timeLeft(qint64 seconds)
{
    if (seconds < 60) return tr("less than a minute");
    const qint64 minutes = (seconds + 30) / 60;
    if (minutes < 60) return tr("about %1 min").arg(minutes);
    return tr("about %1 h %2 min").arg(minutes / 60).arg(minutes % 60);
}

void TransfersView::updateQueueControls()
{
    const TransferStore* store = model_ ? &model_->transferStore() : nullptr;
    const qint64 bytes = store ? store->remainingBytes() : 0;
    const std::optional<qint64> seconds = store ? store->remainingSeconds() : std::nullopt;
    QString left = tr("%1 left").arg(formatFileSize(bytes));
    if (seconds && !store->isQueuePaused()) left += tr(", ") + timeLeft(*seconds);
    remaining_->setText(left);
    remaining_->setVisible(bytes > 0);
    const bool paused = store && store->isQueuePaused();
    pauseQueue_->setText(paused ? tr("Resume queue") : tr("Pause queue"));
    const QList<TransferItem> none;
    const QList<TransferItem>& items = store ? store->items() : none;
    const bool anyWaiting = std::any_of(items.cbegin(), items.cend(), [](const TransferItem& i) {
        return i.status == TransferStatus::Queued || i.status == TransferStatus::Copying;
    });
    pauseQueue_->setEnabled(paused || anyWaiting);
}

bool TransfersView::showsEmptyState() const
{
    return !empty_->isHidden();
}

bool TransfersView::showsNoMatch() const
{
    return !noMatch_->isHidden();
}

void TransfersView::updateHeader()
{
    subtitle_->setText(!model_ || model_->isMacScope()
                           ? tr("Choose a destination when adding files")
                           : model_->folder());
    add_->setEnabled(model_ != nullptr);
}

void TransfersView::updateRows()
{
    const QList<TransferItem> all = model_ ? model_->transfers() : QList<TransferItem>();
    const QString query = model_ ? model_->query() : QString();
    shown_.clear();
    bool anyCompleted = false;
    for (const TransferItem& item : all) {
        anyCompleted = anyCompleted || item.status == TransferStatus::Completed;
        if (nameMatches(item, query)) shown_ << item;
    }
    clear_->setEnabled(anyCompleted);

    // Progress arrives several times a second: rows stay with their job and
    // only their texts change; rows are made or dropped as jobs come and go.
    QHash<QUuid, TransferRow*> byId;
    for (TransferRow* row : std::as_const(rows_))
        byId.insert(row->item().id, row);
    const qsizetype wanted = std::min<qsizetype>(built_, shown_.size());
    QList<TransferRow*> kept;
    kept.reserve(wanted);
    for (qsizetype i = 0; i < wanted; ++i) {
        const TransferItem& item = shown_[i];
        TransferRow* row = byId.take(item.id);
        if (!row) {
            row = new TransferRow(list_);
            connect(row, &TransferRow::retry, this, [this](const QUuid& id) {
                if (model_) model_->retryTransfer(id);
            });
            connect(row, &TransferRow::cancel, this, [this](const QUuid& id) {
                if (model_) model_->cancelTransfer(id);
            });
            connect(row, &TransferRow::pause, this, [this](const QUuid& id, bool paused) {
                if (model_) model_->pauseTransfer(id, paused);
            });
            connect(row, &TransferRow::reorder, this, [this](const QUuid& id, int step) {
                if (model_) model_->moveTransfer(id, step);
            });
        }
        row->show(item);
        row->setMovable(model_ && model_->transferPlace(item.id, -1),
                        model_ && model_->transferPlace(item.id, 1));
        if (rowLayout_->indexOf(row) != i) {
            rowLayout_->removeWidget(row);
            rowLayout_->insertWidget(int(i), row);
        }
        kept << row;
    }
    // A row's button may be what sent us here: let it finish before it goes.
    for (TransferRow* gone : std::as_const(byId)) {
        rowLayout_->removeWidget(gone);
        gone->hide();
        gone->deleteLater();
    }
    rows_ = std::move(kept);
    updateQueueControls();

    empty_->setVisible(all.isEmpty());
    noMatch_->setVisible(!all.isEmpty() && shown_.isEmpty());
    list_->setVisible(!shown_.isEmpty());
}

void TransfersView::buildMoreIfNear()
{
    if (built_ >= shown_.size()) return;
    const QScrollBar* bar = scroll_->verticalScrollBar();
    if (bar->maximum() - bar->value() > scroll_->viewport()->height()) return;
    built_ += rowPage;
    // Not from inside the scroll bar's own signal, which the new rows change.
    QTimer::singleShot(0, this, &TransfersView::updateRows);
}

QAbstractScrollArea* TransfersView::scrollBody() const
{
    return scroll_;
}
