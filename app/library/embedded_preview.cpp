#include "library/embedded_preview.h"

#include "file_size_format.h"
#include "library/preview_surfaces.h"
#include "sections/named_colors.h"
#include "ui/card_frame.h"
#include "ui/elided_label.h"
#include "ui/file_menu.h"
#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

EmbeddedPreview::EmbeddedPreview(QWidget* parent) : SectionView(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(24, 20, 24, 20);
    column->setSpacing(16);

    auto* navigation = new QHBoxLayout;
    auto* back =
        new QPushButton(symbolIcon(QStringLiteral("chevron.left")), tr("Back to files"), this);
    back->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(back, &QPushButton::clicked, this, [this] {
        if (model_) model_->setPreviewFile(std::nullopt);
    });
    position_ = UiStyle::label({}, 10, QFont::Normal, true, this);
    previous_ = new QToolButton(this);
    previous_->setIcon(symbolIcon(QStringLiteral("chevron.left")));
    previous_->setToolTip(tr("Previous file"));
    next_ = new QToolButton(this);
    next_->setIcon(symbolIcon(QStringLiteral("chevron.right")));
    next_->setToolTip(tr("Next file"));
    connect(previous_, &QToolButton::clicked, this, [this] {
        if (model_) model_->stepPreview(-1);
    });
    connect(next_, &QToolButton::clicked, this, [this] {
        if (model_) model_->stepPreview(1);
    });
    navigation->addWidget(back);
    navigation->addStretch();
    navigation->addWidget(position_);
    navigation->addSpacing(6);
    navigation->addWidget(previous_);
    navigation->addWidget(next_);
    column->addLayout(navigation);

    auto* frame = new CardFrame(12, this);
    frame->setFill(
        [] { return UiStyle::withAlpha(QApplication::palette().color(QPalette::Text), 0.035); });
    surfaceFrame_ = frame;
    surfaceFrame_->setFixedHeight(surfaceHeight);
    surfaceLayout_ = new QVBoxLayout(surfaceFrame_);
    surfaceLayout_->setContentsMargins(6, 6, 6, 6);
    column->addWidget(surfaceFrame_);

    auto* info = new QHBoxLayout;
    info_ = info;
    info->setSpacing(18);
    auto* names = new QVBoxLayout;
    names->setSpacing(3);
    name_ = ElidedLabel::make(15, QFont::Bold, false, Qt::ElideMiddle, this);
    name_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    folder_ = ElidedLabel::make(10, QFont::Normal, true, Qt::ElideMiddle, this);
    folder_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    names->addWidget(name_);
    names->addWidget(folder_);
    info->addLayout(names, 1);
    auto* sizes = new QVBoxLayout;
    sizes->setSpacing(3);
    size_ = UiStyle::label({}, 13, QFont::DemiBold, false, this);
    date_ = UiStyle::label({}, 10, QFont::Normal, true, this);
    sizes->addWidget(size_);
    sizes->addWidget(date_);
    info->addLayout(sizes);

    // "Open" stays this preview; the desktop's applications are one menu away.
    auto* openWith = new QPushButton(tr("Open With"), this);
    auto* applications = new QMenu(openWith);
    connect(applications, &QMenu::aboutToShow, this, [this, applications] {
        if (model_) fillOpenWithMenu(*applications, *model_, file_);
    });
    openWith->setMenu(applications);
    auto* copy = new QPushButton(tr("Copy file"), this);
    auto* rename = new QPushButton(tr("Rename…"), this);
    extract_ = new QPushButton(tr("Extract text"), this);
    auto* trash = new QPushButton(tr("Move to Trash…"), this);
    // Only the text colour is set: a style sheet would keep the button's light
    // palette after the appearance changes.
    followPalette(trash, [trash] {
        QPalette colours;
        colours.setColor(QPalette::ButtonText, NamedColors::error());
        trash->setPalette(colours);
    });
    connect(copy, &QPushButton::clicked, this, [this] {
        if (!model_) return;
        model_->setSelection({file_.path});
        model_->copySelection();
    });
    connect(rename, &QPushButton::clicked, this, [this] {
        if (model_) model_->setRenameTarget(file_);
    });
    connect(extract_, &QPushButton::clicked, this, [this] {
        if (!model_) return;
        // While reading, the button shows how far it is and stops it.
        if (model_->ocrBusy())
            model_->cancelTextExtraction();
        else
            model_->extractText();
    });
    connect(trash, &QPushButton::clicked, this, [this] {
        if (!model_) return;
        model_->setSelection({file_.path});
        model_->setConfirmTrash(true);
    });
    actions_ = new QWidget(this);
    auto* buttons = new QHBoxLayout(actions_);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(18);
    buttons->addWidget(openWith);
    buttons->addWidget(copy);
    buttons->addWidget(rename);
    buttons->addWidget(extract_);
    buttons->addWidget(trash);
    info->addWidget(actions_);
    column->addLayout(info);
    narrowRow_ = new QHBoxLayout;
    narrowRow_->addStretch();
    column->addLayout(narrowRow_);
    column->addStretch();
}

