// The settings panel and the home screen's buttons with doubles: what the
// controls show for what the file holds, and what a save leaves in the file.
#include <gtest/gtest.h>

#include "settings/stored_settings.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

template <typename T>
T& Control(PageHarness& h, const std::string& name)
{
    return h.Page().Markup().Get<T>(name);
}

void Store(PageHarness& h, const char* table, const std::string& value)
{
    std::string quoted;
    for (char c : value)
        quoted += c == '\'' ? "''" : std::string(1, c);
    h.Execute(ConfigFile, std::string("DELETE FROM ") + table + "; INSERT INTO " + table + " VALUES ('" + quoted + "');");
}

// Every setting's rows, in the panel's order, one line per table.
std::string AllRows(PageHarness& h)
{
    std::string rows;
    for (const auto& s : StoredSettings())
        rows += h.QueryText(ConfigFile, ReadQuery(s)) + "\n";
    return rows;
}

std::string LastDialog(PageHarness& h)
{
    return h.Dialogs.Shown.empty() ? "" : h.Dialogs.Shown.back().Content;
}

struct Shown {
    std::string HomePage;
    bool SaveFavorite, HomeScreen;
    int Theme, Position, Searcher, Translator, PagesOpened;
};

Shown ReadControls(PageHarness& h)
{
    auto index = [&h](const char* name) { return Control<ui::ComboBox>(h, name).SelectedIndex(); };
    return {Control<ui::TextBox>(h, "wSettingsTextBox_HomePage").Text(),
            Control<ui::ToggleSwitch>(h, "wSettingsToggle_SaveFavorite").IsOn(),
            Control<ui::ToggleSwitch>(h, "wSettingsToggle_HomeScreen").IsOn(),
            index("wSettingsComboBox_Theme"), index("wSettingsComboBox_AdressBarPosition"),
            index("wSettingsComboBox_Searcher"), index("wSettingsComboBox_Translator"),
            index("wSettingsComboBox_PagesOpened")};
}

