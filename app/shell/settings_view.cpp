#include "shell/settings_view.h"

#include "ui/palette.h"
#include "ui/palette_follower.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QStringList appearanceChoices = {QStringLiteral("System"), QStringLiteral("Light"),
                                       QStringLiteral("Dark")};

QVBoxLayout* formColumn(QWidget* page, int padding)
{
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(padding, padding, padding, padding);
    column->setSpacing(8);
    return column;
}

} // namespace

bool SettingsView::storedShowHidden()
{
    return Settings::showHidden();
}

QString SettingsView::storedAppearance()
{
    return Settings::appearance().value_or(QStringLiteral("Light"));
}

SettingsView::SettingsView(ApplyAppearance apply, QWidget* parent)
    : QTabWidget(parent), apply_(std::move(apply)), hidden_(storedShowHidden()),
      appearance_(storedAppearance())
{
    setFixedSize(viewSize);
    setDocumentMode(true);
    addTab(makeGeneral(), symbolIcon(QStringLiteral("gearshape")), tr("General"));
    addTab(makeAppearance(), symbolIcon(QStringLiteral("paintpalette")), tr("Appearance"));
    addTab(makePrivacy(), symbolIcon(QStringLiteral("hand.raised")), tr("Privacy"));
}

QWidget* SettingsView::makeGeneral()
{
    auto* page = new QWidget;
    auto* column = formColumn(page, 25);
    column->addWidget(UiStyle::label(tr("Explorer"), 13, QFont::DemiBold));
    hiddenToggle_ = new QCheckBox(tr("Show hidden files after refreshing"));
    hiddenToggle_->setChecked(hidden_);
    connect(hiddenToggle_, &QCheckBox::toggled, this, &SettingsView::setShowHidden);
    column->addWidget(hiddenToggle_);
    QLabel* note = UiStyle::label(tr("Quorvane reads only folders available to your "
                                     "user account. Open protected folders through "
                                     "the folder picker."),
                                  10, QFont::Normal, true);
    note->setWordWrap(true);
    column->addWidget(note);
    column->addStretch(1);
    return page;
}

QWidget* SettingsView::makeAppearance()
{
    auto* page = new QWidget;
    auto* column = formColumn(page, 25);
    auto* form = new QFormLayout;
    form->setFormAlignment(Qt::AlignHCenter | Qt::AlignTop);
    appearancePicker_ = new QComboBox;
    // Shown in the order of appearanceChoices, whose English texts are what is stored.
    appearancePicker_->addItems({tr("System"), tr("Light"), tr("Dark")});
    // An unknown stored text looks light, so the picker shows "Light" for it
    // without rewriting the stored value.
    const qsizetype index = appearanceChoices.indexOf(appearance_);
    appearancePicker_->setCurrentIndex(index >= 0 ? int(index) : 1);
    connect(appearancePicker_, &QComboBox::activated, this,
            [this](int index) { setAppearance(appearanceChoices.value(index)); });
    form->addRow(tr("Appearance"), appearancePicker_);
    column->addLayout(form);
    column->addStretch(1);
    return page;
}

QWidget* SettingsView::makePrivacy()
{
    auto* page = new QWidget;
    auto* column = new QVBoxLayout(page);
    column->setContentsMargins(30, 30, 30, 30);
    column->setSpacing(16);
    column->addStretch(1);
    auto* shield = new QLabel;
    followPalette(shield, [shield] {
        shield->setPixmap(symbolPixmap(QStringLiteral("lock.shield"), 40, Palette::blue()));
    });
    shield->setAlignment(Qt::AlignCenter);
    column->addWidget(shield);
    QLabel* title = UiStyle::label(tr("Private by design"), 17, QFont::Bold);
    title->setAlignment(Qt::AlignCenter);
    column->addWidget(title);
    QLabel* detail = UiStyle::label(tr("No accounts. No telemetry. No cloud "
                                       "processing.\nFile scans and text recognition "
                                       "run on your computer."),
                                    13, QFont::Normal, true);
    detail->setAlignment(Qt::AlignCenter);
    column->addWidget(detail);
    column->addStretch(1);
    return page;
}

void SettingsView::setShowHidden(bool hidden)
{
    if (hidden == hidden_) return;
    hidden_ = hidden;
    Settings::setShowHidden(hidden);
    if (hiddenToggle_->isChecked() != hidden) hiddenToggle_->setChecked(hidden);
    Q_EMIT showHiddenChanged(hidden);
}

void SettingsView::setAppearance(const QString& appearance)
{
    if (appearance == appearance_) return;
    appearance_ = appearance;
    Settings::setAppearance(appearance);
    const qsizetype index = appearanceChoices.indexOf(appearance);
    appearancePicker_->setCurrentIndex(index >= 0 ? int(index) : 1);
    applyAppearance();
    Q_EMIT appearanceChanged(appearance);
}

void SettingsView::applyAppearance()
{
    if (apply_) apply_(appearance_);
}

void SettingsView::showEvent(QShowEvent* event)
{
    QTabWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    applyAppearance();
}

SettingsWindow::SettingsWindow(SettingsView::ApplyAppearance apply, QWidget* parent)
    : QDialog(parent), view_(new SettingsView(std::move(apply)))
{
    setWindowTitle(tr("Settings"));
    setModal(false);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(view_);
    setFixedSize(column->sizeHint());
}

void SettingsWindow::present()
{
    show();
    raise();
    activateWindow();
}
