#include "platform/ui/types.h"

#include <array>
#include <charconv>
#include <vector>

#include "platform/ui/text_values.h"

namespace ui {

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i] >= 'A' && a[i] <= 'Z' ? char(a[i] - 'A' + 'a') : a[i];
        char y = b[i] >= 'A' && b[i] <= 'Z' ? char(b[i] - 'A' + 'a') : b[i];
        if (x != y)
            return false;
    }
    return true;
}

namespace {

struct NamedColor {
    std::string_view Name;
    Color Value;
};

// The common names of the markup's colour table.
constexpr std::array kNamedColors{
    NamedColor{"Transparent", Color::Transparent()},
    NamedColor{"White", Color::White()},
    NamedColor{"Black", Color::Black()},
    NamedColor{"Red", Color::Red()},
    NamedColor{"Green", Color::FromRgb(0, 128, 0)},
    NamedColor{"Lime", Color::FromRgb(0, 255, 0)},
    NamedColor{"Blue", Color::FromRgb(0, 0, 255)},
    NamedColor{"Gray", Color::FromRgb(128, 128, 128)},
    NamedColor{"Grey", Color::FromRgb(128, 128, 128)},
    NamedColor{"LightGray", Color::FromRgb(211, 211, 211)},
    NamedColor{"DarkGray", Color::FromRgb(169, 169, 169)},
    NamedColor{"DimGray", Color::FromRgb(105, 105, 105)},
    NamedColor{"Silver", Color::FromRgb(192, 192, 192)},
    NamedColor{"Gainsboro", Color::FromRgb(220, 220, 220)},
    NamedColor{"WhiteSmoke", Color::FromRgb(245, 245, 245)},
    NamedColor{"Yellow", Color::FromRgb(255, 255, 0)},
    NamedColor{"Orange", Color::FromRgb(255, 165, 0)},
    NamedColor{"DarkOrange", Color::FromRgb(255, 140, 0)},
    NamedColor{"OrangeRed", Color::FromRgb(255, 69, 0)},
    NamedColor{"Gold", Color::FromRgb(255, 215, 0)},
    NamedColor{"Brown", Color::FromRgb(165, 42, 42)},
    NamedColor{"Maroon", Color::FromRgb(128, 0, 0)},
    NamedColor{"DarkRed", Color::FromRgb(139, 0, 0)},
    NamedColor{"Crimson", Color::FromRgb(220, 20, 60)},
    NamedColor{"Pink", Color::FromRgb(255, 192, 203)},
    NamedColor{"Purple", Color::FromRgb(128, 0, 128)},
    NamedColor{"Magenta", Color::FromRgb(255, 0, 255)},
    NamedColor{"Fuchsia", Color::FromRgb(255, 0, 255)},
    NamedColor{"Cyan", Color::FromRgb(0, 255, 255)},
    NamedColor{"Aqua", Color::FromRgb(0, 255, 255)},
    NamedColor{"Teal", Color::FromRgb(0, 128, 128)},
    NamedColor{"Navy", Color::FromRgb(0, 0, 128)},
    NamedColor{"DarkBlue", Color::FromRgb(0, 0, 139)},
    NamedColor{"DodgerBlue", Color::FromRgb(30, 144, 255)},
    NamedColor{"SkyBlue", Color::FromRgb(135, 206, 235)},
    NamedColor{"LightBlue", Color::FromRgb(173, 216, 230)},
    NamedColor{"SteelBlue", Color::FromRgb(70, 130, 180)},
    NamedColor{"DarkGreen", Color::FromRgb(0, 100, 0)},
    NamedColor{"LightGreen", Color::FromRgb(144, 238, 144)},
    NamedColor{"Olive", Color::FromRgb(128, 128, 0)},
};

std::optional<uint8_t> HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return uint8_t(c - '0');
    if (c >= 'a' && c <= 'f')
        return uint8_t(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return uint8_t(c - 'A' + 10);
    return std::nullopt;
}

// "#AARRGGBB", "#RRGGBB", and the short "#ARGB", "#RGB" (each digit doubled).
std::optional<Color> ParseHexColor(std::string_view digits)
{
    std::vector<uint8_t> values;
    for (char c : digits) {
        auto d = HexDigit(c);
        if (!d)
            return std::nullopt;
        values.push_back(*d);
    }
    auto pair = [&](size_t i) { return uint8_t(values[i] * 16 + values[i + 1]); };
    auto twice = [&](size_t i) { return uint8_t(values[i] * 17); };
    switch (values.size()) {
    case 8: return Color::FromArgb(pair(0), pair(2), pair(4), pair(6));
    case 6: return Color::FromRgb(pair(0), pair(2), pair(4));
    case 4: return Color::FromArgb(twice(0), twice(1), twice(2), twice(3));
    case 3: return Color::FromRgb(twice(0), twice(1), twice(2));
    default: return std::nullopt;
    }
}

// Splits "1,2 3" on commas and/or white space; an empty piece between two
// commas is a fault, reported as an empty vector.
std::vector<double> ParseNumberList(std::string_view text)
{
    std::vector<double> numbers;
    size_t i = 0;
    bool expectNumber = true;
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (i < text.size()) {
        if (isSpace(text[i])) {
            ++i;
            continue;
        }
        if (text[i] == ',') {
            if (expectNumber)
                return {};
            expectNumber = true;
            ++i;
            continue;
        }
        size_t end = i;
        while (end < text.size() && !isSpace(text[end]) && text[end] != ',')
            ++end;
        auto number = ParseNumber(text.substr(i, end - i));
        if (!number)
            return {};
        numbers.push_back(*number);
        expectNumber = false;
        i = end;
    }
    if (expectNumber && !numbers.empty())
        return {}; // a trailing comma
    return numbers;
}

} // namespace

