#pragma once

#include <QDialog>
#include <QTabWidget>
#include <functional>

class QCheckBox;
class QComboBox;

// The content of the settings window: General ("showHidden"), Appearance
// ("appearance") and Privacy. Both values are written to QSettings at once.
class SettingsView : public QTabWidget {
    Q_OBJECT
public:
    // Receives the stored appearance text ("System", "Light", "Dark" or
    // whatever else was stored) and makes the application look that way.
    using ApplyAppearance = std::function<void(const QString&)>;

    static constexpr QSize viewSize{510, 300};

    explicit SettingsView(ApplyAppearance apply, QWidget* parent = nullptr);

    // The stored values with their defaults (false, "Light").
    static bool storedShowHidden();
    static QString storedAppearance();

    bool showHidden() const { return hidden_; }
    QString appearance() const { return appearance_; }
    void setShowHidden(bool hidden);
    void setAppearance(const QString& appearance);

Q_SIGNALS:
    void showHiddenChanged(bool hidden);
    void appearanceChanged(const QString& appearance);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makeGeneral();
    QWidget* makeAppearance();
    QWidget* makePrivacy();
    void applyAppearance();

    ApplyAppearance apply_;
    bool hidden_;
    QString appearance_;
    bool shown_ = false;
    QCheckBox* hiddenToggle_ = nullptr;
    QComboBox* appearancePicker_ = nullptr;
};

// The window that holds the settings view; not modal, reused on every opening.
class SettingsWindow : public QDialog {
    Q_OBJECT
public:
    explicit SettingsWindow(SettingsView::ApplyAppearance apply, QWidget* parent = nullptr);
    SettingsView* view() const { return view_; }
    // Shows the window, or brings it to the front when it is already open.
    void present();

private:
    SettingsView* view_;
};
