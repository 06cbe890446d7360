// Addresses other programs hand the browser, at start and from a second
// invocation: each is opened, ignored or refused with a message; none runs a
// script or brings the browser down.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/launch_address.h"
#include "browser/tab_text.h"
#include "tests/doubles/page_harness.h"

namespace {

struct Window : AppWindow {
    void SetContent(ui::Element&) override {}
    void Activate() override { ++Activations; }
    int Activations = 0;
};

std::string LastNavigation(const platform::WebView* view)
{
    auto* fake = static_cast<const doubles::FakeWebView*>(view);
    return fake && !fake->Navigations.empty() ? fake->Navigations.back() : "(no tab)";
}

TEST(LaunchAddress, EveryInputIsOpenedIgnoredOrRefusedAtStartAndWhileRunning)
{
    const char* Bad = "wMessageBox_LaunchAddressRefused";
    const char* Script = "wMessageBox_LaunchScriptRefused";
    const std::string home = "http://www.bing.com/";
    struct Case {
        const char* name;
        std::string text;
        std::string opened; // empty: nothing opened
        const char* message;
    } cases[] = {
        {"a web address", "https://example.com/a?b=c", "https://example.com/a?b=c", nullptr},
        {"blanks and a line break around it", " \r\nhttp://example.com/x\t\n", "http://example.com/x", nullptr},
        {"a local file", "file:///tmp/page.html", "file:///tmp/page.html", nullptr},
        {"empty", "", "", nullptr},
        {"only blanks", " \n\t ", "", nullptr},
        {"just past the longest address", "http://example.com/" + std::string(MaxLaunchAddressBytes, 'a'), "", Bad},
        {"invalid UTF-8", "http://example.com/\xC3\x28", "", Bad},
        {"an overlong slash", "http://example.com/\xC0\xAF", "", Bad},
        {"a surrogate", "http://example.com/\xED\xA0\x80", "", Bad},
        {"a control character inside", "http://exa\x01mple.com/", "", Bad},
        {"controls around nothing", "http://\x01\x02", "", Bad},
        {"a NUL inside", std::string("http://example.com/\0evil", 24), "", Bad},
        {"no absolute address", "http://[bad", "", Bad},
        {"a script", "javascript:alert(document.cookie)", "", Script},
        {"a script in capitals", " JavaScript:alert(1)", "", Script},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        doubles::PageHarness h;
        Window window;
        App app(h.Services, window);

        EXPECT_EQ(app.OnActivated(ActivationKind::Protocol, c.text), c.message == nullptr);
        ASSERT_TRUE(app.Page());
        const TabSet& tabs = app.Page()->Tabs();
        EXPECT_EQ(tabs.LastTabIndex(), 0);
        EXPECT_EQ(LastNavigation(tabs.Slot(0).WebView), c.opened.empty() ? home : c.opened);

        // A second invocation: the next tick opens the address in a new tab.
        app.OnActivated(ActivationKind::Protocol, c.text);
        h.Timers.TickAll();
        EXPECT_EQ(tabs.LastTabIndex(), c.opened.empty() ? 0 : 1);
        EXPECT_EQ(LastNavigation(tabs.Slot(tabs.LastTabIndex()).WebView), c.opened.empty() ? home : c.opened);
        EXPECT_EQ(window.Activations, 2);

        // A refusal says so each time; nothing else shows a message.
        std::vector<std::string> shown, expected;
        for (const auto& dialog : h.Dialogs.Shown)
            shown.push_back(dialog.Content);
        if (c.message)
            expected.assign(2, h.Strings.GetString(c.message));
        EXPECT_EQ(shown, expected);
    }
}

TEST(LaunchAddress, ThePrivateTabActionStartsTheBrowserOrAddsToIt)
{
    doubles::PageHarness h;
    Window window;
    App app(h.Services, window);
    app.OnNewPrivateTab();
    app.OnNewPrivateTab();
    const TabSet& tabs = app.Page()->Tabs();
    ASSERT_EQ(tabs.LastTabIndex(), 2);
    EXPECT_NE(tabs.Slot(0).WebView->Name(), PrivateWebViewName);
    EXPECT_EQ(tabs.Slot(1).WebView->Name(), PrivateWebViewName);
    EXPECT_EQ(tabs.Slot(2).WebView->Name(), PrivateWebViewName);
    EXPECT_EQ(tabs.CurrentTabIndex(), 2);
}

} // namespace
