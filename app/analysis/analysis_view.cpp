#include "analysis/analysis_view.h"

#include "analysis/duplicate_group_card.h"
#include "analysis/stats_card.h"
#include "analysis/storage_hierarchy_view.h"
#include "duplicate_report.h"
#include "file_size_format.h"
#include "text_matcher.h"
#include "ui/empty_state.h"
#include "ui/file_card_list.h"
#include "ui/file_card_model.h"
#include "ui/tool_scope_bar.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

QLabel* note(const QString& text, QWidget* parent)
{
    QLabel* label = UiStyle::label(text, 10, QFont::Normal, true, parent);
    label->setWordWrap(true);
    return label;
}

QWidget* column(QWidget* parent, int spacing, QVBoxLayout*& rows)
{
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    rows = new QVBoxLayout;
    rows->setSpacing(spacing);
    layout->addLayout(rows);
    return widget;
}

} // namespace

AnalysisView::AnalysisView(QWidget* parent) : SectionView(parent), scroll_(new QScrollArea(this))
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll_);
    scroll_->setWidgetResizable(true);
    scroll_->setFrameShape(QFrame::NoFrame);
    auto* content = new QWidget;
    content->setAutoFillBackground(false);
    scroll_->setWidget(content);
    scroll_->viewport()->setAutoFillBackground(false);
    auto* body = new QVBoxLayout(content);
    body->setContentsMargins(0, 0, 12, 12);
    body->setSpacing(20);

    scopeBar_ = new ToolScopeBar(content);
    stats_ = new StatsCard(content);
    hierarchy_ = new StorageHierarchyView(content);
    body->addWidget(scopeBar_);
    body->addWidget(stats_);
    body->addWidget(hierarchy_);

    header_ = new QWidget(content);
    auto* headerRow = new QHBoxLayout(header_);
    headerRow->setContentsMargins(0, 0, 0, 0);
    headerTitle_ = UiStyle::label({}, 13, QFont::DemiBold, false, header_);
    headerRow->addWidget(headerTitle_);
    headerRow->addStretch();
    minimumSize_ = new QComboBox(header_);
    minimumSize_->setAccessibleName(tr("Minimum size"));
    minimumSize_->setToolTip(tr("Minimum size"));
    minimumSize_->setFixedWidth(210);
    for (const auto& [text, bytes] :
         {std::pair{tr("10 MB"), qint64(10000000)}, std::pair{tr("100 MB"), qint64(100000000)},
          std::pair{tr("1 GB"), qint64(1000000000)}})
        minimumSize_->addItem(text, bytes);
    connect(minimumSize_, &QComboBox::activated, this, [this](int index) {
        if (model_) model_->setMinimumFileSize(minimumSize_->itemData(index).toLongLong());
    });
    headerRow->addWidget(minimumSize_);
    body->addWidget(header_);

    empty_ = new EmptyState(content);
    body->addWidget(empty_);

    QVBoxLayout* fileRows = nullptr;
    files_ = column(content, 5, fileRows);
    more_ = new QPushButton(files_);
    files_->layout()->addWidget(more_);
    files_->layout()->setAlignment(more_, Qt::AlignLeft);
    fileCards_ = new FileCardModel(pageStep, this);
    fileList_ = new FileCardList(fileCards_, FileCardDelegate::Look::Tool, 5, files_);
    fileRows->addWidget(fileList_);
    connect(more_, &QPushButton::clicked, this, &AnalysisView::showMoreFiles);
    body->addWidget(files_);
    footnote_ = note(tr("Logical file sizes are not a measure of recoverable disk "
                        "space. Protected or unindexed locations may be absent."),
                     content);
    body->addWidget(footnote_);

    noGroupMatch_ = note(tr("No groups match your search."), content);
    body->addWidget(noGroupMatch_);
    QVBoxLayout* groupCards = nullptr;
    groups_ = column(content, 16, groupCards);
    moreGroups_ = new QPushButton(tr("Show more groups"), groups_);
    groups_->layout()->addWidget(moreGroups_);
    groups_->layout()->setAlignment(moreGroups_, Qt::AlignLeft);
    groupCards_ = std::make_unique<RowPool<DuplicateGroupCard>>(
        groupCards, [this] { return new DuplicateGroupCard(groups_); });
    connect(moreGroups_, &QPushButton::clicked, this, &AnalysisView::showMore);
    body->addWidget(groups_);
    note_ = note(tr("Preview files before removing a copy. No files are selected for "
                    "deletion automatically."),
                 content);
    body->addWidget(note_);
    body->addStretch();
    setModel(nullptr);
}

