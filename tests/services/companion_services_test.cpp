// The companion services driven through the page, with the launcher, tiles
// and store doubles answering as a desktop would.
#include <gtest/gtest.h>

#include "platform/language.h"
#include "services/donations.h"
#include "services/pin_page.h"
#include "services/share_page.h"
#include "services/translate_page.h"
#include "services/uri_text.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;
using ui::Visibility;

std::string Setting(PageHarness& h, const std::string& table, const std::string& column)
{
    return h.QueryText("wConfig_database.db", "SELECT " + column + " FROM " + table);
}

Visibility Shown(PageHarness& h, const char* name) { return h.Page().Markup().Get<ui::Element>(name).GetVisibility(); }

TEST(ServiceTexts, EscapingTagsIdsAndProductsAreExact)
{
    const std::pair<std::string, std::string> texts[] = {
        {EscapeUriComponent("?a=1&b=2#f \xC3\xBC-_.~"), "%3Fa%3D1%26b%3D2%23f%20%C3%BC-_.~"},
        {MailtoUri("x@y", "a b", "l1\nl2"), "mailto:x@y?subject=a%20b&body=l1%0D%0Al2"},
        {*TranslationUrl("Microsoft_Translator", "en-US", "http://e.x/?a=1&b=2#f"),
         "https://www.microsofttranslator.com/bv.aspx?from=&to=en-US&a=http%3A%2F%2Fe.x%2F%3Fa%3D1%26b%3D2%23f"},
        {TranslationUrl("google_translator", "en-US", "http://e.x/").value_or("none"), "none"},
        {platform::LanguageTagFromLocale("pt_BR.UTF-8"), "pt-BR"}, {platform::LanguageTagFromLocale("de_DE@euro"), "de-DE"},
        {platform::LanguageTagFromLocale("C"), "en-US"},           {platform::LanguageTagFromLocale(""), "en-US"},
        {TileId({1, 3, 9, 5, 2026}), "TolvaneTile.95.132026"},     {TileId({31, 12, 0, 0, 2027}), "TolvaneTile.00.31122027"},
        {DonationProduct("wButton_Donate05"), "wDonate_05_Tolvane"}, {DonationProduct("wButton_Donate50"), "wDonate_50_Tolvane"},
        {DonationProduct("wButton_donate05"), "wDonate_100_Tolvane"},
    };
    for (const auto& [actual, expected] : texts)
        EXPECT_EQ(actual, expected);
}

TEST(PageCommands, ShareTranslateAndPinWorkOnTheCurrentPageOrSayWhy)
{
    PageHarness h;
    h.Start();
    h.Tab(0)->CompleteNavigation("https://ex.com/?a=1&b=2#f", "");
    h.Click("wButton_Share");
    EXPECT_EQ(h.Dialogs.Shown.back().Title, "wShareTitle | Tolvane Browser");
    EXPECT_EQ(h.LastDialog(), "https://ex.com/?a=1&b=2#f\nwShareEndText");
    h.Dialogs.Answer("wButton_ShareMail");
    EXPECT_EQ(h.Launcher.Launched.back(), "mailto:?subject=wShareTitle%20%7C%20Tolvane%20Browser&body=https%3A%2F%2F"
                                          "ex.com%2F%3Fa%3D1%26b%3D2%23f%0D%0AwShareEndText");
    h.Tab(0)->CompleteNavigation("https://ex.com/a", "News");
    h.Click("wButton_Share");
    h.Dialogs.Answer("wButton_ShareCopy");
    EXPECT_EQ(h.Clipboard.Texts, std::vector<std::string>{"News | https://ex.com/a\nwShareEndText"});
    EXPECT_EQ(BuildShareData(h.Strings, nullptr).Text, "wShareDefaultText https://apps.tolvane.org/store/apps/9nzqwtr100ax");

    h.Click("wButton_Translate");
    EXPECT_EQ(h.Tab(0)->Navigations.back(), "https://translate.google.com/translate?hl=&tl=pt-BR&u=https%3A%2F%2Fex.com%2Fa");
    h.Clock.Current = {1, 3, 9, 5, 2026};
    h.Click("wButton_PinToStart");
    EXPECT_EQ(h.Tiles.Requests.back().TileId + h.Tiles.Requests.back().DisplayName + h.Tiles.Requests.back().Arguments,
              "TolvaneTile.95.132026Newshttps://ex.com/a");
    EXPECT_EQ(h.LastDialog(), "wMessageBox_PinToStartSucess");
    h.Tiles.Succeeds = false;
    h.Click("wButton_PinToStart");
    EXPECT_EQ(h.LastDialog(), "wMessageBox_PinToStartFailed") << "success only once written";

    h.Tabs().CloseTab(*h.Slot(0).StripCloseButton);
    for (size_t k = 0; k < h.Dialogs.Shown.size(); ++k)
        if (h.Dialogs.Shown[k].Open)
            h.Dialogs.Dismiss(k);
    h.Click("wButton_Translate");
    EXPECT_EQ(h.LastDialog(), "There are no tabs open.");
    h.Click("wButton_PinToStart");
    EXPECT_EQ(h.LastDialog(), "wMessageBox_PinToStartFailed");
    EXPECT_EQ(h.Tiles.Requests.size(), 2u);
}

