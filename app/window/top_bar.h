#pragma once

#include "ui/model_connections.h"

#include <QPointer>
#include <QWidget>

class ElidedLabel;
class QLabel;
class QLineEdit;
class QToolButton;
class WorkspaceModel;

// Back, refresh, the location, the search field and the details toggle.
class TopBar : public QWidget {
    Q_OBJECT
public:
    explicit TopBar(QWidget* parent = nullptr);
    void setModel(WorkspaceModel* model);
    QLineEdit* searchField() const { return search_; }
    QToolButton* backButton() const { return back_; }

private:
    void update();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    QToolButton* back_;
    QToolButton* refresh_;
    QToolButton* details_;
    ElidedLabel* location_;
    QLineEdit* search_;
};
