#pragma once
// Helpers for reading the markup's attribute texts: numbers, trimmed text and
// enumeration names (matched without regard to case, as the markup does).
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

namespace ui {

std::string_view Trim(std::string_view text);
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// A decimal number ("12", "-0.5", "1e3", "Infinity"); nullopt for anything else.
std::optional<double> ParseNumber(std::string_view text);

template <typename E>
std::optional<E> ParseEnumName(std::string_view name, std::initializer_list<std::pair<std::string_view, E>> table)
{
    name = Trim(name);
    for (const auto& [text, value] : table) {
        if (EqualsIgnoringCase(text, name))
            return value;
    }
    return std::nullopt;
}

} // namespace ui
