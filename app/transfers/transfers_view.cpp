#include "transfers/transfers_view.h"

#include "file_size_format.h"
#include "transfer_store.h"
#include "transfers/transfer_list_model.h"
#include "transfers/transfer_row_delegate.h"
#include "ui/card_frame.h"
#include "ui/empty_state.h"
#include "ui/fitted_stack.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace {

// What lies around the header and the cards, as in the other sections.
constexpr int sideMargin = 24;

QLabel* selectable(QLabel* label)
{
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setCursor(Qt::IBeamCursor);
    return label;
}

// A page of the body: `widget` with the column's side and bottom margins, in
// a scroll area of its own like the list, so the window treats every page alike.
QScrollArea* padded(QWidget* widget)
{
    auto* page = new QScrollArea;
    page->setFrameShape(QFrame::NoFrame);
    page->setWidgetResizable(true);
    page->viewport()->setAutoFillBackground(false);
    auto* content = new QWidget(page);
    content->setAutoFillBackground(false);
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(sideMargin, 0, sideMargin, sideMargin);
    column->addWidget(widget);
    column->addStretch();
    page->setWidget(content);
    return page;
}

} // namespace

TransfersView::TransfersView(QWidget* parent)
    : SectionView(parent), transfers_(new TransferListModel(this))
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(18);

    auto* card = new CardFrame(12);
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
    top_ = new QVBoxLayout;
    top_->setContentsMargins(sideMargin, 20, sideMargin, 0);
    top_->addWidget(card);
    outer->addLayout(top_);
    connect(clear_, &QPushButton::clicked, this, [this] {
        if (model_) model_->clearCompletedTransfers();
    });
    connect(add_, &QPushButton::clicked, this, [this] {
        if (model_) model_->addTransfer();
    });

    empty_ = new EmptyState;
    empty_->set(QStringLiteral("arrow.left.arrow.right"), tr("Ready when you are"),
                tr("Add files or folders to start a copy. Jobs run one at a time and keep going "
                   "when you switch sections."));
    // The block's own hint leaves room for one line of its wrapped detail;
    // ours run to three.
    empty_->setMinimumHeight(empty_->sizeHint().height() +
                             2 * QFontMetrics(UiStyle::font(12)).lineSpacing());
    emptyPage_ = padded(empty_);
    noMatchPage_ =
        padded(UiStyle::label(tr("No transfers match your search."), 12, QFont::Normal, true));

    // The list spans the whole width, so its scroll bar sits at the edge of
    // the section; the cards keep the column's margins.
    list_ = new QListView;
    list_->setFrameShape(QFrame::NoFrame);
    list_->viewport()->setAutoFillBackground(false);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    list_->setUniformItemSizes(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setModel(transfers_);
    delegate_ = new TransferRowDelegate(list_);
    delegate_->setInset(sideMargin);
    list_->setItemDelegate(delegate_);
    // The list's scroll bar narrows the cards; the header narrows with them.
    list_->viewport()->installEventFilter(this);
    connect(delegate_, &TransferRowDelegate::retryRequested, this, [this](const QUuid& id) {
        if (model_) model_->retryTransfer(id);
    });
    connect(delegate_, &TransferRowDelegate::cancelRequested, this, [this](const QUuid& id) {
        if (model_) model_->cancelTransfer(id);
    });
    connect(delegate_, &TransferRowDelegate::pauseRequested, this,
            [this](const QUuid& id, bool paused) {
                if (model_) model_->pauseTransfer(id, paused);
            });
    connect(delegate_, &TransferRowDelegate::moveRequested, this,
            [this](const QUuid& id, int step) {
                if (model_) model_->moveTransfer(id, step);
            });

    body_ = new FittedStack;
    body_->addWidget(emptyPage_);
    body_->addWidget(noMatchPage_);
    body_->addWidget(list_);
    outer->addWidget(body_, 1);
    connect(body_, &FittedStack::currentChanged, this, &SectionView::scrollBodyChanged);

    connect(transfers_, &TransferListModel::refreshed, this, &TransfersView::updateRows);
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
    model_ = model;
    connections_.follow(model,
                        {&WorkspaceModel::folderChanged, &WorkspaceModel::libraryScopeChanged},
                        this, &TransfersView::updateHeader);
    updateHeader();
    transfers_->setWorkspace(model);
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
    const QString size = formatFileSize(bytes);
    remaining_->setText(
        seconds && !store->isQueuePaused()
            ? tr("%1 left, %2", "bytes left, time left").arg(size, timeLeft(*seconds))
            : tr("%1 left").arg(size));
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

int TransfersView::shownCount() const
{
    return transfers_->rowCount();
}

bool TransfersView::showsEmptyState() const
{
    return body_->currentWidget() == emptyPage_;
}

bool TransfersView::showsNoMatch() const
{
    return body_->currentWidget() == noMatchPage_;
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
    const QList<TransferItem> none;
    const QList<TransferItem>& all = model_ ? model_->transfers() : none;
    clear_->setEnabled(std::any_of(all.cbegin(), all.cend(), [](const TransferItem& item) {
        return item.status == TransferStatus::Completed;
    }));
    updateQueueControls();
    if (all.isEmpty())
        body_->setCurrentWidget(emptyPage_);
    else if (transfers_->rowCount() == 0)
        body_->setCurrentWidget(noMatchPage_);
    else
        body_->setCurrentWidget(list_);
    if (!list_->isVisibleTo(this)) top_->setContentsMargins(sideMargin, 20, sideMargin, 0);
}

bool TransfersView::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_->viewport() && event->type() == QEvent::Resize) {
        const int bar = list_->isVisibleTo(this) ? list_->width() - list_->viewport()->width() : 0;
        top_->setContentsMargins(sideMargin, 20, sideMargin + bar, 0);
    }
    return SectionView::eventFilter(watched, event);
}

QAbstractScrollArea* TransfersView::scrollBody() const
{
    return qobject_cast<QAbstractScrollArea*>(body_->currentWidget());
}
