// The companion services driven through the page: share, translate, pin,
// mail, rating, donations and the Reelpull hand-over, with the launcher,
// tiles and store doubles answering as a desktop would.
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
constexpr const char* Config = "wConfig_database.db";

std::string Setting(PageHarness& h, const std::string& table, const std::string& column)
{
    return h.QueryText(Config, "SELECT " + column + " FROM " + table);
}

void SetSetting(PageHarness& h, const std::string& table, const std::string& value)
{
    h.Execute(Config, "DELETE FROM " + table + "; INSERT INTO " + table + " VALUES ('" + value + "');");
}

std::string LastDialog(PageHarness& h) { return h.Dialogs.Shown.empty() ? "" : h.Dialogs.Shown.back().Content; }

ui::Visibility Shown(PageHarness& h, const std::string& name)
{
    return h.Page().Markup().Get<ui::Element>(name).GetVisibility();
}

TEST(ServiceTexts, EscapingTagsAndIdsAreExact)
{
    EXPECT_EQ(EscapeUriComponent("?a=1&b=2#f"), "%3Fa%3D1%26b%3D2%23f");
    EXPECT_EQ(EscapeUriComponent("\xC3\xBC A-z_0.~"), "%C3%BC%20A-z_0.~");
    EXPECT_EQ(MailtoUri("x@y", "a b", "l1\nl2"), "mailto:x@y?subject=a%20b&body=l1%0D%0Al2");
    const std::pair<const char*, const char*> locales[] = {
        {"pt_BR.UTF-8", "pt-BR"}, {"de_DE@euro", "de-DE"}, {"en", "en"}, {"C", "en-US"},
        {"POSIX", "en-US"},       {"", "en-US"},           {"x;y", "en-US"},
    };
    for (const auto& [locale, tag] : locales)
        EXPECT_EQ(platform::LanguageTagFromLocale(locale), tag) << locale;
    const std::pair<platform::CalendarNow, const char*> ids[] = {
        {{1, 3, 9, 5, 2026}, "TolvaneTile.95.132026"},
        {{5, 12, 18, 5, 2026}, "TolvaneTile.185.5122026"},
        {{31, 12, 0, 0, 2027}, "TolvaneTile.00.31122027"},
    };
    for (const auto& [now, id] : ids)
        EXPECT_EQ(TileId(now), id);
    const std::pair<const char*, const char*> products[] = {
        {"wButton_Donate05", "wDonate_05_Tolvane"}, {"wButton_Donate10", "wDonate_10_Tolvane"},
        {"wButton_Donate25", "wDonate_25_Tolvane"}, {"wButton_Donate50", "wDonate_50_Tolvane"},
        {"wButton_Donate100", "wDonate_100_Tolvane"}, {"wButton_donate05", "wDonate_100_Tolvane"},
    };
    for (const auto& [name, product] : products)
        EXPECT_EQ(DonationProduct(name), product);
}

TEST(ServiceTexts, TranslationAddressesCarryThePageAsOneValue)
{
    const std::string page = "https://ex.com/p?a=1&b=2#f";
    EXPECT_EQ(TranslationUrl("Google_Translator", "pt-BR", page),
              "https://translate.google.com/translate?hl=&tl=pt-BR&u=https%3A%2F%2Fex.com%2Fp%3Fa%3D1%26b%3D2%23f");
    EXPECT_EQ(TranslationUrl("Microsoft_Translator", "en-US", "http://ex.com/\xC3\xBC"),
              "https://www.microsofttranslator.com/bv.aspx?from=&to=en-US&a=http%3A%2F%2Fex.com%2F%C3%BC");
    EXPECT_EQ(TranslationUrl("google_translator", "en-US", page), std::nullopt);
}

