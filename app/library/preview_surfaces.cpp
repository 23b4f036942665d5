#include "library/preview_surfaces.h"

#include "file_size_format.h"
#include "media/thumbnail_store.h"
#include "media_metadata_reader.h"
#include "native_path.h"
#include "regular_file.h"
#include "ui/file_icon.h"
#include "ui/ui_style.h"
#include "when_finished.h"

#include <QAudioOutput>
#include <QFile>
#include <QFileInfo>
#include <QGraphicsPixmapItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMediaPlayer>
#include <QMimeDatabase>
#include <QMutex>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStackedLayout>
#include <QStringDecoder>
#include <QToolButton>
#include <QVBoxLayout>
#include <QVideoWidget>
#include <QWheelEvent>
#include <QtConcurrent>
#include <poppler-qt6.h>

namespace {

QWidget* busyIndicator(const QString& text, QWidget* parent)
{
    auto* box = new QWidget(parent);
    auto* layout = new QVBoxLayout(box);
    layout->addStretch();
    auto* bar = new QProgressBar(box);
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    bar->setFixedSize(120, 6);
    layout->addWidget(bar, 0, Qt::AlignHCenter);
    layout->addWidget(UiStyle::label(text, 10, QFont::Normal, true, box), 0, Qt::AlignHCenter);
    layout->addStretch();
    return box;
}

QToolButton* symbolButton(const QString& symbol, const QString& help, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setIcon(QIcon::fromTheme(symbol));
    button->setText(symbol.startsWith(QLatin1String("zoom-out")) ? QStringLiteral("−")
                                                                 : QStringLiteral("+"));
    button->setToolTip(help);
    button->setAutoRaise(true);
    return button;
}

QString timeText(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

PreviewSurface::Kind PreviewSurface::kindFor(const FileEntry& file)
{
    switch (file.mediaKind) {
    case MediaKind::Video:
    case MediaKind::Audio:
        // The player opens what it is given: a pipe named like a film would
        // hold its pipeline (and quitting) until some writer came.
        return isRegularFile(file.path) ? Kind::Player : Kind::Generic;
    case MediaKind::Image:
        return Kind::Image;
    default:
        if (file.ext() != QLatin1String("pdf")) return Kind::Generic;
        return isRegularFile(file.path) ? Kind::Pdf : Kind::Generic;
    }
}

PreviewSurface* PreviewSurface::make(const FileEntry& file, QWidget* parent)
{
    PreviewSurface* surface = nullptr;
    switch (kindFor(file)) {
    case Kind::Image:
        surface = new ImagePreview(parent);
        break;
    case Kind::Player:
        surface = new PlayerPreview(parent);
        break;
    case Kind::Pdf:
        surface = new PdfPreview(parent);
        break;
    case Kind::Generic:
        surface = new GenericPreview(parent);
        break;
    }
    surface->setFile(file);
    return surface;
}

// ---- GenericPreview

GenericPreview::GenericPreview(QWidget* parent) : PreviewSurface(parent)
{
    stack_ = new QStackedLayout(this);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setFrameShape(QFrame::NoFrame);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->viewport()->setAutoFillBackground(false);
    text_->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));

    auto* card = new QWidget(this);
    auto* layout = new QVBoxLayout(card);
    layout->addStretch();
    icon_ = new QLabel(card);
    icon_->setAlignment(Qt::AlignCenter);
    name_ = UiStyle::label({}, 15, QFont::DemiBold, false, card);
    name_->setAlignment(Qt::AlignCenter);
    name_->setWordWrap(true);
    details_ = UiStyle::label({}, 10, QFont::Normal, true, card);
    details_->setAlignment(Qt::AlignCenter);
    details_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(icon_);
    layout->addWidget(name_);
    layout->addWidget(details_);
    layout->addStretch();
    stack_->addWidget(card);
    stack_->addWidget(text_);
}

