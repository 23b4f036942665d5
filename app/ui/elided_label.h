#pragma once

#include <QLabel>

// A one-line label that cuts its text with "…" to the width it is given
// instead of asking for the width of the whole text, so a long file name
// never pushes its neighbours out of the window. The whole text is the tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(Qt::TextElideMode mode = Qt::ElideMiddle, QWidget* parent = nullptr);
    // Like UiStyle::label: the application font at `points`, secondary in the muted colour.
    static ElidedLabel* make(qreal points, QFont::Weight weight = QFont::Normal,
                             bool secondary = false, Qt::TextElideMode mode = Qt::ElideMiddle,
                             QWidget* parent = nullptr);

    void setText(const QString& text);
    QString fullText() const { return full_; }
    bool isElided() const { return QLabel::text() != full_; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void elide();

    Qt::TextElideMode mode_;
    QString full_;
};
