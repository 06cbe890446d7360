// The settings panel and the home screen's buttons with doubles: what the
// controls show for what the file holds, and what a save leaves in the file.
#include <gtest/gtest.h>

#include "settings/stored_settings.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

template <typename T>
T& Get(PageHarness& h, const std::string& name) { return h.Page().Markup().Get<T>(name); }

// Each setting's rows (or its control's state), one line per setting, in the panel's order.
std::string Stored(PageHarness& h)
{
    std::string rows;
    for (const auto& s : StoredSettings())
        rows += h.QueryText(ConfigFile, ReadQuery(s)) + "\n";
    return rows;
}

std::string Shown(PageHarness& h)
{
    std::string shown;
    for (const auto& s : StoredSettings()) {
        auto& e = Get<ui::Element>(h, s.Control);
        if (auto* box = dynamic_cast<ui::TextBox*>(&e)) shown += box->Text();
        if (auto* t = dynamic_cast<ui::ToggleSwitch*>(&e)) shown += t->IsEnabled() ? t->IsOn() ? "on" : "off" : "fixed";
        if (auto* c = dynamic_cast<ui::ComboBox*>(&e)) shown += std::to_string(c->SelectedIndex());
        shown += " ";
    }
    return shown;
}

std::string LastDialog(PageHarness& h) { return h.Dialogs.Shown.empty() ? "" : h.Dialogs.Shown.back().Content; }

TEST(SettingsPanel, ControlsShowTheStoredValuesAndTheDefaultsForValuesOfNoItem)
{
    // A desktop keeps its own title bar: the toggle is on and fixed, its row unread.
    struct Case {
        bool phone;
        std::vector<std::string> stored; // in the panel's order
        std::string shown;
    } cases[] = {
        {false, {"http://a.example/x?q=''1''", "false", "SystemAccentColor", "false", "Bottom", "false", "DuckDuckGo",
                 "Microsoft_Translator", "true"}, "http://a.example/x?q='1' off 5 off 1 fixed 2 1 1 "},
        {true, {"b", "true", "Claro", "true", "Top", "false", "Google", "Google_Translator", "false"},
         "b on 4 on 0 off 1 0 0 "},
        // Wrong case, empty, unknown, bad bytes, two rows: the defaults, never a stale choice.
        {true, {"", "TRUE", "claro", "", "bottom", "", "Yahoo", "\xFF\xFE", "True"}, " off 0 off 0 off 0 0 0 "},
    };
    std::unique_ptr<PageHarness> last;
    for (const auto& c : cases) {
        auto& h = *(last = std::make_unique<PageHarness>());
        h.System.Phone = c.phone;
        h.Start();
        Get<ui::ComboBox>(h, "wSettingsComboBox_Theme").SetSelectedIndex(3);
        for (size_t i = 0; i < c.stored.size(); ++i) {
            std::string table = StoredSettings()[i].Table;
            h.Execute(ConfigFile, "DELETE FROM " + table + "; INSERT INTO " + table + " VALUES ('" + c.stored[i] + "');");
        }
        if (c.stored[2] == "claro")
            h.Execute(ConfigFile, "INSERT INTO wConfig_ThemeColor VALUES ('Azul');");
        h.Click("wSideMenu_Settings");
        EXPECT_EQ(Shown(h), c.shown);
        EXPECT_TRUE(h.Chrome().Flags().Settings && h.Chrome().Flags().OverlayWanted);
    }
    // A save repairs what the damaged file held: what was shown is what is stored.
    auto& h = *last;
    Get<ui::TextBox>(h, "wSettingsTextBox_HomePage").SetText("http://a.b/");
    h.Click("wSettingsButton_Save");
    EXPECT_EQ(Stored(h), "http://a.b/\nfalse\nEscuro\nfalse\nTop\nfalse\nBing\nGoogle_Translator\nfalse\n");
}

