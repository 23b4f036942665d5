#pragma once

#include "analysis/storage_children_list.h"
#include "analysis/storage_children_model.h"
#include "analysis/storage_hierarchy_view.h"

#include <QTest>
#include <gtest/gtest.h>

// The nodes of the Storage Analyzer's root layout rows, top to bottom.
inline QList<const StorageNode*> storageRows(const StorageHierarchyView& hierarchy)
{
    QList<const StorageNode*> nodes;
    const StorageChildrenModel& model = *hierarchy.rowModel();
    for (int row = 0; row < model.rowCount(); ++row)
        nodes << model.node(model.index(row));
    return nodes;
}

inline QStringList storageRowNames(const StorageHierarchyView& hierarchy)
{
    QStringList names;
    for (const StorageNode* node : storageRows(hierarchy))
        names << node->name();
    return names;
}

// Clicks `row` of the root layout where it is drawn.
inline void clickStorageRow(const StorageHierarchyView& hierarchy, int row)
{
    StorageChildrenList* list = hierarchy.rows();
    const QModelIndex index = list->model()->index(row, 0);
    ASSERT_TRUE(index.isValid()) << "no row " << row;
    // The list takes its new height when the page lays out again.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return list->isVisible() && list->viewport()->rect().contains(list->visualRect(index));
    })) << "row "
        << row << " is not drawn";
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
}
