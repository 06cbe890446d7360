// Addresses other programs hand the browser, at start and from a second
// invocation: each is opened, ignored or refused with a message.
#include <gtest/gtest.h>

#include "app/app.h"
#include "app/launch_address.h"
#include "tests/doubles/page_harness.h"

namespace {

struct Window : AppWindow {
    void SetContent(ui::Element&) override {}
    void Activate() override { ++Activations; }
    int Activations = 0;
};

std::string Shown(const platform::WebView* view)
{
    return static_cast<const doubles::FakeWebView*>(view)->Navigations.back();
}

TEST(LaunchAddress, EachIsOpenedIgnoredOrRefusedAtStartAndWhileRunning)
{
    const char *Bad = "wMessageBox_LaunchAddressRefused", *Script = "wMessageBox_LaunchScriptRefused";
    const std::pair<std::string, const char*> cases[] = {
        {"https://example.com/a?b=c", nullptr}, {" \r\nhttp://example.com/x\t\n", nullptr},
        {"file:///tmp/page.html", nullptr},     {"", nullptr}, {" \n\t ", nullptr},
        {"http://example.com/" + std::string(MaxLaunchAddressBytes, 'a'), Bad},
        {"http://example.com/\xC3\x28", Bad},   {"http://example.com/\xC0\xAF", Bad}, // stray byte, overlong '/'
        {"http://example.com/\xED\xA0\x80", Bad}, {"http://exa\x01mple.com/", Bad}, {"http://\x01\x02", Bad},
        {std::string("http://example.com/\0evil", 24), Bad}, {"http://[bad", Bad},
        {"javascript:alert(document.cookie)", Script}, {" JavaScript:alert(1)", Script},
    };
    for (const auto& [text, message] : cases) {
        SCOPED_TRACE(testing::PrintToString(text.substr(0, 40)));
        doubles::PageHarness h;
        Window window;
        App app(h.Services, window);
        auto opened = DecideLaunchAddress(text).Address;
        const std::string expected = opened ? opened->AbsoluteUri() : "http://www.bing.com/";

        EXPECT_EQ(app.OnActivated(ActivationKind::Protocol, text), message == nullptr);
        const TabSet& tabs = app.Page()->Tabs();
        EXPECT_EQ(Shown(tabs.Slot(0).WebView), expected);
        // A second invocation: the next tick opens the address in a new tab.
        app.OnActivated(ActivationKind::Protocol, text);
        h.Timers.TickAll();
        EXPECT_EQ(tabs.LastTabIndex(), opened ? 1 : 0);
        EXPECT_EQ(Shown(tabs.Slot(tabs.LastTabIndex()).WebView), expected);
        EXPECT_EQ(window.Activations, 2);
        EXPECT_EQ(h.Dialogs.Shown.size(), message ? 2u : 0u);
        for (const auto& dialog : h.Dialogs.Shown)
            EXPECT_EQ(dialog.Content, h.Strings.GetString(message));
    }
}

// A desktop opening several files at once, links clicked faster than a tick,
// or a pinned page started while running: each address gets its own tab, in
// order, whatever is refused between; a plain launch only raises the window.
TEST(LaunchAddress, AddressesWithinOneTickAllOpenInOrder)
{
    doubles::PageHarness h;
    Window window;
    App app(h.Services, window);
    app.OnLaunched(LaunchArgs{""});
    for (const char* address : {"http://a.example/", "javascript:0", "", "http://b.example/"})
        app.OnActivated(ActivationKind::Protocol, address);
    app.OnLaunched(LaunchArgs{"https://example.com/pinned?a=1%20b"});
    app.OnLaunched(LaunchArgs{""});
    h.Timers.TickAll();
    const TabSet& tabs = app.Page()->Tabs();
    ASSERT_EQ(tabs.LastTabIndex(), 3);
    for (auto [k, address] : {std::pair{1, "http://a.example/"}, {2, "http://b.example/"},
                              {3, "https://example.com/pinned?a=1%20b"}})
        EXPECT_EQ(Shown(tabs.Slot(k).WebView), address);
    EXPECT_EQ(window.Activations, 7);
}

} // namespace
