#include "explorer/explorer_browser.h"

#include "explorer/file_row_header.h"
#include "explorer/layout_picker.h"
#include "sections/browser_mode.h"
#include "sections/named_colors.h"
#include "ui/card_frame.h"
#include "ui/elided_label.h"
#include "ui/empty_state.h"
#include "ui/file_delegates.h"
#include "ui/file_icon.h"
#include "ui/file_list_model.h"
#include "ui/file_list_view.h"
#include "ui/fitted_stack.h"
#include "ui/media_thumbnail.h"
#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/spinner.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

ExplorerBrowser::ExplorerBrowser(QWidget* parent)
    : SectionView(parent), list_(new FileListModel(this)),
      grid_(new FileListView(list_, FileListView::Layout::Grid)), layouts_(new FittedStack),
      content_(new FittedStack), empty_(new EmptyState),
      scope_(UiStyle::label({}, 11, QFont::Normal, true)),
      searchAll_(new QPushButton(tr("Search all of This Computer"))), spinner_(new Spinner),
      cancel_(new QPushButton(tr("Cancel")))
{
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    // Scope row.
    auto* scopeRow = new QHBoxLayout;
    scopeRow->setSpacing(8);
    scopeRow->addWidget(scope_);
    scopeRow->addWidget(searchAll_);
    scopeRow->addWidget(spinner_);
    scopeRow->addWidget(cancel_);
    scopeRow->addStretch(1);
    column->addLayout(scopeRow);
    connect(searchAll_, &QPushButton::clicked, this, [this] {
        if (model_) model_->discoverMac();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (model_) model_->cancelScan();
    });

    // Recent Files only.
    recentRow_ = new QWidget;
    auto* recent = new QHBoxLayout(recentRow_);
    recent->setContentsMargins(0, 0, 0, 0);
    recent->addWidget(UiStyle::label(tr("Modified in the last 7 days"), 11, QFont::Normal, true));
    recentAction_ = new QPushButton;
    recent->addWidget(recentAction_);
    recent->addStretch(1);
    column->addWidget(recentRow_);
    connect(recentAction_, &QPushButton::clicked, this, [this] {
        if (!model_) return;
        // The same button reads "Cancel" while a scan runs.
        if (model_->busy())
            model_->cancelScan();
        else
            model_->scan();
    });

    // Summary cards.
    auto* cards = new QHBoxLayout;
    cards->setSpacing(12);
    cards->addWidget(
        makeCard(tr("Items"), QStringLiteral("square.stack.3d.up"), Palette::blue(), &cards_[0]));
    cards->addWidget(makeCard(tr("Folders"), QStringLiteral("folder"),
                              QColor::fromRgba(NamedColors::orange), &cards_[1]));
    cards->addWidget(makeCard(tr("Files"), QStringLiteral("doc"),
                              QColor::fromRgba(NamedColors::teal), &cards_[2]));
    column->addLayout(cards);

    // Tool row.
    auto* tools = new QHBoxLayout;
    tools->setSpacing(8);
    tools->addWidget(symbolLabel(QStringLiteral("folder.fill"), 14, &Palette::blue));
    chipName_ = UiStyle::label({}, 12, QFont::DemiBold);
    tools->addWidget(chipName_);
    chipCount_ = UiStyle::label({}, 10, QFont::Medium, true);
    followPalette(chipCount_, [chip = chipCount_] {
        chip->setStyleSheet(QStringLiteral("padding: 3px 6px; border-radius: 8px; background: %1;")
                                .arg(UiStyle::quaternaryFill().name(QColor::HexArgb)));
    });
    tools->addWidget(chipCount_);
    tools->addStretch(1);
    sort_ = new QToolButton;
    sort_->setIcon(symbolIcon(QStringLiteral("arrow.up.arrow.down")));
    sort_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    sort_->setPopupMode(QToolButton::InstantPopup);
    sort_->setAutoRaise(true);
    sort_->setMinimumWidth(95);
    auto* sortMenu = new QMenu(sort_);
    sortMenu->addAction(tr("Name"), this, [this] {
        if (model_) model_->setSortByDate(false);
    });
    sortMenu->addAction(tr("Date modified"), this, [this] {
        if (model_) model_->setSortByDate(true);
    });
    sort_->setMenu(sortMenu);
    tools->addWidget(sort_);
    picker_ = new LayoutPicker;
    connect(picker_, &LayoutPicker::chosen, this, [this](BrowserMode mode) {
        if (model_) model_->setMode(mode);
    });
    tools->addWidget(picker_);
    newFolder_ = new QToolButton;
    newFolder_->setIcon(symbolIcon(QStringLiteral("folder.badge.plus")));
    newFolder_->setToolTip(tr("New folder"));
    newFolder_->setAccessibleName(tr("New folder"));
    newFolder_->setAutoRaise(true);
    connect(newFolder_, &QToolButton::clicked, this, [this] {
        if (model_) model_->setNewFolder(true);
    });
    tools->addWidget(newFolder_);
    column->addLayout(tools);

    // Layouts: grid, list, column, gallery.
    auto* tileDelegate = new FileTileDelegate(this);
    auto* rowDelegate = new FileRowDelegate(this);
    grid_->setItemDelegate(tileDelegate);
    grid_->setTileSize(FileTileDelegate::minimumWidth, FileTileDelegate::height,
                       FileTileDelegate::spacing);
    layouts_->addWidget(grid_);
    layouts_->addWidget(makeListLayout(&rows_));
    rows_->setItemDelegate(rowDelegate);

    auto* columnLayout = new QWidget;
    auto* columnRow = new QHBoxLayout(columnLayout);
    columnRow->setContentsMargins(0, 0, 0, 0);
    columnRow->addWidget(makeListLayout(&columnRows_), 1);
    columnRows_->setItemDelegate(rowDelegate);
    auto* panel = new QWidget;
    panel->setObjectName(QStringLiteral("columnDetails"));
    panel->setFixedWidth(300);
    auto* panelColumn = new QVBoxLayout(panel);
    panelColumn->setContentsMargins(30, 30, 30, 30);
    panelColumn->setSpacing(18);
    columnIcon_ = new QLabel;
    columnName_ = ElidedLabel::make(14, QFont::DemiBold);
    columnPath_ = ElidedLabel::make(10, QFont::Normal, true);
    columnPath_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    columnHint_ = UiStyle::label(tr("Its details will appear here."), 12, QFont::Normal, true);
    columnHint_->setAlignment(Qt::AlignCenter);
    columnButtons_ = new QWidget;
    auto* buttons = new QHBoxLayout(columnButtons_);
    buttons->setContentsMargins(0, 0, 0, 0);
    auto* open = new QPushButton(tr("Open"));
    auto* preview = new QPushButton(tr("Preview in Quorvane"));
    buttons->addWidget(open);
    buttons->addWidget(preview);
    connect(open, &QPushButton::clicked, this, [this] {
        if (model_ && model_->selected()) model_->open(*model_->selected());
    });
    connect(preview, &QPushButton::clicked, this, [this] {
        if (model_) model_->preview();
    });
    for (QWidget* widget :
         {static_cast<QWidget*>(columnIcon_), static_cast<QWidget*>(columnName_),
          static_cast<QWidget*>(columnPath_), columnButtons_, static_cast<QWidget*>(columnHint_)})
        panelColumn->addWidget(widget);
    panelColumn->addStretch(1);
    auto* divider = new QWidget;
    divider->setFixedWidth(1);
    followPalette(divider, [divider] {
        divider->setStyleSheet(
            QStringLiteral("background: %1;").arg(Palette::line().name(QColor::HexArgb)));
    });
    columnRow->addWidget(divider);
    columnRow->addWidget(panel);
    layouts_->addWidget(columnLayout);

    auto* gallery = new QWidget;
    auto* galleryColumn = new QVBoxLayout(gallery);
    galleryColumn->setContentsMargins(0, 0, 0, 0);
    galleryColumn->setSpacing(12);
    auto* featuredCard = new CardFrame(12);
    featuredCard->setFill([] { return Palette::surface(); });
    featuredPanel_ = featuredCard;
    auto* featuredColumn = new QVBoxLayout(featuredCard);
    featuredColumn->setContentsMargins(24, 24, 24, 24);
    featuredColumn->setSpacing(12);
    featured_ = new MediaThumbnail(600);
    featured_->setObjectName(QStringLiteral("featuredThumbnail"));
    featured_->setFixedHeight(230);
    featuredColumn->addWidget(featured_);
    featuredName_ = ElidedLabel::make(14, QFont::DemiBold);
    featuredName_->setObjectName(QStringLiteral("featuredName"));
    featuredName_->setAlignment(Qt::AlignCenter);
    featuredColumn->addWidget(featuredName_);
    auto* featuredPreview = new QPushButton(tr("Preview in Quorvane"));
    featuredPreview->setObjectName(QStringLiteral("featuredPreview"));
    featuredColumn->addWidget(featuredPreview, 0, Qt::AlignHCenter);
    connect(featuredPreview, &QPushButton::clicked, this, [this] {
        if (!model_ || list_->rowCount() == 0) return;
        const std::optional<FileEntry> chosen = model_->selected();
        model_->setSelection({chosen ? chosen->path : list_->entry(0).path});
        model_->preview();
    });
    galleryColumn->addWidget(featuredCard);
    strip_ = new FileListView(list_, FileListView::Layout::Strip);
    strip_->setItemDelegate(tileDelegate);
    strip_->setTileSize(132, FileTileDelegate::height, 12);
    // Room for whole tiles, their spacing and the sideways scroll bar under them.
    strip_->setFixedHeight(FileTileDelegate::height + 12 +
                           strip_->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4);
    galleryColumn->addWidget(strip_);
    galleryColumn->addStretch(1);
    layouts_->addWidget(gallery);

    content_->addWidget(empty_);
    content_->addWidget(layouts_);
    column->addWidget(content_, 1);

    // Footer.
    auto* footer = new QHBoxLayout;
    footer->setContentsMargins(0, 6, 0, 0);
    footer->addWidget(symbolLabel(QStringLiteral("lock.shield"), 12, &UiStyle::tertiaryText));
    footer->addWidget(
        UiStyle::tertiary(UiStyle::label(tr("Your files stay on your computer."), 10)));
    footer->addStretch(1);
    footer->addWidget(
        UiStyle::tertiary(UiStyle::label(tr("Double-click to open · Space to preview"), 10)));
    column->addLayout(footer);

    connect(list_, &FileListModel::entriesChanged, this, &ExplorerBrowser::update);
    // The current layout's button is filled with the text background of the appearance.
    followPalette(this, [this] { update(); });
}

