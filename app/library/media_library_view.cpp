#include "library/media_library_view.h"

#include "file_size_format.h"
#include "library/library_tile_delegate.h"
#include "sections/translated_value.h"
#include "ui/card_frame.h"
#include "ui/empty_state.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/fitted_stack.h"
#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/sidebar_icon.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

// Twelve tiles drawn while the first results are on the way.
class LibraryPlaceholders : public QWidget {
public:
    using QWidget::QWidget;
    void set(Feature feature, qreal tileSize)
    {
        feature_ = feature;
        tileSize_ = tileSize;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal spacing = 16;
        const int columns = std::max(1, int((width() + spacing) / (tileSize_ + spacing)));
        const qreal width = (this->width() - spacing * (columns - 1)) / columns;
        const qreal height = 0.72 * tileSize_ + 60;
        const QColor tint = UiStyle::withAlpha(colorOf(feature_), 0.25);
        const QPixmap symbol = symbolPixmap(iconOf(feature_), 28, tint);
        for (int at = 0; at < 12; ++at) {
            const QRectF tile((at % columns) * (width + spacing),
                              (at / columns) * (height + spacing), width, height);
            if (tile.top() > this->height()) break;
            UiStyle::card(painter, tile, 12, Palette::surface());
            painter.drawPixmap(QPointF(tile.center().x() - 14, tile.center().y() - 14), symbol);
        }
    }

private:
    Feature feature_ = Feature::Images;
    qreal tileSize_ = MediaLibraryView::initialTileSize;
};

namespace {

QProgressBar* spinner(QWidget* parent, int width)
{
    auto* bar = new QProgressBar(parent);
    bar->setRange(0, 0);
    bar->setTextVisible(false);
    bar->setFixedSize(width, 6);
    return bar;
}

// A filter's choice as shown; the choices are the filter's own English texts.
template <typename E> QString shownChoice(E value)
{
    return translatedValue("MediaFilter", value);
}

QString shownFormat(const QString& format)
{
    return format == MediaFilter::allFormats()
               ? QCoreApplication::translate("MediaFilter", "All formats")
               : format;
}

template <typename E> void fillEnumMenu(QMenu* menu, E current, std::function<void(E)> choose)
{
    menu->clear();
    for (E value : allCases<E>()) {
        QAction* action = menu->addAction(shownChoice(value));
        action->setCheckable(true);
        action->setChecked(value == current);
        QObject::connect(action, &QAction::triggered, menu, [choose, value] { choose(value); });
    }
}

// Translated where shown, so that a translation loaded later still applies.
constexpr std::array<std::pair<int, const char*>, 5> dayChoices{{
    {0, QT_TRANSLATE_NOOP("MediaLibraryView", "Any time")},
    {1, QT_TRANSLATE_NOOP("MediaLibraryView", "Last 24 hours")},
    {7, QT_TRANSLATE_NOOP("MediaLibraryView", "Last 7 days")},
    {30, QT_TRANSLATE_NOOP("MediaLibraryView", "Last 30 days")},
    {365, QT_TRANSLATE_NOOP("MediaLibraryView", "Last year")},
}};

} // namespace

