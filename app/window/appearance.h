#pragma once

#include "window/desktop_color_scheme.h"

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QApplication;

// The window's colours, as chosen in the settings ("appearance").
enum class Appearance { Light, Dark, System };

// Absent means light; "System" follows the desktop, "Dark" is dark, anything else light.
Appearance appearanceFromSetting(const std::optional<QString>& stored);
Appearance storedAppearance();

// Whether the desktop asks applications for dark colours (the freedesktop
// colour-scheme setting); false when nobody answers.
bool desktopPrefersDark();

void applyAppearance(QApplication& app, Appearance appearance);
// The same with the desktop's preference given: dark when `appearance` is Dark,
// or System while the desktop prefers dark.
void applyAppearance(QApplication& app, Appearance appearance, bool desktopDark);

// Keeps the chosen appearance applied: "System" follows the desktop's colour
// scheme while the application runs.
class AppearanceController : public QObject {
    Q_OBJECT
public:
    AppearanceController(QApplication& app, std::unique_ptr<DesktopColorScheme> desktop,
                         QObject* parent = nullptr);
    void set(Appearance appearance);
    Appearance appearance() const { return appearance_; }

private:
    QApplication& app_;
    std::unique_ptr<DesktopColorScheme> desktop_;
    Appearance appearance_ = Appearance::Light;
};
