#include "window/top_bar.h"

#include "ui/elided_label.h"
#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace {

QToolButton* barButton(const QString& symbol, const QString& help)
{
    auto* button = new QToolButton;
    button->setIcon(symbolIcon(symbol));
    button->setToolTip(help);
    button->setAccessibleName(help);
    button->setAutoRaise(true);
    button->setIconSize(QSize(16, 16));
    return button;
}

} // namespace

TopBar::TopBar(QWidget* parent)
    : QWidget(parent), back_(barButton(QStringLiteral("chevron.left"), tr("Enclosing folder"))),
      refresh_(barButton(QStringLiteral("arrow.clockwise"), tr("Refresh"))),
      details_(barButton(QStringLiteral("info.circle"), tr("Toggle file details"))),
      location_(ElidedLabel::make(12, QFont::Medium, false, Qt::ElideRight)), search_(new QLineEdit)
{
    setFixedHeight(54);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(26, 0, 26, 0);
    row->setSpacing(8);
    row->addWidget(back_);
    row->addWidget(refresh_);
    auto* separator = new QWidget;
    separator->setFixedSize(1, 18);
    separator->setAutoFillBackground(true);
    followPalette(separator, [separator] {
        QPalette line;
        line.setColor(QPalette::Window, Palette::line());
        separator->setPalette(line);
    });
    row->addWidget(separator);
    row->addWidget(symbolLabel(QStringLiteral("internaldrive"), 14, &UiStyle::secondaryText));
    // A long folder name is cut rather than widening the column.
    row->addWidget(location_, 1);

    search_->setFixedWidth(260);
    search_->setClearButtonEnabled(true);
    search_->addAction(symbolIcon(QStringLiteral("magnifyingglass")), QLineEdit::LeadingPosition);
    auto* chip = new QPushButton(tr("Ctrl K"));
    chip->setFlat(true);
    chip->setFont(UiStyle::font(10));
    chip->setCursor(Qt::PointingHandCursor);
    chip->setToolTip(tr("Jump to anything"));
    followPalette(chip, [chip] {
        chip->setStyleSheet(
            QStringLiteral("QPushButton { padding: 2px 4px; border-radius: 4px; background: %1; }")
                .arg(UiStyle::quaternaryFill().name(QColor::HexArgb)));
    });
    row->addWidget(search_);
    row->addWidget(chip);
    row->addWidget(details_);

    connect(back_, &QToolButton::clicked, this, [this] {
        if (!model_) return;
        // Back through the places shown; without any, up to the enclosing folder.
        if (model_->canGoBack())
            model_->goBack();
        else
            model_->navigate(QFileInfo(model_->folder()).absolutePath());
    });
    connect(refresh_, &QToolButton::clicked, this, [this] {
        if (model_) model_->refresh();
    });
    connect(details_, &QToolButton::clicked, this, [this] {
        if (model_) model_->setDetails(!model_->details());
    });
    connect(chip, &QPushButton::clicked, this, [this] {
        if (model_) model_->setPalette(true);
    });
    connect(search_, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (model_) model_->setQuery(text);
    });
}

void TopBar::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    connections_.follow(model,
                        {&WorkspaceModel::folderChanged, &WorkspaceModel::libraryScopeChanged,
                         &WorkspaceModel::queryChanged, &WorkspaceModel::historyChanged},
                        this, &TopBar::update);
    update();
}

void TopBar::update()
{
    if (!model_) return;
    const bool mac = model_->isMacScope();
    back_->setEnabled(!mac || model_->canGoBack());
    const std::optional<QString> previous = model_->backPlace();
    QString help = tr("Enclosing folder");
    if (previous && previous->isEmpty()) help = tr("Back to This Computer");
    if (previous && !previous->isEmpty()) {
        const QString name = QFileInfo(*previous).fileName();
        help = tr("Back to %1").arg(name.isEmpty() ? *previous : name);
    }
    back_->setToolTip(help);
    back_->setAccessibleName(help);
    location_->setText(mac ? tr("This Computer") : QFileInfo(model_->folder()).fileName());
    if (mac || location_->fullText().isEmpty())
        location_->setText(mac ? tr("This Computer") : model_->folder());
    search_->setPlaceholderText(mac ? tr("Search this computer") : tr("Search this folder"));
    if (search_->text() != model_->query()) search_->setText(model_->query());
}
