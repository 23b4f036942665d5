#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QPushButton;

// Asks for a name: title with a folder symbol, a "Name" field, "Cancel" and
// "Save" ("Save" only when the name has more than spaces and tabs). Saving
// calls `action` with the name exactly as typed. Window-modal.
class NameSheet : public QDialog {
    Q_OBJECT
public:
    NameSheet(const QString& title, const QString& initial,
              std::function<void(const QString&)> action, QWidget* parent = nullptr);
    QString name() const;
    void setName(const QString& name);
    bool canSave() const;
    void submit();

private:
    std::function<void(const QString&)> action_;
    QLineEdit* field_;
    QPushButton* save_;
};
