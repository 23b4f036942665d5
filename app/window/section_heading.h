#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
class WorkspaceModel;

// Breadcrumb, the section's title and subtitle, and the folder button.
class SectionHeading : public QWidget {
    Q_OBJECT
public:
    explicit SectionHeading(QWidget* parent = nullptr);
    void setModel(WorkspaceModel* model);
    QPushButton* folderButton() const { return folder_; }

private:
    QPointer<WorkspaceModel> model_;
    QLabel* crumb_;
    QLabel* title_;
    QLabel* subtitle_;
    QPushButton* folder_;
};
