#pragma once

#include "file_entry.h"

#include <QFuture>
#include <QImage>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <memory>

class QGraphicsPixmapItem;
class QGraphicsScene;
class QGraphicsView;
class QLabel;
class QMediaPlayer;
class QAudioOutput;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QStackedLayout;
class QToolButton;
class QVideoWidget;

// One file shown large. Which subclass shows a file is decided by make().
class PreviewSurface : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Image, Player, Pdf, Generic };

    explicit PreviewSurface(QWidget* parent = nullptr) : QWidget(parent) {}
    virtual Kind kind() const = 0;
    const FileEntry& file() const { return file_; }
    // Shows `file`; does nothing when it is already shown.
    virtual void setFile(const FileEntry& file) = 0;

    static Kind kindFor(const FileEntry& file);
    static PreviewSurface* make(const FileEntry& file, QWidget* parent = nullptr);

protected:
    FileEntry file_;
};

// Text files: the first MiB read off the GUI thread into a read-only editor.
// Other files: icon, name, size, type and dates.
class GenericPreview : public PreviewSurface {
    Q_OBJECT
public:
    static constexpr qint64 textLimit = 1 << 20;

    explicit GenericPreview(QWidget* parent = nullptr);
    Kind kind() const override { return Kind::Generic; }
    void setFile(const FileEntry& file) override;
    bool showsText() const;
    QString text() const;
    QString details() const;

Q_SIGNALS:
    void textLoaded();

private:
    QStackedLayout* stack_;
    QPlainTextEdit* text_;
    QLabel* icon_;
    QLabel* name_;
    QLabel* details_;
    std::shared_ptr<std::atomic_int> generation_ = std::make_shared<std::atomic_int>(0);
};

// The picture at edge 2400 from the thumbnail store, fitted and zoomable from
// 100 % to 400 % (wheel with Ctrl, + and - keys, the slider), dragged to pan.
// Falls back to the generic preview when no picture can be made.
class ImagePreview : public PreviewSurface {
    Q_OBJECT
public:
    static constexpr qreal edge = 2400;

    explicit ImagePreview(QWidget* parent = nullptr);
    ~ImagePreview() override;
    Kind kind() const override { return Kind::Image; }
    void setFile(const FileEntry& file) override;

    bool loaded() const { return loaded_; }
    bool hasImage() const { return !image_.isNull(); }
    bool showsFallback() const;
    qreal zoom() const { return zoom_; }
    void setZoom(qreal zoom);
    QString zoomText() const;

Q_SIGNALS:
    void imageLoaded();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void showImage(const QImage& image);
    void applyZoom();

    QStackedLayout* stack_;
    QGraphicsView* view_;
    QGraphicsScene* scene_;
    QGraphicsPixmapItem* item_;
    GenericPreview* fallback_;
    QSlider* slider_;
    QLabel* percent_;
    QImage image_;
    bool loaded_ = false;
    qreal zoom_ = 1.0;
    QFuture<QImage> request_;
};

// Video and audio through Qt Multimedia (the default GStreamer backend).
class PlayerPreview : public PreviewSurface {
    Q_OBJECT
public:
    explicit PlayerPreview(QWidget* parent = nullptr);
    ~PlayerPreview() override;
    Kind kind() const override { return Kind::Player; }
    void setFile(const FileEntry& file) override;
    QMediaPlayer* player() const { return player_; }
    QString errorText() const;

private:
    void updateControls();

    QMediaPlayer* player_;
    QAudioOutput* audio_;
    QVideoWidget* video_;
    QLabel* audioLabel_;
    QLabel* error_;
    QToolButton* play_;
    QSlider* position_;
    QSlider* volume_;
    QLabel* time_;
    bool seeking_ = false;
};

// PDF pages rendered with Poppler on a worker; only the shown page is rendered
// and a render nobody waits for any more is dropped.
class PdfPreview : public PreviewSurface {
    Q_OBJECT
public:
    explicit PdfPreview(QWidget* parent = nullptr);
    ~PdfPreview() override;
    Kind kind() const override { return Kind::Pdf; }
    void setFile(const FileEntry& file) override;

    int pageCount() const { return pageCount_; }
    int page() const { return page_; }
    void setPage(int page);
    bool hasPageImage() const { return !pageImage_.isNull(); }
    QString errorText() const;

Q_SIGNALS:
    void documentLoaded();
    void pageRendered();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    struct Document;
    void render();
    void updateControls();

    std::shared_ptr<Document> document_;
    std::shared_ptr<std::atomic_int> generation_ = std::make_shared<std::atomic_int>(0);
    int pageCount_ = 0;
    int page_ = 0;
    qreal zoom_ = 1.0;
    QImage pageImage_;
    QLabel* pageView_;
    QLabel* status_;
    QToolButton* previous_;
    QToolButton* next_;
    QLabel* pageLabel_;
    QSlider* zoomSlider_;
};