TEST(Share, TheSheetSharesThePageOrTheStorePageAndCopiesOrMails)
{
    PageHarness h;
    h.Start();
    struct Case {
        std::string Title, Address, Text;
    } cases[] = {
        {"News", "https://ex.com/a", "News | https://ex.com/a\nwShareEndText"},
        {"", "https://ex.com/a", "https://ex.com/a\nwShareEndText"},
    };
    for (const auto& c : cases) {
        h.Tab(0)->CompleteNavigation(c.Address, c.Title);
        h.Click("wButton_Share");
        const auto& sheet = h.Dialogs.Shown.back();
        EXPECT_EQ(sheet.Title, "wShareTitle | Tolvane Browser");
        EXPECT_EQ(sheet.Content, c.Text);
        EXPECT_EQ(sheet.Commands.size(), 3u);
    }
    h.Dialogs.Answer("wButton_ShareCopy");
    EXPECT_EQ(h.Clipboard.Texts, std::vector<std::string>{cases[1].Text});
    h.Click("wButton_Share");
    h.Dialogs.Answer("wButton_ShareMail");
    EXPECT_EQ(h.Launcher.Launched.back(),
              "mailto:?subject=wShareTitle%20%7C%20Tolvane%20Browser&body=https%3A%2F%2Fex.com%2Fa%0D%0AwShareEndText");
    // Without a tab the browser's own store page is shared.
    EXPECT_EQ(BuildShareData(h.Strings, nullptr).Text,
              "wShareDefaultText https://apps.tolvane.org/store/apps/9nzqwtr100ax");
}

TEST(Translate, TheStoredServiceGetsTheEncodedAddressAndNoTabIsTold)
{
    PageHarness h;
    h.Start();
    h.Tab(0)->CompleteNavigation("https://ex.com/?a=1&b=2#f", "T");
    h.Click("wButton_Translate");
    EXPECT_EQ(h.Tab(0)->Navigations.back(),
              "https://translate.google.com/translate?hl=&tl=pt-BR&u=https%3A%2F%2Fex.com%2F%3Fa%3D1%26b%3D2%23f");
    SetSetting(h, "wConfig_MainTranslateAdress", "Other");
    size_t before = h.Tab(0)->Navigations.size();
    h.Click("wButton_Translate");
    EXPECT_EQ(h.Tab(0)->Navigations.size(), before) << "an unknown service leaves the page";
    h.Tabs().CloseTab(*h.Slot(0).StripCloseButton);
    h.Click("wButton_Translate");
    EXPECT_EQ(LastDialog(h), "There are no tabs open.");
}

TEST(Pin, SuccessIsToldOnlyOnceTheLauncherIsWritten)
{
    PageHarness h;
    h.Start();
    h.Clock.Current = {1, 3, 9, 5, 2026};
    h.Tab(0)->CompleteNavigation("https://ex.com/a?b=1", "A \"title\"");
    h.Click("wButton_PinToStart");
    ASSERT_EQ(h.Tiles.Requests.size(), 1u);
    EXPECT_EQ(h.Tiles.Requests[0].TileId, "TolvaneTile.95.132026");
    EXPECT_EQ(h.Tiles.Requests[0].DisplayName, "A \"title\"");
    EXPECT_EQ(h.Tiles.Requests[0].Arguments, "https://ex.com/a?b=1");
    EXPECT_EQ(LastDialog(h), "wMessageBox_PinToStartSucess");
    h.Tiles.Succeeds = false;
    h.Click("wButton_PinToStart");
    EXPECT_EQ(LastDialog(h), "wMessageBox_PinToStartFailed");
    h.Tabs().CloseTab(*h.Slot(0).StripCloseButton);
    for (size_t k = 0; k < h.Dialogs.Shown.size(); ++k)
        h.Dialogs.Dismiss(k);
    h.Click("wButton_PinToStart");
    EXPECT_EQ(h.Tiles.Requests.size(), 2u) << "no tab, nothing to pin";
    EXPECT_EQ(h.Dialogs.Shown.back().Content, "wMessageBox_PinToStartFailed");
}

TEST(Launches, FailuresAreToldAndMailAndStorePagesGoOut)
{
    PageHarness h;
    h.Start();
    h.Click("wButton_SupportMail");
    EXPECT_EQ(h.Launcher.Launched.back(),
              "mailto:support@tolvane.org?subject=wSendEmailSupport%20%5BTolvane%20Browser%5D");
    h.Click("wButton_ReelpullStore");
    h.Click("wButton_Rate");
    EXPECT_EQ(h.Launcher.Launched.size(), 3u);
    EXPECT_EQ(h.Launcher.Launched[1], "ms-windows-store://pdp/?productid=9nzqwtr200bx");
    EXPECT_EQ(h.Launcher.Launched[2], "ms-windows-store://review/?ProductId=9nzqwtr100ax");
    EXPECT_TRUE(h.Dialogs.Shown.empty()) << "nothing is told before the answer";
    h.Launcher.AnswerLaunches(false);
    EXPECT_EQ(h.Dialogs.Shown.size(), 1u) << "one message at a time: " << LastDialog(h);
    EXPECT_EQ(LastDialog(h), "wMessageBox_LaunchFailed");
    EXPECT_EQ(Setting(h, "wConfig_ShowRatingAlert", "wSTATUS"), "true") << "the About rate button keeps it";
    // An answer that comes after the page has gone is dropped.
    h.Click("wButton_SupportMail");
    h.Stop();
    h.Launcher.AnswerLaunches(false);
}

