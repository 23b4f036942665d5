#pragma once

#include <QAbstractButton>

class StorageNode;

// One folder or file of the storage hierarchy: symbol, name, file count,
// bytes and, where pressing drills down, a chevron.
class StorageRow : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int height = 32;

    explicit StorageRow(QWidget* parent = nullptr);
    // `node` must outlive the row's use of it (the view keeps the tree).
    void set(const StorageNode* node, bool drill);
    const StorageNode* node() const { return node_; }
    bool drills() const { return drill_; }
    QSize sizeHint() const override { return {300, height}; }

    // The same drawing for the tree layout's delegate.
    static void paint(QPainter& painter, const QRectF& rect, const StorageNode& node, bool drill,
                      bool highlighted);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    const StorageNode* node_ = nullptr;
    bool drill_ = false;
    bool hovered_ = false;
};
