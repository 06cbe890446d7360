#include "platform/ui/layout.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/ui/markup.h"
#include "tests/doubles/services.h"
#include "tests/ui/fixed_text_measurer.h"

namespace {

using ui::Rect;
using ui::Size;

struct Placement {
    const char* Name;
    Rect Expected; // relative to the root
};

struct LayoutCase {
    const char* Title;
    Size Window;
    const char* Markup;
    std::vector<Placement> Placements;
    std::function<void(const ui::LoadedMarkup&)> Before = {};
};

ui::LoadedMarkup Load(const std::string& markup)
{
    doubles::FakeResources resources;
    return ui::LoadMarkup(markup, resources, {});
}

std::string Describe(const Rect& r)
{
    return "{" + std::to_string(r.X) + ", " + std::to_string(r.Y) + ", " + std::to_string(r.Width) + ", " +
           std::to_string(r.Height) + "}";
}

void ExpectRect(const Rect& actual, const Rect& expected, const std::string& what)
{
    constexpr double tolerance = 1e-6;
    bool same = std::abs(actual.X - expected.X) < tolerance && std::abs(actual.Y - expected.Y) < tolerance &&
                std::abs(actual.Width - expected.Width) < tolerance &&
                std::abs(actual.Height - expected.Height) < tolerance;
    EXPECT_TRUE(same) << what << ": got " << Describe(actual) << ", expected " << Describe(expected);
}

const std::vector<LayoutCase>& Cases()
{
    static const std::vector<LayoutCase> cases = {
        {"a negative top margin pulls a right-aligned close button over the caption above it", {800, 600},
         R"(<Grid>
              <StackPanel x:Name="Panel" Width="300" HorizontalAlignment="Left" VerticalAlignment="Top">
                <TextBlock x:Name="Caption" Text="Downloads" Height="28"/>
                <Button x:Name="Close" Content="&#xE10A;" Width="40" Height="28" Margin="0,-28,0,0"
                        HorizontalAlignment="Right"/>
                <TextBlock x:Name="Next" Text="after"/>
              </StackPanel>
            </Grid>)",
         {{"Panel", {0, 0, 300, 48}}, {"Caption", {0, 0, 300, 28}}, {"Close", {260, 0, 40, 28}},
          {"Next", {0, 28, 300, 20}}}},

        {"a negative left margin overlaps the previous neighbour in a horizontal stack", {800, 600},
         R"(<Grid>
              <StackPanel x:Name="Panel" Orientation="Horizontal" HorizontalAlignment="Left" VerticalAlignment="Top">
                <Border x:Name="First" Width="50" Height="10"/>
                <Border x:Name="Second" Width="30" Height="10" Margin="-20,0,0,0"/>
                <Border x:Name="Third" Width="10" Height="10"/>
              </StackPanel>
            </Grid>)",
         {{"Panel", {0, 0, 70, 10}}, {"First", {0, 0, 50, 10}}, {"Second", {30, 0, 30, 10}},
          {"Third", {60, 0, 10, 10}}}},