AnalysisView::~AnalysisView() = default;

void AnalysisView::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    limit_ = pageStep;
    fileCards_->setWorkspace(model);
    fileCards_->resetPages();
    scopeBar_->setModel(model);
    hierarchy_->setModel(model && model->feature() == Feature::Storage ? model : nullptr);
    connections_.follow(model, {&WorkspaceModel::queryChanged}, this, [this] {
        limit_ = pageStep;
        fileCards_->resetPages();
        update();
    });
    connections_.follow(model,
                        {&WorkspaceModel::libraryResultChanged, &WorkspaceModel::reportChanged,
                         &WorkspaceModel::duplicateGroupsChanged, &WorkspaceModel::activityChanged,
                         &WorkspaceModel::isFilteringChanged,
                         &WorkspaceModel::minimumFileSizeChanged,
                         &WorkspaceModel::libraryScopeChanged, &WorkspaceModel::filesChanged,
                         &WorkspaceModel::featureChanged},
                        this, &AnalysisView::update);
    scroll_->verticalScrollBar()->setValue(0);
    update();
}

void AnalysisView::showMore()
{
    limit_ += pageStep;
    update();
}

void AnalysisView::showMoreFiles()
{
    fileCards_->showMore();
    updateMoreFiles();
}

void AnalysisView::updateMoreFiles()
{
    const int remaining = fileCards_->total() - fileCards_->rowCount();
    more_->setVisible(remaining > 0);
    more_->setText(tr("Show more · %n remaining", nullptr, remaining));
}

void AnalysisView::hideAllBodies()
{
    for (QWidget* part : std::initializer_list<QWidget*>{
             stats_, hierarchy_, header_, empty_, files_, footnote_, noGroupMatch_, groups_, note_})
        part->hide();
}

void AnalysisView::update()
{
    const Feature feature = model_ ? model_->feature() : Feature::Large;
    const bool mac = !model_ || model_->isMacScope();
    scopeBar_->setAction(feature == Feature::Duplicates
                             ? tr("Find duplicates")
                             : (mac ? tr("Refresh") : tr("Rescan folder")));
    setUpdatesEnabled(false);
    hideAllBodies();
    if (feature == Feature::Duplicates)
        updateDuplicates();
    else
        updateFiles();
    setUpdatesEnabled(true);
}

void AnalysisView::updateFiles()
{
    const Feature feature = model_ ? model_->feature() : Feature::Large;
    const LibraryResult& result = model_ ? model_->libraryResult() : LibraryResult::empty();
    const std::optional<StorageReport> report =
        model_ ? model_->report() : std::optional<StorageReport>();
    const bool mac = !model_ || model_->isMacScope();

    const QLocale locale;
    QList<StatsCard::Stat> figures{
        {mac ? tr("INDEXED SIZE") : tr("SCANNED SIZE"),
         formatFileSize(report ? report->total : result.totalBytes)},
        {tr("FILES"), locale.toString(report ? report->files.size() : result.files.size())},
    };
    if (report && report->inaccessible >= 1)
        figures.append({tr("SKIPPED"), locale.toString(report->inaccessible)});
    stats_->set(feature, figures);
    stats_->show();

    hierarchy_->setVisible(feature == Feature::Storage);
    const bool large = feature == Feature::Large;
    headerTitle_->setText(large ? tr("Large files") : tr("Largest files"));
    minimumSize_->setVisible(large);
    if (model_) {
        const int choice = minimumSize_->findData(model_->minimumFileSize());
        minimumSize_->setCurrentIndex(choice);
    }
    header_->show();
    footnote_->show();

    if (result.files.isEmpty()) {
        const bool loading = model_ && (model_->busy() || model_->isFiltering());
        empty_->set(iconOf(feature), loading ? tr("Loading files…") : tr("No matching files"),
                    tr("Adjust the search or size filter. You can also scan a folder "
                       "that is not in the computer’s index."));
        empty_->show();
        fileCards_->setFiles({});
        return;
    }
    fileCards_->setFiles(result.files);
    updateMoreFiles();
    files_->show();
}