TEST(SettingsPanel, ControlsShowTheStoredValuesAndTheDefaultsForValuesOfNoItem)
{
    struct Case {
        const char* name;
        std::vector<std::string> stored; // in the panel's order, title bar included
        Shown expected;
    } cases[] = {
        {"last items", {"http://a.example/x?q='1'", "false", "SystemAccentColor", "false", "Bottom", "false",
                        "DuckDuckGo", "Microsoft_Translator", "true"},
         {"http://a.example/x?q='1'", false, false, 5, 1, 2, 1, 1}},
        {"middle items", {"https://b.example/", "true", "Claro", "true", "Top", "true", "Google",
                          "Google_Translator", "false"},
         {"https://b.example/", true, true, 4, 0, 1, 0, 0}},
        {"wrong case", {"x", "TRUE", "claro", "True", "bottom", "true", "google", "microsoft_translator", "TRUE"},
         {"x", false, false, 0, 0, 0, 0, 0}},
        {"empty, unknown, bad bytes", {"", "", "", "yes", "Left", "", "Yahoo", "\xFF\xFE", "\xC3\xA9"},
         {"", false, false, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        PageHarness h;
        h.Start();
        // A stale selection from an earlier opening must not survive.
        Control<ui::ComboBox>(h, "wSettingsComboBox_Theme").SetSelectedIndex(3);
        for (size_t i = 0; i < StoredSettings().size(); ++i)
            Store(h, StoredSettings()[i].Table, c.stored[i]);
        // Two rows where one belongs: neither is believed.
        if (c.expected.Theme == 0)
            h.Execute(ConfigFile, "INSERT INTO wConfig_ThemeColor VALUES ('Azul');");
        h.Click("wSideMenuEntry_Settings");
        auto shown = ReadControls(h);
        EXPECT_EQ(shown.HomePage, c.expected.HomePage) << c.name;
        EXPECT_EQ(shown.SaveFavorite, c.expected.SaveFavorite) << c.name;
        EXPECT_EQ(shown.HomeScreen, c.expected.HomeScreen) << c.name;
        EXPECT_EQ(std::vector({shown.Theme, shown.Position, shown.Searcher, shown.Translator, shown.PagesOpened}),
                  std::vector({c.expected.Theme, c.expected.Position, c.expected.Searcher, c.expected.Translator,
                               c.expected.PagesOpened})) << c.name;
        EXPECT_TRUE(h.Chrome().Flags().Settings && h.Chrome().Flags().OverlayWanted) << c.name;
    }
}

TEST(SettingsPanel, TheTitleBarToggleIsFixedOnADesktopAndReadOnAPhone)
{
    for (bool phone : {false, true}) {
        PageHarness h;
        h.System.Phone = phone;
        h.Start();
        Store(h, "wConfig_TitleBarStatus", "false");
        h.Click("wSideMenuEntry_Settings");
        auto& toggle = Control<ui::ToggleSwitch>(h, "wSettingsToggle_TitleBar");
        EXPECT_EQ(toggle.IsOn(), !phone);
        EXPECT_EQ(toggle.IsEnabled(), phone);
        Control<ui::TextBox>(h, "wSettingsTextBox_HomePage").SetText("example.org");
        h.Click("wSettingsButton_Save");
        EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wSTATUS FROM wConfig_TitleBarStatus"), phone ? "false" : "true");
    }
}

TEST(SettingsPanel, SaveStoresTheLinkAsNormalisedOrRefusesIt)
{
    const std::string longLink = "http://a.example/" + std::string(100000, 'x');
    struct Case {
        std::string typed;
        std::string stored; // empty: refused
    } cases[] = {
        {"abc.de", "http://abc.de"},
        {"a.b", ""},
        {"localhostonly", ""},
        {"https://x.y", "https://x.y"},
        {"ftp://a.b/?u=http://c.d", "ftp://a.b/?u=http://c.d"},
        {"HTTPS://A.B", "http://HTTPS://A.B"},
        {"a.example/it's", "http://a.example/it's"},
        {"\xC3\xA9.com", ""},                                          // é.com: 5 units
        {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80.p", "http://\xF0\x9F\x98\x80\xF0\x9F\x98\x80.p"}, // 6 units
        {"http://\xE6\x97\xA5\xE6\x9C\xAC.example/\xD0\xB6", "http://\xE6\x97\xA5\xE6\x9C\xAC.example/\xD0\xB6"},
        {"see http://a.b", ""},
        {"javascript:alert(1)//http://a.b", ""},
        {longLink, longLink},
    };
    for (const auto& c : cases) {
        PageHarness h;
        h.Start();
        h.Click("wSideMenuEntry_Settings");
        const std::string before = AllRows(h);
        Control<ui::TextBox>(h, "wSettingsTextBox_HomePage").SetText(c.typed);
        h.Click("wSettingsButton_Save");
        if (c.stored.empty()) {
            EXPECT_EQ(LastDialog(h), "wMessageBox_InvalidLink") << c.typed;
            EXPECT_EQ(AllRows(h), before) << c.typed;
            EXPECT_TRUE(h.Chrome().Flags().Settings) << c.typed;
            EXPECT_EQ(Control<ui::TextBox>(h, "wSettingsTextBox_HomePage").Text(), c.typed);
            continue;
        }
        EXPECT_EQ(LastDialog(h), "wMessageBox_SucessConfigChange") << c.typed.substr(0, 40);
        EXPECT_TRUE(h.Chrome().Flags().SideMenu && h.Chrome().Flags().OverlayWanted && !h.Chrome().Flags().Settings);
        // What the panel reads back is what was typed, whatever the script.
        h.Click("wSideMenuEntry_Settings");
        EXPECT_EQ(Control<ui::TextBox>(h, "wSettingsTextBox_HomePage").Text(), c.stored) << c.typed.substr(0, 40);
    }
}

TEST(SettingsPanel, SaveWritesEverySettingOnceAndTwoSavesLeaveOneRowEach)
{
    PageHarness h;
    h.Start();
    h.Click("wSideMenuEntry_Settings");
    Control<ui::ComboBox>(h, "wSettingsComboBox_Theme").SetSelectedIndex(2);
    Control<ui::ComboBox>(h, "wSettingsComboBox_AdressBarPosition").SetSelectedIndex(1);
    Control<ui::ComboBox>(h, "wSettingsComboBox_PagesOpened").SetSelectedIndex(1);
    Control<ui::ToggleSwitch>(h, "wSettingsToggle_SaveFavorite").SetIsOn(false);
    h.Click("wSettingsButton_Save");
    h.Click("wSideMenuEntry_Settings");
    h.Click("wSettingsButton_Save");
    EXPECT_EQ(AllRows(h), "http://www.bing.com/\nfalse\nVerde\ntrue\nBottom\ntrue\nBing\nGoogle_Translator\ntrue\n");
    // Closing unsaved drops the edits: the next opening shows the file.
    Control<ui::ComboBox>(h, "wSettingsComboBox_Theme").SetSelectedIndex(4);
    h.Page().CloseAll();
    h.Click("wSideMenuEntry_Settings");
    EXPECT_EQ(Control<ui::ComboBox>(h, "wSettingsComboBox_Theme").SelectedIndex(), 2);
}

TEST(SettingsPanel, AFailingWriteChangesNoSettingAndSaysSo)
{
    PageHarness h;
    h.Start();
    h.Execute(ConfigFile, "CREATE TRIGGER refuse BEFORE INSERT ON wConfig_MainSearcherAdress "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    h.Click("wSideMenuEntry_Settings");
    const std::string before = AllRows(h);
    Control<ui::TextBox>(h, "wSettingsTextBox_HomePage").SetText("changed.example");
    Control<ui::ComboBox>(h, "wSettingsComboBox_Theme").SetSelectedIndex(1);
    h.Click("wSettingsButton_Save");
    EXPECT_EQ(AllRows(h), before);
    EXPECT_EQ(LastDialog(h), "wMessageBox_ConfigSaveFailed");
    EXPECT_TRUE(h.Chrome().Flags().Settings);
    EXPECT_FALSE(h.Chrome().Flags().SideMenu);
}

TEST(HomeScreen, OnlyTheTickedBoxAtStartTurnsItOff)
{
    PageHarness h;
    h.Start();
    auto& panel = *h.Controls().wHomeScreenPanel;
    auto& box = *h.Controls().wHomeScreenCheckBox_DoNotShow;
    // Shown from the main menu: every panel closes, the box is gone.
    box.SetIsChecked(true);
    h.Chrome().OpenPanel(&OpenFlags::History);
    h.Click("wMainMenuEntry_HomeScreen");
    EXPECT_FALSE(h.Chrome().Flags().History || h.Chrome().Flags().OverlayWanted);
    EXPECT_EQ(box.IsChecked(), false);
    EXPECT_EQ(box.GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(panel.GetVisibility(), ui::Visibility::Visible);
    h.Click("wHomeScreenButton_Close");
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wSTATUS FROM wConfig_HomeScreenStatus"), "true");

    box.SetIsChecked(true);
    panel.SetVisibility(ui::Visibility::Visible);
    h.Click("wHomeScreenButton_Close");
    EXPECT_EQ(panel.GetVisibility(), ui::Visibility::Collapsed);
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wSTATUS FROM wConfig_HomeScreenStatus"), "false");
}

} // namespace
