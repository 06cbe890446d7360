#pragma once
// Attribute texts of the page markup turned into property values; a text that
// does not parse throws BadValue, which the loader reports with its line.
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

#include "platform/ui/text_values.h"
#include "platform/ui/types.h"

namespace ui::markup {

class BadValue : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

double Number(std::string_view text);
double NonNegative(std::string_view text);
// A size: a non-negative number, or "Auto" (NaN).
double Length(std::string_view text);
int32_t Integer(std::string_view text);
bool Boolean(std::string_view text);
// "{x:Null}" is no brush at all.
Brush BrushValue(std::string_view text);
std::optional<bool> NullableBoolean(std::string_view text);
Thickness ThicknessValue(std::string_view text);
ui::CornerRadius CornerRadiusValue(std::string_view text);
GridLength GridLengthValue(std::string_view text);

std::string Quoted(std::string_view text);

template <typename E>
E EnumValue(std::string_view text, std::initializer_list<std::pair<std::string_view, E>> table)
{
    if (auto value = ParseEnumName<E>(text, table))
        return *value;
    std::string names;
    for (const auto& [name, value] : table)
        names += (names.empty() ? "" : ", ") + std::string(name);
    throw BadValue(Quoted(text) + " is not one of " + names);
}

} // namespace ui::markup
