#include "window/sidebar.h"

#include "sections/named_colors.h"
#include "ui/card_frame.h"
#include "ui/folder_drop_target.h"
#include "ui/overlay_scroll_bar.h"
#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "window/sidebar_row.h"
#include "window/volume_usage.h"
#include "window/workspace_activity.h"
#include "workspace/settings.h"
#include "workspace/workspace_model.h"
#include "workspace/workspace_router.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

struct Location {
    const char* label;
    const char* symbol;
    const char* path;
};

constexpr Location locations[] = {
    {QT_TRANSLATE_NOOP("Sidebar", "Home"), "house", ""},
    {QT_TRANSLATE_NOOP("Sidebar", "Desktop"), "menubar.dock.rectangle", "Desktop"},
    {QT_TRANSLATE_NOOP("Sidebar", "Documents"), "doc", "Documents"},
    {QT_TRANSLATE_NOOP("Sidebar", "Pictures"), "photo", "Pictures"},
    {QT_TRANSLATE_NOOP("Sidebar", "Downloads"), "arrow.down.to.line", "Downloads"},
};

QToolButton* disclosureButton()
{
    auto* button = new QToolButton;
    button->setAutoRaise(true);
    button->setCheckable(true);
    button->setFixedSize(18, 18);
    button->setIconSize(QSize(12, 12));
    return button;
}

} // namespace