TEST(Launches, FailuresAreToldAndAnswersAfterThePageAreDropped)
{
    PageHarness h;
    h.Start();
    for (const char* button : {"wButton_SupportMail", "wButton_ReelpullStore", "wButton_Rate"})
        h.Click(button);
    EXPECT_EQ(h.Launcher.Launched, (std::vector<std::string>{
        "mailto:support@tolvane.org?subject=wSendEmailSupport%20%5BTolvane%20Browser%5D",
        "ms-windows-store://pdp/?productid=9nzqwtr200bx", "ms-windows-store://review/?ProductId=9nzqwtr100ax"}));
    EXPECT_TRUE(h.Dialogs.Shown.empty());
    h.Launcher.AnswerLaunches(false);
    EXPECT_EQ(h.LastDialog(), "wMessageBox_LaunchFailed");
    EXPECT_EQ(Setting(h, "wConfig_ShowRatingAlert", "wSTATUS"), "true");
    h.Click("wButton_SupportMail");
    h.Stop();
    h.Launcher.AnswerLaunches(false);
}

TEST(Rating, ThePromptWaitsForTheHomeScreenAndStopsOnlyWhenRatedOrDeclined)
{
    PageHarness h;
    h.Start();
    EXPECT_EQ(Shown(h, "wRatingPanel"), Visibility::Collapsed);
    h.Click("wHomeScreenButton_Close");
    EXPECT_EQ(Shown(h, "wRatingPanel"), Visibility::Visible);
    for (bool launched : {false, true}) {
        h.Click("wRatingButton_Rate");
        h.Launcher.AnswerLaunches(launched);
        EXPECT_EQ(Setting(h, "wConfig_ShowRatingAlert", "wSTATUS"), launched ? "false" : "true");
    }
    h.StoreSetting("wConfig_ShowRatingAlert", "true");
    for (bool ticked : {false, true}) {
        h.Rating().CheckRatingPrompt();
        h.Page().Markup().Get<ui::CheckBox>("wRatingCheckBox_DoNotAsk").SetIsChecked(ticked);
        h.Click("wRatingButton_Close");
        EXPECT_EQ(Shown(h, "wRatingPanel"), Visibility::Collapsed);
        EXPECT_EQ(Setting(h, "wConfig_ShowRatingAlert", "wSTATUS"), ticked ? "false" : "true");
    }
}

TEST(Donations, ThanksOnlyForACompletedPurchaseAndThePageInANewTab)
{
    PageHarness h;
    h.Start();
    using platform::PurchaseStatus;
    for (auto [answer, message] : {std::pair{PurchaseStatus::Unavailable, "wMessageBox_PurchaseUnavailable"},
                                   std::pair{PurchaseStatus::NotPurchased, ""},
                                   std::pair{PurchaseStatus::Succeeded, "wMessageBox_ThanksDonate"}}) {
        h.Dialogs.Shown.clear();
        h.Store.Answer = answer;
        h.Click("wButton_Donate25");
        EXPECT_EQ(h.LastDialog(), message);
    }
    h.Click("wButton_DonatePayPal");
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Tab(1)->Navigations.back(), "ms-appx-web:///Assets/wPageDonation.htm");
}

