#include "platform/ui/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/ui/markup.h"
#include "tests/doubles/services.h"

namespace ui {
void PrintTo(const Rect& r, std::ostream* out)
{
    *out << "{" << r.X << ", " << r.Y << ", " << r.Width << ", " << r.Height << "}";
}
void PrintTo(const Size& s, std::ostream* out) { *out << s.Width << "x" << s.Height; }
} // namespace ui

namespace {

using ui::Rect;
using ui::Size;

// Text extents with a fixed metric, so layout expectations are exact: each
// character is half the font size wide, a line is 10/7 of the font size high
// (at the default 14: 7 by 20 pixels). Wrapping breaks at any character.
class FixedTextMeasurer : public ui::TextMeasurer {
public:
    Size MeasureText(const std::string& text, const std::string&, double fontSize, ui::FontWeight,
                     double maxWidth) const override
    {
        double charWidth = fontSize / 2;
        double chars = static_cast<double>(std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
        double perLine = std::isinf(maxWidth) ? chars : std::max(1.0, std::floor(maxWidth / charWidth));
        double lines = chars == 0 ? 1 : std::ceil(chars / perLine);
        return {std::min(chars, perLine) * charWidth, lines * fontSize * 10 / 7};
    }
};

struct LayoutCase {
    const char* Title;
    Size Window;
    const char* Markup;
    std::vector<std::pair<const char*, Rect>> Placements; // relative to the root
};

ui::LoadedMarkup Load(const std::string& markup)
{
    doubles::FakeResources resources;
    return ui::LoadMarkup(markup, resources, {});
}

const std::vector<LayoutCase> Cases = {
    {"a negative top margin pulls a right-aligned button over the caption; desired sizes stay >= 0", {800, 600},
     R"(<StackPanel x:Name="Panel" Width="300" HorizontalAlignment="Left" VerticalAlignment="Top">
          <TextBlock x:Name="Caption" Text="Downloads" Height="28"/>
          <Button x:Name="Close" Content="&#xE10A;" Width="40" Height="28" Margin="0,-28,0,0" HorizontalAlignment="Right"/>
          <Border x:Name="Overhanging" Width="5" Height="10" Margin="0,-28,0,0" HorizontalAlignment="Left" VerticalAlignment="Top"/>
          <TextBlock x:Name="Next" Text="after"/>
        </StackPanel>)",
     {{"Panel", {0, 0, 300, 48}}, {"Caption", {0, 0, 300, 28}}, {"Close", {260, 0, 40, 28}},
      {"Overhanging", {0, 0, 5, 10}}, {"Next", {0, 28, 300, 20}}}},
    {"a horizontal stack overlaps on a negative margin and centres explicit heights", {800, 600},
     R"(<StackPanel Orientation="Horizontal" HorizontalAlignment="Left" VerticalAlignment="Top" x:Name="Panel">
          <Border x:Name="B1" Width="50" Height="10"/><Border x:Name="B2" Width="30" Height="20" Margin="-20,0,0,0"/>
          <Border x:Name="B3" Width="30" Height="30" VerticalAlignment="Bottom"/>
        </StackPanel>)",
     {{"Panel", {0, 0, 90, 30}}, {"B1", {0, 10, 50, 10}}, {"B2", {30, 5, 30, 20}}, {"B3", {60, 0, 30, 30}}}},
    {"collapsed children take no space", {800, 600},
     R"(<StackPanel x:Name="Panel" HorizontalAlignment="Left" VerticalAlignment="Top">
          <TextBlock x:Name="A" Text="aa"/><TextBlock Text="hidden text" Visibility="Collapsed"/><TextBlock x:Name="B" Text="bbbb"/>
        </StackPanel>)",
     {{"Panel", {0, 0, 28, 40}}, {"A", {0, 0, 28, 20}}, {"B", {0, 20, 28, 20}}}},
    {"explicit sizes win over stretch and content", {800, 600},
     R"(<Grid>
          <Border x:Name="Fixed" Width="100" Height="50"/>
          <TextBlock x:Name="Narrow" Text="a long caption" Width="20" HorizontalAlignment="Left" VerticalAlignment="Top"/>
        </Grid>)",
     {{"Fixed", {350, 275, 100, 50}}, {"Narrow", {0, 0, 20, 20}}}},
    {"alignments place the element inside its margins", {200, 100},
     R"(<Grid>
          <TextBlock x:Name="TopLeft" Text="ab" HorizontalAlignment="Left" VerticalAlignment="Top" Margin="5,6,0,0"/>
          <TextBlock x:Name="Centered" Text="ab" HorizontalAlignment="Center" VerticalAlignment="Center"/>
          <TextBlock x:Name="BottomRight" Text="ab" HorizontalAlignment="Right" VerticalAlignment="Bottom" Margin="0,0,10,4"/>
          <TextBlock x:Name="Stretched" Text="ab" Margin="1,2,3,4"/>
          <Border x:Name="Wider" Width="300" Height="10" HorizontalAlignment="Center" VerticalAlignment="Top"/>
        </Grid>)",
     {{"TopLeft", {5, 6, 14, 20}}, {"Centered", {93, 40, 14, 20}}, {"BottomRight", {176, 76, 14, 20}},
      {"Stretched", {1, 2, 196, 94}}, {"Wider", {-50, 0, 300, 10}}}},
    {"pixel, auto and star rows and columns with spans", {400, 298},
     R"(<Grid>
          <Grid.RowDefinitions>
            <RowDefinition Height="48"/><RowDefinition Height="Auto"/><RowDefinition Height="*"/><RowDefinition Height="2*"/>
          </Grid.RowDefinitions>
          <Grid.ColumnDefinitions>
            <ColumnDefinition Width="100"/><ColumnDefinition Width="*"/><ColumnDefinition Width="Auto"/>
          </Grid.ColumnDefinitions>
          <Border x:Name="Header" Grid.ColumnSpan="3"/>
          <TextBlock x:Name="AutoCell" Grid.Row="1" Grid.Column="2" Text="abcd" FontSize="28"/>
          <Border x:Name="StarCell" Grid.Row="2" Grid.Column="1"/>
          <Border x:Name="Spanning" Grid.Row="2" Grid.RowSpan="2"/>
          <Border x:Name="Clamped" Grid.Row="9" Grid.Column="1" Grid.ColumnSpan="5"/>
        </Grid>)",
     {{"Header", {0, 0, 400, 48}}, {"AutoCell", {344, 48, 56, 40}}, {"StarCell", {100, 88, 244, 70}},
      {"Spanning", {0, 88, 100, 210}}, {"Clamped", {100, 158, 300, 140}}}},
    {"a collapsed element leaves its auto row empty", {400, 300},
     R"(<Grid><Grid.RowDefinitions><RowDefinition Height="Auto"/><RowDefinition Height="*"/></Grid.RowDefinitions>
          <TextBlock Text="tall" FontSize="70" Visibility="Collapsed"/><Border x:Name="Content" Grid.Row="1"/></Grid>)",
     {{"Content", {0, 0, 400, 300}}}},
    {"star rows act as auto rows when the height is unbounded", {800, 600},
     R"(<StackPanel HorizontalAlignment="Left" VerticalAlignment="Top" Width="200">
          <Grid x:Name="Inner">
            <Grid.RowDefinitions><RowDefinition Height="*"/><RowDefinition Height="10"/><RowDefinition Height="2*"/></Grid.RowDefinitions>
            <TextBlock x:Name="Text" Text="x"/><Border x:Name="Empty" Grid.Row="2"/>
          </Grid>
        </StackPanel>)",
     {{"Inner", {0, 0, 200, 30}}, {"Text", {0, 0, 200, 20}}, {"Empty", {0, 30, 200, 0}}}},
    {"controls size to their content; text wraps at its width", {400, 600},
     R"(<StackPanel>
          <Button x:Name="Save" Content="Save"/><TextBox x:Name="LongBox" Text="abcdefghijklmnop" HorizontalAlignment="Left"/>
          <TextBlock x:Name="Wrapped" Width="35" HorizontalAlignment="Left" TextWrapping="Wrap" Text="abcdefghij"/>
        </StackPanel>)",
     {{"Save", {0, 0, 44, 31}}, {"LongBox", {0, 31, 128, 32}}, {"Wrapped", {0, 63, 35, 40}}}},
    {"a text box longer than its place keeps to it, its text scrolls inside", {200, 100},
     R"(<Grid><TextBox x:Name="Address" Margin="20,0,30,0" VerticalAlignment="Top" Text="http://example.com/a/rather/long/path"/></Grid>)",
     {{"Address", {20, 0, 150, 32}}}},
    {"text wraps to the viewport only when horizontal scrolling is disabled", {800, 600},
     R"(<Grid Width="200" Height="100" HorizontalAlignment="Left" VerticalAlignment="Top">
          <ScrollViewer><TextBlock x:Name="Wraps" TextWrapping="Wrap" VerticalAlignment="Top" Text="0123456789012345678901234567890123456789"/></ScrollViewer>
          <ScrollViewer HorizontalScrollBarVisibility="Auto">
            <TextBlock x:Name="OneLine" TextWrapping="Wrap" VerticalAlignment="Top" Text="0123456789012345678901234567890123456789"/>
          </ScrollViewer>
        </Grid>)",
     {{"Wraps", {0, 0, 200, 40}}, {"OneLine", {0, 0, 280, 20}}}},
    {"a scrolling panel across a star row and empty auto rows keeps to the space left", {300, 200},
     R"(<Grid>
          <Grid.RowDefinitions><RowDefinition Height="50"/><RowDefinition Height="*"/><RowDefinition Height="Auto"/></Grid.RowDefinitions>
          <ScrollViewer x:Name="Side" Grid.Row="1" Grid.RowSpan="2"><Border Height="900"/></ScrollViewer>
        </Grid>)",
     {{"Side", {0, 50, 300, 150}}}},
    {"a border's thickness and padding inset its child; rects add up from the parents' border boxes", {640, 480},
     R"(<Border x:Name="Frame" BorderThickness="2" Padding="3" Margin="10" HorizontalAlignment="Left" VerticalAlignment="Top">
          <TextBlock x:Name="Label" Text="ab"/>
        </Border>)",
     {{"Frame", {10, 10, 24, 30}}, {"Label", {15, 15, 14, 20}}}},
};

