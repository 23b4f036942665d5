#pragma once

#include <QObject>
#include <QPointer>

class TransferStore;

// Shows the queue on the desktop's launcher (docks and panels that follow the
// com.canonical.Unity.LauncherEntry "Update" signal): how far the jobs since
// the queue was last idle have come, and how many are left.
class LauncherProgress : public QObject {
    Q_OBJECT
public:
    static constexpr const char* path = "/com/canonical/unity/launcherentry/quorvane";
    static constexpr const char* appUri = "application://quorvane.desktop";

    LauncherProgress(TransferStore& store, QObject* parent = nullptr);

private:
    void update();

    QPointer<TransferStore> store_;
    // The most there was to copy since the queue was last idle.
    qint64 peak_ = 0;
    int shownPercent_ = -1;
    qsizetype shownCount_ = -1;
};