std::string_view Trim(std::string_view text)
{
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<double> ParseNumber(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    if (EqualsIgnoringCase(text, "Infinity"))
        return std::numeric_limits<double>::infinity();
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || std::isnan(value) || std::isinf(value))
        return std::nullopt;
    return value;
}

std::optional<Color> ParseColor(std::string_view text)
{
    text = Trim(text);
    if (!text.empty() && text.front() == '#')
        return ParseHexColor(text.substr(1));
    for (const auto& named : kNamedColors) {
        if (EqualsIgnoringCase(named.Name, text))
            return named.Value;
    }
    return std::nullopt;
}

std::string ToString(Visibility v)
{
    return v == Visibility::Visible ? "Visible" : "Collapsed";
}

std::string ToString(FocusState f)
{
    switch (f) {
    case FocusState::Unfocused: return "Unfocused";
    case FocusState::Pointer: return "Pointer";
    case FocusState::Keyboard: return "Keyboard";
    case FocusState::Programmatic: return "Programmatic";
    }
    return "Unfocused";
}

std::string ToString(HorizontalAlignment a)
{
    switch (a) {
    case HorizontalAlignment::Left: return "Left";
    case HorizontalAlignment::Center: return "Center";
    case HorizontalAlignment::Right: return "Right";
    case HorizontalAlignment::Stretch: return "Stretch";
    }
    return "Stretch";
}

std::string ToString(VerticalAlignment a)
{
    switch (a) {
    case VerticalAlignment::Top: return "Top";
    case VerticalAlignment::Center: return "Center";
    case VerticalAlignment::Bottom: return "Bottom";
    case VerticalAlignment::Stretch: return "Stretch";
    }
    return "Stretch";
}

std::optional<Visibility> ParseVisibility(std::string_view name)
{
    return ParseEnumName<Visibility>(name, {{"Visible", Visibility::Visible}, {"Collapsed", Visibility::Collapsed}});
}

std::optional<FocusState> ParseFocusState(std::string_view name)
{
    return ParseEnumName<FocusState>(name, {{"Unfocused", FocusState::Unfocused},
                                            {"Pointer", FocusState::Pointer},
                                            {"Keyboard", FocusState::Keyboard},
                                            {"Programmatic", FocusState::Programmatic}});
}

std::optional<HorizontalAlignment> ParseHorizontalAlignment(std::string_view name)
{
    return ParseEnumName<HorizontalAlignment>(name, {{"Left", HorizontalAlignment::Left},
                                                     {"Center", HorizontalAlignment::Center},
                                                     {"Right", HorizontalAlignment::Right},
                                                     {"Stretch", HorizontalAlignment::Stretch}});
}

std::optional<VerticalAlignment> ParseVerticalAlignment(std::string_view name)
{
    return ParseEnumName<VerticalAlignment>(name, {{"Top", VerticalAlignment::Top},
                                                   {"Center", VerticalAlignment::Center},
                                                   {"Bottom", VerticalAlignment::Bottom},
                                                   {"Stretch", VerticalAlignment::Stretch}});
}

std::optional<GridLength> ParseGridLength(std::string_view text)
{
    text = Trim(text);
    if (EqualsIgnoringCase(text, "Auto"))
        return GridLength::Auto();
    if (!text.empty() && text.back() == '*') {
        auto weight = Trim(text.substr(0, text.size() - 1));
        if (weight.empty())
            return GridLength::Star(1);
        auto value = ParseNumber(weight);
        if (!value || *value < 0)
            return std::nullopt;
        return GridLength::Star(*value);
    }
    auto pixels = ParseNumber(text);
    if (!pixels || *pixels < 0 || std::isinf(*pixels))
        return std::nullopt;
    return GridLength::Pixels(*pixels);
}

std::optional<Thickness> ParseThickness(std::string_view text)
{
    auto n = ParseNumberList(text);
    for (double v : n) {
        if (std::isinf(v))
            return std::nullopt;
    }
    switch (n.size()) {
    case 1: return Thickness(n[0]);
    case 2: return Thickness(n[0], n[1], n[0], n[1]);
    case 4: return Thickness(n[0], n[1], n[2], n[3]);
    default: return std::nullopt;
    }
}

std::optional<CornerRadius> ParseCornerRadius(std::string_view text)
{
    auto n = ParseNumberList(text);
    for (double v : n) {
        if (std::isinf(v) || v < 0)
            return std::nullopt;
    }
    switch (n.size()) {
    case 1: return CornerRadius(n[0]);
    case 4: return CornerRadius(n[0], n[1], n[2], n[3]);
    default: return std::nullopt;
    }
}

} // namespace ui