QWidget* ExplorerBrowser::makeCard(const QString& title, const QString& symbol, const QColor& color,
                                   QLabel** value)
{
    auto* card = new CardFrame(12);
    card->setFill([] { return UiStyle::withAlpha(Palette::surface(), 0.5); });
    card->setBorder([] { return Palette::line(); });
    auto* row = new QHBoxLayout(card);
    row->setContentsMargins(17, 17, 17, 17);
    row->setSpacing(12);
    auto* badge = symbolLabel(symbol, 18, [color] {
        return NamedColors::legibleOn(NamedColors::inAppearance(color), Palette::surface(), 3.6);
    });
    badge->setFixedSize(40, 40);
    badge->setAlignment(Qt::AlignCenter);
    followPalette(badge, [badge, color] {
        badge->setStyleSheet(QStringLiteral("background: %1; border-radius: 11px;")
                                 .arg(UiStyle::withAlpha(NamedColors::inAppearance(color), 0.09)
                                          .name(QColor::HexArgb)));
    });
    row->addWidget(badge);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(3);
    *value = UiStyle::label(QStringLiteral("0"), 20, QFont::DemiBold);
    texts->addWidget(*value);
    texts->addWidget(UiStyle::label(title, 11, QFont::Normal, true));
    row->addLayout(texts, 1);
    return card;
}

