#include "timeline/file_rows.h"

#include "file_size_format.h"
#include "ui/file_menu.h"
#include "ui/media_thumbnail.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/thumbnail_requests.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QApplication>
#include <QFileInfo>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolTip>

namespace {

constexpr int padding = 10;
constexpr int menuWidth = 22;
constexpr int sizeWidth = 80;

int previewWidth()
{
    // As wide as a push button with this label would be.
    static const int width = [] {
        QPushButton probe(QStringLiteral("Preview"));
        return probe.sizeHint().width();
    }();
    return width;
}

} // namespace

FileRows::FileRows(QWidget* parent) : QWidget(parent), thumbnails_(new ThumbnailRequests(400, this))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(thumbnails_, &ThumbnailRequests::ready, this, [this](const QString& path) {
        const int row = rowOfPath_.value(path, -1);
        if (row >= 0) QWidget::update(rowRect(row));
    });
}

FileRows::~FileRows() = default;

void FileRows::setModel(WorkspaceModel* model)
{
    model_ = model;
}

void FileRows::setFiles(QList<FileEntry> files)
{
    if (files == files_) return;
    files_ = std::move(files);
    rowOfPath_.clear();
    for (int row = 0; row < files_.size(); ++row)
        rowOfPath_.insert(files_[row].path, row);
    hover_ = pressed_ = {};
    current_ = std::clamp(current_, 0, std::max(0, count() - 1));
    updateGeometry();
    setFixedHeight(sizeHint().height());
    QWidget::update();
}

int FileRows::pendingThumbnails() const
{
    return thumbnails_->pending();
}

QSize FileRows::sizeHint() const
{
    const int n = count();
    return {400, n == 0 ? 0 : n * rowHeight + (n - 1) * spacing};
}

QSize FileRows::minimumSizeHint() const
{
    return {240, sizeHint().height()};
}

QRect FileRows::rowRect(int row) const
{
    return {0, row * (rowHeight + spacing), width(), rowHeight};
}

QRect FileRows::menuRect(int row) const
{
    const QRect r = rowRect(row);
    return {r.right() - padding - menuWidth + 1, r.top() + (rowHeight - 22) / 2, menuWidth, 22};
}

QRect FileRows::previewRect(int row) const
{
    const QRect menu = menuRect(row);
    const int w = previewWidth();
    return {menu.left() - 12 - w, rowRect(row).top() + (rowHeight - 26) / 2, w, 26};
}

int FileRows::rowAt(const QPoint& point) const
{
    if (point.y() < 0 || point.x() < 0 || point.x() >= width()) return -1;
    const int row = point.y() / (rowHeight + spacing);
    if (row >= count() || !rowRect(row).contains(point)) return -1;
    return row;
}

FileRows::Hit FileRows::hitAt(const QPoint& point) const
{
    const int row = rowAt(point);
    if (row < 0) return {};
    if (previewRect(row).contains(point)) return {row, Part::Preview};
    if (menuRect(row).contains(point)) return {row, Part::Menu};
    return {row, Part::None};
}

void FileRows::setHover(Hit hit)
{
    if (hit == hover_) return;
    if (hover_.row >= 0) QWidget::update(rowRect(hover_.row));
    hover_ = hit;
    if (hover_.row >= 0) QWidget::update(rowRect(hover_.row));
}

