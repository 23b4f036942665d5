#pragma once

#include <QWidget>

class QTimer;

// A small busy indicator: a turning arc in the accent colour. Turns only while shown.
class Spinner : public QWidget {
    Q_OBJECT
public:
    explicit Spinner(int edge = 14, QWidget* parent = nullptr);
    QSize sizeHint() const override { return {edge_, edge_}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    int edge_;
    int angle_ = 0;
    QTimer* timer_;
};