void EmbeddedPreview::resizeEvent(QResizeEvent* event)
{
    SectionView::resizeEvent(event);
    placeActions();
}

void EmbeddedPreview::placeActions()
{
    // The name keeps at least this much room beside the size and the buttons.
    constexpr int nameRoom = 240;
    const int needed = nameRoom + size_->sizeHint().width() + actions_->sizeHint().width() +
                       2 * info_->spacing() + contentsMargins().left() + contentsMargins().right();
    const bool narrow = width() < needed;
    QHBoxLayout* target = narrow ? narrowRow_ : info_;
    if (target->indexOf(actions_) >= 0) return;
    (narrow ? info_ : narrowRow_)->removeWidget(actions_);
    target->addWidget(actions_);
}

EmbeddedPreview::~EmbeddedPreview() = default;

void EmbeddedPreview::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    connections_.follow(model, {&WorkspaceModel::previewFileChanged}, this,
                        &EmbeddedPreview::update);
    connections_.follow(model,
                        {&WorkspaceModel::filesChanged, &WorkspaceModel::libraryResultChanged,
                         &WorkspaceModel::ocrChanged},
                        this, &EmbeddedPreview::updateButtons);
    update();
}

QList<FileEntry> EmbeddedPreview::previewItems() const
{
    if (!model_) return {};
    QList<FileEntry> items = model_->visible();
    items.removeIf([](const FileEntry& entry) { return entry.isDirectory; });
    return items;
}

int EmbeddedPreview::index() const
{
    const QList<FileEntry> items = previewItems();
    for (int at = 0; at < items.size(); ++at)
        if (items[at].path == file_.path) return at;
    return 0;
}

QString EmbeddedPreview::positionText() const
{
    return position_->text();
}

void EmbeddedPreview::update()
{
    const std::optional<FileEntry> shown = model_ ? model_->previewFile() : std::nullopt;
    if (!shown) {
        // Nothing to show: let go of players and renders at once.
        delete surface_;
        surface_ = nullptr;
        file_ = {};
        updateButtons();
        return;
    }
    file_ = *shown;
    if (surface_ && surface_->kind() == PreviewSurface::kindFor(file_)) {
        surface_->setFile(file_);
    } else {
        delete surface_;
        surface_ = PreviewSurface::make(file_, surfaceFrame_);
        surfaceLayout_->addWidget(surface_);
    }
    name_->setText(file_.name);
    folder_->setText(QFileInfo(file_.path).absolutePath());
    size_->setText(formatFileSize(file_.size));
    date_->setText(
        QLocale().toString(file_.modified.toLocalTime().date(), tr("MMM d, yyyy", "date pattern")));
    name_->setToolTip(file_.path);
    updateButtons();
}

void EmbeddedPreview::updateButtons()
{
    const QList<FileEntry> items = previewItems();
    const int at = index();
    const bool listed = std::any_of(items.begin(), items.end(),
                                    [this](const FileEntry& e) { return e.path == file_.path; });
    position_->setText(tr("%1 of %2").arg(at + 1).arg(items.size()));
    previous_->setEnabled(listed && at > 0);
    next_->setEnabled(listed && at + 1 < items.size());
    const bool extractable =
        file_.mediaKind == MediaKind::Image || file_.ext() == QLatin1String("pdf");
    const bool busy = model_ && model_->ocrBusy();
    extract_->setVisible(extractable);
    const QString progress = busy ? model_->ocrProgress() : QString();
    extract_->setText(!busy                ? tr("Extract text")
                      : progress.isEmpty() ? tr("Reading text…")
                                           : progress);
    extract_->setToolTip(busy ? tr("Stop reading text") : QString());
    // The buttons' width just changed with the file and its work.
    placeActions();
}

void EmbeddedPreview::keyPressEvent(QKeyEvent* event)
{
    if (!model_ || event->modifiers() != Qt::NoModifier) return SectionView::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Left:
        model_->stepPreview(-1);
        break;
    case Qt::Key_Right:
        model_->stepPreview(1);
        break;
    case Qt::Key_Space:
        model_->setPreviewFile(std::nullopt);
        break;
    default:
        return SectionView::keyPressEvent(event);
    }
    event->accept();
}
