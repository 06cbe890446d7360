#include "platform/ui/types.h"

#include <gtest/gtest.h>

namespace {

using ui::Color;

TEST(UiValues, ParsesColours)
{
    const std::pair<const char*, std::optional<Color>> cases[] = {
        {"#80FF0000", Color::FromArgb(0x80, 0xFF, 0, 0)},
        {"#ff303030", Color::FromRgb(48, 48, 48)},
        {"#303030", Color::FromRgb(48, 48, 48)},
        {"#F00", Color::FromRgb(255, 0, 0)},
        {"#8F00", Color::FromArgb(0x88, 0xFF, 0, 0)},
        {" White ", Color::White()},
        {"Transparent", Color::Transparent()},
        {"black", Color::Black()},
        {"Red", Color::Red()},
        {"Gray", Color::FromRgb(128, 128, 128)},
        {"LightGray", Color::FromRgb(211, 211, 211)},
        {"Orange", Color::FromRgb(255, 165, 0)},
        {"#GG0000", std::nullopt},
        {"#12345", std::nullopt},
        {"#", std::nullopt},
        {"", std::nullopt},
        {"Reddish", std::nullopt},
        {"{ThemeResource SystemAccentColor}", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ui::ParseColor(text), expected) << text;
}

TEST(UiValues, ParsesThicknessesIncludingNegativeOnes)
{
    const std::pair<const char*, std::optional<ui::Thickness>> cases[] = {
        {"5", ui::Thickness(5)},
        {"1,2", ui::Thickness(1, 2, 1, 2)},
        {"1,2,3,4", ui::Thickness(1, 2, 3, 4)},
        {"0,-28,0,0", ui::Thickness(0, -28, 0, 0)},
        {" 92 , -48 , 133 , 0 ", ui::Thickness(92, -48, 133, 0)},
        {"1 2 3 4", ui::Thickness(1, 2, 3, 4)},
        {"0.5,1.25", ui::Thickness(0.5, 1.25, 0.5, 1.25)},
        {"", std::nullopt},
        {"1,2,3", std::nullopt},
        {"1,,2,3", std::nullopt},
        {"1,", std::nullopt},
        {"a", std::nullopt},
        {"1,2,3,4,5", std::nullopt},
        {"Infinity", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ui::ParseThickness(text), expected) << text;
}

TEST(UiValues, ParsesCornerRadii)
{
    EXPECT_EQ(ui::ParseCornerRadius("5"), ui::CornerRadius(5));
    EXPECT_EQ(ui::ParseCornerRadius("5,0,0,0"), ui::CornerRadius(5, 0, 0, 0));
    EXPECT_EQ(ui::ParseCornerRadius("1,2"), std::nullopt);
    EXPECT_EQ(ui::ParseCornerRadius("-1"), std::nullopt);
}

TEST(UiValues, ParsesGridLengths)
{
    const std::pair<const char*, std::optional<ui::GridLength>> cases[] = {
        {"Auto", ui::GridLength::Auto()},
        {"auto", ui::GridLength::Auto()},
        {"*", ui::GridLength::Star(1)},
        {"2*", ui::GridLength::Star(2)},
        {"0.5*", ui::GridLength::Star(0.5)},
        {"48", ui::GridLength::Pixels(48)},
        {" 32 ", ui::GridLength::Pixels(32)},
        {"-1", std::nullopt},
        {"x*", std::nullopt},
        {"", std::nullopt},
        {"48px", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ui::ParseGridLength(text), expected) << text;
}

TEST(UiValues, VisibilityAndFocusRoundTripThroughTheirNames)
{
    for (auto v : {ui::Visibility::Visible, ui::Visibility::Collapsed})
        EXPECT_EQ(ui::ParseVisibility(ui::ToString(v)), v);
    EXPECT_EQ(ui::ToString(ui::Visibility::Collapsed), "Collapsed");
    EXPECT_EQ(ui::ToString(ui::Visibility::Visible), "Visible");
    EXPECT_EQ(ui::ParseVisibility("Hidden"), std::nullopt);

    const std::pair<ui::FocusState, const char*> names[] = {
        {ui::FocusState::Unfocused, "Unfocused"},
        {ui::FocusState::Pointer, "Pointer"},
        {ui::FocusState::Keyboard, "Keyboard"},
        {ui::FocusState::Programmatic, "Programmatic"},
    };
    for (const auto& [state, name] : names) {
        EXPECT_EQ(ui::ToString(state), name);
        EXPECT_EQ(ui::ParseFocusState(name), state);
    }
    EXPECT_EQ(ui::ParseFocusState("Focused"), std::nullopt);
}

TEST(UiValues, AlignmentsRoundTripThroughTheirNames)
{
    for (auto a : {ui::HorizontalAlignment::Left, ui::HorizontalAlignment::Center, ui::HorizontalAlignment::Right,
                   ui::HorizontalAlignment::Stretch})
        EXPECT_EQ(ui::ParseHorizontalAlignment(ui::ToString(a)), a);
    for (auto a : {ui::VerticalAlignment::Top, ui::VerticalAlignment::Center, ui::VerticalAlignment::Bottom,
                   ui::VerticalAlignment::Stretch})
        EXPECT_EQ(ui::ParseVerticalAlignment(ui::ToString(a)), a);
    EXPECT_EQ(ui::ParseHorizontalAlignment("Top"), std::nullopt);
    EXPECT_EQ(ui::ParseVerticalAlignment("Left"), std::nullopt);
}

} // namespace