void GenericPreview::setFile(const FileEntry& file)
{
    if (file == file_ && !file_.path.isEmpty()) return;
    file_ = file;
    const int generation = ++*generation_;
    text_->clear();

    const QFileInfo info(file.path);
    const QMimeType type = QMimeDatabase().mimeTypeForFile(file.path);
    const QLocale locale;
    QStringList lines;
    lines << tr("%1 · %2", "file size · file type").arg(formatFileSize(file.size), type.comment());
    if (info.exists()) {
        if (info.birthTime().isValid())
            lines << tr("Created %1").arg(locale.toString(info.birthTime(), QLocale::ShortFormat));
        lines << tr("Modified %1").arg(locale.toString(info.lastModified(), QLocale::ShortFormat));
    } else {
        lines << tr("This file is no longer available.");
    }
    icon_->setPixmap(fileIconPixmap(file.path, 96));
    name_->setText(file.name);
    details_->setText(lines.join(QLatin1Char('\n')));
    stack_->setCurrentIndex(0);
    if (!type.inherits(QStringLiteral("text/plain"))) return;

    const QString path = file.path;
    QFuture<QString> read = QtConcurrent::run([path, generation, live = generation_]() {
        if (*live != generation) return QString();
        const OpenablePath openable(path);
        QFile source(openable.name());
        if (!isRegularFile(path) || !source.open(QIODevice::ReadOnly)) return QString();
        const QByteArray bytes = source.read(textLimit);
        QStringDecoder decode(QStringDecoder::Utf8);
        return QString(decode(bytes));
    });
    whenFinished(read, this, [this, generation](const QString& text) {
        if (*generation_ != generation) return;
        if (!text.isNull()) {
            text_->setPlainText(text);
            stack_->setCurrentIndex(1);
        }
        Q_EMIT textLoaded();
    });
}

bool GenericPreview::showsText() const
{
    return stack_->currentIndex() == 1;
}
QString GenericPreview::text() const
{
    return text_->toPlainText();
}
QString GenericPreview::details() const
{
    return details_->text();
}

// ---- ImagePreview

ImagePreview::ImagePreview(QWidget* parent) : PreviewSurface(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    stack_ = new QStackedLayout;
    outer->addLayout(stack_, 1);

    stack_->addWidget(busyIndicator(tr("Loading…"), this));

    scene_ = new QGraphicsScene(this);
    item_ = scene_->addPixmap({});
    item_->setTransformationMode(Qt::SmoothTransformation);
    view_ = new QGraphicsView(scene_, this);
    view_->setFrameShape(QFrame::NoFrame);
    view_->setDragMode(QGraphicsView::ScrollHandDrag);
    view_->setBackgroundBrush(Qt::NoBrush);
    view_->setStyleSheet(QStringLiteral("QGraphicsView { background: transparent; }"));
    view_->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    view_->setRenderHint(QPainter::SmoothPixmapTransform);
    view_->viewport()->installEventFilter(this);
    view_->installEventFilter(this);

    auto* page = new QWidget(this);
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(view_, 1);

    auto* bar = new QWidget(page);
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(12, 6, 12, 6);
    barLayout->addStretch();
    auto* out = symbolButton(QStringLiteral("zoom-out"), tr("Zoom out"), bar);
    slider_ = new QSlider(Qt::Horizontal, bar);
    slider_->setRange(100, 400);
    slider_->setFixedWidth(140);
    auto* in = symbolButton(QStringLiteral("zoom-in"), tr("Zoom in"), bar);
    percent_ = UiStyle::label(QStringLiteral("100%"), 10, QFont::Normal, false, bar);
    QFont digits = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    digits.setPointSizeF(10);
    percent_->setFont(digits);
    percent_->setFixedWidth(45);
    percent_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* fit = new QPushButton(tr("Fit"), bar);
    barLayout->addWidget(out);
    barLayout->addWidget(slider_);
    barLayout->addWidget(in);
    barLayout->addWidget(percent_);
    barLayout->addWidget(fit);
    barLayout->addStretch();
    pageLayout->addWidget(bar);
    stack_->addWidget(page);

    fallback_ = new GenericPreview(this);
    stack_->addWidget(fallback_);

    connect(slider_, &QSlider::valueChanged, this, [this](int value) { setZoom(value / 100.0); });
    connect(out, &QToolButton::clicked, this, [this] { setZoom(zoom_ - 0.25); });
    connect(in, &QToolButton::clicked, this, [this] { setZoom(zoom_ + 0.25); });
    connect(fit, &QPushButton::clicked, this, [this] { setZoom(1.0); });
}

ImagePreview::~ImagePreview()
{
    request_.cancel();
}

void ImagePreview::setFile(const FileEntry& file)
{
    if (file == file_ && !file_.path.isEmpty()) return;
    file_ = file;
    request_.cancel();
    loaded_ = false;
    image_ = {};
    item_->setPixmap({});
    zoom_ = 1.0;
    slider_->setValue(100);
    stack_->setCurrentIndex(0);
    // The store answers an unreadable picture with its type icon, so the
    // header decides first whether there is a picture to zoom at all (the
    // reader also knows HEIC and raw files, and never opens a pipe).
    const QString path = file.path;
    QFuture<bool> readable = QtConcurrent::run([file] {
        FileEntry picture = file;
        picture.mediaKind = MediaKind::Image;
        return MediaMetadataReader::readNow(picture).width > 0;
    });
    whenFinished(readable, this, [this, path](bool picture) {
        if (file_.path != path) return;
        if (!picture) return showImage({});
        request_ = ThumbnailStore::shared().thumbnail(file_, edge);
        whenFinished(request_, this, [this, path](QFuture<QImage> done) {
            if (file_.path != path) return;
            showImage(done.isValid() && done.resultCount() > 0 ? done.result() : QImage());
        });
    });
}

