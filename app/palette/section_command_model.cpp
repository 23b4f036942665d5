#include "palette/section_command_model.h"

SectionCommandModel::SectionCommandModel(QObject* parent) : QAbstractListModel(parent)
{
    for (const Feature feature : allCases<Feature>())
        features_ << feature;
}

int SectionCommandModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(features_.size());
}

QVariant SectionCommandModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Feature feature = features_[index.row()];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return titleOf(feature);
    case FeatureRole:
        return int(feature);
    default:
        return {};
    }
}

QHash<int, QByteArray> SectionCommandModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(FeatureRole, "feature");
    return names;
}

Feature SectionCommandModel::featureAt(const QModelIndex& index)
{
    return Feature(index.data(FeatureRole).toInt());
}