MediaLibraryView::MediaLibraryView(QWidget* parent) : SectionView(parent)
{
    auto* column = new QVBoxLayout(this);
    // The detail column's page already pads the view.
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(18);

    header_ = new CardFrame(12, this);
    auto* headerRow = new QHBoxLayout(header_);
    headerRow->setContentsMargins(17, 17, 17, 17);
    headerRow->setSpacing(14);
    icon_ = new SidebarIcon(QStringLiteral("photo"), Palette::blue(), header_);
    headerRow->addWidget(icon_, 0, Qt::AlignTop);
    auto* titles = new QVBoxLayout;
    titles->setSpacing(3);
    count_ = UiStyle::label({}, 13, QFont::DemiBold, false, header_);
    location_ = UiStyle::label({}, 10, QFont::Normal, true, header_);
    location_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    titles->addWidget(count_);
    titles->addWidget(location_);
    headerRow->addLayout(titles, 1);
    spinner_ = spinner(header_, 48);
    activity_ = UiStyle::label({}, 10, QFont::Normal, true, header_);
    cancel_ = new QPushButton(tr("Cancel"), header_);
    refresh_ = new QPushButton(header_);
    headerRow->addWidget(spinner_);
    headerRow->addWidget(activity_);
    headerRow->addWidget(cancel_);
    headerRow->addWidget(refresh_);
    column->addWidget(header_);
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (model_) model_->cancelScan();
    });
    connect(refresh_, &QPushButton::clicked, this, [this] {
        if (!model_) return;
        if (model_->isMacScope())
            model_->discoverMac();
        else
            model_->scan();
    });

    auto* scopeRow = new QHBoxLayout;
    scopeRow->setSpacing(10);
    scope_ = new QPushButton(tr("Search all of This Computer"), this);
    connect(scope_, &QPushButton::clicked, this, [this] {
        if (model_) model_->discoverMac();
    });
    scopeMessage_ = UiStyle::label({}, 10, QFont::Normal, true, this);
    scopeMessage_->setWordWrap(true);
    scopeRow->addWidget(scope_);
    scopeRow->addWidget(scopeMessage_, 1);
    column->addLayout(scopeRow);

    auto* bar = new CardFrame(10, this);
    bar->setFill([] { return Palette::surface(); });
    auto* rows = new QVBoxLayout(bar);
    rows->setContentsMargins(15, 15, 15, 15);
    rows->setSpacing(10);
    auto* first = new QHBoxLayout;
    auto* second = new QHBoxLayout;
    auto* third = new QHBoxLayout;
    for (const char* title : {QT_TR_NOOP("Format"), QT_TR_NOOP("Modified"), QT_TR_NOOP("Size")})
        first->addWidget(addMenu(title, bar));
    first->addStretch();
    for (const char* title :
         {QT_TR_NOOP("Orientation"), QT_TR_NOOP("Resolution"), QT_TR_NOOP("Duration")})
        second->addWidget(addMenu(title, bar));
    metadataSpinner_ = spinner(bar, 36);
    metadataSpinner_->setToolTip(tr("Reading media properties locally"));
    second->addWidget(metadataSpinner_);
    second->addStretch();
    QToolButton* sort = addMenu(QT_TR_NOOP("Sort"), bar);
    sort->setFixedWidth(210);
    third->addWidget(sort);
    third->addSpacing(12);
    third->addWidget(
        symbolLabel(QStringLiteral("square.grid.3x3"), 16, &UiStyle::secondaryText, bar));
    sizeSlider_ = new QSlider(Qt::Horizontal, bar);
    sizeSlider_->setAccessibleName(tr("Thumbnail size"));
    sizeSlider_->setToolTip(tr("Thumbnail size"));
    sizeSlider_->setRange(minimumTileSize, maximumTileSize);
    sizeSlider_->setValue(int(initialTileSize));
    sizeSlider_->setFixedWidth(90);
    connect(sizeSlider_, &QSlider::valueChanged, this, [this](int value) { setTileSize(value); });
    third->addWidget(sizeSlider_);
    third->addStretch();
    reset_ = new QPushButton(tr("Reset filters"), bar);
    connect(reset_, &QPushButton::clicked, this, [this] {
        if (!model_) return;
        model_->setMediaFilter(MediaFilter{});
        model_->setQuery(QString());
    });
    third->addWidget(reset_);
    rows->addLayout(first);
    rows->addLayout(second);
    rows->addLayout(third);
    column->addWidget(bar);

    content_ = new FittedStack(this);
    list_ = new FileListModel(this);
    grid_ = new FileListView(list_, FileListView::Layout::Grid, content_);
    grid_->setFrameShape(QFrame::NoFrame);
    delegate_ = new LibraryTileDelegate(grid_);
    grid_->setItemDelegate(delegate_);
    placeholders_ = new LibraryPlaceholders(content_);
    placeholders_->setAccessibleName(tr("Loading library; controls remain available"));
    empty_ = new EmptyState(content_);
    content_->addWidget(grid_);
    content_->addWidget(placeholders_);
    content_->addWidget(empty_);
    column->addWidget(content_, 1);

    auto* footer = new QHBoxLayout;
    footer->addWidget(
        symbolLabel(QStringLiteral("rectangle.inset.filled"), 14, &UiStyle::secondaryText, this));
    footer->addWidget(UiStyle::label(tr("Double-click or press Space to preview here in Quorvane"),
                                     10, QFont::Normal, true, this));
    footer->addStretch();
    column->addLayout(footer);

    setTileSize(initialTileSize);
    setModel(nullptr);
}

MediaLibraryView::~MediaLibraryView() = default;

QToolButton* MediaLibraryView::addMenu(const char* key, QWidget* parent)
{
    const QString title = QString::fromLatin1(key);
    auto* button = new QToolButton(parent);
    button->setPopupMode(QToolButton::InstantPopup);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    button->setMinimumWidth(150);
    button->setToolTip(tr(key));
    auto* menu = new QMenu(tr(key), button);
    button->setMenu(menu);
    menus_.insert(title, button);
    menuOrder_ << title;
    return button;
}

