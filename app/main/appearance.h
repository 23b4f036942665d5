#pragma once

#include <QString>
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
