#pragma once

#include "sections/feature.h"

#include <QDialog>
#include <QList>
#include <functional>

class QLineEdit;
class QPushButton;
class QVBoxLayout;
class PaletteRow;
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
    const QList<Feature>& results() const { return results_; }
    // Index into results() of the row Return activates.
    int highlighted() const { return highlighted_; }

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void update();
    void moveHighlight(int step);
    void activateRow(int index);
    void dismissThen(const std::function<void()>& action);
    void updateScope();

    WorkspaceModel& model_;
    QLineEdit* field_;
    QList<PaletteRow*> rows_; // one per Feature, in declaration order
    QList<Feature> results_;
    int highlighted_ = 0;
    QPushButton* openFolder_;
    QPushButton* createFolder_;
};
