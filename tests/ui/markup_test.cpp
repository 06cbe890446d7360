#include "platform/ui/markup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/doubles/services.h"

namespace {

using ui::LoadMarkup;
using ui::MarkupError;

const char* const kPage = R"(<Page
    x:Class="Tolvane_Project.MainPage"
    xmlns="http://schemas.microsoft.com/winfx/2006/xaml/presentation"
    xmlns:x="http://schemas.microsoft.com/winfx/2006/xaml"
    xmlns:d="http://schemas.microsoft.com/expression/blend/2008"
    xmlns:mc="http://schemas.openxmlformats.org/markup-compatibility/2006"
    mc:Ignorable="d" d:DesignWidth="800">
  <Grid x:Name="RootGrid" Background="#FF202020">
    <Grid.RowDefinitions>
      <RowDefinition Height="48"/>
      <RowDefinition Height="Auto"/>
      <RowDefinition Height="*"/>
    </Grid.RowDefinitions>
    <Grid.ColumnDefinitions>
      <ColumnDefinition Width="2*"/>
      <ColumnDefinition/>
    </Grid.ColumnDefinitions>
    <TextBox x:Name="wAdress" x:Uid="wAdress" Grid.Row="1" Grid.ColumnSpan="2" Text="markup text"
             PlaceholderText="markup placeholder" Margin="92,-48,133,0"
             KeyDown="Adress_KeyDown" GotFocus="Adress_GotFocus" TextChanged="Adress_TextChanged"/>
    <Button Name="CloseButton" Content="&#xE10A;" FontFamily="Segoe MDL2 Assets" Click="Close_Click" Tag="7"
            Padding="1,2" BorderThickness="0" CornerRadius="5,0,0,0" Foreground="White"
            HorizontalAlignment="Right" VerticalAlignment="Stretch" Width="46" Height="Auto" Opacity="0.5"/>
    <StackPanel x:Name="Rows" Grid.Row="2" Grid.RowSpan="3" Grid.Column="1" Orientation="Horizontal" Spacing="4"
                Visibility="Collapsed" IsHitTestVisible="False">
      <TextBlock x:Name="Caption">Text between tags</TextBlock>
      <CheckBox x:Name="Check" IsChecked="True" Checked="Check_Checked" Content="Agree"/>
      <ToggleSwitch x:Name="Toggle" x:Uid="Toggle" IsOn="True" Toggled="Toggle_Toggled"/>
      <ComboBox x:Name="Engines" x:Uid="Engines" SelectedIndex="1" SelectionChanged="Engines_Changed">
        <ComboBoxItem Content="Bing"/>
        <ComboBoxItem x:Uid="EngineGoogle" Content="markup"/>
        <ComboBoxItem Content="DuckDuckGo"/>
      </ComboBox>
      <ProgressBar x:Name="Bar" Minimum="10" Maximum="20" Value="15" IsIndeterminate="True"/>
      <ProgressRing x:Name="Ring" IsActive="True"/>
    </StackPanel>
    <ScrollViewer x:Name="Scroller" VerticalScrollBarVisibility="Disabled" HorizontalScrollBarVisibility="Auto">
      <Border x:Name="Inside" BorderBrush="{x:Null}" FontWeight="SemiBold" FontSize="20" MinWidth="3" MaxHeight="9"/>
    </ScrollViewer>
  </Grid>
</Page>)";

class PageMarkup : public ::testing::Test {
protected:
    PageMarkup()
    {
        resources.Table.erase("wAdress/Text");
        resources.Table["wAdress/PlaceholderText"] = "Search or enter an address";
        resources.Table["Toggle/Header"] = "Restore tabs";
        resources.Table["EngineGoogle/Content"] = "Google";
        resources.Table["Engines/Content"] = "not an item";
        handlers.Routed["Close_Click"] = [this](ui::Element& sender) { calls.push_back("close " + sender.Name()); };
        handlers.Routed["Adress_GotFocus"] = [this](ui::Element&) { calls.push_back("got focus"); };
        handlers.Routed["Adress_TextChanged"] = [this](ui::Element&) { calls.push_back("text changed"); };
        handlers.Routed["Check_Checked"] = [this](ui::Element&) { calls.push_back("checked"); };
        handlers.Routed["Toggle_Toggled"] = [this](ui::Element&) { calls.push_back("toggled"); };
        handlers.Routed["Engines_Changed"] = [this](ui::Element&) { calls.push_back("engine"); };
        handlers.Key["Adress_KeyDown"] = [this](ui::Element&, ui::KeyEventArgs& args) {
            calls.push_back("key " + std::to_string(args.Key));
            args.Handled = true;
        };
    }

