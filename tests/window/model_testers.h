#pragma once

#include <QAbstractItemModel>
#include <QAbstractItemModelTester>
#include <QObject>
#include <QPointer>
#include <QSet>

// Puts a fatal QAbstractItemModelTester on every item model under `root`,
// including models made after the first call: call watch() again after
// showing a new section.
class ModelTesters {
public:
    explicit ModelTesters(QObject* root) : root_(root) { watch(); }

    void watch()
    {
        if (!root_) return;
        for (QAbstractItemModel* model : root_->findChildren<QAbstractItemModel*>()) {
            if (watched_.contains(model)) continue;
            watched_.insert(model);
            new QAbstractItemModelTester(
                model, QAbstractItemModelTester::FailureReportingMode::Fatal, model);
        }
    }
    qsizetype count() const { return watched_.size(); }

private:
    QPointer<QObject> root_;
    QSet<QAbstractItemModel*> watched_;
};
