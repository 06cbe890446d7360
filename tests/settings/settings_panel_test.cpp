// The settings panel and the home screen's buttons with doubles: what the
// controls show for what the file holds, and what a save leaves in the file.
#include <gtest/gtest.h>

#include "settings/stored_settings.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

template <typename T = ui::Element>
T& Get(PageHarness& h, const std::string& name) { return h.Page().Markup().Get<T>(name); }
ui::TextBox& HomePage(PageHarness& h) { return Get<ui::TextBox>(h, "wSettingsTextBox_HomePage"); }
const char* const Refuse = " BEGIN SELECT RAISE(ABORT, 'refused'); END;";

// Each setting's rows and each control's state, in the panel's order.
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
        auto& e = Get(h, s.Control);
        if (auto* box = dynamic_cast<ui::TextBox*>(&e)) shown += box->Text();
        if (auto* t = dynamic_cast<ui::ToggleSwitch*>(&e)) shown += t->IsEnabled() ? t->IsOn() ? "on" : "off" : "fixed";
        if (auto* c = dynamic_cast<ui::ComboBox*>(&e)) shown += std::to_string(c->SelectedIndex());
        shown += " ";
    }
    return shown;
}

TEST(SettingsPanel, ControlsShowStoredValuesOrDefaultsAndSavesAreWholeOrNothing)
{
    // A desktop keeps its own title bar: the toggle is on and fixed, its row unread.
    struct Case {
        bool phone;
        std::vector<std::string> stored;
        std::string shown;
    } cases[] = {
        {false, {"http://a.example/x?q=''1''", "false", "SystemAccentColor", "false", "Bottom", "false", "DuckDuckGo",
                 "Microsoft_Translator", "true"}, "http://a.example/x?q='1' off 5 off 1 fixed 2 1 1 "},
        {true, {"b", "true", "Claro", "true", "Top", "false", "Google", "Google_Translator", "false"},
         "b on 4 on 0 off 1 0 0 "},
        // Wrong case, empty, unknown, bad bytes, two rows: the defaults, never a stale choice.
        {true, {"", "TRUE", "claro'), ('Azul", "", "bottom", "", "Yahoo", "\xFF\xFE", "True"}, " off 0 off 0 off 0 0 0 "},
    };
    std::unique_ptr<PageHarness> last;
    for (const auto& c : cases) {
        auto& h = *(last = std::make_unique<PageHarness>());
        h.System.Phone = c.phone;
        h.Start();
        Get<ui::ComboBox>(h, "wSettingsComboBox_Theme").SetSelectedIndex(3);
        for (size_t i = 0; i < c.stored.size(); ++i) {
            h.StoreSetting(StoredSettings()[i].Table, c.stored[i]);
        }
        h.Click("wSideMenu_Settings");
        EXPECT_EQ(Shown(h), c.shown);
        EXPECT_TRUE(h.Chrome().Flags().Settings && h.Chrome().Flags().OverlayWanted);
    }
    // A save repairs what the damaged file held, one row per table.
    auto& h = *last;
    HomePage(h).SetText("http://a.b/");
    h.Click("wSettingsButton_Save");
    const std::string saved = "http://a.b/\nfalse\nEscuro\nfalse\nTop\nfalse\nBing\nGoogle_Translator\nfalse\n";
    EXPECT_EQ(Stored(h), saved);
    // Edits closed unsaved are dropped.
    auto& theme = Get<ui::ComboBox>(h, "wSettingsComboBox_Theme");
    h.Click("wSideMenu_Settings");
    theme.SetSelectedIndex(4);
    h.Page().CloseAll();
    h.Click("wSideMenu_Settings");
    EXPECT_EQ(theme.SelectedIndex(), 0);
    // The last of nine writes fails: the first eight go back too.
    h.Execute(ConfigFile, std::string("CREATE TRIGGER refuse BEFORE INSERT ON wConfig_PagesOpenedStatus") + Refuse);
    HomePage(h).SetText("changed.example");
    theme.SetSelectedIndex(1);
    h.Click("wSettingsButton_Save");
    EXPECT_EQ(Stored(h), saved);
    EXPECT_EQ(h.LastDialog(), "wMessageBox_ConfigSaveFailed");
    EXPECT_TRUE(h.Chrome().Flags().Settings && !h.Chrome().Flags().SideMenu);
}

TEST(SettingsPanel, SaveStoresTheLinkAsNormalisedOrRefusesIt)
{
    const std::string longLink = "http://a.example/" + std::string(100000, 'x');
    const std::pair<std::string, std::string> cases[] = { // typed, stored ("" refused)
        {"abc.de", "http://abc.de"}, {"localhostonly", ""}, {"https://x.y", "https://x.y"},
        {"ftp://a.b/?u=http://c.d", "ftp://a.b/?u=http://c.d"}, {"HTTPS://A.B", "http://HTTPS://A.B"},
        {"a.example/it's", "http://a.example/it's"}, {"\xC3\xA9.com", ""}, // é.com: 5 UTF-16 units
        {"\xF0\x9F\x98\x80\xF0\x9F\x98\x80.p", "http://\xF0\x9F\x98\x80\xF0\x9F\x98\x80.p"}, // 😀😀.p: 6
        {"see http://a.b", ""}, {"javascript:alert(1)//http://a.b", ""}, {longLink, longLink},
    };
    for (const auto& [typed, stored] : cases) {
        SCOPED_TRACE(typed.substr(0, 40));
        PageHarness h;
        h.Start();
        h.Click("wSideMenu_Settings");
        const std::string before = Stored(h);
        HomePage(h).SetText(typed);
        h.Click("wSettingsButton_Save");
        EXPECT_EQ(h.LastDialog(), stored.empty() ? "wMessageBox_InvalidLink" : "wMessageBox_SucessConfigChange");
        const auto& flags = h.Chrome().Flags();
        if (stored.empty()) {
            EXPECT_TRUE(Stored(h) == before && flags.Settings && HomePage(h).Text() == typed);
            continue;
        }
        EXPECT_TRUE(flags.SideMenu && flags.OverlayWanted && !flags.Settings);
        h.Click("wSideMenu_Settings");
        EXPECT_EQ(HomePage(h).Text(), stored);
    }
}

TEST(HomeScreen, OnlyTheTickedBoxAtCloseTurnsItOffForTheNextStartAndAFailedWriteKeepsTheRow)
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

    h.Execute(ConfigFile, std::string("CREATE TRIGGER refuse BEFORE INSERT ON wConfig_HomeScreenStatus") + Refuse);
    for (const char* after : {"true", "false"}) {
        box.SetIsChecked(true);
        h.Click("wHomeScreenButton_Close");
        EXPECT_EQ(panel.GetVisibility(), ui::Visibility::Collapsed);
        EXPECT_EQ(h.QueryText(ConfigFile, "SELECT wSTATUS FROM wConfig_HomeScreenStatus"), after);
        h.Execute(ConfigFile, "DROP TRIGGER IF EXISTS refuse;");
    }
    h.Stop();
    h.Start();
    EXPECT_EQ(h.Controls().wHomeScreenPanel->GetVisibility(), ui::Visibility::Collapsed);
}

} // namespace
