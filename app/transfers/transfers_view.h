#pragma once

#include "transfer_item.h"
#include "ui/model_connections.h"
#include "ui/section_view.h"

#include <QPointer>

class EmptyState;
class ElidedLabel;
class QAction;
class QLabel;
class QMenu;
class QToolButton;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class WorkspaceModel;

// One copy job: its status, name, destination, progress while copying and
// the failure, with "Pause" or "Resume", "Cancel" or "Retry" as the status
// allows, and a menu (also on a right click) to move a queued job up or down
// the queue and to show its item in the file manager.
class TransferRow : public QWidget {
    Q_OBJECT
public:
    explicit TransferRow(QWidget* parent = nullptr);
    void show(const TransferItem& item);
    const TransferItem& item() const { return item_; }

    QString name() const;
    QString statusText() const;
    QString destinationText() const;
    // Empty unless the progress line is shown.
    QString progressText() const;
    // Empty unless the job has a failure to show.
    QString errorText() const;
    QPushButton* retryButton() const { return retry_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* pauseButton() const { return pause_; }
    QProgressBar* progressBar() const { return progress_; }
    QMenu* menu() const { return menu_; }
    QAction* moveUpAction() const { return moveUp_; }
    QAction* moveDownAction() const { return moveDown_; }
    QAction* revealAction() const { return reveal_; }
    // Whether the job can start earlier or later than it will now.
    void setMovable(bool earlier, bool later);
    // What "Show in File Manager" shows: where the item is now, once placed,
    // else its source.
    QString revealedPath() const;

Q_SIGNALS:
    void retry(const QUuid& id);
    void cancel(const QUuid& id);
    void pause(const QUuid& id, bool paused);
    void reorder(const QUuid& id, int step);

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void showStatusSymbol();

    TransferItem item_{QString(), QString()};
    std::optional<TransferStatus> shownStatus_;
    bool shownPaused_ = false;
    QLabel* symbol_;
    QLabel* name_;
    QLabel* status_;
    QLabel* destination_;
    QPushButton* retry_;
    QPushButton* pause_;
    QPushButton* cancel_;
    QToolButton* more_;
    QMenu* menu_;
    QAction* moveUp_;
    QAction* moveDown_;
    QAction* reveal_;
    QProgressBar* progress_;
    QLabel* bytes_;
    ElidedLabel* error_;
};

// The Transfer Queue section: every copy job of the shared queue, in queue
// order, narrowed by the search text. Rows are made as they scroll into view.
class TransfersView : public SectionView {
    Q_OBJECT
public:
    // Rows made at first and each time the list is scrolled near its end.
    static constexpr int rowPage = 40;

    explicit TransfersView(QWidget* parent = nullptr);
    ~TransfersView() override;
    void setModel(WorkspaceModel* model) override;
    QAbstractScrollArea* scrollBody() const override;

    // The rows made so far, in queue order.
    const QList<TransferRow*>& rows() const { return rows_; }
    // The jobs the search leaves, made into rows or not.
    int shownCount() const { return int(shown_.size()); }
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
    QScrollArea* scrollArea() const { return scroll_; }

private:
    void updateHeader();
    void updateRows();
    void updateQueueControls();
    void buildMoreIfNear();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    QList<QMetaObject::Connection> storeConnections_;
    QList<TransferItem> shown_;
    QList<TransferRow*> rows_;
    int built_ = rowPage;
    QScrollArea* scroll_;
    QLabel* subtitle_;
    QLabel* remaining_;
    QPushButton* pauseQueue_;
    QPushButton* clear_;
    QPushButton* add_;
    EmptyState* empty_;
    QLabel* noMatch_;
    QWidget* list_;
    QVBoxLayout* rowLayout_;
};