        {"collapsed children take no space and no spacing", {800, 600},
         R"(<Grid>
              <StackPanel x:Name="Panel" Spacing="4" HorizontalAlignment="Left" VerticalAlignment="Top">
                <TextBlock x:Name="A" Text="aa"/>
                <TextBlock x:Name="Gone" Text="hidden text" Visibility="Collapsed"/>
                <TextBlock x:Name="B" Text="bbbb"/>
              </StackPanel>
              <Border x:Name="GoneCell" Width="100" Height="100" Visibility="Collapsed"/>
            </Grid>)",
         {{"Panel", {0, 0, 28, 44}}, {"A", {0, 0, 28, 20}}, {"Gone", {0, 24, 0, 0}}, {"B", {0, 24, 28, 20}},
          {"GoneCell", {0, 0, 0, 0}}}},

        {"explicit sizes win over stretch and content, Min and Max clamp", {800, 600},
         R"(<Grid>
              <Border x:Name="Fixed" Width="100" Height="50"/>
              <TextBlock x:Name="Narrow" Text="a long caption" Width="20" HorizontalAlignment="Left"
                         VerticalAlignment="Top"/>
              <Border x:Name="Capped" MaxWidth="200" MaxHeight="100"/>
              <TextBlock x:Name="Tall" Text="x" MinHeight="60" MinWidth="30" HorizontalAlignment="Right"
                         VerticalAlignment="Bottom"/>
              <Border x:Name="MaxOverWidth" Width="500" MaxWidth="50" Height="5" HorizontalAlignment="Left"
                      VerticalAlignment="Top"/>
            </Grid>)",
         {{"Fixed", {350, 275, 100, 50}}, {"Narrow", {0, 0, 20, 20}}, {"Capped", {300, 250, 200, 100}},
          {"Tall", {770, 540, 30, 60}}, {"MaxOverWidth", {0, 0, 50, 5}}}},

        {"alignments place the element inside its margins", {200, 100},
         R"(<Grid>
              <TextBlock x:Name="TopLeft" Text="ab" HorizontalAlignment="Left" VerticalAlignment="Top" Margin="5,6,0,0"/>
              <TextBlock x:Name="Centered" Text="ab" HorizontalAlignment="Center" VerticalAlignment="Center"/>
              <TextBlock x:Name="BottomRight" Text="ab" HorizontalAlignment="Right" VerticalAlignment="Bottom"
                         Margin="0,0,10,4"/>
              <TextBlock x:Name="Stretched" Text="ab" Margin="1,2,3,4"/>
              <Border x:Name="Wider" Width="300" Height="10" HorizontalAlignment="Center" VerticalAlignment="Top"/>
            </Grid>)",
         {{"TopLeft", {5, 6, 14, 20}}, {"Centered", {93, 40, 14, 20}}, {"BottomRight", {176, 76, 14, 20}},
          {"Stretched", {1, 2, 196, 94}}, {"Wider", {-50, 0, 300, 10}}}},

        {"pixel, auto and star rows and columns with spans", {400, 298},
         R"(<Grid>
              <Grid.RowDefinitions>
                <RowDefinition Height="48"/><RowDefinition Height="Auto"/>
                <RowDefinition Height="*"/><RowDefinition Height="2*"/>
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

        {"later rows move when an element of an auto row is collapsed", {400, 300},
         R"(<Grid>
              <Grid.RowDefinitions><RowDefinition Height="Auto"/><RowDefinition Height="*"/></Grid.RowDefinitions>
              <TextBlock x:Name="Hidden" Text="tall" FontSize="70" Visibility="Collapsed"/>
              <Border x:Name="Content" Grid.Row="1"/>
            </Grid>)",
         {{"Content", {0, 0, 400, 300}}}},

        {"star rows act as auto rows when the height is unbounded", {800, 600},
         R"(<Grid>
              <StackPanel HorizontalAlignment="Left" VerticalAlignment="Top" Width="200">
                <Grid x:Name="Inner">
                  <Grid.RowDefinitions>
                    <RowDefinition Height="*"/><RowDefinition Height="10"/><RowDefinition Height="2*"/>
                  </Grid.RowDefinitions>
                  <TextBlock x:Name="Text" Text="x"/>
                  <Border x:Name="Empty" Grid.Row="2"/>
                </Grid>
              </StackPanel>
            </Grid>)",
         {{"Inner", {0, 0, 200, 30}}, {"Text", {0, 0, 200, 20}}, {"Empty", {0, 30, 200, 0}}}},

        {"auto columns share evenly what a spanning cell lacks", {800, 600},
         R"(<Grid>
              <Grid x:Name="G" HorizontalAlignment="Left" VerticalAlignment="Top">
                <Grid.ColumnDefinitions><ColumnDefinition Width="Auto"/><ColumnDefinition Width="Auto"/></Grid.ColumnDefinitions>
                <Border Width="40" Height="10"/>
                <Border Grid.ColumnSpan="2" Width="100" Height="10"/>
                <Border x:Name="Probe" Grid.Column="1"/>
              </Grid>
            </Grid>)",
         {{"G", {0, 0, 100, 10}}, {"Probe", {70, 0, 30, 10}}}},

        {"a grid of star columns asks only for its content when not stretched", {800, 600},
         R"(<Grid>
              <Grid x:Name="G" HorizontalAlignment="Right" VerticalAlignment="Bottom">
                <Grid.ColumnDefinitions><ColumnDefinition Width="*"/><ColumnDefinition Width="24"/></Grid.ColumnDefinitions>
                <TextBlock x:Name="Label" Text="abc"/>
              </Grid>
            </Grid>)",
         {{"G", {755, 580, 45, 20}}, {"Label", {755, 580, 21, 20}}}},

        {"a horizontal stack spaces its children; explicit heights centre in the row", {800, 600},
         R"(<Grid>
              <StackPanel Orientation="Horizontal" Spacing="5" HorizontalAlignment="Left" VerticalAlignment="Top">
                <Border x:Name="B1" Width="10" Height="10"/>
                <Border x:Name="B2" Width="20" Height="20"/>
                <Border x:Name="B3" Width="30" Height="30" VerticalAlignment="Bottom"/>
              </StackPanel>
            </Grid>)",
         {{"B1", {0, 10, 10, 10}}, {"B2", {15, 5, 20, 20}}, {"B3", {40, 0, 30, 30}}}},

        {"border thickness and padding inset the child", {800, 600},
         R"(<Grid>
              <Border x:Name="Frame" BorderThickness="2" Padding="3" HorizontalAlignment="Left"
                      VerticalAlignment="Top" Margin="10">
                <TextBlock x:Name="Label" Text="ab"/>
              </Border>
            </Grid>)",
         {{"Frame", {10, 10, 24, 30}}, {"Label", {15, 15, 14, 20}}}},

        {"controls size to their content and the platform's metrics", {400, 600},
         R"(<StackPanel>
              <Button x:Name="Save" Content="Save"/>
              <TextBox x:Name="EmptyBox"/>
              <TextBox x:Name="LongBox" Text="abcdefghijklmnop" HorizontalAlignment="Left"/>
              <CheckBox x:Name="Check" Content="ok"/>
              <ToggleSwitch x:Name="Toggle" Header="Head"/>
              <ComboBox x:Name="Combo"/>
              <ProgressBar x:Name="Bar"/>
              <ProgressRing x:Name="Ring"/>
              <TextBlock x:Name="Wrapped" Width="35" HorizontalAlignment="Left" TextWrapping="Wrap" Text="abcdefghij"/>
              <TextBlock x:Name="Big" Text="ab" FontSize="28" HorizontalAlignment="Left"/>
            </StackPanel>)",
         {{"Save", {0, 0, 44, 31}}, {"EmptyBox", {0, 31, 400, 32}}, {"LongBox", {0, 63, 128, 32}},
          {"Check", {0, 95, 42, 32}}, {"Toggle", {0, 127, 154, 64}}, {"Combo", {0, 191, 120, 32}},
          {"Bar", {0, 223, 400, 4}}, {"Ring", {190, 227, 20, 20}}, {"Wrapped", {0, 247, 35, 40}},
          {"Big", {0, 287, 28, 40}}}},

        {"a scroll viewer measures its content unbounded and offsets it", {800, 600},
         R"(<Grid>
              <ScrollViewer x:Name="Viewer" Width="200" Height="100" HorizontalAlignment="Left" VerticalAlignment="Top">
                <StackPanel x:Name="Content">
                  <Border Height="80"/><Border Height="80"/><Border x:Name="Third" Height="80"/>
                </StackPanel>
              </ScrollViewer>
            </Grid>)",
         {{"Viewer", {0, 0, 200, 100}}, {"Content", {0, -50, 200, 240}}, {"Third", {0, 110, 200, 80}}},
         [](const ui::LoadedMarkup& m) { m.Get<ui::ScrollViewer>("Viewer").ScrollTo(0, 50); }},

        {"scroll offsets are clamped to the content", {800, 600},
         R"(<Grid>
              <ScrollViewer x:Name="Viewer" Width="200" Height="100" HorizontalAlignment="Left" VerticalAlignment="Top">
                <StackPanel x:Name="Content"><Border Height="240"/></StackPanel>
              </ScrollViewer>
            </Grid>)",
         {{"Content", {0, -140, 200, 240}}},
         [](const ui::LoadedMarkup& m) { m.Get<ui::ScrollViewer>("Viewer").ScrollTo(500, 1000); }},

        {"text wraps to the viewport when horizontal scrolling is disabled", {800, 600},
         R"(<Grid>
              <ScrollViewer Width="200" Height="100" HorizontalAlignment="Left" VerticalAlignment="Top">
                <TextBlock x:Name="Text" TextWrapping="Wrap" VerticalAlignment="Top"
                           Text="0123456789012345678901234567890123456789"/>
              </ScrollViewer>
            </Grid>)",
         {{"Text", {0, 0, 200, 40}}}},

        {"text stays on one line when horizontal scrolling is on", {800, 600},
         R"(<Grid>
              <ScrollViewer Width="200" Height="100" HorizontalAlignment="Left" VerticalAlignment="Top"
                            HorizontalScrollBarVisibility="Auto">
                <TextBlock x:Name="Text" TextWrapping="Wrap" VerticalAlignment="Top"
                           Text="0123456789012345678901234567890123456789"/>
              </ScrollViewer>
            </Grid>)",
         {{"Text", {0, 0, 280, 20}}}},
    };
    return cases;
}