void ImagePreview::showImage(const QImage& image)
{
    loaded_ = true;
    image_ = image;
    if (image_.isNull()) {
        fallback_->setFile(file_);
        stack_->setCurrentIndex(2);
    } else {
        item_->setPixmap(QPixmap::fromImage(image_));
        scene_->setSceneRect(item_->boundingRect());
        stack_->setCurrentIndex(1);
        applyZoom();
    }
    Q_EMIT imageLoaded();
}

bool ImagePreview::showsFallback() const
{
    return stack_->currentIndex() == 2;
}

void ImagePreview::setZoom(qreal zoom)
{
    zoom = std::clamp(zoom, 1.0, 4.0);
    if (qFuzzyCompare(zoom, zoom_)) return;
    zoom_ = zoom;
    const QSignalBlocker block(slider_);
    slider_->setValue(qRound(zoom * 100));
    applyZoom();
}

QString ImagePreview::zoomText() const
{
    return percent_->text();
}

void ImagePreview::applyZoom()
{
    percent_->setText(tr("%1%").arg(QLocale().toString(int(zoom_ * 100 + 1e-6))));
    if (image_.isNull()) return;
    const QSizeF area = view_->viewport()->size();
    const QSizeF picture = image_.size();
    const qreal fit = std::min({area.width() / picture.width(), area.height() / picture.height(),
                                1.0 * std::max(area.width(), 1.0)});
    view_->setTransform(QTransform::fromScale(fit * zoom_, fit * zoom_));
}

bool ImagePreview::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == view_->viewport() && event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        // Ctrl+wheel zooms; a plain wheel scrolls the zoomed picture.
        if (wheel->modifiers() & Qt::ControlModifier) {
            setZoom(zoom_ * (wheel->angleDelta().y() > 0 ? 1.25 : 0.8));
            return true;
        }
    }
    if (watched == view_ && event->type() == QEvent::Resize) applyZoom();
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return event->isAccepted();
    }
    return PreviewSurface::eventFilter(watched, event);
}

void ImagePreview::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        setZoom(zoom_ + 0.25);
        break;
    case Qt::Key_Minus:
        setZoom(zoom_ - 0.25);
        break;
    case Qt::Key_0:
        setZoom(1.0);
        break;
    default:
        event->ignore();
        return;
    }
    event->accept();
}

// ---- PlayerPreview

