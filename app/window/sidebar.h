#pragma once

#include "sections/feature.h"

#include <QHash>
#include <QWidget>

class QLabel;
class QProgressBar;
class QScrollArea;
class QToolButton;
class QVBoxLayout;
class SidebarRow;
class WorkspaceActivity;
class WorkspaceModel;
class WorkspaceRouter;

// The left column: brand, "Jump to anything", the sections in four groups
// (two of them collapsible, remembered as "organizeExpanded" and
// "locationsExpanded"), the home locations, the volume card and the footer.
class Sidebar : public QWidget {
    Q_OBJECT
public:
    static constexpr int minimumWidth = 220;
    static constexpr int idealWidth = 250;
    static constexpr int maximumWidth = 360;

    explicit Sidebar(WorkspaceRouter& router, QWidget* parent = nullptr);

    bool toolsExpanded() const { return toolsExpanded_; }
    bool locationsExpanded() const { return locationsExpanded_; }
    void setToolsExpanded(bool expanded);
    void setLocationsExpanded(bool expanded);
    SidebarRow* row(Feature feature) const { return rows_.value(feature); }
    QScrollArea* groupsArea() const { return groups_; }
    QToolButton* toolsToggle() const { return toolsToggle_; }
    QToolButton* locationsToggle() const { return locationsToggle_; }
    // The tint of a location row by its label.
    static QColor locationColor(const QString& label);

Q_SIGNALS:
    void settingsRequested();

private:
    void addLabel(QVBoxLayout* layout, const QString& text, QToolButton* disclosure = nullptr);
    QWidget* makeSectionRows(std::initializer_list<Feature> features);
    void choose(Feature feature);
    void follow();
    void updateVolume();

    WorkspaceRouter& router_;
    QHash<Feature, SidebarRow*> rows_;
    QHash<Feature, WorkspaceActivity*> activities_;
    bool toolsExpanded_ = true;
    bool locationsExpanded_ = true;
    QWidget* tools_ = nullptr;
    QWidget* locations_ = nullptr;
    QToolButton* toolsToggle_ = nullptr;
    QToolButton* locationsToggle_ = nullptr;
    QScrollArea* groups_ = nullptr;
    QLabel* usage_ = nullptr;
    QProgressBar* usageBar_ = nullptr;
    QMetaObject::Connection folderConnection_;
};
