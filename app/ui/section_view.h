#pragma once

#include <QWidget>

class QAbstractScrollArea;
class QScrollArea;
class QVBoxLayout;
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
    // The part that scrolls by itself (a grid, a long list), which the window
    // gives a full screen once the heading has scrolled away; null when the
    // view is short and scrolls as a whole.
    virtual QAbstractScrollArea* scrollBody() const { return nullptr; }

Q_SIGNALS:
    void scrollBodyChanged();

protected:
    // Fills the view with one frameless scroll area and returns the padded
    // column of its content, for views that scroll as a whole.
    QVBoxLayout* makeScrollingColumn(QScrollArea*& scroll);
};