TEST(SettingsPanel, SaveStoresTheLinkAsNormalisedOrRefusesIt)
{
    const std::string longLink = "http://a.example/" + std::string(100000, 'x');
    struct Case {
        std::string typed, stored; // stored empty: refused
    } cases[] = {
        {"abc.de", "http://abc.de"}, {"a.b", ""}, {"localhostonly", ""}, {"https://x.y", "https://x.y"},
        {"ftp://a.b/?u=http://c.d", "ftp://a.b/?u=http://c.d"}, {"HTTPS://A.B", "http://HTTPS://A.B"},
        {"a.example/it's", "http://a.example/it's"},
        {"\xC3\xA9.com", ""},                                                                 // é.com: 5 units
        {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80.p", "http://\xF0\x9F\x98\x80\xF0\x9F\x98\x80.p"}, // 😀😀.p: 6
        {"http://\xE6\x97\xA5\xE6\x9C\xAC.example/\xD0\xB6", "http://\xE6\x97\xA5\xE6\x9C\xAC.example/\xD0\xB6"},
        {"see http://a.b", ""}, {"javascript:alert(1)//http://a.b", ""}, {longLink, longLink},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.substr(0, 40));
        PageHarness h;
        h.Start();
        h.Click("wSideMenu_Settings");
        const std::string before = Stored(h);
        Get<ui::TextBox>(h, "wSettingsTextBox_HomePage").SetText(c.typed);
        h.Click("wSettingsButton_Save");
        const auto& flags = h.Chrome().Flags();
        if (c.stored.empty()) {
            EXPECT_EQ(LastDialog(h), "wMessageBox_InvalidLink");
            EXPECT_EQ(Stored(h), before);
            EXPECT_TRUE(flags.Settings);
            EXPECT_EQ(Get<ui::TextBox>(h, "wSettingsTextBox_HomePage").Text(), c.typed);
            continue;
        }
        EXPECT_EQ(LastDialog(h), "wMessageBox_SucessConfigChange");
        EXPECT_TRUE(flags.SideMenu && flags.OverlayWanted && !flags.Settings);
        h.Click("wSideMenu_Settings");
        EXPECT_EQ(Get<ui::TextBox>(h, "wSettingsTextBox_HomePage").Text(), c.stored);
    }
}

TEST(SettingsPanel, SavesAreWholeOrNothingAndUnsavedEditsAreDropped)
{
    PageHarness h;
    h.Start();
    h.Click("wSideMenu_Settings");
    for (auto [name, index] : {std::pair("Theme", 2), {"AdressBarPosition", 1}, {"PagesOpened", 1}})
        Get<ui::ComboBox>(h, std::string("wSettingsComboBox_") + name).SetSelectedIndex(index);
    Get<ui::ToggleSwitch>(h, "wSettingsToggle_SaveFavorite").SetIsOn(false);
    h.Click("wSettingsButton_Save");
    h.Click("wSideMenu_Settings");
    h.Click("wSettingsButton_Save");
    const std::string saved = "http://www.bing.com/\nfalse\nVerde\ntrue\nBottom\ntrue\nBing\nGoogle_Translator\ntrue\n";
    EXPECT_EQ(Stored(h), saved); // one row each after two saves

    Get<ui::ComboBox>(h, "wSettingsComboBox_Theme").SetSelectedIndex(4);
    h.Page().CloseAll();
    h.Click("wSideMenu_Settings");
    EXPECT_EQ(Get<ui::ComboBox>(h, "wSettingsComboBox_Theme").SelectedIndex(), 2);

    h.Execute(ConfigFile, "CREATE TRIGGER refuse BEFORE INSERT ON wConfig_MainSearcherAdress "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    Get<ui::TextBox>(h, "wSettingsTextBox_HomePage").SetText("changed.example");
    Get<ui::ComboBox>(h, "wSettingsComboBox_Theme").SetSelectedIndex(1);
    h.Click("wSettingsButton_Save");
    EXPECT_EQ(Stored(h), saved);
    EXPECT_EQ(LastDialog(h), "wMessageBox_ConfigSaveFailed");
    EXPECT_TRUE(h.Chrome().Flags().Settings && !h.Chrome().Flags().SideMenu);
}

TEST(HomeScreen, OnlyTheTickedBoxAtStartTurnsItOff)
{
    PageHarness h;
    h.Start();
    auto& panel = *h.Controls().wHomeScreenPanel;
    auto& box = *h.Controls().wHomeScreenCheckBox_DoNotShow;
    box.SetIsChecked(true);
    h.Chrome().OpenPanel(&OpenFlags::History);
    h.Click("wMainMenuEntry_HomeScreen");
    EXPECT_FALSE(h.Chrome().Flags().History || h.Chrome().Flags().OverlayWanted);
    EXPECT_EQ(std::pair(box.IsChecked(), box.GetVisibility()), std::pair(std::optional(false), ui::Visibility::Collapsed));
    EXPECT_EQ(panel.GetVisibility(), ui::Visibility::Visible);
    h.Click("wHomeScreenButton_Close");
    EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wSTATUS FROM wConfig_HomeScreenStatus"), "true");

    // A write that fails half-way leaves the row it would have replaced.
    h.Execute(ConfigFile, "CREATE TRIGGER refuse BEFORE INSERT ON wConfig_HomeScreenStatus "
                          "BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    for (const char* after : {"true", "false"}) {
        box.SetIsChecked(true);
        h.Click("wHomeScreenButton_Close");
        EXPECT_EQ(panel.GetVisibility(), ui::Visibility::Collapsed);
        EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wSTATUS FROM wConfig_HomeScreenStatus"), after);
        h.Execute(ConfigFile, "DROP TRIGGER IF EXISTS refuse;");
    }
}

} // namespace