void MediaLibraryView::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    // A new section starts with the initial tile size.
    sizeSlider_->setValue(int(initialTileSize));
    setTileSize(initialTileSize);
    list_->setWorkspace(model);
    grid_->revealSelection();
    connections_.follow(model, {&WorkspaceModel::mediaFilterChanged}, this, [this] {
        if (model_) model_->readMetadataIfNeeded();
        updateFilters();
    });
    connections_.follow(model, {&WorkspaceModel::queryChanged}, this,
                        &MediaLibraryView::updateFilters);
    connections_.follow(model,
                        {&WorkspaceModel::readingMetadataChanged,
                         &WorkspaceModel::libraryResultChanged, &WorkspaceModel::filesChanged,
                         &WorkspaceModel::activityChanged, &WorkspaceModel::isFilteringChanged,
                         &WorkspaceModel::featureChanged, &WorkspaceModel::folderChanged,
                         &WorkspaceModel::libraryScopeChanged,
                         &WorkspaceModel::libraryMessageChanged},
                        this, [this] {
                            updateHeader();
                            updateFilters();
                            updateContent();
                        });
    updateHeader();
    updateFilters();
    updateContent();
}

void MediaLibraryView::setTileSize(qreal size)
{
    tileSize_ = std::clamp(size, qreal(minimumTileSize), qreal(maximumTileSize));
    delegate_->setTileSize(tileSize_);
    grid_->setTileSize(int(tileSize_) + 2 * LibraryTileDelegate::padding,
                       LibraryTileDelegate::heightFor(tileSize_), 16);
    placeholders_->set(model_ ? model_->feature() : Feature::Images, tileSize_);
}

QMenu* MediaLibraryView::filterMenu(const QString& title) const
{
    QToolButton* button = menus_.value(title);
    return button && !button->isHidden() ? button->menu() : nullptr;
}

QStringList MediaLibraryView::filterMenuTitles() const
{
    QStringList shown;
    for (const QString& title : menuOrder_)
        if (!menus_.value(title)->isHidden()) shown << title;
    return shown;
}

int MediaLibraryView::contentPage() const
{
    return content_->currentIndex();
}
QString MediaLibraryView::countText() const
{
    return count_->text();
}
QString MediaLibraryView::scopeText() const
{
    return scopeMessage_->text();
}

void MediaLibraryView::updateHeader()
{
    const Feature feature = model_ ? model_->feature() : Feature::Images;
    const QColor color = colorOf(feature);
    icon_->set(iconOf(feature), color);
    header_->setFill([color] { return UiStyle::withAlpha(color, 0.06); });
    header_->update();
    delegate_->setColor(color);
    const bool mac = !model_ || model_->isMacScope();
    const qsizetype count = model_ ? model_->visibleCount() : 0;
    const qint64 bytes = model_ ? model_->libraryResult().totalBytes : 0;
    count_->setText(tr("%n items · %1", nullptr, int(count)).arg(formatFileSize(bytes)));
    location_->setText(mac ? tr("This Computer · All indexed locations") : model_->folder());
    const bool filtering = model_ && model_->isFiltering();
    const bool busy = model_ && model_->busy();
    spinner_->setVisible(filtering || busy);
    activity_->setVisible(filtering || busy);
    activity_->setText(filtering ? tr("Filtering…") : tr("Loading more…"));
    cancel_->setVisible(!filtering && busy);
    refresh_->setVisible(!filtering && !busy);
    refresh_->setText(mac ? tr("Refresh") : tr("Scan subfolders"));
    refresh_->setIcon(symbolIcon(mac ? QStringLiteral("arrow.clockwise")
                                     : QStringLiteral("arrow.triangle.branch")));

    scope_->setVisible(!mac);
    if (model_ && model_->libraryMessage())
        scopeMessage_->setText(*model_->libraryMessage());
    else
        scopeMessage_->setText(
            mac ? tr("Automatically finds accessible files in the system index. "
                     "Excluded, unindexed, or protected locations may not appear.")
                : tr("Folder filter active. Remove it to search across your computer."));
}

void MediaLibraryView::rebuildFormatMenu()
{
    QMenu* menu = menus_.value(QStringLiteral("Format"))->menu();
    menu->clear();
    const QString current = model_ ? model_->mediaFilter().format : MediaFilter::allFormats();
    // The result's list already leads with "All formats" once it has been filtered.
    QStringList choices = model_ ? model_->libraryResult().formats : QStringList();
    if (!choices.contains(MediaFilter::allFormats())) choices.prepend(MediaFilter::allFormats());
    for (const QString& format : choices) {
        QAction* action = menu->addAction(shownFormat(format));
        action->setCheckable(true);
        action->setChecked(format == current);
        connect(action, &QAction::triggered, this, [this, format] {
            if (!model_) return;
            MediaFilter filter = model_->mediaFilter();
            filter.format = format;
            model_->setMediaFilter(filter);
        });
    }
}