QList<QList<FileEntry>> AnalysisView::matchingGroups(const QList<QList<FileEntry>>& groups,
                                                     const QString& query)
{
    if (query.isEmpty()) return groups;
    const TextMatcher matcher(query);
    QList<QList<FileEntry>> kept;
    for (const QList<FileEntry>& group : groups)
        if (std::any_of(group.begin(), group.end(),
                        [&](const FileEntry& file) { return matcher.foundIn(file.name); }))
            kept << group;
    return kept;
}

void AnalysisView::updateDuplicates()
{
    const Feature feature = Feature::Duplicates;
    if (!model_ || !model_->report()) {
        qsizetype files = 0;
        if (model_)
            for (const FileEntry& file : model_->files())
                files += file.isDirectory ? 0 : 1;
        const bool busy = model_ && model_->busy();
        empty_->set(QStringLiteral("square.on.square"),
                    busy ? model_->operation() : tr("Ready to compare"),
                    tr("%n discovered files. Find duplicates compares their contents locally; "
                       "choose a folder only if you want to narrow the scan.",
                       nullptr, files));
        empty_->show();
        groupCards_->showFirst(0);
        return;
    }
    const QList<QList<FileEntry>>& groups = model_->duplicateGroups();
    qsizetype extra = 0;
    for (const QList<FileEntry>& group : groups)
        extra += DuplicateReport::extraCopies(group, model_->sameFileAs());
    const QLocale locale;
    stats_->set(feature, {{tr("GROUPS"), locale.toString(groups.size())},
                          {tr("EXTRA COPIES"), locale.toString(extra)},
                          {tr("SKIPPED"), locale.toString(model_->report()->inaccessible)}});
    stats_->show();
    note_->show();
    if (groups.isEmpty()) {
        empty_->set(QStringLiteral("checkmark.seal"), tr("No matching duplicates"),
                    tr("The completed scan found no matching SHA-256 groups among "
                       "readable candidates."));
        empty_->show();
        groupCards_->showFirst(0);
        return;
    }
    const QList<QList<FileEntry>> shown = matchingGroups(groups, model_->query());
    if (shown.isEmpty()) {
        noGroupMatch_->show();
        groupCards_->showFirst(0);
        return;
    }
    const int count = int(shown.size());
    const int showing = groupCards_->fill(
        count, limit_, [&](DuplicateGroupCard* card, int at) { card->set(model_, shown[at]); });
    moreGroups_->setVisible(count > showing);
    groups_->show();
}

QString AnalysisView::headerText() const
{
    return header_->isHidden() ? QString() : headerTitle_->text();
}

int AnalysisView::shownFileRows() const
{
    return files_->isHidden() ? 0 : fileCards_->rowCount();
}

QList<DuplicateGroupCard*> AnalysisView::groupCards() const
{
    return groups_->isHidden() ? QList<DuplicateGroupCard*>() : groupCards_->shownRows();
}

bool AnalysisView::showsNoGroupMatch() const
{
    return !noGroupMatch_->isHidden();
}

QAbstractScrollArea* AnalysisView::scrollBody() const
{
    return scroll_;
}
