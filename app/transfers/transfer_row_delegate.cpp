#include "transfers/transfer_row_delegate.h"

#include "sections/named_colors.h"
#include "transfer_item.h"
#include "transfers/transfer_list_model.h"
#include "transfers/transfer_row_geometry.h"
#include "ui/file_menu.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>
#include <QStyleOptionToolButton>
#include <QToolTip>

namespace {

TransferStatus statusOf(const QModelIndex& index)
{
    return TransferStatus(index.data(TransferListModel::StatusRole).toInt());
}

// A thin rounded track with the accent fill; the style's own bar all but
// disappears at this height in the dark palette.
void paintProgress(QPainter* painter, const QRect& rect, int permille)
{
    const QRectF track(rect);
    const qreal radius = track.height() / 2;
    UiStyle::card(*painter, track, radius, UiStyle::quaternaryFill());
    if (permille <= 0) return;
    QRectF done = track;
    done.setWidth(std::max(track.height(), track.width() * permille / 1000.0));
    UiStyle::card(*painter, done, radius, Palette::blue());
}

void paintText(QPainter* painter, const QRect& rect, const QString& text, const QFont& font,
               const QColor& colour, Qt::TextElideMode elide = Qt::ElideRight)
{
    painter->setFont(font);
    painter->setPen(colour);
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetrics(font).elidedText(text, elide, rect.width()));
}

} // namespace

TransferRowDelegate::TransferRowDelegate(QAbstractItemView* view)
    : QStyledItemDelegate(view), view_(view)
{
    view->setMouseTracking(true);
    view->viewport()->installEventFilter(this);
    view->installEventFilter(this);
}

TransferRowDelegate::~TransferRowDelegate() = default;

void TransferRowDelegate::setInset(int inset)
{
    inset_ = inset;
    view_->viewport()->update();
}

TransferRowGeometry TransferRowDelegate::geometry(const QRect& rowRect,
                                                  const QModelIndex& index) const
{
    std::array<QString, 4> texts;
    for (int at = 0; at < int(texts.size()); ++at)
        texts[at] = buttonText(index, Button(at));
    return TransferRowGeometry::of(rowRect, inset_, texts);
}

QSize TransferRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    return {std::max(0, option.rect.width()), TransferRowGeometry::rowHeight()};
}

QList<TransferRowDelegate::Button> TransferRowDelegate::buttons(const QModelIndex& index) const
{
    if (!index.isValid()) return {};
    const TransferStatus status = statusOf(index);
    QList<Button> offered;
    if (status == TransferStatus::Failed || status == TransferStatus::Cancelled)
        offered << Button::Retry;
    if (status == TransferStatus::Copying || status == TransferStatus::Queued)
        offered << Button::Pause << Button::Cancel;
    offered << Button::More;
    return offered;
}

QString TransferRowDelegate::buttonText(const QModelIndex& index, Button button)
{
    switch (button) {
    case Button::Retry:
        return tr("Retry");
    case Button::Pause:
        return index.data(TransferListModel::PausedRole).toBool() ? tr("Resume") : tr("Pause");
    case Button::Cancel:
        return tr("Cancel");
    case Button::More:
        return tr("More");
    }
    return {};
}

QRect TransferRowDelegate::buttonRect(const QModelIndex& index, Button button) const
{
    if (!buttons(index).contains(button)) return {};
    return geometry(view_->visualRect(index), index).buttons[int(button)];
}

QRect TransferRowDelegate::partRect(const QModelIndex& index, Part part) const
{
    const TransferRowGeometry shape = geometry(view_->visualRect(index), index);
    switch (part) {
    case Part::Symbol:
        return shape.symbol;
    case Part::Name:
        return shape.name;
    case Part::Status:
        return shape.status;
    case Part::Destination:
        return shape.destination;
    case Part::Progress:
        return shape.progress;
    case Part::Detail:
        return shape.detail;
    }
    return {};
}

std::optional<TransferRowDelegate::Button> TransferRowDelegate::buttonAt(const QModelIndex& index,
                                                                         const QPoint& at) const
{
    for (Button button : buttons(index))
        if (buttonRect(index, button).contains(at)) return button;
    return std::nullopt;
}

std::optional<TransferRowDelegate::Button> TransferRowDelegate::focusedButton() const
{
    const QModelIndex current = view_->currentIndex();
    const QList<Button> offered = buttons(current);
    if (offered.isEmpty()) return std::nullopt;
    if (focused_ == current && focusedButton_ && offered.contains(*focusedButton_))
        return focusedButton_;
    return offered.constFirst();
}

void TransferRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    const TransferRowGeometry shape = geometry(option.rect, index);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    UiStyle::card(*painter, QRectF(shape.card).adjusted(0.5, 0.5, -0.5, -0.5), 12,
                  Palette::surface(), Palette::line());

    const TransferStatus status = statusOf(index);
    QString symbol = QStringLiteral("arrow.right.circle");
    QColor tint = Palette::blue();
    if (status == TransferStatus::Completed) {
        symbol = QStringLiteral("checkmark.circle.fill");
        tint = NamedColors::inAppearance(QColor::fromRgba(NamedColors::green));
    } else if (status == TransferStatus::Failed) {
        symbol = QStringLiteral("exclamationmark.circle");
        tint = NamedColors::error();
    }
    painter->drawPixmap(shape.symbol.topLeft(), symbolPixmap(symbol, shape.symbol.width(), tint));

    const QColor text = option.palette.color(QPalette::WindowText);
    const QColor muted = option.palette.color(QPalette::PlaceholderText);
    paintText(painter, shape.name, index.data(TransferListModel::NameRole).toString(),
              TransferRowGeometry::nameFont(), text);
    paintText(painter, shape.status, index.data(TransferListModel::StatusTextRole).toString(),
              TransferRowGeometry::smallFont(), text);
    paintText(painter, shape.destination, index.data(TransferListModel::DestinationRole).toString(),
              TransferRowGeometry::smallFont(), muted, Qt::ElideMiddle);
    QRect detail = shape.detail;
    if (status == TransferStatus::Copying) {
        paintProgress(painter, shape.progress, index.data(TransferListModel::ProgressRole).toInt());
        const QString bytes = index.data(TransferListModel::ProgressTextRole).toString();
        paintText(painter, detail, bytes, TransferRowGeometry::smallFont(), muted);
        detail.setLeft(detail.left() +
                       QFontMetrics(TransferRowGeometry::smallFont()).horizontalAdvance(bytes));
    }
    paintText(painter, detail, index.data(TransferListModel::ErrorRole).toString(),
              TransferRowGeometry::smallFont(), NamedColors::error());

    for (Button button : buttons(index))
        paintButton(painter, option, index, button, shape.buttons[int(button)]);
    painter->restore();
}

void TransferRowDelegate::paintButton(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index, Button button,
                                      const QRect& rect) const
{
    const bool hovered = hovered_ == index && hoveredButton_ == button;
    const bool down = hovered && pressed_ == index && pressedButton_ == button;
    const bool focus =
        view_->hasFocus() && index == view_->currentIndex() && focusedButton() == button;
    QStyle::State state = QStyle::State_Enabled;
    if (option.state & QStyle::State_Active) state |= QStyle::State_Active;
    if (hovered) state |= QStyle::State_MouseOver;
    if (focus) state |= QStyle::State_HasFocus;
    state |= down ? QStyle::State_Sunken : QStyle::State_Raised;
    QStyle* style = QApplication::style();
    if (button == Button::More) {
        QStyleOptionToolButton more = TransferRowGeometry::moreOption();
        more.palette = option.palette;
        more.direction = option.direction;
        more.rect = rect;
        more.state = state | QStyle::State_AutoRaise;
        if (hovered) more.activeSubControls = QStyle::SC_ToolButton;
        more.icon = symbolIcon(QStringLiteral("ellipsis"));
        style->drawComplexControl(QStyle::CC_ToolButton, &more, painter);
        return;
    }
    QStyleOptionButton push;
    push.palette = option.palette;
    push.direction = option.direction;
    push.rect = rect;
    push.state = state;
    push.text = buttonText(index, button);
    push.fontMetrics = QFontMetrics(TransferRowGeometry::buttonFont());
    painter->setFont(TransferRowGeometry::buttonFont());
    style->drawControl(QStyle::CE_PushButton, &push, painter);
}

bool TransferRowDelegate::editorEvent(QEvent* event, QAbstractItemModel*,
                                      const QStyleOptionViewItem&, const QModelIndex& index)
{
    const bool isPress =
        event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
    if (!isPress && event->type() != QEvent::MouseButtonRelease) return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    const std::optional<Button> button = buttonAt(index, mouse->position().toPoint());
    if (isPress) {
        if (!button) return false;
        pressed_ = index;
        pressedButton_ = button;
        hovered_ = index;
        hoveredButton_ = button;
        focused_ = index;
        focusedButton_ = button;
        updateRow(index);
        return true;
    }
    const bool clicked = button && pressed_ == index && pressedButton_ == button;
    const bool wasPressed = pressedButton_.has_value();
    updateRow(pressed_);
    pressed_ = QPersistentModelIndex();
    pressedButton_.reset();
    if (clicked) press(index, *button);
    return wasPressed;
}

