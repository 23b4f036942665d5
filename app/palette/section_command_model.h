#pragma once

#include "sections/feature.h"

#include <QAbstractListModel>

// Every section as a command of the palette, in sidebar order.
class SectionCommandModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { FeatureRole = Qt::UserRole + 1 };

    explicit SectionCommandModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    static Feature featureAt(const QModelIndex& index);

private:
    QList<Feature> features_;
};
