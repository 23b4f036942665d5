#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <functional>

class TransferStore;

// Tells the desktop (an org.freedesktop.Notifications notification) that the
// queue is done, when it ran for at least `longEnough` milliseconds and the
// window is not the one in use then.
class QueueFinishedNotice : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 defaultLongEnough = 20000;

    QueueFinishedNotice(TransferStore& store, std::function<bool()> windowActive,
                        qint64 longEnough = defaultLongEnough, QObject* parent = nullptr);

    // "3 items copied, 1 failed".
    static QString summaryOf(int completed, int failed);

private:
    bool busy() const;
    void finished();

    QPointer<TransferStore> store_;
    std::function<bool()> windowActive_;
    qint64 longEnough_;
    QElapsedTimer running_;
    int completed_ = 0;
    int failed_ = 0;
};
