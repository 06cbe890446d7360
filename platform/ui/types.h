#pragma once
// Value types of the element model: geometry, colours and the enumerations the
// system compares by name.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace ui {

struct Size {
    double Width = 0;
    double Height = 0;
    bool operator==(const Size&) const = default;
};

struct Rect {
    double X = 0;
    double Y = 0;
    double Width = 0;
    double Height = 0;
    bool operator==(const Rect&) const = default;
};

// Left, top, right, bottom, as the markup writes them ("l,t,r,b").
struct Thickness {
    double Left = 0;
    double Top = 0;
    double Right = 0;
    double Bottom = 0;
    constexpr Thickness() = default;
    constexpr Thickness(double uniform) : Left(uniform), Top(uniform), Right(uniform), Bottom(uniform) {}
    constexpr Thickness(double l, double t, double r, double b) : Left(l), Top(t), Right(r), Bottom(b) {}
    bool operator==(const Thickness&) const = default;
};

// Top-left, top-right, bottom-right, bottom-left.
struct CornerRadius {
    double TopLeft = 0;
    double TopRight = 0;
    double BottomRight = 0;
    double BottomLeft = 0;
    constexpr CornerRadius() = default;
    constexpr CornerRadius(double uniform) : TopLeft(uniform), TopRight(uniform), BottomRight(uniform), BottomLeft(uniform) {}
    constexpr CornerRadius(double tl, double tr, double br, double bl) : TopLeft(tl), TopRight(tr), BottomRight(br), BottomLeft(bl) {}
    bool operator==(const CornerRadius&) const = default;
};

struct Color {
    uint8_t A = 0;
    uint8_t R = 0;
    uint8_t G = 0;
    uint8_t B = 0;
    static constexpr Color FromArgb(uint8_t a, uint8_t r, uint8_t g, uint8_t b) { return Color{a, r, g, b}; }
    static constexpr Color FromRgb(uint8_t r, uint8_t g, uint8_t b) { return Color{255, r, g, b}; }
    static constexpr Color Transparent() { return Color{0, 255, 255, 255}; }
    static constexpr Color White() { return FromRgb(255, 255, 255); }
    static constexpr Color Black() { return FromRgb(0, 0, 0); }
    static constexpr Color Red() { return FromRgb(255, 0, 0); }
    bool operator==(const Color&) const = default;
};

// A brush is a colour or nothing (no paint at all, which differs from a
// transparent brush only in that it is inherited or defaulted).
using Brush = std::optional<Color>;

// Parses "#AARRGGBB", "#RRGGBB" or a colour name ("White", "Transparent", ...).
std::optional<Color> ParseColor(std::string_view text);

enum class Visibility { Visible, Collapsed };
enum class FocusState { Unfocused, Pointer, Keyboard, Programmatic };
enum class HorizontalAlignment { Left, Center, Right, Stretch };
enum class VerticalAlignment { Top, Center, Bottom, Stretch };
enum class Orientation { Vertical, Horizontal };
enum class TextWrapping { NoWrap, Wrap };
enum class TextAlignment { Left, Center, Right };
enum class FontWeight { Normal, SemiBold, Bold };
enum class ScrollBarVisibility { Disabled, Auto, Hidden, Visible };

// The system compares visibility and focus by their names.
std::string ToString(Visibility v);
std::string ToString(FocusState f);
std::string ToString(HorizontalAlignment a);
std::string ToString(VerticalAlignment a);
std::optional<Visibility> ParseVisibility(std::string_view name);
std::optional<FocusState> ParseFocusState(std::string_view name);
std::optional<HorizontalAlignment> ParseHorizontalAlignment(std::string_view name);
std::optional<VerticalAlignment> ParseVerticalAlignment(std::string_view name);

// Grid row and column sizes: pixels, Auto, or a share of the rest ("*", "2*").
struct GridLength {
    enum class Unit { Pixel, Auto, Star };
    Unit Kind = Unit::Star;
    double Value = 1;
    static constexpr GridLength Pixels(double v) { return GridLength{Unit::Pixel, v}; }
    static constexpr GridLength Auto() { return GridLength{Unit::Auto, 0}; }
    static constexpr GridLength Star(double v = 1) { return GridLength{Unit::Star, v}; }
    bool operator==(const GridLength&) const = default;
};
std::optional<GridLength> ParseGridLength(std::string_view text);
std::optional<Thickness> ParseThickness(std::string_view text);
std::optional<CornerRadius> ParseCornerRadius(std::string_view text);

// Width and Height are "auto" when NaN, as in the markup's absent attribute.
inline constexpr double Auto = std::numeric_limits<double>::quiet_NaN();
inline bool IsAuto(double v) { return std::isnan(v); }

} // namespace ui
