#pragma once
// The six colour themes by their stored names, and the colours each gives.
#include <optional>
#include <string>

#include "platform/ui/types.h"

// The stored names, in the settings panel's item order.
inline constexpr const char* ThemeNames[] = {"Escuro", "Azul", "Verde", "Vermelho", "Claro", "SystemAccentColor"};
inline constexpr const char* DefaultTheme = "Escuro";
inline constexpr const char* LightTheme = "Claro";
inline constexpr const char* AccentTheme = "SystemAccentColor";

struct ThemeColors {
    ui::Color Theme;
    ui::Color Dark;
    bool operator==(const ThemeColors&) const = default;
};

// A stored name outside the six (another case, empty, edited by hand) is the
// default theme: the page is painted and ruled as one theme, never a mixture.
std::string KnownTheme(const std::string& stored);

// The palette; the accent theme uses the desktop's accent, or a blue like
// the desktop's default when there is none.
ThemeColors PaletteOf(const std::string& theme, std::optional<ui::Color> accent);

// Panel surfaces: a dark grey in the dark theme, the theme colour otherwise.
ui::Color SurfaceColor(const std::string& theme, ui::Color themeColor);
// Neutral icons: dark on the light theme, light otherwise.
ui::Color IconColor(const std::string& theme);