QWidget* ExplorerBrowser::makeListLayout(FileListView** view)
{
    auto* box = new CardFrame(10);
    box->setBorder([] { return Palette::line(); });
    auto* column = new QVBoxLayout(box);
    column->setContentsMargins(1, 1, 1, 1);
    column->setSpacing(0);
    *view = new FileListView(list_, FileListView::Layout::Rows);
    (*view)->setTileSize(0, FileRowDelegate::height, 0);
    column->addWidget(new FileRowHeader(*view));
    column->addWidget(*view, 1);
    return box;
}

FileListView* ExplorerBrowser::currentView() const
{
    switch (layouts_->currentIndex()) {
    case 1:
        return rows_;
    case 2:
        return columnRows_;
    case 3:
        return strip_;
    default:
        return grid_;
    }
}

QString ExplorerBrowser::cardValue(int card) const
{
    return cards_[card]->text();
}

void ExplorerBrowser::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    connections_.follow(model,
                        {&WorkspaceModel::activityChanged, &WorkspaceModel::isFilteringChanged,
                         &WorkspaceModel::modeChanged, &WorkspaceModel::sortByDateChanged,
                         &WorkspaceModel::folderChanged, &WorkspaceModel::libraryScopeChanged},
                        this, &ExplorerBrowser::update);
    connections_.follow(model, {&WorkspaceModel::selectionChanged}, this,
                        &ExplorerBrowser::updateDetails);
    // Before the list model's own, which updates the counts once the files grew.
    if (model)
        connections_.keep(connect(model, &WorkspaceModel::filesAboutToGrow, this,
                                  [this] { folders_.aboutToGrow(model_->files()); }));
    connections_.follow(model, {&WorkspaceModel::filesGrew}, this,
                        [this] { folders_.grew(model_->files()); });
    list_->setWorkspace(model);
    update();
    // Coming back from a preview finds the list where the chosen file is.
    currentView()->revealSelection();
}