TEST(Rating, ThePromptWaitsForTheHomeScreenAndStopsOnlyWhenRatedOrDeclined)
{
    PageHarness h;
    h.Start();
    EXPECT_EQ(Shown(h, "wRatingPanel"), ui::Visibility::Collapsed) << "behind the home screen";
    h.Click("wHomeScreenButton_Close");
    EXPECT_EQ(Shown(h, "wRatingPanel"), ui::Visibility::Visible);
    for (bool launched : {false, true}) {
        h.Click("wRatingButton_Rate");
        EXPECT_EQ(Shown(h, "wRatingPanel"), ui::Visibility::Collapsed);
        h.Launcher.AnswerLaunches(launched);
        EXPECT_EQ(Setting(h, "wConfig_ShowRatingAlert", "wSTATUS"), launched ? "false" : "true");
    }
    SetSetting(h, "wConfig_ShowRatingAlert", "true");
    for (bool ticked : {false, true}) {
        h.Rating().CheckRatingPrompt();
        h.Page().Markup().Get<ui::CheckBox>("wRatingCheckBox_DoNotAsk").SetIsChecked(ticked);
        h.Click("wRatingButton_Close");
        EXPECT_EQ(Shown(h, "wRatingPanel"), ui::Visibility::Collapsed);
        EXPECT_EQ(Setting(h, "wConfig_ShowRatingAlert", "wSTATUS"), ticked ? "false" : "true");
    }
    h.Rating().CheckRatingPrompt();
    EXPECT_EQ(Shown(h, "wRatingPanel"), ui::Visibility::Collapsed) << "declined: never again";
}

TEST(Donations, ThanksOnlyForACompletedPurchaseAndThePageInANewTab)
{
    PageHarness h;
    h.Start();
    const std::pair<platform::PurchaseStatus, const char*> answers[] = {
        {platform::PurchaseStatus::Unavailable, "wMessageBox_PurchaseUnavailable"},
        {platform::PurchaseStatus::NotPurchased, ""},
        {platform::PurchaseStatus::Succeeded, "wMessageBox_ThanksDonate"},
    };
    for (const auto& [answer, message] : answers) {
        h.Dialogs.Shown.clear();
        h.Store.Answer = answer;
        h.Click("wButton_Donate25");
        EXPECT_EQ(h.Store.Purchases.back(), "wDonate_25_Tolvane");
        EXPECT_EQ(LastDialog(h), message);
    }
    h.Click("wButton_DonatePayPal");
    ASSERT_EQ(h.TabCount(), 2);
    EXPECT_EQ(h.Tab(1)->Navigations.back(), "ms-appx-web:///Assets/wPageDonation.htm");
    EXPECT_EQ(Shown(h, "wHomeScreenPanel"), ui::Visibility::Collapsed);
}

