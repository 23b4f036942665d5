#pragma once

#include <QWidget>

class QLabel;

// A centred symbol in a tinted rounded square, a title and a detail line.
class EmptyState : public QWidget {
    Q_OBJECT
public:
    explicit EmptyState(QWidget* parent = nullptr);
    void set(const QString& icon, const QString& title, const QString& detail);
    QString title() const;
    QString detail() const;

private:
    QLabel* icon_;
    QLabel* title_;
    QLabel* detail_;
    QString symbol_;
};
