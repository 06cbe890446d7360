// The address row's security mark follows what the current tab committed,
// and closing a tab asks its page first: at once without a handler, the
// user's answer with one, and a page that never answers loses its say.
#include <gtest/gtest.h>

#include "browser/security_mark.h"
#include "browser/tab_closing.h"
#include "browser/tab_text.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::FakeWebView;
using doubles::PageHarness;
using platform::PageSecurity;
using Unload = FakeWebView::Unload;

TEST(SecurityMark, EachCommitOfTheTabDecidesItsMark)
{
    struct Row {
        const char* Uri;
        PageSecurity Https; // what the engine made of an https certificate
        const char* ToolTip; // empty: no mark
    };
    const Row rows[] = {
        {"https://bank.example/", PageSecurity::Secure, "wSecurity_Secure"},
        {"http://plain.example/form", PageSecurity::Secure, "wSecurity_NotSecure"},
        {"https://doubted.example/", PageSecurity::NotSecure, "wSecurity_NotSecure"},
        // The browser's own pages: the error page, a certificate refusal, a blank page.
        {"ms-appx-web:///Assets/wPageError_EN.htm", PageSecurity::Secure, ""},
        {"ms-appx-web:///Assets/wCertificateError_EN.htm?host=bank.example", PageSecurity::Secure, ""},
        {"about:blank", PageSecurity::Secure, ""},
        {"file:///etc/passwd", PageSecurity::Secure, ""},
        {"https://bank.example/again", PageSecurity::Secure, "wSecurity_Secure"},
    };
    PageHarness h;
    h.Start("https://start.example/");
    auto& view = *h.Tab(0);
    const auto& mark = h.Security().Element();
    EXPECT_EQ(mark.GetVisibility(), ui::Visibility::Collapsed) << "nothing committed yet";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Uri);
        view.HttpsSecurity = row.Https;
        view.CompleteNavigation(row.Uri, "Page");
        const bool marked = *row.ToolTip != '\0';
        EXPECT_EQ(mark.GetVisibility(), marked ? ui::Visibility::Visible : ui::Visibility::Collapsed);
        EXPECT_EQ(mark.ToolTip(), row.ToolTip);
        // The address text starts past the mark, or where it always did.
        EXPECT_EQ(h.Controls().AdressBox->Padding().Left, marked ? 70 : 46);
    }
}

TEST(SecurityMark, FollowsTheCurrentTabAndClearsWhenItsLoadFails)
{
    PageHarness h;
    auto& page = h.Start("http://plain.example/");
    h.Tab(0)->CompleteNavigation("http://plain.example/", "Plain");
    page.NewPrivateTab_Click(page.Root());
    auto& own = *h.Tab(1);
    own.CompleteNavigation("ms-appx-web:///Assets/wHome.htm", "Home");
    const auto& mark = h.Security().Element();
    EXPECT_EQ(mark.GetVisibility(), ui::Visibility::Collapsed);

    page.SelectTab(*h.Slot(0).StripCaption);
    EXPECT_EQ(mark.ToolTip(), "wSecurity_NotSecure");
    // A tab behind the current one changes nothing in the row.
    own.CompleteNavigation("https://private.example/", "Private");
    EXPECT_EQ(mark.ToolTip(), "wSecurity_NotSecure");
    page.SelectTab(*h.Slot(1).StripCaption);
    EXPECT_EQ(mark.ToolTip(), "wSecurity_Secure");
    EXPECT_EQ(h.Slot(1).StripHeader->Name(), PrivateHeaderName) << "the private mark stays on its tab";

    // Leaving the secure page for the browser's own: until the new page
    // commits the engine still says secure, yet the address is no site's.
    own.StartNavigation("ms-appx-web:///Assets/wPageError_EN.htm");
    page.SelectTab(*h.Slot(0).StripCaption);
    page.SelectTab(*h.Slot(1).StripCaption);
    EXPECT_EQ(mark.GetVisibility(), ui::Visibility::Collapsed);
    // A refused load shows its address in the box, but never the lock.
    own.LoadContent("https://private.example/");
    own.FailNavigation("https://refused.example/", 404);
    EXPECT_EQ(mark.GetVisibility(), ui::Visibility::Collapsed);
    h.Tabs().CloseTab(*h.Slot(1).StripCloseButton);
    EXPECT_EQ(mark.ToolTip(), "wSecurity_NotSecure");
}

TEST(TabClosing, ThePageIsAskedFirstAndAPageThatNeverAnswersLosesItsSay)
{
    struct Row {
        const char* Case;
        Unload Page;
        const char* User; // the dialog's button; "x" closes it; "" leaves it up
        int WaitMs;       // time passing (and the timer ticking) after the answer
        bool Closed;
    };
    const Row rows[] = {
        {"no handler: closes at once", Unload::GoesAtOnce, "", 0, true},
        {"the user leaves", Unload::Asks, "wLeavePage_Leave", 0, true},
        {"the user stays", Unload::Asks, "wLeavePage_Stay", 5000, false},
        {"the dialog closed is a stay", Unload::Asks, "x", 5000, false},
        {"no time runs out while the user decides", Unload::Asks, "", 60000, false},
        {"a hung page, not yet", Unload::NeverAnswers, "", 1999, false},
        {"a hung page, its time up", Unload::NeverAnswers, "", 2000, true},
    };
    // Every way the user closes a tab, taken in turn: the strip's close, the
    // narrow list's close, a middle click on the caption, Ctrl+W.
    const std::function<void(PageHarness&)> closes[] = {
        [](PageHarness& h) { h.Tabs().CloseTab(*h.Slot(1).StripCloseButton); },
        [](PageHarness& h) { h.Slot(1).ListCloseButton->RaiseClick(); },
        [](PageHarness& h) { h.Slot(1).StripCaption->RaiseMiddleClick(); },
        [](PageHarness& h) { h.View.Press(platform::Shortcut::CloseTab); },
    };
    for (size_t r = 0; r < std::size(rows); ++r) {
        const auto& row = rows[r];
        const auto& close = closes[r % std::size(closes)];
        SCOPED_TRACE(row.Case);
        PageHarness h;
        auto& page = h.Start("http://one.example/");
        page.OpenTab(*platform::Uri::Parse("http://two.example/"));
        auto now = TabClosing::Clock::time_point{};
        h.Tabs().Closing().Now = [&now] { return now; };
        auto& view = *h.Tab(1);
        view.OnUnload = row.Page;

        close(h);
        const bool asked = row.Page == Unload::Asks;
        ASSERT_EQ(h.Dialogs.OpenCount(), asked ? 1u : 0u);
        if (asked) {
            EXPECT_EQ(h.Dialogs.Shown.back().Title, "wLeavePage_Title");
            EXPECT_EQ(h.Dialogs.Shown.back().Commands,
                      (std::vector<std::string>{"wLeavePage_Leave", "wLeavePage_Stay"}));
            close(h); // asked again while asking: one question
            EXPECT_EQ(h.Dialogs.OpenCount(), 1u);
            EXPECT_EQ(view.TryCloseCalls, 1);
        }
        if (std::string(row.User) == "x")
            h.Dialogs.Dismiss();
        else if (*row.User)
            h.Dialogs.Answer(row.User);
        now += std::chrono::milliseconds(row.WaitMs);
        h.Timers.TickAll();
        EXPECT_EQ(h.TabCount(), row.Closed ? 1 : 2);
        EXPECT_EQ(h.Tabs().CurrentTabIndex(), row.Closed ? 0 : 1);
    }
}

} // namespace