TEST(Layout, PlacesElementsAsThePageMarkupExpects)
{
    uitest::FixedTextMeasurer measurer;
    for (const auto& c : Cases()) {
        SCOPED_TRACE(c.Title);
        auto markup = Load(c.Markup);
        if (c.Before)
            c.Before(markup);
        ui::UpdateLayout(*markup.Root, c.Window, measurer);
        for (const auto& p : c.Placements) {
            auto* element = markup.Find(p.Name);
            ASSERT_NE(element, nullptr) << p.Name;
            ExpectRect(ui::AbsoluteRect(*element), p.Expected, p.Name);
        }
    }
}

TEST(Layout, RectsAreRelativeToTheParentsBorderBox)
{
    uitest::FixedTextMeasurer measurer;
    auto markup = Load(R"(<Grid>
        <Border x:Name="Frame" BorderThickness="2" Padding="3" Margin="10" HorizontalAlignment="Left" VerticalAlignment="Top">
          <TextBlock x:Name="Label" Text="ab"/>
        </Border>
      </Grid>)");
    ui::UpdateLayout(*markup.Root, {800, 600}, measurer);
    ExpectRect(markup.Get<ui::TextBlock>("Label").LayoutRect, {5, 5, 14, 20}, "Label");
    // The desired size counts the margins.
    EXPECT_EQ(markup.Get<ui::Border>("Frame").DesiredSize, (Size{44, 50}));
}

