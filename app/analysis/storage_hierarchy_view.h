#pragma once

#include "ui/card_frame.h"
#include "ui/model_connections.h"

#include <QPointer>
#include <memory>
#include <optional>

class QButtonGroup;
class QLabel;
class QPushButton;
class QTreeView;
class StorageChildrenList;
class StorageChildrenModel;
class StorageNode;
class StorageTreeModel;
class WorkspaceModel;

// The folders and files of the scanned tree, largest first, one level at a
// time with drill-down and "Up", or as an expandable outline.
class StorageHierarchyView : public CardFrame {
    Q_OBJECT
public:
    enum class Layout { Root, Tree };
    static constexpr int childStep = 100;

    explicit StorageHierarchyView(QWidget* parent = nullptr);
    ~StorageHierarchyView() override;
    // A new model starts at the root, the root layout and the first page.
    void setModel(WorkspaceModel* model);

    Layout layout() const { return layout_; }
    void setLayout(Layout layout);
    const std::optional<QString>& drilledPath() const { return drilledPath_; }
    void setDrilledPath(std::optional<QString> path);
    int childLimit() const;
    void showMoreChildren();
    // The node whose children are listed: the drilled node, else the root.
    const StorageNode* shownNode() const;

    // For tests and keyboard users.
    // The root layout's list; its model has no rows while another page shows.
    StorageChildrenList* rows() const { return rows_; }
    StorageChildrenModel* rowModel() const { return rowModel_; }
    QPushButton* rootButton() const { return root_; }
    QPushButton* upButton() const { return up_; }
    QPushButton* moreButton() const { return more_; }
    QString pathText() const;
    QString statusText() const;
    QTreeView* outline() const { return outline_; }
    // Presses the row as a user would: drills into a folder, opens a file.
    void press(const StorageNode& node, bool drill);

    // The title of the root button in a folder scope: the root's name, or for
    // the file system's root, which has none, "File System".
    static QString rootName(const StorageNode* root, const QString& folder);

private:
    void update();
    void showPage(int page);

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    std::shared_ptr<const StorageNode> tree_;
    Layout layout_ = Layout::Root;
    std::optional<QString> drilledPath_;

    QButtonGroup* picker_;
    QPushButton* root_;
    QLabel* path_;
    QPushButton* up_;
    QWidget* body_;
    int page_ = -1;
    QLabel* status_;
    QWidget* busy_;
    QWidget* list_;
    StorageChildrenModel* rowModel_;
    StorageChildrenList* rows_;
    QPushButton* more_;
    QTreeView* outline_;
    StorageTreeModel* outlineModel_;
};
