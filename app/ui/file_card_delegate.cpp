#include "ui/file_card_delegate.h"

#include "file_size_format.h"
#include "ui/file_card_model.h"
#include "ui/file_menu.h"
#include "ui/media_thumbnail.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QToolTip>

namespace {

constexpr int timelineHeight = 52;
constexpr int sizeWidth = 80;
constexpr int gap = 12;

// As large as a push button with this label would be.
QSize previewButtonSize()
{
    static const QSize size = [] {
        QPushButton probe(QCoreApplication::translate("FileCardDelegate", "Preview"));
        return probe.sizeHint();
    }();
    return size;
}

QFont nameFont()
{
    return UiStyle::font(12, QFont::Medium);
}

QFont captionFont()
{
    return UiStyle::font(10);
}

// The height a one-line label in `font` takes, as the tools' cards laid theirs out.
int lineHeight(const QFont& font)
{
    QLabel probe(QStringLiteral("Xg"));
    probe.setFont(font);
    return probe.sizeHint().height();
}

int nameHeight()
{
    static const int height = lineHeight(nameFont());
    return height;
}

int captionHeight()
{
    static const int height = lineHeight(captionFont());
    return height;
}

const FileCardModel* cardModel(const QModelIndex& index)
{
    return qobject_cast<const FileCardModel*>(index.model());
}

} // namespace

FileCardDelegate::FileCardDelegate(Look look, int spacing, QObject* parent)
    : QStyledItemDelegate(parent), look_(look), spacing_(spacing)
{
}

int FileCardDelegate::rowHeight() const
{
    if (look_ == Look::Timeline) return timelineHeight;
    const int texts = nameHeight() + 4 + captionHeight();
    return 2 * padding + std::max(32, texts);
}

int FileCardDelegate::listHeight(int rows) const
{
    return rows <= 0 ? 0 : rows * rowHeight() + (rows - 1) * spacing_;
}

QRect FileCardDelegate::card(const QRect& item) const
{
    return {item.left(), item.top(), item.width(), rowHeight()};
}

QRect FileCardDelegate::menu(const QRect& item) const
{
    const QRect r = card(item);
    return {r.right() - padding - menuWidth + 1, r.top() + (r.height() - 22) / 2, menuWidth, 22};
}

QRect FileCardDelegate::preview(const QRect& item) const
{
    const QRect r = card(item);
    const QSize button = previewButtonSize();
    const int height = look_ == Look::Timeline ? 26 : button.height();
    return {menu(item).left() - gap - button.width(), r.top() + (r.height() - height) / 2,
            button.width(), height};
}

FileCardDelegate::Part FileCardDelegate::partAt(const QRect& item, const QPoint& point) const
{
    if (preview(item).contains(point)) return Part::Preview;
    if (menu(item).contains(point)) return Part::Menu;
    return Part::None;
}

QRect FileCardDelegate::cardRect(const QAbstractItemView& view, const QModelIndex& index) const
{
    return card(view.visualRect(index));
}

QRect FileCardDelegate::previewRect(const QAbstractItemView& view, const QModelIndex& index) const
{
    return preview(view.visualRect(index));
}

QRect FileCardDelegate::menuRect(const QAbstractItemView& view, const QModelIndex& index) const
{
    return menu(view.visualRect(index));
}

void FileCardDelegate::preview(const QModelIndex& index) const
{
    const FileCardModel* model = cardModel(index);
    if (model && model->workspace() && index.isValid())
        model->workspace()->open(model->entry(index.row()));
}

void FileCardDelegate::showMenu(QAbstractItemView& view, const QModelIndex& index) const
{
    const FileCardModel* model = cardModel(index);
    if (!model || !model->workspace() || !index.isValid()) return;
    // Not exec(): the view or the model may go while the menu is open.
    auto* menu = new QMenu(&view);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Trashing a second name of a listed file frees nothing.
    fillFileMenu(*menu, *model->workspace(), model->entry(index.row()),
                 model->sameFileAs(index.row()).isEmpty());
    connect(model->workspace(), &QObject::destroyed, menu, &QMenu::close);
    menu->popup(view.viewport()->mapToGlobal(menuRect(view, index).bottomLeft()));
}

void FileCardDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const FileCardModel* model = cardModel(index);
    if (!model) return;
    const FileEntry& file = model->entry(index.row());
    const bool timeline = look_ == Look::Timeline;
    const QRect r = card(option.rect);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    UiStyle::card(*painter, QRectF(r), 8, UiStyle::withAlpha(Palette::surface(), 0.5));

    const QFont name = nameFont();
    const QFont caption = captionFont();
    const int nameLine = timeline ? 16 : nameHeight();
    const int captionTop = timeline ? 18 : nameLine + 4;
    const int captionLine = timeline ? 14 : captionHeight();
    const int content = r.height() - 2 * padding;
    const QRectF thumb(r.left() + padding, r.top() + padding + (timeline ? 0 : (content - 32) / 2),
                       32, 32);
    MediaThumbnail::paint(*painter, thumb, file, model->thumbnail(index.row(), thumbnailEdge),
                          timeline ? 16 : 32 * 0.6);

    const QRect previewButton = preview(option.rect);
    const QRect menuButton = menu(option.rect);
    const QColor text = option.palette.color(QPalette::WindowText);
    const QColor secondary = UiStyle::secondaryText();
    const QFont sizeFont = timeline ? caption : UiStyle::digits(10);
    const QString size = formatFileSize(file.size);
    const int sizeRoom =
        timeline ? sizeWidth : QFontMetrics(sizeFont).boundingRect(QRect(), 0, size).width();
    const QRect sizeRect(previewButton.left() - gap - sizeRoom, r.top(), sizeRoom, r.height());
    const int textLeft = int(thumb.right()) + gap;
    const int textWidth = std::max(0, sizeRect.left() - gap - textLeft);

    painter->setFont(name);
    painter->setPen(text);
    painter->drawText(QRect(textLeft, r.top() + padding, textWidth, nameLine),
                      Qt::AlignLeft | Qt::AlignVCenter,
                      QFontMetrics(name).elidedText(file.name, Qt::ElideMiddle, textWidth));
    painter->setFont(caption);
    painter->setPen(secondary);
    painter->drawText(
        QRect(textLeft, r.top() + padding + captionTop, textWidth, captionLine),
        Qt::AlignLeft | Qt::AlignVCenter,
        QFontMetrics(caption).elidedText(index.data(FileCardModel::DetailRole).toString(),
                                         Qt::ElideMiddle, textWidth));
    painter->setFont(sizeFont);
    painter->setPen(text);
    painter->drawText(sizeRect, Qt::AlignRight | Qt::AlignVCenter, size);

    const bool hovered = (option.state & QStyle::State_MouseOver) && hover_ == index;
    QStyleOptionButton button;
    if (option.widget) button.initFrom(option.widget);
    button.rect = previewButton;
    button.text = tr("Preview");
    button.state = QStyle::State_Enabled | QStyle::State_Raised;
    if (hovered && hoverPart_ == Part::Preview) button.state |= QStyle::State_MouseOver;
    if (pressed_ == index && (QApplication::mouseButtons() & Qt::LeftButton))
        button.state |= QStyle::State_Sunken;
    QStyle* style = option.widget ? option.widget->style() : QApplication::style();
    painter->save();
    // The tools' buttons were widgets with the buttons' own font.
    if (!timeline) painter->setFont(QApplication::font("QPushButton"));
    style->drawControl(QStyle::CE_PushButton, &button, painter, option.widget);
    painter->restore();

    if (option.state & QStyle::State_HasFocus) {
        painter->setPen(QPen(Palette::blue(), 2));
        painter->setBrush(Qt::NoBrush);
        painter->drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 7, 7);
    }
    if (hovered && hoverPart_ == Part::Menu)
        UiStyle::card(*painter, QRectF(menuButton), 5, UiStyle::quaternaryFill());
    // The tools' menu buttons drew the symbol in the text's ink.
    const QPixmap ellipsis =
        symbolPixmap(QStringLiteral("ellipsis"), 16, timeline ? secondary : QColor());
    painter->drawPixmap(
        QRectF(menuButton.center().x() - 7.5, menuButton.center().y() - 7.5, 16, 16), ellipsis,
        QRectF(ellipsis.rect()));
    painter->restore();
}

QSize FileCardDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const
{
    // No gap after the last row, so the rows fill the list exactly and it never scrolls.
    const bool last = index.row() + 1 >= index.model()->rowCount(index.parent());
    return {240, rowHeight() + (last ? 0 : spacing_)};
}

void FileCardDelegate::setHover(const QStyleOptionViewItem& option, const QModelIndex& index,
                                Part part)
{
    if (hover_ == index && hoverPart_ == part) return;
    auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(option.widget));
    if (view && hover_.isValid()) view->update(hover_);
    hover_ = index;
    hoverPart_ = part;
    if (view) view->update(index);
}

bool FileCardDelegate::editorEvent(QEvent* event, QAbstractItemModel*,
                                   const QStyleOptionViewItem& option, const QModelIndex& index)
{
    auto* view = qobject_cast<QAbstractItemView*>(const_cast<QWidget*>(option.widget));
    switch (event->type()) {
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        setHover(option, index, partAt(option.rect, mouse->position().toPoint()));
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        pressed_ = QPersistentModelIndex();
        if (mouse->button() != Qt::LeftButton) return false;
        const Part part = partAt(option.rect, mouse->position().toPoint());
        if (part == Part::Menu && view) {
            showMenu(*view, index);
            return true;
        }
        if (part != Part::Preview) return false;
        pressed_ = index;
        return true;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPersistentModelIndex pressed = pressed_;
        pressed_ = QPersistentModelIndex();
        if (!pressed.isValid()) return false;
        if (pressed == index && partAt(option.rect, mouse->position().toPoint()) == Part::Preview)
            preview(index);
        return true;
    }
    default:
        return false;
    }
}

bool FileCardDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QRect r = card(option.rect);
    const Part part = partAt(option.rect, event->pos());
    if (part == Part::Menu)
        QToolTip::showText(event->globalPos(), tr("More actions"), view->viewport(),
                           menu(option.rect));
    else if (part == Part::None && r.contains(event->pos()))
        QToolTip::showText(event->globalPos(), index.data(Qt::ToolTipRole).toString(),
                           view->viewport(), r);
    else
        QToolTip::hideText();
    return true;
}
