#include "platform/ui/types.h"

#include <gtest/gtest.h>

namespace {

using ui::Color;
using ui::GridLength;
using ui::Thickness;

TEST(UiValues, ParsesColoursThicknessesAndLengths)
{
    const std::pair<const char*, std::optional<Color>> colours[] = { // the forms the page uses
        {"#80FF0000", Color::FromArgb(0x80, 0xFF, 0, 0)}, {"#ff303030", Color::FromRgb(48, 48, 48)},
        {" White ", Color::White()}, {"black", Color::Black()}, {"Transparent", Color::Transparent()},
        {"#GG0000", std::nullopt}, {"#12345", std::nullopt}, {"", std::nullopt}, {"Reddish", std::nullopt},
        {"{ThemeResource SystemAccentColor}", std::nullopt},
    };
    for (const auto& [text, expected] : colours)
        EXPECT_EQ(ui::ParseColor(text), expected) << text;
    const std::pair<const char*, std::optional<Thickness>> thicknesses[] = { // negative margins overlap
        {"5", Thickness(5)}, {"1,2", Thickness(1, 2, 1, 2)}, {"0,-28,0,0", Thickness(0, -28, 0, 0)},
        {" 92 , -48 , 133 , 0 ", Thickness(92, -48, 133, 0)},
        {"", std::nullopt}, {"1,2,3", std::nullopt}, {"1,,2,3", std::nullopt}, {"1,", std::nullopt},
        {"a", std::nullopt}, {"1,2,3,4,5", std::nullopt}, {"Infinity", std::nullopt},
    };
    for (const auto& [text, expected] : thicknesses)
        EXPECT_EQ(ui::ParseThickness(text), expected) << text;
    const std::pair<const char*, std::optional<GridLength>> lengths[] = {
        {"auto", GridLength::Auto()}, {"0.5*", GridLength::Star(0.5)}, {" 32 ", GridLength::Pixels(32)},
        {"-1", std::nullopt}, {"x*", std::nullopt}, {"", std::nullopt}, {"48px", std::nullopt},
    };
    for (const auto& [text, expected] : lengths)
        EXPECT_EQ(ui::ParseGridLength(text), expected) << text;
    EXPECT_EQ(ui::ParseCornerRadius("5,0,0,0"), ui::CornerRadius(5, 0, 0, 0));
    EXPECT_EQ(ui::ParseCornerRadius("1,2"), std::nullopt);
    EXPECT_EQ(ui::ParseCornerRadius("-1"), std::nullopt);
}

} // namespace