    doubles::FakeResources resources;
    ui::MarkupHandlers handlers;
    std::vector<std::string> calls;
};

TEST_F(PageMarkup, ThePagesOneChildBecomesTheRootWithItsNames)
{
    auto markup = LoadMarkup(kPage, resources, handlers);
    ASSERT_NE(markup.Root, nullptr);
    EXPECT_EQ(markup.Root->Name(), "RootGrid");
    EXPECT_EQ(markup.Find("RootGrid"), markup.Root.get());
    EXPECT_EQ(markup.Find("missing"), nullptr);
    EXPECT_EQ(markup.Names.size(), 12u);
    EXPECT_EQ(&markup.Get<ui::Button>("CloseButton"), &markup.Root->AsPanel()->ChildAt(1));
    EXPECT_THROW(markup.Get<ui::TextBlock>("CloseButton"), MarkupError);
    EXPECT_THROW(markup.Get<ui::TextBlock>("missing"), MarkupError);
}

TEST_F(PageMarkup, ResourcesOfTheUidWinOverTheMarkupText)
{
    auto markup = LoadMarkup(kPage, resources, handlers);
    auto& box = markup.Get<ui::TextBox>("wAdress");
    EXPECT_EQ(box.Text(), "markup text"); // the table has no wAdress/Text here
    EXPECT_EQ(box.PlaceholderText(), "Search or enter an address");
    EXPECT_EQ(markup.Get<ui::ToggleSwitch>("Toggle").Header(), "Restore tabs");
    auto& engines = markup.Get<ui::ComboBox>("Engines");
    EXPECT_EQ(engines.Items(), (std::vector<std::string>{"Bing", "Google", "DuckDuckGo"}));
    EXPECT_EQ(engines.SelectedIndex(), 1);
}

