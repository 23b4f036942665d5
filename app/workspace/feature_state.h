#pragma once

#include "library_result.h"
#include "media_filter.h"
#include "media_metadata.h"
#include "sections/browser_mode.h"
#include "sections/library_scope.h"
#include "storage_node.h"
#include "storage_report.h"
#include "workspace/section_list.h"

#include <QHash>
#include <QSet>
#include <memory>
#include <optional>

// What a model keeps of a section when it switches to another one itself.
struct FeatureState {
    QString folder;
    SectionList list;
    BrowserMode mode = BrowserMode::Grid;
    std::optional<StorageReport> report;
    QList<QList<FileEntry>> groups;
    QHash<QString, QString> sameFileAs;
    MediaFilter mediaFilter;
    LibraryScope libraryScope = LibraryScope::Mac;
    QSet<QString> screenshots;
    LibraryResult libraryResult;
    QHash<QString, MediaMetadata> metadata;
    QHash<QString, FileEntry> metadataVersions;
    std::shared_ptr<const StorageNode> storageTree;
};