void ExplorerBrowser::update()
{
    if (!model_) return;
    const WorkspaceModel& model = *model_;
    const bool mac = model.isMacScope();
    const bool loading = model.busy() || model.isFiltering();
    scope_->setText(mac ? tr("This Computer · All indexed locations") : model.folder());
    searchAll_->setVisible(!mac);
    spinner_->setVisible(model.busy());
    cancel_->setVisible(model.busy() && model.feature() != Feature::Recent);
    recentRow_->setVisible(model.feature() == Feature::Recent);
    recentAction_->setText(model.busy() ? tr("Cancel")
                           : mac        ? tr("Refresh")
                                        : tr("Scan subfolders"));

    const qsizetype folders = folders_.folders(model.files());
    const QLocale locale;
    cards_[0]->setText(locale.toString(model.files().size()));
    cards_[1]->setText(locale.toString(folders));
    cards_[2]->setText(locale.toString(model.files().size() - folders));

    chipName_->setText(mac ? tr("This Computer") : QFileInfo(model.folder()).fileName());
    chipCount_->setText(locale.toString(list_->rowCount()));
    sort_->setText(model.sortByDate() ? tr("Date modified") : tr("Name"));
    picker_->setCurrent(model.mode());
    newFolder_->setEnabled(!mac);
    const auto modes = allCases<BrowserMode>();
    layouts_->setCurrentIndex(
        int(std::find(modes.begin(), modes.end(), model.mode()) - modes.begin()));

    const bool empty = list_->rowCount() == 0;
    // A folder with nothing in it is not a search that found nothing.
    const bool emptyFolder = model.feature() == Feature::Explorer && !mac && !loading &&
                             model.files().isEmpty() && model.query().isEmpty();
    if (emptyFolder)
        empty_->set(QStringLiteral("folder"), tr("This folder is empty"),
                    tr("Paste or create items here, or search all of This Computer."));
    else if (empty)
        empty_->set(QStringLiteral("folder"),
                    loading ? tr("Discovering your files") : tr("No matching files"),
                    mac ? tr("Results appear automatically from your computer’s index. "
                             "Folder selection is optional.")
                        : tr("Try a different filename or search all of This Computer."));
    content_->setCurrentWidget(empty ? static_cast<QWidget*>(empty_) : layouts_);
    updateDetails();
    Q_EMIT scrollBodyChanged();
}

QAbstractScrollArea* ExplorerBrowser::scrollBody() const
{
    // The gallery's strip scrolls sideways; the gallery scrolls with the page.
    if (content_->currentWidget() != layouts_ || currentView() == strip_) return nullptr;
    return currentView();
}

void ExplorerBrowser::updateDetails()
{
    if (!model_) return;
    const std::optional<FileEntry> selected = model_->selected();
    columnIcon_->setVisible(bool(selected));
    columnName_->setVisible(bool(selected));
    columnPath_->setVisible(bool(selected));
    columnButtons_->setVisible(bool(selected));
    columnHint_->setVisible(!selected);
    if (selected) {
        columnIcon_->setPixmap(fileIconPixmap(selected->path, 96));
        columnName_->setText(selected->name);
        columnPath_->setText(selected->path);
    }
    const bool any = list_->rowCount() > 0;
    featuredPanel_->setVisible(any);
    if (any) {
        const FileEntry featured = selected ? *selected : list_->entry(0);
        featured_->setFile(featured);
        featuredName_->setText(featured.name);
    }
}