Sidebar::Sidebar(WorkspaceRouter& router, QWidget* parent) : QWidget(parent), router_(router)
{
    setMinimumWidth(minimumWidth);
    setMaximumWidth(maximumWidth);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    toolsExpanded_ = Settings::sidebarGroupExpanded(Settings::SidebarGroup::Tools);
    locationsExpanded_ = Settings::sidebarGroupExpanded(Settings::SidebarGroup::Locations);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Brand.
    auto* brand = new QHBoxLayout;
    brand->setContentsMargins(22, 38, 22, 25);
    brand->setSpacing(10);
    auto* mark = new QLabel;
    mark->setPixmap(QIcon(QStringLiteral(":/quorvane.svg")).pixmap(42, 42));
    mark->setFixedSize(42, 42);
    brand->addWidget(mark);
    auto* names = new QVBoxLayout;
    names->setSpacing(2);
    names->addWidget(UiStyle::label(tr("Quorvane"), 18, QFont::Bold));
    names->addWidget(UiStyle::label(tr("A place for everything."), 9, QFont::Normal, true));
    brand->addLayout(names, 1);
    column->addLayout(brand);

    // Jump to anything.
    auto* jump = new QPushButton;
    jump->setObjectName(QStringLiteral("jumpToAnything"));
    jump->setFlat(true);
    jump->setCursor(Qt::PointingHandCursor);
    jump->setFixedHeight(32);
    auto* jumpRow = new QHBoxLayout(jump);
    jumpRow->setContentsMargins(10, 0, 10, 0);
    jumpRow->addWidget(symbolLabel(QStringLiteral("magnifyingglass"), 14, &UiStyle::secondaryText));
    jumpRow->addWidget(UiStyle::label(tr("Jump to anything"), 11, QFont::Normal, true), 1);
    jumpRow->addWidget(UiStyle::label(tr("Ctrl K"), 10, QFont::Normal, true));
    jump->setAccessibleName(tr("Jump to anything"));
    followPalette(jump, [jump] {
        jump->setStyleSheet(QStringLiteral("QPushButton#jumpToAnything { border: 1px solid %1; "
                                           "border-radius: 7px; background: transparent; }")
                                .arg(Palette::line().name(QColor::HexArgb)));
    });
    connect(jump, &QPushButton::clicked, this, [this] { router_.current().setPalette(true); });
    auto* jumpBox = new QHBoxLayout;
    jumpBox->setContentsMargins(16, 0, 16, 22);
    jumpBox->addWidget(jump);
    column->addLayout(jumpBox);

    // The groups, scrolling.
    auto* list = new QWidget;
    auto* groups = new QVBoxLayout(list);
    groups->setContentsMargins(16, 0, 16, 12);
    groups->setSpacing(5);
    addLabel(groups, tr("FILES"));
    groups->addWidget(makeSectionRows({Feature::Explorer, Feature::Recent}));
    groups->addSpacing(8);
    addLabel(groups, tr("LIBRARY"));
    groups->addWidget(makeSectionRows({Feature::Images, Feature::Videos, Feature::Screenshots,
                                       Feature::Audio, Feature::Documents}));
    groups->addSpacing(8);
    toolsToggle_ = disclosureButton();
    addLabel(groups, tr("YOUR TOOLS"), toolsToggle_);
    tools_ = makeSectionRows({Feature::Storage, Feature::Duplicates, Feature::Large,
                              Feature::Transfers, Feature::Timeline});
    groups->addWidget(tools_);
    groups->addSpacing(8);
    locationsToggle_ = disclosureButton();
    addLabel(groups, tr("LOCATIONS"), locationsToggle_);
    locations_ = new QWidget;
    auto* locationRows = new QVBoxLayout(locations_);
    locationRows->setContentsMargins(0, 0, 0, 0);
    locationRows->setSpacing(2);
    for (const Location& location : locations) {
        auto* row = new SidebarRow(QString::fromUtf8(location.symbol),
                                   locationColor(QString::fromUtf8(location.label)),
                                   tr(location.label), 37);
        const QString relative = QString::fromUtf8(location.path);
        const auto path = [relative] {
            return relative.isEmpty() ? QDir::homePath() : QDir::home().filePath(relative);
        };
        connect(row, &QAbstractButton::clicked, this,
                [this, path] { router_.openLocation(path()); });
        // Files dropped on a location go into its folder.
        new FolderDropTarget(
            row, [this] { return &router_.current(); },
            [path, row](const QPoint&) {
                return std::optional(DropSpot{path(), row->rect()});
            });
        locationRows->addWidget(row);
    }
    auto* another = new QPushButton(symbolIcon(QStringLiteral("plus")), tr("Open another folder…"));
    another->setFlat(true);
    another->setFont(UiStyle::font(11));
    another->setStyleSheet(QStringLiteral("text-align: left; padding: 6px 11px;"));
    another->setForegroundRole(QPalette::PlaceholderText);
    connect(another, &QPushButton::clicked, this, [this] { router_.current().chooseFolder(); });
    locationRows->addWidget(another);
    groups->addWidget(locations_);
    groups->addStretch(1);

    auto* scroll = new QScrollArea;
    groups_ = scroll;
    scroll->setWidget(list);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus); // Tab goes to its rows, not to the area around them
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The groups are taller than the column at the default size; a thin bar
    // over them keeps every row its full width.
    useOverlayScrollBar(scroll);
    scroll->viewport()->setAutoFillBackground(false);
    list->setAutoFillBackground(false);
    column->addWidget(scroll, 1);

    // The volume card.
    auto* card = new CardFrame(12);
    card->setFill([] { return UiStyle::withAlpha(Palette::surface(), 0.65); });
    auto* cardColumn = new QVBoxLayout(card);
    cardColumn->setContentsMargins(15, 15, 15, 15);
    cardColumn->setSpacing(6);
    auto* volume = new QHBoxLayout;
    volume->addWidget(symbolLabel(QStringLiteral("internaldrive.fill"), 16, [] {
        return NamedColors::legibleOn(Palette::blue(), Palette::surface(), 3.6);
    }));
    volume->addWidget(UiStyle::label(tr("This Computer"), 12, QFont::Medium), 1);
    volume->addWidget(symbolLabel(QStringLiteral("lock.shield"), 14, &UiStyle::secondaryText));
    cardColumn->addLayout(volume);
    usage_ = UiStyle::label({}, 10, QFont::Normal, true);
    cardColumn->addWidget(usage_);
    usageBar_ = new QProgressBar;
    usageBar_->setRange(0, 1000);
    usageBar_->setTextVisible(false);
    usageBar_->setFixedHeight(5);
    usageBar_->setStyleSheet(
        QStringLiteral("QProgressBar { border: none; border-radius: 2px; background: %1; }"
                       "QProgressBar::chunk { border-radius: 2px; background: qlineargradient("
                       "x1:0, y1:0, x2:1, y2:0, stop:0 %2, stop:1 %3); }")
            .arg(UiStyle::withAlpha(Palette::blue(), 0.12).name(QColor::HexArgb),
                 Palette::blue().lighter(125).name(), Palette::blue().name()));
    cardColumn->addWidget(usageBar_);
    auto* cardBox = new QHBoxLayout;
    cardBox->setContentsMargins(16, 16, 16, 16);
    cardBox->addWidget(card);
    column->addLayout(cardBox);

    // Footer.
    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(22, 0, 22, 18);
    auto* settingsLink = new QPushButton(symbolIcon(QStringLiteral("gearshape")), tr("Settings"));
    settingsLink->setFlat(true);
    settingsLink->setCursor(Qt::PointingHandCursor);
    connect(settingsLink, &QPushButton::clicked, this, &Sidebar::settingsRequested);
    footer->addWidget(settingsLink);
    footer->addStretch(1);
    auto* version = UiStyle::label(QStringLiteral("v3.0"), 10);
    UiStyle::tertiary(version);
    footer->addWidget(version);
    column->addLayout(footer);

    connect(toolsToggle_, &QToolButton::toggled, this, &Sidebar::setToolsExpanded);
    connect(locationsToggle_, &QToolButton::toggled, this, &Sidebar::setLocationsExpanded);
    setToolsExpanded(toolsExpanded_);
    setLocationsExpanded(locationsExpanded_);
    connect(&router_, &WorkspaceRouter::currentChanged, this, &Sidebar::follow);
    follow();
}

