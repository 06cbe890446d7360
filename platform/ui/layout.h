#pragma once
// Measure and arrange with the semantics the page markup expects: star, auto
// and pixel grid rows; stacking panels; negative margins that overlap
// neighbours; collapsed elements that take no space; explicit sizes that win.
#include <string>

#include "platform/ui/element.h"

namespace ui {

// Text extents come from the platform's fonts (or a fixed metric in tests).
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // fontSize is already resolved (never NaN); fontFamily may be empty.
    virtual Size MeasureText(const std::string& text, const std::string& fontFamily, double fontSize,
                             ui::FontWeight weight, double maxWidth) const = 0;
};

inline constexpr double DefaultFontSize = 14;

// Lays out the whole tree into a window of the given size; afterwards every
// element's LayoutRect is set relative to its parent.
void UpdateLayout(Element& root, Size available, const TextMeasurer& measurer);

// The rectangle of an element relative to the root (sum of parents' rects).
Rect AbsoluteRect(const Element& element);

} // namespace ui
