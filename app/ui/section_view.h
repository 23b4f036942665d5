#pragma once

#include <QWidget>

class WorkspaceModel;

// A view that fills the window's detail column for some sections. The window
// keeps one of each kind and hands it the current section's model; a view
// resets its own paging and drill-down state when the model (the section)
// changes, and disconnects from the old one.
class SectionView : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;
    virtual void setModel(WorkspaceModel* model) = 0;
};