TEST(Layout, NegativeMarginsShrinkTheDesiredSizeButNotTheElement)
{
    uitest::FixedTextMeasurer measurer;
    auto markup = Load(R"(<StackPanel>
        <Border x:Name="Pulled" Height="28" Margin="0,-28,0,0"/>
        <Border x:Name="Overhanging" Height="10" Margin="0,-28,0,0" VerticalAlignment="Top"/>
      </StackPanel>)");
    ui::UpdateLayout(*markup.Root, {100, 100}, measurer);
    auto& pulled = markup.Get<ui::Border>("Pulled");
    auto& overhanging = markup.Get<ui::Border>("Overhanging");
    EXPECT_EQ(pulled.DesiredSize.Height, 0);
    EXPECT_EQ(overhanging.DesiredSize.Height, 0); // never below zero
    ExpectRect(pulled.LayoutRect, {0, -28, 100, 28}, "Pulled");
    ExpectRect(overhanging.LayoutRect, {0, -28, 100, 10}, "Overhanging");
}

TEST(Layout, ScrollViewerReportsExtentAndViewport)
{
    uitest::FixedTextMeasurer measurer;
    auto markup = Load(R"(<ScrollViewer x:Name="Viewer" Padding="5">
        <Border Width="50" Height="300"/>
      </ScrollViewer>)");
    auto& viewer = markup.Get<ui::ScrollViewer>("Viewer");
    viewer.ScrollTo(0, 1000);
    ui::UpdateLayout(viewer, {200, 110}, measurer);
    EXPECT_EQ(viewer.ViewportSize, (Size{190, 100}));
    EXPECT_EQ(viewer.ExtentSize, (Size{50, 300}));
    EXPECT_EQ(viewer.VerticalOffset(), 200);
    EXPECT_EQ(viewer.HorizontalOffset(), 0);
    // The child of a viewer smaller than its content is still the content's size.
    ExpectRect(viewer.ChildAt(0).LayoutRect, {75, -195, 50, 300}, "content");
}

