#pragma once

#include "sections/feature.h"

#include <QDialog>
#include <QList>
#include <functional>

class CommandMatchModel;
class QLineEdit;
class QListView;
class QPushButton;
class SectionCommandModel;
class WorkspaceModel;

// Jump to a section by typing part of its name. Shown while the model's
// `palette` flag is set; every way of closing it clears the flag.
class CommandPalette : public QDialog {
    Q_OBJECT
public:
    explicit CommandPalette(WorkspaceModel& model, QWidget* parent = nullptr);

    // The query's characters appear in the candidate in order, ignoring case;
    // compared as user-perceived characters.
    static bool fuzzy(const QString& query, const QString& candidate);

    QString search() const;
    void setSearch(const QString& text);
    // The matching sections in sidebar order.
    QList<Feature> results() const;
    // Index into results() of the row Return activates.
    int highlighted() const;

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void update();
    void moveHighlight(int step);
    void activateRow(int row);
    void dismissThen(const std::function<void()>& action);
    void updateScope();

    WorkspaceModel& model_;
    QLineEdit* field_;
    SectionCommandModel* commands_;
    CommandMatchModel* matches_;
    QListView* list_;
    QPushButton* openFolder_;
    QPushButton* createFolder_;
};
