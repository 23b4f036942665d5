#include "palette/command_palette.h"

#include "palette/command_match_model.h"
#include "palette/command_row_delegate.h"
#include "palette/section_command_model.h"
#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

CommandPalette::CommandPalette(WorkspaceModel& model, QWidget* parent)
    : QDialog(parent), model_(model)
{
    setWindowTitle(tr("Jump to anything"));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(480);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(23, 23, 23, 23);
    column->setSpacing(15);

    auto* searchRow = new QHBoxLayout;
    searchRow->setSpacing(10);
    auto* glass = symbolLabel(QStringLiteral("magnifyingglass"), 20, &Palette::blue, this);
    field_ = new QLineEdit(this);
    field_->setPlaceholderText(tr("Where would you like to go?"));
    field_->setFrame(false);
    field_->setFont(UiStyle::font(17));
    field_->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    field_->installEventFilter(this);
    auto* esc = new QPushButton(tr("Esc"), this);
    esc->setAutoDefault(false);
    esc->setFocusPolicy(Qt::NoFocus);
    connect(esc, &QPushButton::clicked, this, &QDialog::reject);
    searchRow->addWidget(glass);
    searchRow->addWidget(field_, 1);
    searchRow->addWidget(esc);
    column->addLayout(searchRow);
    column->addWidget(UiStyle::hairline(this));

    commands_ = new SectionCommandModel(this);
    matches_ = new CommandMatchModel(this);
    matches_->setSourceModel(commands_);
    list_ = new QListView(this);
    list_->setModel(matches_);
    list_->setItemDelegate(new CommandRowDelegate(list_));
    list_->setFrameShape(QFrame::NoFrame);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setFocusPolicy(Qt::TabFocus);
    list_->setMouseTracking(true);
    list_->viewport()->setAttribute(Qt::WA_Hover);
    list_->viewport()->setAutoFillBackground(false);
    list_->viewport()->setCursor(Qt::PointingHandCursor);
    list_->setMinimumWidth(CommandRowDelegate::rowWidth);
    list_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    list_->installEventFilter(this);
    connect(list_, &QListView::clicked, this,
            [this](const QModelIndex& index) { activateRow(index.row()); });
    column->addWidget(list_);
    column->addWidget(UiStyle::hairline(this));

    auto* actions = new QHBoxLayout;
    openFolder_ = new QPushButton(symbolIcon(QStringLiteral("folder")), tr("Open folder…"), this);
    createFolder_ = new QPushButton(symbolIcon(QStringLiteral("folder.badge.plus")),
                                    tr("Create folder…"), this);
    for (QPushButton* button : {openFolder_, createFolder_}) {
        button->setAutoDefault(false);
        actions->addWidget(button);
    }
    actions->addStretch();
    column->addLayout(actions);
    column->setSizeConstraint(QLayout::SetFixedSize);

    connect(openFolder_, &QPushButton::clicked, this,
            [this] { dismissThen([this] { model_.chooseFolder(); }); });
    connect(createFolder_, &QPushButton::clicked, this,
            [this] { dismissThen([this] { model_.setNewFolder(true); }); });
    connect(field_, &QLineEdit::textChanged, this, &CommandPalette::update);
    connect(&model_, &WorkspaceModel::libraryScopeChanged, this, &CommandPalette::updateScope);
    // Closed from outside (another command, a section switch).
    connect(&model_, &WorkspaceModel::sheetsChanged, this, [this] {
        if (!model_.palette() && isVisible()) QDialog::done(Rejected);
    });
    updateScope();
    update();
}

bool CommandPalette::fuzzy(const QString& query, const QString& candidate)
{
    return CommandMatchModel::score(query, candidate) > 0;
}

QList<Feature> CommandPalette::results() const
{
    QList<Feature> out;
    for (int row = 0; row < matches_->rowCount(); ++row)
        out << SectionCommandModel::featureAt(matches_->index(row, 0));
    return out;
}

int CommandPalette::highlighted() const
{
    return std::max(0, list_->currentIndex().row());
}

QString CommandPalette::search() const
{
    return field_->text();
}

void CommandPalette::setSearch(const QString& text)
{
    field_->setText(text);
}

void CommandPalette::update()
{
    matches_->setQuery(field_->text());
    const int rows = matches_->rowCount();
    // Sized to its rows, like the dialog around it; hidden when empty so the
    // dividers close up.
    list_->setFixedHeight(rows * CommandRowDelegate::cardHeight +
                          std::max(0, rows - 1) * CommandRowDelegate::rowGap);
    list_->setVisible(rows > 0);
    list_->setCurrentIndex(matches_->index(0, 0));
}

void CommandPalette::moveHighlight(int step)
{
    const int rows = matches_->rowCount();
    if (rows == 0) return;
    list_->setCurrentIndex(matches_->index(std::clamp(highlighted() + step, 0, rows - 1), 0));
}

void CommandPalette::activateRow(int row)
{
    if (row < 0 || row >= matches_->rowCount()) return;
    const Feature feature = SectionCommandModel::featureAt(matches_->index(row, 0));
    // Closed first: switching sections hands the window to another model.
    reject();
    model_.activate(feature);
}

void CommandPalette::dismissThen(const std::function<void()>& action)
{
    reject();
    action();
}

void CommandPalette::updateScope()
{
    createFolder_->setEnabled(!model_.isMacScope());
}

bool CommandPalette::eventFilter(QObject* watched, QEvent* event)
{
    if ((watched == field_ || watched == list_) && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Up:
            moveHighlight(-1);
            return true;
        case Qt::Key_Down:
            moveHighlight(1);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            activateRow(highlighted());
            return true;
        case Qt::Key_Space:
            if (watched != list_) break;
            activateRow(highlighted());
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CommandPalette::showEvent(QShowEvent* event)
{
    // The search starts empty each time the sheet opens.
    field_->clear();
    update();
    field_->setFocus();
    QDialog::showEvent(event);
}

void CommandPalette::done(int result)
{
    QDialog::done(result);
    if (model_.palette()) model_.setPalette(false);
}
