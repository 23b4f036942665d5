#pragma once

#include <QFileDialog>

// Picks files and folders together: a click selects a folder like a file,
// a double click still opens it. The desktop's own dialog can't do both at
// once, so this is Qt's.
class ItemsDialog : public QFileDialog {
    Q_OBJECT
public:
    ItemsDialog(QWidget* parent, const QString& prompt, const QString& folder);

public Q_SLOTS:
    void accept() override;
};
