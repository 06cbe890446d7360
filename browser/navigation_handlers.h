#pragma once
// What each tab's web view reports while it loads. A tab's events change only
// that tab; the address box, title label, star, zoom label and loading ring
// follow the current tab.
#include "platform/platform.h"

struct PageControls;
class BridgeHost;
class ChromeAnimator;
class CompanionCheck;
class TabSet;

class NavigationHandlers {
public:
    NavigationHandlers(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                       BridgeHost& bridge, ChromeAnimator& chrome, CompanionCheck& companion);

    // Attaches the handlers below to a new tab's view.
    void Subscribe(platform::WebView& view);

    void WebView_NavigationStarting(platform::WebView& sender, platform::NavigationStartingArgs& args);
    void WebView_ContentLoading(platform::WebView& sender, const platform::ContentLoadingArgs& args);
    // The top document's completion and each frame's run the same steps; the
    // page scripts go into the top document only, once.
    void WebView_NavigationCompleted(platform::WebView& sender, const platform::NavigationCompletedArgs& args);
    void WebView_NavigationFailed(platform::WebView& sender, const platform::NavigationFailedArgs& args);
    void WebView_NewWindowRequested(platform::WebView& sender, platform::NewWindowRequestedArgs& args);
    void WebView_UnviewableContentIdentified(platform::WebView& sender, const platform::UnviewableContentArgs& args);
    void WebView_ContainsFullScreenElementChanged(platform::WebView& sender);
    void WebView_DocumentTitleChanged(platform::WebView& sender);

    // A page entered or left its full screen.
    std::function<void(platform::WebView&)> FullScreenChanged;
    // Content a view cannot show goes to the download preparation.
    std::function<void(const std::string& address)> DownloadRequested;

private:
    enum class Completion { TopDocument, Frame };
    void Completed(platform::WebView& sender, const platform::NavigationCompletedArgs& args, Completion completion);
    void RecordHistory(platform::WebView& view, const platform::CalendarNow& now);
    void SavePageOpened(int tab, const std::string& link);

    const PageControls& m_controls;
    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    BridgeHost& m_bridge;
    ChromeAnimator& m_chrome;
    CompanionCheck& m_companion;
};
