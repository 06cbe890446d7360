#pragma once
// The chrome's icon font ("Segoe MDL2 Assets") is not installed here: its
// private-use characters are shown as symbols of a font that is.
#include <string>
#include <string_view>

namespace gtkui {

inline constexpr std::string_view SymbolFontFamily = "Segoe MDL2 Assets";
// Has every symbol the map yields.
inline constexpr std::string_view GlyphFontFamily = "DejaVu Sans";

bool IsSymbolFont(std::string_view family);

// The symbol shown for one private-use character, or an empty view when the
// map does not know it.
std::string_view SymbolForGlyph(char32_t glyph);

// Known glyphs become their symbols and unknown private-use characters a
// white square; other characters pass unchanged. The text must be valid UTF-8.
std::string MapGlyphs(const std::string& text);

} // namespace gtkui
