#pragma once

#include "analysis/row_pool.h"
#include "file_entry.h"
#include "ui/card_frame.h"

#include <memory>

class QLabel;
class ToolFileRow;
class WorkspaceModel;

// One group of identical files: how many copies, the size of each, and a row per copy.
class DuplicateGroupCard : public CardFrame {
    Q_OBJECT
public:
    explicit DuplicateGroupCard(QWidget* parent = nullptr);
    ~DuplicateGroupCard() override;
    void set(WorkspaceModel* model, const QList<FileEntry>& group);
    QString title() const;
    QList<ToolFileRow*> rows() const;

private:
    QLabel* title_;
    QLabel* each_;
    std::unique_ptr<RowPool<ToolFileRow>> rows_;
};
