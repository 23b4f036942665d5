#pragma once

#include <QAccessibleWidget>
#include <QHash>

class FileListView;

// What accessibility tools see of a file list: a list whose items carry the
// file's name, its kind and whether the workspace has it selected. The list
// keeps its own selection out of Qt's item selection, so the interface Qt
// gives item views would report nothing selected.
class FileListAccessible : public QAccessibleWidget {
public:
    explicit FileListAccessible(FileListView* view);
    ~FileListAccessible() override;

    // Makes accessibility tools use this interface for every FileListView.
    static void install();

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessible::State state() const override;

private:
    FileListView* view() const;

    mutable QHash<int, QAccessible::Id> items_;
};
