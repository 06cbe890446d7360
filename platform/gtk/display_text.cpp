#include "platform/gtk/display_text.h"

#include <glib.h>

#include "platform/gtk/glyph_map.h"

namespace gtkui {

DisplayText ResolveDisplayText(std::string_view text, std::string_view family)
{
    std::string valid = ValidUtf8(text);
    if (!IsSymbolFont(family))
        return {std::move(valid), std::string(family)};
    return {MapGlyphs(valid), std::string(GlyphFontFamily)};
}

int CharOffsetFromUtf16(std::string_view text, int utf16Offset)
{
    int chars = 0;
    int units = 0;
    const char* end = text.data() + text.size();
    for (const char* p = text.data(); p < end && units < utf16Offset; p = g_utf8_next_char(p)) {
        units += g_utf8_get_char(p) > 0xFFFF ? 2 : 1;
        ++chars;
    }
    return chars;
}

int Utf16OffsetFromChars(std::string_view text, int charOffset)
{
    int chars = 0;
    int units = 0;
    const char* end = text.data() + text.size();
    for (const char* p = text.data(); p < end && chars < charOffset; p = g_utf8_next_char(p)) {
        units += g_utf8_get_char(p) > 0xFFFF ? 2 : 1;
        ++chars;
    }
    return units;
}

} // namespace gtkui
