#pragma once

#include "storage_node.h"

#include <QStyledItemDelegate>

Q_DECLARE_METATYPE(const StorageNode*)

// A folder or file of the storage hierarchy: symbol, name, file count, bytes
// and, where pressing drills down, a chevron. Highlighted under the mouse and
// on the keyboard's row.
class StorageRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // What the storage models give the delegate.
    enum Role {
        NodeRole = Qt::UserRole + 1, // const StorageNode*
        DrillsRole,                  // bool: a folder's row drills down
    };
    static constexpr int height = 32;
    // What both storage models answer for `node` (name, path, the node itself)
    // under `role`; null for other roles.
    static QVariant nodeData(const StorageNode* node, int role);

    // `spacing`: the gap under every row but the last.
    explicit StorageRowDelegate(int spacing = 0, QObject* parent = nullptr);
    int spacing() const { return spacing_; }
    // The height of `rows` rows with the gaps between them.
    int listHeight(int rows) const;

    // One row in `rect`; the chevron only for a folder whose row drills.
    static void paint(QPainter& painter, const QRectF& rect, const StorageNode& node, bool drill,
                      bool highlighted);
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    int spacing_;
};
