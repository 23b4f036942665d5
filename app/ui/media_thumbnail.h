#pragma once

#include "file_entry.h"

#include <QFuture>
#include <QImage>
#include <QWidget>

class QPainter;

// One file's thumbnail from the shared thumbnail store, or the kind's
// placeholder symbol until (or unless) there is one; videos get a play mark.
// For single pictures (featured file, result rows); lists use the delegates.
class MediaThumbnail : public QWidget {
    Q_OBJECT
public:
    explicit MediaThumbnail(qreal edge = 320, QWidget* parent = nullptr);
    ~MediaThumbnail() override;
    // Asks the store again only when the path (or its version) changes.
    void setFile(const FileEntry& file);
    const QImage& image() const { return image_; }

    // The shared drawing: `image` fitted into `rect`, else the placeholder.
    static void paint(QPainter& painter, const QRectF& rect, const FileEntry& file,
                      const QImage& image, qreal placeholderPoints = 40);
    // "folder.fill", "photo", "film", "waveform" or "doc.text".
    static QString placeholderSymbol(const FileEntry& file);

Q_SIGNALS:
    void imageChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal edge_;
    FileEntry file_;
    QImage image_;
    QFuture<QImage> request_;
};
