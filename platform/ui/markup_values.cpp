#include "platform/ui/markup_values.h"

#include <charconv>
#include <cmath>

namespace ui::markup {

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}

double Number(std::string_view text)
{
    auto value = ParseNumber(text);
    if (!value)
        throw BadValue(Quoted(text) + " is not a number");
    return *value;
}

double NonNegative(std::string_view text)
{
    double value = Number(text);
    if (value < 0)
        throw BadValue(Quoted(text) + " is negative");
    return value;
}

double Length(std::string_view text)
{
    if (EqualsIgnoringCase(Trim(text), "Auto"))
        return ui::Auto;
    return NonNegative(text);
}

int32_t Integer(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        throw BadValue(Quoted(text) + " is not a whole number");
    return value;
}

bool Boolean(std::string_view text)
{
    return EnumValue<bool>(text, {{"True", true}, {"False", false}});
}

std::optional<bool> NullableBoolean(std::string_view text)
{
    if (Trim(text) == "{x:Null}")
        return std::nullopt;
    return Boolean(text);
}

Brush BrushValue(std::string_view text)
{
    if (Trim(text) == "{x:Null}")
        return std::nullopt;
    if (auto color = ParseColor(text))
        return *color;
    throw BadValue(Quoted(text) + " is not a colour (#AARRGGBB, #RRGGBB or a colour name)");
}

Thickness ThicknessValue(std::string_view text)
{
    if (auto value = ParseThickness(text))
        return *value;
    throw BadValue(Quoted(text) + " is not a thickness (one, two or four numbers)");
}

ui::CornerRadius CornerRadiusValue(std::string_view text)
{
    if (auto value = ParseCornerRadius(text))
        return *value;
    throw BadValue(Quoted(text) + " is not a corner radius (one or four non-negative numbers)");
}

GridLength GridLengthValue(std::string_view text)
{
    if (auto value = ParseGridLength(text))
        return *value;
    throw BadValue(Quoted(text) + " is not a grid length (Auto, *, 2* or pixels)");
}

} // namespace ui::markup