TEST_F(PageMarkup, SetsPropertiesAndAttachedGridPositions)
{
    auto markup = LoadMarkup(kPage, resources, handlers);
    auto& grid = markup.Get<ui::Grid>("RootGrid");
    EXPECT_EQ(grid.RowDefinitions(), (std::vector<ui::GridLength>{ui::GridLength::Pixels(48), ui::GridLength::Auto(),
                                                                  ui::GridLength::Star()}));
    EXPECT_EQ(grid.ColumnDefinitions(), (std::vector<ui::GridLength>{ui::GridLength::Star(2), ui::GridLength::Star()}));
    EXPECT_EQ(grid.Background(), ui::Color::FromRgb(32, 32, 32));

    auto& box = markup.Get<ui::TextBox>("wAdress");
    EXPECT_EQ(box.GridRow(), 1);
    EXPECT_EQ(box.GridColumnSpan(), 2);
    EXPECT_EQ(box.Margin(), ui::Thickness(92, -48, 133, 0));

    auto& close = markup.Get<ui::Button>("CloseButton");
    EXPECT_EQ(close.Content(), "\xEE\x84\x8A"); // U+E10A, the close glyph
    EXPECT_EQ(close.FontFamily(), "Segoe MDL2 Assets");
    EXPECT_EQ(close.Tag(), 7);
    EXPECT_EQ(close.Padding(), ui::Thickness(1, 2, 1, 2));
    EXPECT_EQ(close.CornerRadius(), ui::CornerRadius(5, 0, 0, 0));
    EXPECT_EQ(close.Foreground(), ui::Color::White());
    EXPECT_EQ(close.HorizontalAlignment(), ui::HorizontalAlignment::Right);
    EXPECT_EQ(close.VerticalAlignment(), ui::VerticalAlignment::Stretch);
    EXPECT_EQ(close.Width(), 46);
    EXPECT_TRUE(ui::IsAuto(close.Height()));
    EXPECT_EQ(close.Opacity(), 0.5);

    auto& rows = markup.Get<ui::StackPanel>("Rows");
    EXPECT_EQ(rows.GridRow(), 2);
    EXPECT_EQ(rows.GridRowSpan(), 3);
    EXPECT_EQ(rows.GridColumn(), 1);
    EXPECT_EQ(rows.Orientation(), ui::Orientation::Horizontal);
    EXPECT_EQ(rows.Spacing(), 4);
    EXPECT_EQ(rows.GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_FALSE(rows.IsHitTestVisible());

    EXPECT_EQ(markup.Get<ui::TextBlock>("Caption").Text(), "Text between tags");
    EXPECT_EQ(markup.Get<ui::CheckBox>("Check").IsChecked(), true);
    EXPECT_EQ(markup.Get<ui::CheckBox>("Check").Content(), "Agree");
    EXPECT_TRUE(markup.Get<ui::ToggleSwitch>("Toggle").IsOn());
    auto& bar = markup.Get<ui::ProgressBar>("Bar");
    EXPECT_EQ(bar.Minimum(), 10);
    EXPECT_EQ(bar.Maximum(), 20);
    EXPECT_EQ(bar.Value(), 15);
    EXPECT_TRUE(bar.IsIndeterminate());
    EXPECT_TRUE(markup.Get<ui::ProgressRing>("Ring").IsActive());

    auto& scroller = markup.Get<ui::ScrollViewer>("Scroller");
    EXPECT_EQ(scroller.VerticalScrollBarVisibility(), ui::ScrollBarVisibility::Disabled);
    EXPECT_EQ(scroller.HorizontalScrollBarVisibility(), ui::ScrollBarVisibility::Auto);
    auto& inside = markup.Get<ui::Border>("Inside");
    EXPECT_EQ(inside.BorderBrush(), std::nullopt);
    EXPECT_EQ(inside.FontWeight(), ui::FontWeight::SemiBold);
    EXPECT_EQ(inside.FontSize(), 20);
    EXPECT_EQ(inside.MinWidth(), 3);
    EXPECT_EQ(inside.MaxHeight(), 9);
}

TEST_F(PageMarkup, HandlersAreWiredButNotRunWhileLoading)
{
    auto markup = LoadMarkup(kPage, resources, handlers);
    EXPECT_TRUE(calls.empty()); // IsChecked, IsOn and SelectedIndex were set before the handlers

    markup.Get<ui::Button>("CloseButton").RaiseClick();
    auto& box = markup.Get<ui::TextBox>("wAdress");
    box.SetFocusStateFromUser(ui::FocusState::Pointer);
    box.SetTextFromUser("typed");
    ui::KeyEventArgs enter{13, false};
    box.KeyDown(box, enter);
    markup.Get<ui::CheckBox>("Check").SetIsChecked(false);
    markup.Get<ui::CheckBox>("Check").SetIsChecked(true);
    markup.Get<ui::ToggleSwitch>("Toggle").SetIsOn(false);
    markup.Get<ui::ComboBox>("Engines").SetSelectedIndex(2);

    const std::vector<std::string> expected = {"close CloseButton", "got focus", "text changed", "key 13",
                                               "checked", "toggled", "engine"};
    EXPECT_EQ(calls, expected);
    EXPECT_TRUE(enter.Handled);
}

TEST(Markup, APanelMayBeTheRoot)
{
    doubles::FakeResources resources;
    auto markup = LoadMarkup(R"(<StackPanel x:Name="Top"><TextBlock Text="a"/></StackPanel>)", resources, {});
    EXPECT_EQ(markup.Root->Kind(), ui::ElementKind::StackPanel);
    EXPECT_EQ(markup.Root->AsPanel()->Count(), 1u);
}

TEST(Markup, TheTablesTextForAUidReachesTheElement)
{
    doubles::FakeResources resources; // holds wAdress/Text
    auto markup = LoadMarkup(R"(<Grid><TextBox x:Name="Box" x:Uid="wAdress" Text="ignored"/></Grid>)", resources, {});
    EXPECT_EQ(markup.Get<ui::TextBox>("Box").Text(), "Search or enter an address");
}

TEST(Markup, TextKeepsAnyUnicode)
{
    doubles::FakeResources resources;
    auto markup = LoadMarkup(
        "<Grid><TextBlock x:Name=\"T\" Text=\"&quot;quoted&quot; &amp; \xE6\x97\xA5\xE6\x9C\xAC &#x1F600; &#xE727;\"/></Grid>",
        resources, {});
    EXPECT_EQ(markup.Get<ui::TextBlock>("T").Text(),
              "\"quoted\" & \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80 \xEE\x9C\xA7");
}

struct BadMarkup {
    const char* Title;
    const char* Markup;
    std::vector<const char*> MessageParts;
};

TEST(Markup, BadMarkupIsRefusedWithTheLineAndTheElement)
{
    const BadMarkup cases[] = {
        {"unknown element", "<Grid>\n  <Buttn x:Name=\"Go\"/>\n</Grid>", {"line 2", "<Buttn x:Name=\"Go\">", "unknown element"}},
        {"bad colour", "<Grid>\n\n  <Border x:Name=\"Frame\" Background=\"#GG0000\"/>\n</Grid>",
         {"line 3", "<Border x:Name=\"Frame\">", "Background", "#GG0000"}},
        {"unknown handler", "<Grid>\n  <Button Name=\"Go\"\n     Click=\"Nowhere_Click\"/>\n</Grid>",
         {"line 3", "<Button Name=\"Go\">", "Nowhere_Click", "Click"}},
        {"key handler looked up among key handlers", "<Grid><TextBox KeyDown=\"Routed_Only\"/></Grid>",
         {"line 1", "<TextBox>", "Routed_Only"}},
        {"duplicate name", "<Grid>\n  <Border x:Name=\"Twice\"/>\n  <TextBlock x:Name=\"Twice\"/>\n</Grid>",
         {"line 3", "<TextBlock x:Name=\"Twice\">", "duplicate name \"Twice\"", "first on line 2"}},
        {"malformed XML", "<Grid>\n  <StackPanel>\n    <Border>\n  </StackPanel>\n</Grid>",
         {"line 4", "<Border>", "not well-formed"}},
        {"unknown attribute", "<Grid>\n  <TextBlock x:Name=\"T\" Txt=\"a\"/>\n</Grid>", {"line 2", "<TextBlock x:Name=\"T\">", "Txt"}},
        {"property of another kind", "<Grid Text=\"a\"/>", {"line 1", "<Grid>", "unknown attribute \"Text\""}},
        {"event of another kind", "<Grid><TextBlock Click=\"Any\"/></Grid>", {"<TextBlock>", "\"Click\""}},
        {"bad number", "<Grid>\n<TextBlock Width=\"wide\"/></Grid>", {"line 2", "<TextBlock>", "Width", "wide"}},
        {"negative size", "<Grid><Border Height=\"-3\"/></Grid>", {"<Border>", "Height", "negative"}},
        {"bad thickness", "<Grid><Border Margin=\"1,2,3\"/></Grid>", {"<Border>", "Margin", "1,2,3"}},
        {"bad enumeration", "<Grid><Border Visibility=\"Hidden\"/></Grid>", {"<Border>", "Visibility", "Collapsed"}},
        {"bad tag", "<Grid><Border Tag=\"seven\"/></Grid>", {"<Border>", "Tag", "seven"}},
        {"bad grid length", "<Grid>\n<Grid.RowDefinitions>\n<RowDefinition Height=\"tall\"/>\n</Grid.RowDefinitions></Grid>",
         {"line 3", "<RowDefinition>", "tall"}},
        {"two children in a border", "<Border x:Name=\"B\">\n<Border/>\n<Border/></Border>", {"line 3", "<Border x:Name=\"B\">", "second"}},
        {"child of a leaf", "<Grid><Button x:Name=\"B\"><TextBlock/></Button></Grid>", {"<Button x:Name=\"B\">", "<TextBlock>"}},
        {"selected index beyond the items", "<ComboBox SelectedIndex=\"2\"><ComboBoxItem Content=\"a\"/></ComboBox>",
         {"<ComboBox>", "SelectedIndex", "1 items"}},
        {"page with two elements", "<Page>\n<Grid/>\n<Grid/>\n</Page>", {"line 3", "<Page>", "second"}},
        {"unsupported property element", "<Grid><Grid.Resources/></Grid>", {"<Grid>", "Grid.Resources"}},
    };
    doubles::FakeResources resources;
    ui::MarkupHandlers handlers;
    handlers.Routed["Routed_Only"] = [](ui::Element&) {};
    handlers.Routed["Any"] = [](ui::Element&) {};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        try {
            LoadMarkup(c.Markup, resources, handlers);
            ADD_FAILURE() << "loaded";
        } catch (const MarkupError& error) {
            std::string message = error.what();
            for (const char* part : c.MessageParts)
                EXPECT_NE(message.find(part), std::string::npos) << "\"" << part << "\" not in: " << message;
        }
    }
}

} // namespace
