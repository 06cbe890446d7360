#pragma once
// The one page of the browser. Its members are the handlers of every control
// and web view event; each subsystem folder defines the handlers it owns
// (browser/tab_set.cpp defines OpenTab, ...).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/ui/element.h"
#include "platform/ui/markup.h"

class MainPage {
public:
    // Builds the page and runs the whole start-up, in order.
    explicit MainPage(platform::PlatformServices& services);
    ~MainPage();
    MainPage(const MainPage&) = delete;
    MainPage& operator=(const MainPage&) = delete;

    ui::Element& Root() const { return *m_markup.Root; }
    const ui::LoadedMarkup& Markup() const { return m_markup; }

    // Tab indices: the tab shown (-1 when none), the one shown before, the highest slot.
    int32_t CurrentTabIndex = 0;
    int32_t PreviousTabIndex = 0;
    int32_t LastTabIndex = 0;
    // True while the narrow arrangement of the title strip is in place.
    bool NarrowLayoutApplied = true;
    // wConfig_TitleBarStatus as read at construction.
    std::string TitleBarStatusText;
    // 1.0 while the current page loads, 0.0 otherwise.
    double LoadingState = 0.0;
    // The theme's colours, set once at start.
    ui::Color wThemeColor = ui::Color::White();
    ui::Color wThemeDarkColor = ui::Color::FromRgb(32, 32, 32);

    // The open flags the polling timer animates; handlers only set them.
    struct OpenFlags {
        bool MainMenu = false;
        bool AddFavorite = false;
        bool SideMenu = false;
        bool Favorites = false;
        bool History = false;
        bool Downloads = false;
        bool DownloadDialog = false;
        bool Settings = false;
        bool SeventhPanel = false;
        bool Extension = false;
        bool OverlayWanted = false;
    } Flags;
    // The companion check has run for the current page.
    bool BridgePromptShown = false;

    // Exit confirmation.
    void CloseAppButton_Click(ui::Element& sender);

    // Tabs.
    void OpenTab(const platform::Uri& uri);
    void NewTab_Click(ui::Element& sender);
    void NewPrivateTab_Click(ui::Element& sender);
    void SelectTab(ui::Element& sender);
    void CloseTab(ui::Element& sender);
    void BackButton_Click(ui::Element& sender);
    void ForwardButton_Click(ui::Element& sender);

    // Address bar.
    void AdressBox_KeyDown(ui::Element& sender, ui::KeyEventArgs& args);
    void AdressBox_GotFocus(ui::Element& sender);
    void AdressBox_LostFocus(ui::Element& sender);

    // Web view events of every tab.
    void WebView_NavigationStarting(platform::WebView& sender, platform::NavigationStartingArgs& args);
    void WebView_ContentLoading(platform::WebView& sender, const platform::ContentLoadingArgs& args);
    void WebView_NavigationCompleted(platform::WebView& sender, const platform::NavigationCompletedArgs& args);
    void WebView_NavigationFailed(platform::WebView& sender, const platform::NavigationFailedArgs& args);
    void WebView_NewWindowRequested(platform::WebView& sender, platform::NewWindowRequestedArgs& args);
    void WebView_UnviewableContentIdentified(platform::WebView& sender, const platform::UnviewableContentArgs& args);
    void WebView_ContainsFullScreenElementChanged(platform::WebView& sender);
    void WebView_DocumentTitleChanged(platform::WebView& sender);

    // Open flags: clears every panel and menu flag, the overlay's and the context menu's.
    void CloseAll();

    // Home screen.
    void CloseHomeScreen_Click(ui::Element& sender);

    // Start-up members of other subsystems.
    void SetUpTimers();
    void TimerControl(const std::string& timer, const std::string& command);
    void PollingTimer_Tick();
    void DownloadTimer_Tick();
    void OnBackRequested(bool& handled);
    void OnWindowSizeChanged();
    void ApplyTheme();
    void PlaceBars();
    void AdaptLayout();
    void CheckRatingPrompt();

    // Named controls of the page markup.
    ui::Grid* RootGrid = nullptr;
    ui::Grid* TitleBarArea = nullptr;
    ui::TextBlock* PageTitleText = nullptr;
    ui::TextBlock* VersionText = nullptr;
    ui::Button* CloseAppButton = nullptr;
    ui::TextBox* AdressBox = nullptr;
    ui::Grid* WebViewHost = nullptr;
    ui::StackPanel* TabStripPanel = nullptr;
    ui::StackPanel* TabListPanel = nullptr;
    ui::Grid* wHomeScreenPanel = nullptr;
    ui::CheckBox* wHomeScreenCheckBox_DoNotShow = nullptr;
    ui::ProgressRing* LoadingRing = nullptr;
    ui::Button* FavoriteStarButton = nullptr;
    ui::TextBlock* ZoomText = nullptr;
    ui::Button* SaveImageButton = nullptr;
    ui::TextBlock* SaveImageText = nullptr;
    ui::Element* SuggestionList = nullptr;
    ui::Element* wReelpullPromptBar = nullptr;
    ui::Element* wSideMenu = nullptr;

private:
    void LoadPage();
    void BindControls();
    ui::MarkupHandlers Handlers();
    void SetTitleBar();
    void SetVersionText();
    void ResetZoomState();
    void OpenFirstTabs();
    void ShowHomeScreenIfWanted();
    void SubscribeWebViewEvents(platform::WebView& view);
    void NavigateOrOpen(const platform::Uri& uri);
    void BuildStripHeader(int n, bool lightTheme);
    void BuildListHeader(int n, bool lightTheme);
    void MoveTabSlot(int from, int to);
    // Tab captions: the theme's highlight, or none.
    ui::Color TabHighlightColor();
    void HighlightCaptions(int tab);
    void ClearCaptionHighlight(int tab);
    void SetCaptions(int tab, const std::string& text);
    void UpdateFavoriteStar(const std::string& link);
    void MarkPrivateTab(int tab, bool lightTheme);
    void RecordHistory(platform::WebView& view, const platform::CalendarNow& now);
    void SavePageOpened(int tab, const std::string& link);
    void InstallBridge(platform::WebView& view);
    void InjectPageScripts(platform::WebView& view);
    void ApplyZoom(int tab);
    platform::WebView* CurrentWebView() const;
    bool IsCurrent(const platform::WebView& view) const;
    // Web views and headers of closed tabs live until the next tick, so a
    // close button is never destroyed inside its own click.
    void ReleaseRetiredElements();

    // The next OpenTab creates a private tab (the new-private-tab command).
    bool m_nextTabPrivate = false;
    std::vector<std::unique_ptr<ui::Element>> m_retiredElements;

    platform::PlatformServices& m_services;
    ui::LoadedMarkup m_markup;
    std::unique_ptr<platform::DispatcherTimer> m_pollingTimer;
    std::unique_ptr<platform::DispatcherTimer> m_downloadTimer;
};
