#pragma once

#include "ui/model_connections.h"

#include <QPointer>
#include <QWidget>

class ElidedLabel;
class QLabel;
class QPushButton;
class WorkspaceModel;

// The selected file across the bottom of the window: icon, name, path,
// "Extract text" and "Preview in Quorvane".
class DetailDrawer : public QWidget {
    Q_OBJECT
public:
    explicit DetailDrawer(QWidget* parent = nullptr);
    void setModel(WorkspaceModel* model);
    // Whether the drawer belongs on screen: details on and a file selected.
    bool wanted() const;
    QPushButton* extractButton() const { return extract_; }
    ElidedLabel* nameLabel() const { return name_; }
    // Pictures and PDFs, by extension in any case.
    static bool canExtractText(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void update();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    QLabel* icon_;
    ElidedLabel* name_;
    ElidedLabel* path_;
    QPushButton* extract_;
};
