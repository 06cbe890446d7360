#pragma once
// The one page of the browser. It loads the markup, builds one component per
// concern and hands each what it needs; every handler lives on the component
// that owns its behaviour, and the page forwards the ones other code calls on
// it. The page itself holds no state of its own.
#include <memory>
#include <string>

#include "app/process_state.h"
#include "platform/platform.h"
#include "platform/ui/element.h"
#include "platform/ui/markup.h"

struct PageControls;
class AddressBar;
class AddressSuggestions;
class BridgeHost;
class ChromeAnimator;
class CompanionCheck;
class DownloadManager;
class FavoritesPanel;
class HistoryPanel;
class HomeButton;
class HomeScreen;
class LayoutAdaptation;
class NavigationHandlers;
class PageFullScreen;
class PageKeys;
struct PageServices;
class PageTimers;
class PageZoom;
class PermissionBar;
class FindBar;
class PageTools;
class ProductMessages;
class RatingPrompt;
class SecurityMark;
class SettingsPanel;
class TabSet;
class ThemePainter;
class ToastNotifications;
namespace doubles { class PageHarness; }

class MainPage {
public:
    // Builds the page and runs the whole start-up, in order.
    MainPage(platform::PlatformServices& services, ProcessState& process);
    ~MainPage();
    MainPage(const MainPage&) = delete;
    MainPage& operator=(const MainPage&) = delete;

    ui::Element& Root() const { return *m_markup.Root; }
    const ui::LoadedMarkup& Markup() const { return m_markup; }

    // What the components show, for whoever asks (tests, the state probe).
    const TabSet& Tabs() const { return *m_tabs; }
    const ChromeAnimator& Chrome() const { return *m_chrome; }
    const BridgeHost& Bridge() const { return *m_bridge; }
    // The theme's two colours, set once at start.
    ui::Color wThemeColor() const;
    ui::Color wThemeDarkColor() const;

    // Handlers other code calls on the page.
    void CloseAppButton_Click(ui::Element& sender);
    void OpenTab(const platform::Uri& uri);
    void NewPrivateTab_Click(ui::Element& sender);
    void SelectTab(ui::Element& sender);
    void CloseTab(ui::Element& sender);
    void AdressBox_KeyDown(ui::Element& sender, ui::KeyEventArgs& args);
    void WebView_NavigationCompleted(platform::WebView& sender, const platform::NavigationCompletedArgs& args);
    void PollingTimer_Tick();
    void TimerControl(const std::string& timer, const std::string& command);
    void CloseAll();
    void OnBackRequested(bool& handled);
    void OnWindowSizeChanged();
    void OnShortcut(platform::Shortcut key, bool& handled);

private:
    bool PageToolsShortcut(platform::Shortcut key);
    // Tests drive the components directly.
    friend class doubles::PageHarness;

    void LoadPage();
    void BuildComponents();
    ui::MarkupHandlers Handlers();
    void SetTitleBar();
    void SetVersionText();
    void OpenFirstTabs();
    // The saved tabs in wID order, whatever the ids; the rows become 0..n-1.
    bool RestoreTabs();

    platform::PlatformServices& m_services;
    ProcessState& m_process;
    ui::LoadedMarkup m_markup;
    std::unique_ptr<PageControls> m_controls;
    std::unique_ptr<ProductMessages> m_messages;
    std::unique_ptr<ThemePainter> m_theme;
    std::unique_ptr<ChromeAnimator> m_chrome;
    std::unique_ptr<TabSet> m_tabs;
    std::unique_ptr<BridgeHost> m_bridge;
    std::unique_ptr<CompanionCheck> m_companion;
    std::unique_ptr<NavigationHandlers> m_navigation;
    std::unique_ptr<AddressBar> m_address;
    std::unique_ptr<FavoritesPanel> m_favorites;
    std::unique_ptr<HistoryPanel> m_history;
    std::unique_ptr<AddressSuggestions> m_suggestions;
    std::unique_ptr<LayoutAdaptation> m_layout;
    std::unique_ptr<PageZoom> m_zoom;
    std::unique_ptr<HomeButton> m_homeButton;
    std::unique_ptr<PageFullScreen> m_fullScreen;
    std::unique_ptr<PageKeys> m_keys;
    std::unique_ptr<RatingPrompt> m_rating;
    std::unique_ptr<HomeScreen> m_home;
    std::unique_ptr<ToastNotifications> m_toasts;
    std::unique_ptr<DownloadManager> m_downloads;
    std::unique_ptr<SettingsPanel> m_settings;
    std::unique_ptr<PageTimers> m_timers;
    std::unique_ptr<PageServices> m_pageServices;
    std::unique_ptr<PermissionBar> m_permissions;
    std::unique_ptr<FindBar> m_find;
    std::unique_ptr<SecurityMark> m_securityMark;
    std::unique_ptr<PageTools> m_tools;
};
