#pragma once
// Full screen: a page's own (a video's button) and the window's (F11). The
// page's follows what its view reports: only the tab in full screen leaves
// it, a repeated report changes nothing, and whatever changes the current
// tab ends it first.
#include "platform/application_view.h"
#include "platform/web_view.h"

struct PageControls;
class ChromeAnimator;
class CompanionCheck;
class TabSet;

inline constexpr const char* ExitFullScreenScript =
    "if (document.exitFullscreen) { document.exitFullscreen(); } else if (document.msExitFullscreen) { "
    "document.msExitFullscreen(); } else if (document.webkitExitFullscreen) { document.webkitExitFullscreen(); }";

class PageFullScreen {
public:
    PageFullScreen(const PageControls& controls, platform::ApplicationView& view, TabSet& tabs,
                   ChromeAnimator& chrome, CompanionCheck& companion);

    void WebView_ContainsFullScreenElementChanged(platform::WebView& sender);
    // The current tab is about to change or close: its page leaves full
    // screen and the chrome is back at once.
    void LeaveBeforeTabChange();
    // F11: the window's full screen, the chrome kept.
    void ToggleWindowFullScreen();
    // Escape: asks the current page to leave its full screen, else leaves
    // F11's; false when neither was on.
    bool Escape();
    bool PageInFullScreen() const { return m_page != nullptr; }

private:
    void Enter(platform::WebView& page);
    void Leave();

    const PageControls& m_controls;
    platform::ApplicationView& m_view;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    CompanionCheck& m_companion;
    // The view whose page is in full screen, and where its host stood before.
    platform::WebView* m_page = nullptr;
    int m_hostRow = 2;
    int m_hostRowSpan = 3;
    bool m_windowFullScreen = false;
};
