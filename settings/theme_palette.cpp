#include "settings/theme_palette.h"

#include <algorithm>

namespace {

constexpr ThemeColors FixedPalette[] = {
    {ui::Color::FromRgb(255, 255, 255), ui::Color::FromRgb(32, 32, 32)},  // Escuro
    {ui::Color::FromRgb(0, 112, 227), ui::Color::FromRgb(0, 51, 103)},    // Azul
    {ui::Color::FromRgb(0, 142, 0), ui::Color::FromRgb(0, 82, 0)},        // Verde
    {ui::Color::FromRgb(166, 1, 1), ui::Color::FromRgb(111, 1, 1)},       // Vermelho
    {ui::Color::FromRgb(242, 242, 242), ui::Color::FromRgb(169, 169, 169)}, // Claro
};

// The desktop's default blue, for a desktop that says no accent.
constexpr ui::Color FallbackAccent = ui::Color::FromRgb(53, 132, 228);

uint8_t Darker(uint8_t component)
{
    return component < 32 ? 0 : static_cast<uint8_t>(component - 32);
}

} // namespace

std::string KnownTheme(const std::string& stored)
{
    bool known = std::any_of(std::begin(ThemeNames), std::end(ThemeNames),
                             [&stored](const char* name) { return stored == name; });
    return known ? stored : DefaultTheme;
}

ThemeColors PaletteOf(const std::string& theme, std::optional<ui::Color> accent)
{
    const std::string known = KnownTheme(theme);
    for (size_t i = 0; i < std::size(FixedPalette); ++i)
        if (known == ThemeNames[i])
            return FixedPalette[i];
    ui::Color a = accent.value_or(FallbackAccent);
    return {ui::Color::FromRgb(a.R, a.G, a.B), ui::Color::FromRgb(Darker(a.R), Darker(a.G), Darker(a.B))};
}

ui::Color SurfaceColor(const std::string& theme, ui::Color themeColor)
{
    return KnownTheme(theme) == DefaultTheme ? ui::Color::FromRgb(48, 48, 48) : themeColor;
}

ui::Color IconColor(const std::string& theme)
{
    return theme == LightTheme ? ui::Color::FromRgb(47, 47, 47) : ui::Color::FromRgb(224, 224, 224);
}