PlayerPreview::PlayerPreview(QWidget* parent) : PreviewSurface(parent)
{
    player_ = new QMediaPlayer(this);
    audio_ = new QAudioOutput(this);
    player_->setAudioOutput(audio_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    video_ = new QVideoWidget(this);
    player_->setVideoOutput(video_);
    audioLabel_ = new QLabel(this);
    audioLabel_->setAlignment(Qt::AlignCenter);
    audioLabel_->hide();
    error_ = UiStyle::label({}, 11, QFont::Normal, true, this);
    error_->setAlignment(Qt::AlignCenter);
    error_->setWordWrap(true);
    error_->hide();
    layout->addWidget(video_, 1);
    layout->addWidget(audioLabel_, 1);
    layout->addWidget(error_, 1);

    auto* controls = new QHBoxLayout;
    controls->setContentsMargins(12, 4, 12, 8);
    play_ = new QToolButton(this);
    play_->setAutoRaise(true);
    play_->setToolTip(tr("Play"));
    position_ = new QSlider(Qt::Horizontal, this);
    time_ = UiStyle::label(QStringLiteral("0:00 / 0:00"), 10, QFont::Normal, true, this);
    volume_ = new QSlider(Qt::Horizontal, this);
    volume_->setRange(0, 100);
    volume_->setValue(80);
    volume_->setFixedWidth(90);
    volume_->setToolTip(tr("Volume"));
    audio_->setVolume(0.8f);
    controls->addWidget(play_);
    controls->addWidget(position_, 1);
    controls->addWidget(time_);
    auto* speaker = new QLabel(this);
    speaker->setPixmap(QIcon::fromTheme(QStringLiteral("audio-volume-medium")).pixmap(16));
    controls->addWidget(speaker);
    controls->addWidget(volume_);
    layout->addLayout(controls);

    connect(play_, &QToolButton::clicked, this, [this] {
        if (player_->playbackState() == QMediaPlayer::PlayingState)
            player_->pause();
        else
            player_->play();
    });
    connect(volume_, &QSlider::valueChanged, this,
            [this](int value) { audio_->setVolume(float(value) / 100.0f); });
    connect(position_, &QSlider::sliderPressed, this, [this] { seeking_ = true; });
    connect(position_, &QSlider::sliderReleased, this, [this] {
        seeking_ = false;
        player_->setPosition(position_->value());
    });
    connect(player_, &QMediaPlayer::durationChanged, this, [this](qint64 ms) {
        position_->setRange(0, int(ms));
        updateControls();
    });
    connect(player_, &QMediaPlayer::positionChanged, this, [this](qint64 ms) {
        if (!seeking_) position_->setValue(int(ms));
        updateControls();
    });
    connect(player_, &QMediaPlayer::playbackStateChanged, this, [this] { updateControls(); });
    connect(player_, &QMediaPlayer::hasVideoChanged, this, [this](bool video) {
        if (!error_->isHidden()) return;
        video_->setVisible(video);
        audioLabel_->setVisible(!video);
    });
    connect(player_, &QMediaPlayer::errorOccurred, this,
            [this](QMediaPlayer::Error, const QString& message) {
                error_->setText(message.isEmpty() ? tr("This file cannot be played.") : message);
                error_->show();
                video_->hide();
                audioLabel_->hide();
            });
    updateControls();
}

PlayerPreview::~PlayerPreview()
{
    // Let go of the pipeline before the outputs go away.
    player_->pause();
    player_->setSource({});
}

void PlayerPreview::setFile(const FileEntry& file)
{
    if (file == file_ && !file_.path.isEmpty()) return;
    file_ = file;
    player_->stop();
    player_->setSource({});
    error_->hide();
    const bool audio = file.mediaKind == MediaKind::Audio;
    video_->setVisible(!audio);
    audioLabel_->setVisible(audio);
    audioLabel_->setPixmap(fileIconPixmap(file.path, 96));
    position_->setRange(0, 0);
    if (!isRegularFile(file.path)) {
        error_->setText(tr("This file cannot be played."));
        error_->show();
        video_->hide();
        audioLabel_->hide();
        updateControls();
        return;
    }
    player_->setSource(file.url());
}

QString PlayerPreview::errorText() const
{
    return error_->isHidden() ? QString() : error_->text();
}

void PlayerPreview::updateControls()
{
    const bool playing = player_->playbackState() == QMediaPlayer::PlayingState;
    play_->setIcon(QIcon::fromTheme(playing ? QStringLiteral("media-playback-pause")
                                            : QStringLiteral("media-playback-start")));
    play_->setText(playing ? tr("Pause") : tr("Play"));
    play_->setToolTip(play_->text());
    time_->setText(timeText(player_->position()) + QStringLiteral(" / ") +
                   timeText(player_->duration()));
}

// ---- PdfPreview

struct PdfPreview::Document {
    QMutex lock;
    std::unique_ptr<Poppler::Document> pdf;
};

PdfPreview::PdfPreview(QWidget* parent) : PreviewSurface(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setStyleSheet(QStringLiteral("QScrollArea, QScrollArea > QWidget > QWidget "
                                         "{ background: transparent; }"));
    pageView_ = new QLabel(scroll);
    pageView_->setAlignment(Qt::AlignCenter);
    scroll->setWidget(pageView_);
    layout->addWidget(scroll, 1);
    status_ = UiStyle::label(tr("Loading…"), 10, QFont::Normal, true, this);
    status_->setAlignment(Qt::AlignCenter);
    layout->addWidget(status_);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(12, 4, 12, 6);
    previous_ = new QToolButton(this);
    previous_->setIcon(QIcon::fromTheme(QStringLiteral("go-up")));
    previous_->setToolTip(tr("Previous page"));
    previous_->setAutoRaise(true);
    next_ = new QToolButton(this);
    next_->setIcon(QIcon::fromTheme(QStringLiteral("go-down")));
    next_->setToolTip(tr("Next page"));
    next_->setAutoRaise(true);
    pageLabel_ = UiStyle::label({}, 10, QFont::Normal, true, this);
    zoomSlider_ = new QSlider(Qt::Horizontal, this);
    zoomSlider_->setRange(100, 400);
    zoomSlider_->setFixedWidth(140);
    zoomSlider_->setToolTip(tr("Zoom"));
    bar->addStretch();
    bar->addWidget(previous_);
    bar->addWidget(pageLabel_);
    bar->addWidget(next_);
    bar->addSpacing(16);
    bar->addWidget(zoomSlider_);
    bar->addStretch();
    layout->addLayout(bar);

    connect(previous_, &QToolButton::clicked, this, [this] { setPage(page_ - 1); });
    connect(next_, &QToolButton::clicked, this, [this] { setPage(page_ + 1); });
    connect(zoomSlider_, &QSlider::valueChanged, this, [this](int value) {
        zoom_ = value / 100.0;
        render();
    });
    updateControls();
}

PdfPreview::~PdfPreview()
{
    ++*generation_;
}

void PdfPreview::setFile(const FileEntry& file)
{
    if (file == file_ && !file_.path.isEmpty()) return;
    file_ = file;
    const int generation = ++*generation_;
    document_.reset();
    pageCount_ = 0;
    page_ = 0;
    pageImage_ = {};
    pageView_->clear();
    status_->setText(tr("Loading…"));
    status_->show();
    updateControls();
    const QString path = file.path;
    QFuture<std::shared_ptr<Document>> load =
        QtConcurrent::run([path, generation, live = generation_]() -> std::shared_ptr<Document> {
            if (*live != generation) return {};
            auto document = std::make_shared<Document>();
            // A pipe named like a PDF would block this thread for good.
            if (!isRegularFile(path)) return {};
            document->pdf = Poppler::Document::load(OpenablePath(path).name());
            if (!document->pdf || document->pdf->isLocked()) return {};
            document->pdf->setRenderHint(Poppler::Document::Antialiasing);
            document->pdf->setRenderHint(Poppler::Document::TextAntialiasing);
            return document;
        });
    whenFinished(load, this, [this, generation](const std::shared_ptr<Document>& document) {
        if (*generation_ != generation) return;
        if (!document) {
            status_->setText(tr("This PDF cannot be opened."));
            Q_EMIT documentLoaded();
            return;
        }
        document_ = document;
        pageCount_ = document->pdf->numPages();
        updateControls();
        Q_EMIT documentLoaded();
        render();
    });
}

void PdfPreview::setPage(int page)
{
    page = std::clamp(page, 0, std::max(pageCount_ - 1, 0));
    if (page == page_) return;
    page_ = page;
    updateControls();
    render();
}

QString PdfPreview::errorText() const
{
    return document_ || status_->isHidden() ? QString() : status_->text();
}

void PdfPreview::render()
{
    if (!document_ || pageCount_ == 0) return;
    const int generation = ++*generation_;
    const int page = page_;
    const qreal ratio = devicePixelRatioF();
    const QSize area = size() - QSize(24, 60);
    const qreal zoom = zoom_;
    QFuture<QImage> rendering = QtConcurrent::run(
        [document = document_, page, area, zoom, ratio, generation, live = generation_]() {
            // Stepping on makes this render obsolete before it starts.
            if (*live != generation) return QImage();
            QMutexLocker locker(&document->lock);
            if (*live != generation) return QImage();
            std::unique_ptr<Poppler::Page> shown = document->pdf->page(page);
            if (!shown) return QImage();
            const QSizeF points = shown->pageSizeF();
            if (points.isEmpty()) return QImage();
            const qreal fit = std::min(std::max(area.width(), 100) / points.width(),
                                       std::max(area.height(), 100) / points.height());
            const qreal dpi = std::clamp(72.0 * fit * zoom * ratio, 18.0, 600.0);
            QImage image = shown->renderToImage(dpi, dpi);
            image.setDevicePixelRatio(ratio);
            return image;
        });
    whenFinished(rendering, this, [this, generation](const QImage& image) {
        if (*generation_ != generation) return;
        pageImage_ = image;
        pageView_->setPixmap(QPixmap::fromImage(image));
        status_->setVisible(image.isNull());
        if (image.isNull()) status_->setText(tr("This page cannot be shown."));
        Q_EMIT pageRendered();
    });
}

void PdfPreview::updateControls()
{
    previous_->setEnabled(page_ > 0);
    next_->setEnabled(page_ + 1 < pageCount_);
    pageLabel_->setText(pageCount_ > 0 ? tr("Page %1 of %2").arg(page_ + 1).arg(pageCount_)
                                       : QString());
}

void PdfPreview::resizeEvent(QResizeEvent* event)
{
    PreviewSurface::resizeEvent(event);
    if (document_) render();
}

void PdfPreview::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_Down)
        setPage(page_ + 1);
    else if (event->key() == Qt::Key_PageUp || event->key() == Qt::Key_Up)
        setPage(page_ - 1);
    else
        PreviewSurface::keyPressEvent(event);
}