TEST(Reelpull, TheBarFollowsInstallSettingAndTheCurrentPage)
{
    for (auto [installed, setting, bar] : {std::tuple{true, "true", Visibility::Visible},
                                           std::tuple{true, "false", Visibility::Collapsed},
                                           std::tuple{false, "true", Visibility::Collapsed}}) {
        PageHarness h;
        h.Start();
        h.StoreSetting("wConfig_Extension", setting);
        h.Tab(0)->CompleteNavigation("https://v.example/watch?v=abc&t=1", "Video");
        h.Timers.TickAll(3);
        EXPECT_EQ(h.Launcher.Queries, std::vector<std::string>{"reelpull: 10000Quenfield.ReelpullforYouTube_q8k2m4x7z1p3r"});
        h.Launcher.AnswerQueries(installed);
        EXPECT_EQ(Shown(h, "wReelpullPromptBar"), bar);
    }
    PageHarness h;
    h.Start();
    h.Tab(0)->CompleteNavigation("https://v.example/watch?v=abc", "Video");
    h.Timers.TickAll();
    h.Tab(0)->CompleteNavigation("https://other.example/", "Other");
    h.Launcher.AnswerQueries(true);
    EXPECT_EQ(Shown(h, "wReelpullPromptBar"), Visibility::Collapsed) << "a late answer for a page left";
    h.Tab(0)->CompleteNavigation("https://v.example/watch?v=abc", "Video");
    h.Timers.TickAll();
    h.Launcher.AnswerQueries(true);
    h.Click("wReelpullButton_HandOver");
    EXPECT_EQ(h.Launcher.Launched.back(), "reelpull:https://v.example/watch?v=abc");
    h.Companion().CheckCompanionApp();
    h.Launcher.AnswerQueries(true);
    h.Page().OpenTab(*platform::Uri::Parse("https://v.example/"));
    h.Tabs().SelectTab(*h.Slot(0).StripCaption);
    EXPECT_EQ(Shown(h, "wReelpullPromptBar"), Visibility::Collapsed);
    EXPECT_FALSE(h.Companion().PromptShown());
}

TEST(Reelpull, ThePanelShowsTheStateAndItsButtonTakesFourWays)
{
    PageHarness h;
    h.Start();
    auto& status = h.Page().Markup().Get<ui::TextBlock>("wExtensionText_Status");
    auto& action = h.Page().Markup().Get<ui::Button>("wExtensionButton_Action");
    struct {
        bool Installed;
        const char *Before, *Status, *Button, *After, *Message;
    } cases[] = {
        {false, "false", "wText_ReelpullStatus_NotInstalled", "wButton_ReelpullExtension_Install", "true", ""},
        {true, "false", "wText_ReelpullStatus_Installed", "wButton_ReelpullExtension_Enable", "true", "wMessageBox_ExtensionEnabled"},
        {true, "true", "wText_ReelpullStatus_Installed", "wButton_ReelpullExtension_Disable", "false", "wMessageBox_ExtensionDisabled"},
    };
    for (const auto& c : cases) {
        h.Dialogs.Shown.clear();
        h.StoreSetting("wConfig_Extension", c.Before);
        h.Click("wSideMenu_Extension");
        h.Launcher.AnswerQueries(c.Installed);
        EXPECT_EQ(status.Text() + " " + action.Content(), std::string(c.Status) + " " + c.Button);
        h.Click("wExtensionButton_Action");
        EXPECT_EQ(Setting(h, "wConfig_Extension", "wREELPULL"), c.After);
        EXPECT_EQ(h.LastDialog(), c.Message);
        EXPECT_TRUE(h.Chrome().Flags().SideMenu && !h.Chrome().Flags().Extension);
    }
    EXPECT_EQ(h.Launcher.Launched, std::vector<std::string>{"ms-windows-store://pdp/?productid=9nzqwtr200bx"});
    action.SetContent("other");
    h.Click("wExtensionButton_Action");
    EXPECT_EQ(Setting(h, "wConfig_Extension", "wREELPULL"), "false");
}

} // namespace
