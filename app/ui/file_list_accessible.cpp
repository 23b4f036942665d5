#include "ui/file_list_accessible.h"

#include "ui/file_list_model.h"
#include "ui/file_list_view.h"

#include <QPersistentModelIndex>
#include <QPointer>

namespace {

class FileItemAccessible : public QAccessibleInterface {
public:
    FileItemAccessible(FileListView* view, const QModelIndex& index) : view_(view), index_(index) {}

    bool isValid() const override { return view_ && index_.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return QAccessible::queryAccessibleInterface(view_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid()) return {};
        switch (kind) {
        case QAccessible::Name:
            return index_.data(Qt::AccessibleTextRole).toString();
        case QAccessible::Description:
            return index_.data(Qt::AccessibleDescriptionRole).toString();
        default:
            return {};
        }
    }

    QRect rect() const override
    {
        if (!isValid()) return {};
        const QRect local = view_->visualRect(index_);
        return QRect(view_->viewport()->mapToGlobal(local.topLeft()), local.size());
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.multiSelectable = true;
        state.focusable = true;
        state.selected = index_.data(FileListModel::SelectedRole).toBool();
        state.focused = view_->hasFocus() && view_->currentIndex() == index_;
        state.offscreen = !view_->viewport()->rect().intersects(view_->visualRect(index_));
        return state;
    }

    int row() const { return index_.row(); }

private:
    QPointer<FileListView> view_;
    QPersistentModelIndex index_;
};

} // namespace

FileListAccessible::FileListAccessible(FileListView* view)
    : QAccessibleWidget(view, QAccessible::List)
{
}

FileListAccessible::~FileListAccessible()
{
    for (QAccessible::Id id : std::as_const(items_))
        QAccessible::deleteAccessibleInterface(id);
}

void FileListAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString& className, QObject* object) {
            auto* view = className == QLatin1String("FileListView")
                             ? qobject_cast<FileListView*>(object)
                             : nullptr;
            return view ? static_cast<QAccessibleInterface*>(new FileListAccessible(view))
                        : nullptr;
        });
        return true;
    }();
    Q_UNUSED(installed);
}

FileListView* FileListAccessible::view() const
{
    return static_cast<FileListView*>(widget());
}

int FileListAccessible::childCount() const
{
    return view()->model() ? view()->model()->rowCount() : 0;
}

QAccessibleInterface* FileListAccessible::child(int index) const
{
    if (index < 0 || index >= childCount()) return nullptr;
    const auto known = items_.constFind(index);
    if (known != items_.cend()) {
        QAccessibleInterface* item = QAccessible::accessibleInterface(*known);
        // A reload replaces the rows: an item of the old list is made again.
        if (item && item->isValid() && static_cast<FileItemAccessible*>(item)->row() == index)
            return item;
        QAccessible::deleteAccessibleInterface(*known);
        items_.remove(index);
    }
    auto* item = new FileItemAccessible(view(), view()->model()->index(index, 0));
    items_.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int FileListAccessible::indexOfChild(const QAccessibleInterface* child) const
{
    if (!child || child->role() != QAccessible::ListItem || child->parent() != this) return -1;
    const int row = static_cast<const FileItemAccessible*>(child)->row();
    return row >= 0 && row < childCount() ? row : -1;
}

QAccessibleInterface* FileListAccessible::childAt(int x, int y) const
{
    const QPoint local = view()->viewport()->mapFromGlobal(QPoint(x, y));
    const QModelIndex index = view()->indexAt(local);
    return index.isValid() ? child(index.row()) : nullptr;
}

QAccessible::State FileListAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.multiSelectable = true;
    return state;
}
