#pragma once
// The colour theme: read at start, painted over the page, and the two theme
// colours every later drawing of the chrome uses.
#include <string>

#include "platform/application_view.h"
#include "platform/system_info.h"
#include "platform/ui/markup.h"
#include "platform/ui/types.h"
#include "settings/theme_palette.h"

struct PageControls;
class LayoutAdaptation;

class ThemePainter {
public:
    // The painted groups are found by name in the markup.
    ThemePainter(const PageControls& controls, const ui::LoadedMarkup& markup, const platform::SystemInfo& system,
                 platform::ApplicationView& view, LayoutAdaptation& layout);

    // Opens the configuration database and leaves it open for the rest of
    // the start-up; ends with the bar placement.
    void ApplyTheme();

    ui::Color wThemeColor() const { return m_colors.Theme; }
    ui::Color wThemeDarkColor() const { return m_colors.Dark; }
    // The stored theme ("Escuro", "Claro", …), read where it is drawn with;
    // a name outside the six reads as "Escuro". The configuration database
    // must be open.
    static std::string ThemeName();
    // Highlights and panel surfaces: a dark grey in the dark theme, the theme colour otherwise.
    ui::Color SurfaceColor(const std::string& theme) const { return ::SurfaceColor(theme, m_colors.Theme); }
    // Neutral icons: dark on the light theme, light otherwise.
    static ui::Color IconColor(const std::string& theme) { return ::IconColor(theme); }

private:
    void PaintBars(const std::string& theme);
    void PaintLightThemeTexts();
    void PaintThemeLabels();
    void PaintHomeScreen(const std::string& theme);

    const PageControls& m_controls;
    const ui::LoadedMarkup& m_markup;
    const platform::SystemInfo& m_system;
    platform::ApplicationView& m_view;
    LayoutAdaptation& m_layout;
    ThemeColors m_colors = PaletteOf(DefaultTheme, std::nullopt);
};
