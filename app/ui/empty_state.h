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
    // The badge, title and detail, for checking how they sit.
    QList<QLabel*> parts() const { return {icon_, title_, detail_}; }

private:
    QLabel* icon_;
    QLabel* title_;
    QLabel* detail_;
    QString symbol_;
};