TEST(Layout, PlacesElementsAsThePageMarkupExpects)
{
    FixedTextMeasurer measurer;
    for (const auto& c : Cases) {
        SCOPED_TRACE(c.Title);
        auto markup = Load(c.Markup);
        ui::UpdateLayout(*markup.Root, c.Window, measurer);
        for (const auto& [name, expected] : c.Placements) {
            auto* element = markup.Find(name);
            ASSERT_NE(element, nullptr) << name;
            EXPECT_EQ(ui::AbsoluteRect(*element), expected) << name;
        }
    }
}

TEST(Layout, ScrollViewerReportsExtentAndViewportAndClampsItsOffset)
{
    FixedTextMeasurer measurer;
    auto markup = Load(R"(<ScrollViewer x:Name="Viewer" Padding="5"><Border Width="50" Height="300"/></ScrollViewer>)");
    auto& viewer = markup.Get<ui::ScrollViewer>("Viewer");
    viewer.ScrollTo(500, 1000);
    ui::UpdateLayout(viewer, {200, 110}, measurer);
    EXPECT_EQ(viewer.ViewportSize, (Size{190, 100}));
    EXPECT_EQ(viewer.ExtentSize, (Size{50, 300}));
    EXPECT_EQ(std::pair(viewer.HorizontalOffset(), viewer.VerticalOffset()), std::pair(0.0, 200.0));
    viewer.ScrollTo(-5, -5);
    EXPECT_EQ(std::pair(viewer.HorizontalOffset(), viewer.VerticalOffset()), std::pair(0.0, 0.0));
    // The child of a viewer smaller than its content is still the content's size.
    EXPECT_EQ(viewer.ChildAt(0).LayoutRect, (Rect{75, -195, 50, 300}));
}

} // namespace
