#include "platform/ui/markup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/doubles/services.h"

namespace {

using ui::LoadMarkup;
using ui::MarkupError;

const char* const kPage = R"(<Page x:Class="Tolvane_Project.MainPage" mc:Ignorable="d" d:DesignWidth="800"
    xmlns="http://schemas.microsoft.com/winfx/2006/xaml/presentation" xmlns:x="http://schemas.microsoft.com/winfx/2006/xaml">
  <Grid x:Name="RootGrid" Background="#FF202020">
    <TextBox x:Name="wAdress" x:Uid="wAdress" Text="markup text" PlaceholderText="markup placeholder"
             KeyDown="Adress_KeyDown" GotFocus="Adress_GotFocus" TextChanged="Adress_TextChanged"/>
    <Button x:Name="CloseButton" Content="&#xE10A;" Click="Close_Click" Tag="7" Height="Auto"/>
    <StackPanel><TextBlock x:Name="Escaped" Text="&quot;q&quot; &amp; 日 &#x1F600; &#xE727;"/></StackPanel>
    <ScrollViewer><Border x:Name="Inside" FontWeight="SemiBold"/></ScrollViewer>
  </Grid>
</Page>)";

class PageMarkup : public ::testing::Test {
protected:
    PageMarkup()
    {
        resources.Table.erase("wAdress/Text");
        resources.Table["wAdress/PlaceholderText"] = "Search or enter an address";
        for (const char* name : {"Close_Click", "Adress_GotFocus", "Adress_TextChanged"})
            handlers.Routed[name] = [this, name](ui::Element& sender) { calls.push_back(name + (" " + sender.Name())); };
        handlers.Key["Adress_KeyDown"] = [this](ui::Element&, ui::KeyEventArgs& args) {
            calls.push_back("key " + std::to_string(args.Key));
            args.Handled = true;
        };
    }

    doubles::FakeResources resources;
    ui::MarkupHandlers handlers;
    std::vector<std::string> calls;
};

// The page's one child is the root; the tables' texts for an x:Uid win over
// the markup's. (The layout tests load most other attributes.) Handlers are
// wired but not run while loading.
TEST_F(PageMarkup, LoadsThePageWithItsNamesTextsValuesAndHandlers)
{
    auto markup = LoadMarkup(kPage, resources, handlers);
    EXPECT_TRUE(calls.empty());
    EXPECT_EQ(markup.Root.get(), markup.Find("RootGrid"));
    EXPECT_EQ(markup.Names.size(), 5u);
    EXPECT_THROW(markup.Get<ui::TextBlock>("CloseButton"), MarkupError);
    EXPECT_EQ(markup.Get<ui::Grid>("RootGrid").Background(), ui::Color::FromRgb(32, 32, 32));
    auto& box = markup.Get<ui::TextBox>("wAdress");
    EXPECT_EQ(box.Text(), "markup text"); // the table has no wAdress/Text here
    EXPECT_EQ(box.PlaceholderText(), "Search or enter an address");
    auto& close = markup.Get<ui::Button>("CloseButton");
    EXPECT_EQ(close.Content(), "\xEE\x84\x8A"); // U+E10A, the close glyph
    EXPECT_EQ(close.Tag(), 7);
    EXPECT_TRUE(ui::IsAuto(close.Height()));
    EXPECT_EQ(markup.Get<ui::TextBlock>("Escaped").Text(), "\"q\" & \xE6\x97\xA5 \xF0\x9F\x98\x80 \xEE\x9C\xA7");
    EXPECT_EQ(markup.Get<ui::Border>("Inside").FontWeight(), ui::FontWeight::SemiBold);

    close.RaiseClick();
    box.SetFocusStateFromUser(ui::FocusState::Pointer);
    box.SetTextFromUser("typed");
    ui::KeyEventArgs enter{13, false};
    box.KeyDown(box, enter);
    EXPECT_EQ(calls, (std::vector<std::string>{"Close_Click CloseButton", "Adress_GotFocus wAdress",
                                               "Adress_TextChanged wAdress", "key 13"}));
    EXPECT_TRUE(enter.Handled);
}

TEST(Markup, BadMarkupIsRefusedWithTheLineAndTheElement)
{
    const std::pair<const char*, std::vector<const char*>> cases[] = {
        {"<Grid>\n  <Buttn x:Name=\"Go\"/>\n</Grid>", {"line 2", "<Buttn x:Name=\"Go\">", "unknown element"}},
        {"<Grid>\n\n  <Border x:Name=\"Frame\" Background=\"#GG0000\"/>\n</Grid>",
         {"line 3", "<Border x:Name=\"Frame\">", "Background", "#GG0000"}},
        {"<Grid>\n  <Button Name=\"Go\"\n     Click=\"Nowhere_Click\"/>\n</Grid>", {"line 3", "<Button Name=\"Go\">", "Nowhere_Click"}},
        {"<Grid>\n  <Border x:Name=\"Twice\"/>\n  <TextBlock x:Name=\"Twice\"/>\n</Grid>",
         {"line 3", "<TextBlock x:Name=\"Twice\">", "duplicate name \"Twice\"", "first on line 2"}},
        {"<Grid Text=\"a\"/>", {"line 1", "<Grid>", "unknown attribute \"Text\""}}, // a property of another kind
        {"<Grid>\n<TextBlock Width=\"wide\"/></Grid>", {"line 2", "<TextBlock>", "Width", "wide"}},
        {"<Grid><Border Height=\"-3\"/></Grid>", {"<Border>", "Height", "negative"}},
        {"<Border x:Name=\"B\">\n<Border/>\n<Border/></Border>", {"line 3", "<Border x:Name=\"B\">", "second"}},
        {"<Grid><Button x:Name=\"B\"><TextBlock/></Button></Grid>", {"<Button x:Name=\"B\">", "<TextBlock>"}},
    };
    doubles::FakeResources resources;
    for (const auto& [markup, parts] : cases) {
        SCOPED_TRACE(markup);
        try {
            LoadMarkup(markup, resources, {});
            ADD_FAILURE() << "loaded";
        } catch (const MarkupError& error) {
            std::string message = error.what();
            for (const char* part : parts)
                EXPECT_NE(message.find(part), std::string::npos) << "\"" << part << "\" not in: " << message;
        }
    }
}

} // namespace