QColor Sidebar::locationColor(const QString& label)
{
    if (label == u"Desktop") return QColor::fromRgba(NamedColors::cyan);
    if (label == u"Documents") return QColor::fromRgba(NamedColors::blue);
    if (label == u"Downloads") return QColor::fromRgba(NamedColors::green);
    if (label == u"Pictures") return QColor::fromRgba(NamedColors::purple);
    return QColor::fromRgba(NamedColors::orange);
}

void Sidebar::addLabel(QVBoxLayout* layout, const QString& text, QToolButton* disclosure)
{
    auto* row = new QHBoxLayout;
    row->setContentsMargins(9, 0, 0, 5);
    auto* label = UiStyle::label(text, 9, QFont::DemiBold);
    QFont font = label->font();
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.3);
    label->setFont(font);
    UiStyle::tertiary(label);
    row->addWidget(label);
    row->addStretch(1);
    if (disclosure) {
        disclosure->setAccessibleName(text);
        row->addWidget(disclosure);
    }
    layout->addLayout(row);
}

QWidget* Sidebar::makeSectionRows(std::initializer_list<Feature> features)
{
    auto* box = new QWidget;
    auto* rows = new QVBoxLayout(box);
    rows->setContentsMargins(0, 0, 0, 0);
    rows->setSpacing(2);
    for (Feature feature : features) {
        auto* row = new SidebarRow(iconOf(feature), colorOf(feature), titleOf(feature), 39);
        auto* activity = new WorkspaceActivity;
        row->addTrailing(activity);
        rows_.insert(feature, row);
        activities_.insert(feature, activity);
        connect(row, &QAbstractButton::clicked, this, [this, feature] { choose(feature); });
        rows->addWidget(row);
    }
    return box;
}

void Sidebar::choose(Feature feature)
{
    router_.activate(feature);
    // The Explorer row always leads back to the whole computer.
    if (feature == Feature::Explorer && !router_.current().isMacScope())
        router_.current().discoverMac();
}

namespace {

// Shows or hides a group's rows, stores the choice at once and turns its chevron.
void applyDisclosure(Settings::SidebarGroup group, bool expanded, QWidget* rows,
                     QToolButton* toggle)
{
    Settings::setSidebarGroupExpanded(group, expanded);
    rows->setVisible(expanded);
    const QSignalBlocker blocker(toggle);
    toggle->setChecked(expanded);
    toggle->setIcon(
        symbolIcon(expanded ? QStringLiteral("chevron.down") : QStringLiteral("chevron.right")));
}

} // namespace

void Sidebar::setToolsExpanded(bool expanded)
{
    toolsExpanded_ = expanded;
    applyDisclosure(Settings::SidebarGroup::Tools, expanded, tools_, toolsToggle_);
}

void Sidebar::setLocationsExpanded(bool expanded)
{
    locationsExpanded_ = expanded;
    applyDisclosure(Settings::SidebarGroup::Locations, expanded, locations_, locationsToggle_);
}

void Sidebar::follow()
{
    const Feature current = router_.current().feature();
    for (auto it = rows_.begin(); it != rows_.end(); ++it) {
        it.value()->setCurrent(it.key() == current);
        activities_.value(it.key())->setModel(router_.session(it.key()));
    }
    disconnect(folderConnection_);
    folderConnection_ =
        connect(&router_.current(), &WorkspaceModel::folderChanged, this, &Sidebar::updateVolume);
    updateVolume();
}

void Sidebar::updateVolume()
{
    const double usage = volumeUsage(VolumeCapacity::of(router_.current().folder()));
    usage_->setText(usageText(usage));
    usageBar_->setValue(int(usage * 1000));
}
