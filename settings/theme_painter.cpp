#include "settings/theme_painter.h"

#include "storage/database.h"

void ThemePainter::ApplyTheme()
{
    // The page markup is painted in the default dark theme; the other themes
    // and the bar placement come with the settings work.
}

std::string ThemePainter::ThemeName()
{
    return QueryText(ConfigDb, "SELECT wCOLOR FROM wConfig_ThemeColor");
}

ui::Color ThemePainter::SurfaceColor(const std::string& theme) const
{
    return theme == "Escuro" ? ui::Color::FromRgb(48, 48, 48) : m_themeColor;
}

ui::Color ThemePainter::IconColor(const std::string& theme)
{
    return theme == "Claro" ? ui::Color::FromRgb(47, 47, 47) : ui::Color::FromRgb(224, 224, 224);
}
