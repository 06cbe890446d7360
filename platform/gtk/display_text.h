#pragma once
// Text as GTK gets it: valid UTF-8, symbol-font glyphs mapped, and offsets
// converted between the model's UTF-16 units and GTK's characters.
#include <string>
#include <string_view>

#include "platform/gtk/glib_text.h"

namespace gtkui {

// Text and family as they are drawn and measured.
struct DisplayText {
    std::string Text;
    std::string Family;
};
DisplayText ResolveDisplayText(std::string_view text, std::string_view family);

// Offsets in valid UTF-8 text; both clamp to the text's end.
int CharOffsetFromUtf16(std::string_view text, int utf16Offset);
int Utf16OffsetFromChars(std::string_view text, int charOffset);

} // namespace gtkui
