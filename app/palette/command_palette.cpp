#include "palette/command_palette.h"

#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/sidebar_icon.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QAbstractButton>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <QVBoxLayout>

namespace {

QStringList graphemes(const QString& text)
{
    QStringList out;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    qsizetype start = 0;
    while (finder.toNextBoundary() != -1) {
        out << text.mid(start, finder.position() - start);
        start = finder.position();
    }
    return out;
}

} // namespace

// One section: its sidebar icon, its name and a return symbol, drawn as a
// flat button that lights up under the pointer or the keyboard highlight.
class PaletteRow : public QAbstractButton {
public:
    PaletteRow(Feature feature, QWidget* parent) : QAbstractButton(parent), feature_(feature)
    {
        setText(titleOf(feature));
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
        setFocusPolicy(Qt::TabFocus);
    }
    Feature feature() const { return feature_; }
    void setHighlighted(bool on)
    {
        if (highlighted_ == on) return;
        highlighted_ = on;
        QWidget::update();
    }
    bool highlighted() const { return highlighted_; }
    QSize sizeHint() const override { return {440, 45}; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        if (highlighted_ || underMouse() || hasFocus() || isDown())
            UiStyle::card(
                p, box, 12,
                UiStyle::withAlpha(Palette::blue(), highlighted_ || isDown() ? 0.12 : 0.06));
        SidebarIcon::paint(p, QRectF(10, (height() - 25) / 2.0, 25, 25), iconOf(feature_),
                           colorOf(feature_));
        p.setFont(UiStyle::font(13, highlighted_ ? QFont::DemiBold : QFont::Normal));
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRectF(47, 0, width() - 90, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
        const QPixmap mark = symbolPixmap(QStringLiteral("return"), 14, UiStyle::tertiaryText());
        p.drawPixmap(QPointF(width() - 10 - 14, (height() - 14) / 2.0), mark);
    }

private:
    Feature feature_;
    bool highlighted_ = false;
};

CommandPalette::CommandPalette(WorkspaceModel& model, QWidget* parent)
    : QDialog(parent), model_(model)
{
    setWindowTitle(QStringLiteral("Jump to anything"));
    setWindowModality(Qt::WindowModal);
    setFixedWidth(480);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(23, 23, 23, 23);
    column->setSpacing(15);

    auto* searchRow = new QHBoxLayout;
    searchRow->setSpacing(10);
    auto* glass = symbolLabel(QStringLiteral("magnifyingglass"), 20, &Palette::blue, this);
    field_ = new QLineEdit(this);
    field_->setPlaceholderText(QStringLiteral("Where would you like to go?"));
    field_->setFrame(false);
    field_->setFont(UiStyle::font(17));
    field_->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    field_->installEventFilter(this);
    auto* esc = new QPushButton(QStringLiteral("Esc"), this);
    esc->setAutoDefault(false);
    esc->setFocusPolicy(Qt::NoFocus);
    connect(esc, &QPushButton::clicked, this, &QDialog::reject);
    searchRow->addWidget(glass);
    searchRow->addWidget(field_, 1);
    searchRow->addWidget(esc);
    column->addLayout(searchRow);
    column->addWidget(UiStyle::hairline(this));

    auto* list = new QVBoxLayout;
    list->setSpacing(2);
    for (const auto& [feature, name] : RawValues<Feature>::cases) {
        auto* row = new PaletteRow(feature, this);
        connect(row, &QAbstractButton::clicked, this, [this, feature] {
            const qsizetype at = results_.indexOf(feature);
            if (at >= 0) activateRow(int(at));
        });
        rows_ << row;
        list->addWidget(row);
    }
    column->addLayout(list);
    column->addWidget(UiStyle::hairline(this));

    auto* actions = new QHBoxLayout;
    openFolder_ =
        new QPushButton(symbolIcon(QStringLiteral("folder")), QStringLiteral("Open folder…"), this);
    createFolder_ = new QPushButton(symbolIcon(QStringLiteral("folder.badge.plus")),
                                    QStringLiteral("Create folder…"), this);
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
    const QStringList wanted = graphemes(query.toLower());
    if (wanted.isEmpty()) return true;
    qsizetype next = 0;
    for (const QString& character : graphemes(candidate.toLower())) {
        if (character == wanted[next] && ++next == wanted.size()) return true;
    }
    return false;
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
    const QString query = field_->text();
    results_.clear();
    for (PaletteRow* row : std::as_const(rows_)) {
        const bool shown = fuzzy(query, titleOf(row->feature()));
        row->setVisible(shown);
        if (shown) results_ << row->feature();
    }
    highlighted_ = 0;
    moveHighlight(0);
}

void CommandPalette::moveHighlight(int step)
{
    if (!results_.isEmpty())
        highlighted_ = std::clamp(highlighted_ + step, 0, int(results_.size()) - 1);
    for (PaletteRow* row : std::as_const(rows_))
        row->setHighlighted(!results_.isEmpty() && row->feature() == results_[highlighted_]);
}

void CommandPalette::activateRow(int index)
{
    if (index < 0 || index >= results_.size()) return;
    const Feature feature = results_[index];
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
    if (watched == field_ && event->type() == QEvent::KeyPress) {
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
            activateRow(highlighted_);
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
