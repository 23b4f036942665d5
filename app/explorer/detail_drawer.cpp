#include "explorer/detail_drawer.h"

#include "ui/elided_label.h"
#include "ui/file_icon.h"
#include "ui/palette.h"
#include "ui/symbols.h"
#include "ui/ui_style.h"
#include "workspace/workspace_model.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

DetailDrawer::DetailDrawer(QWidget* parent)
    : QWidget(parent), icon_(new QLabel), name_(ElidedLabel::make(13, QFont::DemiBold)),
      path_(ElidedLabel::make(10, QFont::Normal, true)),
      extract_(new QPushButton(tr("Extract text")))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(18, 18, 18, 18);
    row->setSpacing(12);
    auto* close = new QToolButton;
    close->setIcon(symbolIcon(QStringLiteral("xmark")));
    close->setAutoRaise(true);
    close->setToolTip(tr("Close"));
    row->addWidget(close, 0, Qt::AlignTop);
    icon_->setFixedSize(38, 38);
    row->addWidget(icon_);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(name_);
    path_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    texts->addWidget(path_);
    row->addLayout(texts, 1);
    auto* preview = new QPushButton(tr("Preview in Quorvane"));
    row->addWidget(extract_);
    row->addWidget(preview);
    connect(close, &QToolButton::clicked, this, [this] {
        if (model_) model_->setDetails(false);
    });
    connect(extract_, &QPushButton::clicked, this, [this] {
        if (model_) model_->extractText();
    });
    connect(preview, &QPushButton::clicked, this, [this] {
        if (model_) model_->preview();
    });
}

bool DetailDrawer::canExtractText(const QString& path)
{
    static const QStringList extensions{QStringLiteral("png"),  QStringLiteral("jpg"),
                                        QStringLiteral("jpeg"), QStringLiteral("heic"),
                                        QStringLiteral("tiff"), QStringLiteral("pdf")};
    return extensions.contains(QFileInfo(path).suffix().toLower());
}

void DetailDrawer::setModel(WorkspaceModel* model)
{
    connections_.clear();
    model_ = model;
    connections_.follow(model,
                        {&WorkspaceModel::selectionChanged, &WorkspaceModel::ocrChanged,
                         &WorkspaceModel::filesChanged},
                        this, &DetailDrawer::update);
    update();
}

bool DetailDrawer::wanted() const
{
    return model_ && model_->details() && model_->selected();
}

void DetailDrawer::update()
{
    if (!model_) return;
    const std::optional<FileEntry> file = model_->selected();
    if (!file) return;
    icon_->setPixmap(fileIconPixmap(file->path, 38));
    name_->setText(file->name);
    path_->setText(file->path);
    extract_->setEnabled(!model_->ocrBusy() && canExtractText(file->path));
}

void DetailDrawer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Palette::surface());
    painter.fillRect(QRect(0, 0, width(), 1), Palette::line());
}
