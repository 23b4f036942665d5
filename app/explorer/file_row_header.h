#pragma once

#include <QWidget>

class QAbstractItemView;
class QLabel;

// "NAME", "MODIFIED", "SIZE" over a list of file rows; the date and size
// headings give way together with the rows' columns when the list is narrow.
class FileRowHeader : public QWidget {
    Q_OBJECT
public:
    explicit FileRowHeader(QAbstractItemView* rows, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void follow();

    QAbstractItemView* rows_;
    QLabel* modified_;
    QLabel* size_;
};