void FileRows::paintEvent(QPaintEvent* event)
{
    if (files_.isEmpty()) return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect exposed = event->rect();
    const int first = std::max(0, exposed.top() / (rowHeight + spacing));
    const int last = std::min(count() - 1, exposed.bottom() / (rowHeight + spacing));

    const QFont nameFont = UiStyle::font(12, QFont::Medium);
    const QFont captionFont = UiStyle::font(10);
    const QColor text = palette().color(QPalette::WindowText);
    const QColor secondary = UiStyle::secondaryText();
    const QPixmap ellipsis = symbolPixmap(QStringLiteral("ellipsis"), 16, secondary);

    for (int row = first; row <= last; ++row) {
        const FileEntry& file = files_[row];
        const QRect r = rowRect(row);
        UiStyle::card(painter, QRectF(r), 8, UiStyle::withAlpha(Palette::surface(), 0.5));

        const QRectF thumb(r.left() + padding, r.top() + padding, 32, 32);
        MediaThumbnail::paint(painter, thumb, file, thumbnails_->image(file, thumbnailEdge), 16);

        const QRect preview = previewRect(row);
        const QRect menu = menuRect(row);
        const QRect size(preview.left() - 12 - sizeWidth, r.top(), sizeWidth, rowHeight);
        const int textLeft = int(thumb.right()) + 12;
        const QRect texts(textLeft, r.top() + padding, std::max(0, size.left() - 12 - textLeft),
                          32);

        painter.setFont(nameFont);
        painter.setPen(text);
        const QFontMetrics nameMetrics(nameFont);
        painter.drawText(QRect(texts.left(), texts.top(), texts.width(), 16),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         nameMetrics.elidedText(file.name, Qt::ElideMiddle, texts.width()));
        painter.setFont(captionFont);
        painter.setPen(secondary);
        const QFontMetrics captionMetrics(captionFont);
        const QString folder = QFileInfo(file.path).path();
        painter.drawText(QRect(texts.left(), texts.top() + 18, texts.width(), 14),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         captionMetrics.elidedText(folder, Qt::ElideMiddle, texts.width()));
        painter.setPen(text);
        painter.drawText(size, Qt::AlignRight | Qt::AlignVCenter, formatFileSize(file.size));

        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = preview;
        button.text = tr("Preview");
        button.state = QStyle::State_Enabled | QStyle::State_Raised;
        if (hover_ == Hit{row, Part::Preview}) button.state |= QStyle::State_MouseOver;
        if (pressed_ == Hit{row, Part::Preview}) button.state |= QStyle::State_Sunken;
        button.state &= ~QStyle::State_HasFocus;
        painter.save();
        style()->drawControl(QStyle::CE_PushButton, &button, &painter, this);
        painter.restore();

        if (hasFocus() && row == current_) {
            painter.setPen(QPen(Palette::blue(), 2));
            painter.setBrush(Qt::NoBrush);
            painter.drawRoundedRect(QRectF(r).adjusted(1, 1, -1, -1), 7, 7);
        }
        if (hover_ == Hit{row, Part::Menu})
            UiStyle::card(painter, QRectF(menu), 5, UiStyle::quaternaryFill());
        painter.drawPixmap(QRectF(menu.center().x() - 7.5, menu.center().y() - 7.5, 16, 16),
                           ellipsis, QRectF(ellipsis.rect()));
    }
}

void FileRows::mouseMoveEvent(QMouseEvent* event)
{
    setHover(hitAt(event->position().toPoint()));
    QWidget::mouseMoveEvent(event);
}

void FileRows::leaveEvent(QEvent* event)
{
    setHover({});
    QWidget::leaveEvent(event);
}

void FileRows::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const Hit hit = hitAt(event->position().toPoint());
    if (hit.part == Part::Menu) {
        showMenu(hit.row);
        return;
    }
    pressed_ = hit.part == Part::Preview ? hit : Hit{};
    if (pressed_.row >= 0) QWidget::update(rowRect(pressed_.row));
}

void FileRows::mouseReleaseEvent(QMouseEvent* event)
{
    const Hit pressed = pressed_;
    pressed_ = {};
    if (pressed.row < 0) return;
    QWidget::update(rowRect(pressed.row));
    if (hitAt(event->position().toPoint()) == pressed && model_ && pressed.row < count())
        model_->open(files_[pressed.row]);
}

void FileRows::showMenu(int row)
{
    if (!model_ || row >= count()) return;
    // Not exec(): the rows (a day that refiltering drops) or the model may go
    // while the menu is open. The menu goes with the rows and closes with the model.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    fillFileMenu(*menu, *model_, files_[row]);
    connect(model_, &QObject::destroyed, menu, &QMenu::close);
    Q_EMIT menuAboutToShow(row);
    menu->popup(mapToGlobal(menuRect(row).bottomLeft()));
}

void FileRows::keyPressEvent(QKeyEvent* event)
{
    if (files_.isEmpty()) {
        QWidget::keyPressEvent(event);
        return;
    }
    const int before = current_;
    switch (event->key()) {
    case Qt::Key_Up:
        current_ = std::max(0, current_ - 1);
        break;
    case Qt::Key_Down:
        current_ = std::min(count() - 1, current_ + 1);
        break;
    case Qt::Key_Home:
        current_ = 0;
        break;
    case Qt::Key_End:
        current_ = count() - 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (model_) model_->open(files_[current_]);
        return;
    case Qt::Key_Menu:
        showMenu(current_);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (current_ != before) {
        QWidget::update(rowRect(before));
        QWidget::update(rowRect(current_));
    }
}

void FileRows::focusInEvent(QFocusEvent* event)
{
    QWidget::update(rowRect(current_));
    QWidget::focusInEvent(event);
}

void FileRows::focusOutEvent(QFocusEvent* event)
{
    QWidget::update(rowRect(current_));
    QWidget::focusOutEvent(event);
}

bool FileRows::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const Hit hit = hitAt(help->pos());
        if (hit.row >= 0 && hit.part == Part::None)
            QToolTip::showText(help->globalPos(), files_[hit.row].path, this, rowRect(hit.row));
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}