bool TransferRowDelegate::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseMove:
        if (watched == view_->viewport())
            hover(static_cast<QMouseEvent*>(event)->position().toPoint());
        break;
    case QEvent::Leave:
        if (watched == view_->viewport()) hover(QPoint(-1, -1));
        break;
    case QEvent::MouseButtonRelease:
        // A press that left its button ends without a click wherever it is let go.
        if (watched == view_->viewport() && pressedButton_ &&
            view_->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint()) != pressed_) {
            updateRow(pressed_);
            pressed_ = QPersistentModelIndex();
            pressedButton_.reset();
        }
        break;
    case QEvent::KeyPress:
        if (watched == view_ && keyPress(static_cast<QKeyEvent*>(event))) return true;
        break;
    case QEvent::ContextMenu: {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        if (menuEvent->reason() == QContextMenuEvent::Keyboard) {
            const QModelIndex current = view_->currentIndex();
            if (!current.isValid()) break;
            const QRect shown = geometry(view_->visualRect(current), current).name;
            showMenu(current, view_->viewport()->mapToGlobal(shown.bottomLeft()));
            return true;
        }
        if (watched != view_->viewport()) break;
        const QModelIndex index = view_->indexAt(menuEvent->pos());
        if (!index.isValid()) break;
        showMenu(index, menuEvent->globalPos());
        return true;
    }
    default:
        break;
    }
    // Not the base class's: it takes what it watches for an editor.
    return false;
}

void TransferRowDelegate::hover(const QPoint& at)
{
    const QModelIndex index = view_->indexAt(at);
    const std::optional<Button> button = buttonAt(index, at);
    if (QPersistentModelIndex(index) == hovered_ && button == hoveredButton_) return;
    updateRow(hovered_);
    hovered_ = button ? QPersistentModelIndex(index) : QPersistentModelIndex();
    hoveredButton_ = button;
    updateRow(hovered_);
}

bool TransferRowDelegate::keyPress(QKeyEvent* event)
{
    const QModelIndex current = view_->currentIndex();
    const QList<Button> offered = buttons(current);
    if (offered.isEmpty() || event->modifiers() & ~Qt::KeypadModifier) return false;
    const std::optional<Button> focus = focusedButton();
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int step = event->key() == Qt::Key_Left ? -1 : 1;
        const int at = std::clamp(int(offered.indexOf(*focus)) + step, 0, int(offered.size()) - 1);
        focused_ = current;
        focusedButton_ = offered[at];
        updateRow(current);
        return true;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        press(current, *focus);
        return true;
    default:
        return false;
    }
}

void TransferRowDelegate::press(const QModelIndex& index, Button button)
{
    const QUuid id = index.data(TransferListModel::IdRole).toUuid();
    switch (button) {
    case Button::Retry:
        Q_EMIT retryRequested(id);
        break;
    case Button::Pause:
        Q_EMIT pauseRequested(id, !index.data(TransferListModel::PausedRole).toBool());
        break;
    case Button::Cancel:
        Q_EMIT cancelRequested(id);
        break;
    case Button::More: {
        const QRect rect = buttonRect(index, button);
        showMenu(index, view_->viewport()->mapToGlobal(rect.bottomLeft()));
        break;
    }
    }
}

QMenu* TransferRowDelegate::makeMenu(const QModelIndex& index, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    const QUuid id = index.data(TransferListModel::IdRole).toUuid();
    QAction* up =
        menu->addAction(tr("Move Up"), this, [this, id] { Q_EMIT moveRequested(id, -1); });
    up->setEnabled(index.data(TransferListModel::CanMoveUpRole).toBool());
    QAction* down =
        menu->addAction(tr("Move Down"), this, [this, id] { Q_EMIT moveRequested(id, 1); });
    down->setEnabled(index.data(TransferListModel::CanMoveDownRole).toBool());
    menu->addSeparator();
    const QString revealed = index.data(TransferListModel::RevealPathRole).toString();
    menu->addAction(tr("Show in File Manager"), menu,
                    [revealed] { revealInFileManager(revealed); });
    return menu;
}

void TransferRowDelegate::showMenu(const QModelIndex& index, const QPoint& globalPos)
{
    if (menu_) menu_->close();
    // Not modal: the queue goes on changing while the menu is open.
    menu_ = makeMenu(index, view_);
    menu_->setAttribute(Qt::WA_DeleteOnClose);
    menu_->popup(globalPos);
}

bool TransferRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip && buttonAt(index, event->pos()) == Button::More) {
        QToolTip::showText(event->globalPos(), buttonText(index, Button::More), view,
                           buttonRect(index, Button::More));
        return true;
    }
    // A failure cut short reads in full in its tooltip.
    if (event->type() == QEvent::ToolTip && index.isValid()) {
        const QString error = index.data(TransferListModel::ErrorRole).toString();
        const QRect detail = geometry(option.rect, index).detail;
        if (!error.isEmpty() && detail.contains(event->pos()) &&
            QFontMetrics(TransferRowGeometry::smallFont()).horizontalAdvance(error) >
                detail.width()) {
            QToolTip::showText(event->globalPos(), error, view, detail);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

void TransferRowDelegate::updateRow(const QPersistentModelIndex& index) const
{
    if (index.isValid()) view_->update(index);
}
