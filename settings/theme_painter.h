#pragma once
// The colour theme: read at start, painted over the page, and the two theme
// colours every later drawing of the chrome uses.
#include <string>

#include "platform/ui/types.h"

struct PageControls;

class ThemePainter {
public:
    explicit ThemePainter(const PageControls& controls) : m_controls(controls) {}

    void ApplyTheme();

    ui::Color wThemeColor() const { return m_themeColor; }
    ui::Color wThemeDarkColor() const { return m_themeDarkColor; }
    // The stored theme ("Escuro", "Claro", …), read where it is drawn with;
    // the configuration database must be open.
    static std::string ThemeName();
    // Highlights and panel surfaces: a dark grey in the dark theme, the theme colour otherwise.
    ui::Color SurfaceColor(const std::string& theme) const;
    // Neutral icons: dark on the light theme, light otherwise.
    static ui::Color IconColor(const std::string& theme);

private:
    [[maybe_unused]] const PageControls& m_controls;
    ui::Color m_themeColor = ui::Color::White();
    ui::Color m_themeDarkColor = ui::Color::FromRgb(32, 32, 32);
};
