#pragma once

#include "name_conflict.h"

#include <QHash>
#include <QMessageBox>

class QCheckBox;

// Asks what to do with an item whose name is taken in the destination:
// "Replace", "Skip", "Keep both", and "Merge" when both are folders, with
// "Apply to all" for the rest of the batch.
class ConflictDialog : public QMessageBox {
    Q_OBJECT
public:
    ConflictDialog(const NameConflict& conflict, QWidget* parent = nullptr);

    // "“a.txt” already exists in “Documents”".
    static QString titleFor(const NameConflict& conflict);
    // Null for Merge unless the pair can merge.
    QAbstractButton* button(ConflictAnswer answer) const;
    QCheckBox* applyToAll() const;

Q_SIGNALS:
    // Once, when a button is pressed; closing otherwise skips.
    void answered(const ConflictChoice& choice);

private:
    QHash<QAbstractButton*, ConflictAnswer> answers_;
};
