#pragma once
// Text extents with a fixed metric, so layout expectations are exact: each
// character is half the font size wide, a line is 10/7 of the font size high
// (at the default 14: 7 by 20 pixels). Wrapping breaks at any character.
#include <algorithm>
#include <cmath>
#include <string>

#include "platform/ui/layout.h"

namespace uitest {

class FixedTextMeasurer : public ui::TextMeasurer {
public:
    ui::Size MeasureText(const std::string& text, const std::string& fontFamily, double fontSize,
                         ui::FontWeight weight, double maxWidth) const override
    {
        double charWidth = fontSize / 2;
        double lineHeight = fontSize * 10 / 7;
        double chars = CodePoints(text);
        double perLine = std::isinf(maxWidth) ? chars : std::max(1.0, std::floor(maxWidth / charWidth));
        double lines = chars == 0 ? 1 : std::ceil(chars / perLine);
        return {std::min(chars, perLine) * charWidth, lines * lineHeight};
    }

private:
    static double CodePoints(const std::string& text)
    {
        return static_cast<double>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    }
};

} // namespace uitest
