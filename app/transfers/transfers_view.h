#pragma once

#include "ui/model_connections.h"
#include "ui/section_view.h"

#include <QPointer>

class EmptyState;
class FittedStack;
class QLabel;
class QListView;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class TransferListModel;
class TransferRowDelegate;
class WorkspaceModel;

// The Transfer Queue section: every copy job of the shared queue, in queue
// order, narrowed by the search text, under a header that pauses the queue,
// clears finished jobs, adds files and says what is left to copy.
class TransfersView : public SectionView {
    Q_OBJECT
public:
    explicit TransfersView(QWidget* parent = nullptr);
    ~TransfersView() override;
    void setModel(WorkspaceModel* model) override;
    QAbstractScrollArea* scrollBody() const override;

    QListView* list() const { return list_; }
    TransferListModel* transfers() const { return transfers_; }
    TransferRowDelegate* rowDelegate() const { return delegate_; }
    // The jobs the search leaves.
    int shownCount() const;
    QPushButton* clearButton() const { return clear_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* pauseQueueButton() const { return pauseQueue_; }
    QString subtitle() const;
    // What is left to copy ("12 MB left, about 3 min"); empty when nothing is.
    QString remainingText() const;
    // "about 3 min" for `seconds`.
    static QString timeLeft(qint64 seconds);
    EmptyState* emptyState() const { return empty_; }
    bool showsEmptyState() const;
    bool showsNoMatch() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void updateHeader();
    void updateRows();
    void updateQueueControls();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    QList<QMetaObject::Connection> storeConnections_;
    TransferListModel* transfers_;
    QVBoxLayout* top_;
    QLabel* subtitle_;
    QLabel* remaining_;
    QPushButton* pauseQueue_;
    QPushButton* clear_;
    QPushButton* add_;
    FittedStack* body_;
    QScrollArea* emptyPage_;
    EmptyState* empty_;
    QScrollArea* noMatchPage_;
    QListView* list_;
    TransferRowDelegate* delegate_;
};
