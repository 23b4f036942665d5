#pragma once

#include "file_entry.h"
#include "ui/model_connections.h"
#include "ui/section_view.h"

#include <QPointer>

class ElidedLabel;
class QLabel;
class QPushButton;
class QToolButton;
class QVBoxLayout;
class PreviewSurface;

// One file shown large in place of the section view, with stepping through
// the section's visible files. Lives while the model has a preview file.
class QHBoxLayout;

class EmbeddedPreview : public SectionView {
    Q_OBJECT
public:
    static constexpr int surfaceHeight = 400;

    explicit EmbeddedPreview(QWidget* parent = nullptr);
    ~EmbeddedPreview() override;
    void setModel(WorkspaceModel* model) override;

    const FileEntry& file() const { return file_; }
    // The visible entries that are not folders, in order.
    QList<FileEntry> previewItems() const;
    // The file's position in previewItems(), 0 when it is not there.
    int index() const;
    QString positionText() const;
    ElidedLabel* nameLabel() const { return name_; }
    PreviewSurface* surface() const { return surface_; }
    QToolButton* previousButton() const { return previous_; }
    QToolButton* nextButton() const { return next_; }
    QPushButton* extractButton() const { return extract_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void update();
    void updateButtons();
    // Beside the name while there is room for it, on a row of their own when narrow.
    void placeActions();

    QPointer<WorkspaceModel> model_;
    ModelConnections connections_;
    FileEntry file_;
    PreviewSurface* surface_ = nullptr;
    QWidget* surfaceFrame_;
    QVBoxLayout* surfaceLayout_;
    QLabel* position_;
    QToolButton* previous_;
    QToolButton* next_;
    ElidedLabel* name_;
    ElidedLabel* folder_;
    QLabel* size_;
    QLabel* date_;
    QPushButton* extract_;
    QWidget* actions_;
    QHBoxLayout* info_;
    QHBoxLayout* narrowRow_;
};
