#include "platform/gtk/glyph_map.h"

#include <glib.h>

#include <algorithm>
#include <array>
#include <utility>

namespace gtkui {
namespace {

// Sorted by glyph; every symbol is in DejaVu Sans but the padlock, which it
// lacks: that one comes from Noto Sans Symbols2 (fonts-noto-core).
constexpr std::array<std::pair<char32_t, std::string_view>, 34> GlyphSymbols{{
    {0xE102, "\u25B6"}, // resume: black right-pointing triangle
    {0xE103, "\u2016"}, // pause: double vertical line
    {0xE10A, "\u2715"}, // close or delete: multiplication x
    {0xE1CF, "\u2605"}, // filled star
    {0xE208, "\u2606"}, // empty star
    {0xE700, "\u2630"}, // menu: trigram for heaven
    {0xE70D, "\u25BC"}, // chevron down
    {0xE70E, "\u25B2"}, // chevron up
    {0xE710, "+"},      // add
    {0xE711, "\u2715"}, // cancel
    {0xE712, "\u22EF"}, // more
    {0xE713, "\u2699"}, // settings: gear
    {0xE71E, "\u26B2"}, // zoom or search: a lens
    {0xE71F, "\u2212"}, // zoom out: minus
    {0xE727, "\u25C9"}, // private mark: fisheye
    {0xE72A, "\u2192"}, // forward
    {0xE72B, "\u2190"}, // back
    {0xE72C, "\u27F3"}, // refresh
    {0xE72E, "\U0001F512"}, // lock: a padlock
    {0xE734, "\u2606"}, // favorite star, outlined
    {0xE735, "\u2605"}, // favorite star, filled
    {0xE73E, "\u2713"}, // check mark
    {0xE74E, "\u21E9"}, // save: downwards white arrow
    {0xE76B, "\u2039"}, // chevron left
    {0xE76C, "\u203A"}, // chevron right
    {0xE7BA, "\u26A0"}, // warning
    {0xE80F, "\u2302"}, // home: house
    {0xE81C, "\u27F2"}, // history: anticlockwise gapped circle arrow
    {0xE896, "\u2193"}, // download
    {0xE8A3, "+"},      // zoom in
    {0xE8A7, "\u2197"}, // open in new window
    {0xE8BB, "\u2715"}, // chrome close
    {0xE8C8, "\u2750"}, // copy: shadowed white square
    {0xE946, "\u2139"}, // info
}};

constexpr std::string_view UnknownGlyphSymbol = "\u25A1"; // white square

bool IsPrivateUse(gunichar c)
{
    return g_unichar_type(c) == G_UNICODE_PRIVATE_USE;
}

} // namespace

bool IsSymbolFont(std::string_view family)
{
    return family == SymbolFontFamily;
}

std::string_view SymbolForGlyph(char32_t glyph)
{
    auto it = std::lower_bound(GlyphSymbols.begin(), GlyphSymbols.end(), glyph,
                               [](const auto& entry, char32_t g) { return entry.first < g; });
    if (it == GlyphSymbols.end() || it->first != glyph)
        return {};
    return it->second;
}

std::string MapGlyphs(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (const gchar* p = text.c_str(); *p; p = g_utf8_next_char(p)) {
        gunichar c = g_utf8_get_char(p);
        if (!IsPrivateUse(c)) {
            result.append(p, g_utf8_next_char(p) - p);
            continue;
        }
        std::string_view symbol = SymbolForGlyph(c);
        result += symbol.empty() ? UnknownGlyphSymbol : symbol;
    }
    return result;
}

} // namespace gtkui
