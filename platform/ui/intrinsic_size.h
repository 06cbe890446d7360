#pragma once
// What a leaf element needs for its own content (text, glyph, box, track),
// before padding, border and margins: the platform controls' usual metrics.
#include "platform/ui/layout.h"

namespace ui {

// The content size of a leaf element given the space inside its padding.
Size IntrinsicSize(const Element& element, Size inner, const TextMeasurer& measurer);

// The element's font size, NaN meaning the default.
double ResolvedFontSize(const Element& element);

} // namespace ui
