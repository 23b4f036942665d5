#pragma once

#include "file_entry.h"
#include "ui/card_frame.h"

class FileCardList;
class FileCardModel;
class QLabel;
class WorkspaceModel;

// One group of identical files: how many copies, the size of each, and a row per copy.
class DuplicateGroupCard : public CardFrame {
    Q_OBJECT
public:
    explicit DuplicateGroupCard(QWidget* parent = nullptr);
    ~DuplicateGroupCard() override;
    void set(WorkspaceModel* model, const QList<FileEntry>& group);
    QString title() const;
    FileCardModel* files() const { return files_; }
    FileCardList* rows() const { return rows_; }

private:
    QLabel* title_;
    QLabel* each_;
    FileCardModel* files_;
    FileCardList* rows_;
};