// Web views come from the platform, not from markup: a stand-in of that kind.
class StandInWebView : public ui::Element {
public:
    ui::ElementKind Kind() const override { return ui::ElementKind::WebView; }
};

TEST(Layout, WebViewsHaveNoSizeOfTheirOwnAndStretch)
{
    uitest::FixedTextMeasurer measurer;
    auto markup = Load(R"(<Grid x:Name="Host"><StackPanel x:Name="Stack" HorizontalAlignment="Left"/></Grid>)");
    auto& host = markup.Get<ui::Grid>("Host");
    auto& view = host.Append(std::make_unique<StandInWebView>());
    auto& stacked = markup.Get<ui::StackPanel>("Stack").Append(std::make_unique<StandInWebView>());
    ui::UpdateLayout(host, {640, 480}, measurer);
    EXPECT_EQ(view.DesiredSize, (Size{0, 0}));
    ExpectRect(view.LayoutRect, {0, 0, 640, 480}, "stretched view");
    ExpectRect(stacked.LayoutRect, {0, 0, 0, 0}, "view in a left-aligned stack");
}

TEST(Layout, KeepsTheChildOrderSoLaterChildrenDrawAbove)
{
    uitest::FixedTextMeasurer measurer;
    auto markup = Load(R"(<Grid x:Name="Host"><Border x:Name="Under"/><Border x:Name="Over"/></Grid>)");
    auto& host = markup.Get<ui::Grid>("Host");
    ui::UpdateLayout(host, {100, 100}, measurer);
    EXPECT_EQ(host.IndexOf(markup.Get<ui::Border>("Under")), 0u);
    EXPECT_EQ(host.IndexOf(markup.Get<ui::Border>("Over")), 1u);
    EXPECT_EQ(markup.Get<ui::Border>("Under").LayoutRect, markup.Get<ui::Border>("Over").LayoutRect);
}

TEST(Layout, RelayoutFollowsChangesToTheModel)
{
    uitest::FixedTextMeasurer measurer;
    auto markup = Load(R"(<Grid x:Name="Root">
        <Grid.RowDefinitions><RowDefinition Height="48"/><RowDefinition Height="*"/></Grid.RowDefinitions>
        <Border x:Name="Content" Grid.Row="1"/>
      </Grid>)");
    auto& root = markup.Get<ui::Grid>("Root");
    auto& content = markup.Get<ui::Border>("Content");
    ui::UpdateLayout(root, {300, 200}, measurer);
    ExpectRect(content.LayoutRect, {0, 48, 300, 152}, "before");

    root.SetRowDefinition(0, ui::GridLength::Pixels(32));
    content.SetGridRow(0);
    content.SetGridRowSpan(2);
    ui::UpdateLayout(root, {300, 200}, measurer);
    ExpectRect(content.LayoutRect, {0, 0, 300, 200}, "after");
}

} // namespace