TEST(Reelpull, TheBarFollowsInstallSettingAndTheCurrentPage)
{
    struct Case {
        bool Installed;
        const char* Setting;
        ui::Visibility Bar;
    } cases[] = {
        {true, "true", ui::Visibility::Visible},
        {true, "false", ui::Visibility::Collapsed},
        {false, "true", ui::Visibility::Collapsed},
    };
    for (const auto& c : cases) {
        PageHarness h;
        h.Start();
        SetSetting(h, "wConfig_Extension", c.Setting);
        h.Tab(0)->CompleteNavigation("https://v.example/watch?v=abc&t=1", "Video");
        h.Timers.TickAll(3);
        ASSERT_EQ(h.Launcher.PendingQueries.size(), 1u) << "asked once per page";
        EXPECT_EQ(h.Launcher.Queries[0], "reelpull: 10000Quenfield.ReelpullforYouTube_q8k2m4x7z1p3r");
        h.Launcher.AnswerQueries(c.Installed);
        EXPECT_EQ(Shown(h, "wReelpullPromptBar"), c.Bar);
    }
    PageHarness h;
    h.Start();
    h.Tab(0)->CompleteNavigation("https://v.example/watch?v=abc", "Video");
    h.Timers.TickAll();
    // Left before the answer came: the bar stays hidden.
    h.Tab(0)->CompleteNavigation("https://other.example/", "Other");
    h.Launcher.AnswerQueries(true);
    EXPECT_EQ(Shown(h, "wReelpullPromptBar"), ui::Visibility::Collapsed);
    h.Tab(0)->CompleteNavigation("https://v.example/watch?v=abc", "Video");
    h.Timers.TickAll();
    h.Launcher.AnswerQueries(true);
    ASSERT_EQ(Shown(h, "wReelpullPromptBar"), ui::Visibility::Visible);
    h.Click("wReelpullButton_HandOver");
    EXPECT_EQ(h.Launcher.Launched.back(), "reelpull:https://v.example/watch?v=abc");
    EXPECT_EQ(Shown(h, "wReelpullPromptBar"), ui::Visibility::Collapsed);
    // Another tab to the front: the bar goes and the new page is asked about.
    h.Companion().CheckCompanionApp();
    h.Launcher.AnswerQueries(true);
    h.Page().OpenTab(*platform::Uri::Parse("https://v.example/watch?v=xyz"));
    h.Tab(1)->CompleteNavigation("https://v.example/watch?v=xyz", "Other video");
    h.Timers.TickAll();
    h.Launcher.AnswerQueries(true);
    h.Tabs().SelectTab(*h.Slot(0).StripCaption);
    EXPECT_EQ(Shown(h, "wReelpullPromptBar"), ui::Visibility::Collapsed);
    EXPECT_FALSE(h.Companion().PromptShown());
}

TEST(Reelpull, ThePanelShowsTheStateAndItsButtonTakesFourWays)
{
    PageHarness h;
    h.Start();
    auto& status = h.Page().Markup().Get<ui::TextBlock>("wExtensionText_Status");
    auto& action = h.Page().Markup().Get<ui::Button>("wExtensionButton_Action");
    struct Case {
        bool Installed;
        const char* Before;
        const char* Status;
        const char* Button;
        const char* After;
        const char* Message;
        size_t Launches;
    } cases[] = {
        {false, "false", "wText_ReelpullStatus_NotInstalled", "wButton_ReelpullExtension_Install", "true", "", 1},
        {true, "false", "wText_ReelpullStatus_Installed", "wButton_ReelpullExtension_Enable", "true",
         "wMessageBox_ExtensionEnabled", 0},
        {true, "true", "wText_ReelpullStatus_Installed", "wButton_ReelpullExtension_Disable", "false",
         "wMessageBox_ExtensionDisabled", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Button);
        h.Dialogs.Shown.clear();
        h.Launcher.Launched.clear();
        SetSetting(h, "wConfig_Extension", c.Before);
        h.Click("wSideMenu_Extension");
        EXPECT_TRUE(h.Chrome().Flags().Extension);
        h.Launcher.AnswerQueries(c.Installed);
        EXPECT_EQ(status.Text(), c.Status);
        EXPECT_EQ(action.Content(), c.Button);
        h.Click("wExtensionButton_Action");
        EXPECT_EQ(Setting(h, "wConfig_Extension", "wREELPULL"), c.After);
        EXPECT_EQ(LastDialog(h), c.Message);
        EXPECT_EQ(h.Launcher.Launched.size(), c.Launches);
        EXPECT_TRUE(h.Chrome().Flags().SideMenu && !h.Chrome().Flags().Extension);
    }
    // Content matching none of the three: nothing stored, nothing told.
    action.SetContent("something else");
    h.Dialogs.Shown.clear();
    h.Click("wExtensionButton_Action");
    EXPECT_EQ(Setting(h, "wConfig_Extension", "wREELPULL"), "false");
    EXPECT_TRUE(h.Dialogs.Shown.empty());
    // The entry closes an open panel.
    h.Click("wSideMenu_Extension");
    h.Click("wSideMenu_Extension");
    EXPECT_FALSE(h.Chrome().Flags().Extension);
}

} // namespace