void MediaLibraryView::updateFilters()
{
    const Feature feature = model_ ? model_->feature() : Feature::Images;
    const MediaFilter filter = model_ ? model_->mediaFilter() : MediaFilter{};
    const auto change = [this](auto edit) {
        if (!model_) return;
        MediaFilter next = model_->mediaFilter();
        edit(next);
        model_->setMediaFilter(next);
    };
    rebuildFormatMenu();
    menus_.value(QStringLiteral("Format"))->setText(shownFormat(filter.format));

    QMenu* modified = menus_.value(QStringLiteral("Modified"))->menu();
    modified->clear();
    QString dayText = tr(dayChoices.front().second);
    for (const auto& [days, source] : dayChoices) {
        const QString text = tr(source);
        QAction* action = modified->addAction(text);
        action->setCheckable(true);
        action->setChecked(days == filter.days);
        if (days == filter.days) dayText = text;
        connect(action, &QAction::triggered, this,
                [change, days] { change([days](MediaFilter& f) { f.days = days; }); });
    }
    menus_.value(QStringLiteral("Modified"))->setText(dayText);

    fillEnumMenu<MediaFilter::Size>(
        menus_.value(QStringLiteral("Size"))->menu(), filter.size,
        [change](MediaFilter::Size v) { change([v](MediaFilter& f) { f.size = v; }); });
    menus_.value(QStringLiteral("Size"))->setText(shownChoice(filter.size));
    fillEnumMenu<MediaFilter::Orientation>(menus_.value(QStringLiteral("Orientation"))->menu(),
                                           filter.orientation,
                                           [change](MediaFilter::Orientation v) {
                                               change([v](MediaFilter& f) { f.orientation = v; });
                                           });
    menus_.value(QStringLiteral("Orientation"))->setText(shownChoice(filter.orientation));
    fillEnumMenu<MediaFilter::Resolution>(
        menus_.value(QStringLiteral("Resolution"))->menu(), filter.resolution,
        [change](MediaFilter::Resolution v) { change([v](MediaFilter& f) { f.resolution = v; }); });
    menus_.value(QStringLiteral("Resolution"))->setText(shownChoice(filter.resolution));
    fillEnumMenu<MediaFilter::Duration>(
        menus_.value(QStringLiteral("Duration"))->menu(), filter.duration,
        [change](MediaFilter::Duration v) { change([v](MediaFilter& f) { f.duration = v; }); });
    menus_.value(QStringLiteral("Duration"))->setText(shownChoice(filter.duration));
    fillEnumMenu<MediaFilter::Sort>(
        menus_.value(QStringLiteral("Sort"))->menu(), filter.sort,
        [change](MediaFilter::Sort v) { change([v](MediaFilter& f) { f.sort = v; }); });
    menus_.value(QStringLiteral("Sort"))->setText(shownChoice(filter.sort));

    const bool documents = feature == Feature::Documents;
    const bool audio = feature == Feature::Audio;
    menus_.value(QStringLiteral("Orientation"))->setVisible(!documents && !audio);
    menus_.value(QStringLiteral("Resolution"))->setVisible(!documents && !audio);
    menus_.value(QStringLiteral("Duration"))
        ->setVisible(feature == Feature::Videos || feature == Feature::Audio);
    metadataSpinner_->setVisible(!documents && model_ && model_->readingMetadata());

    reset_->setEnabled(model_ && (filter != MediaFilter{} || !model_->query().isEmpty()));
}

void MediaLibraryView::updateContent()
{
    showContent();
    Q_EMIT scrollBodyChanged();
}

void MediaLibraryView::showContent()
{
    const Feature feature = model_ ? model_->feature() : Feature::Images;
    placeholders_->set(feature, tileSize_);
    if (model_ && model_->visibleCount() > 0) {
        content_->setCurrentWidget(grid_);
        return;
    }
    const bool loading = model_ && (model_->busy() || model_->isFiltering());
    if (loading) {
        content_->setCurrentWidget(placeholders_);
        return;
    }
    const bool discovering = model_ && model_->readingMetadata();
    const bool mac = !model_ || model_->isMacScope();
    empty_->set(iconOf(feature),
                discovering ? tr("Discovering your library")
                            : tr("No matching %1", "%1 is the section, in lower case")
                                  .arg(titleOf(feature).toLower()),
                mac ? tr("Results appear automatically from your computer’s index. "
                         "Try clearing filters, refreshing, or selecting an unindexed "
                         "folder to scan.")
                    : tr("Scan subfolders, adjust filters, or remove the folder filter "
                         "to search your computer."));
    content_->setCurrentWidget(empty_);
}

QAbstractScrollArea* MediaLibraryView::scrollBody() const
{
    return content_->currentWidget() == grid_ ? grid_ : nullptr;
}
