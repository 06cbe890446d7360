#pragma once
// The one page of the browser. Its members are the handlers of every control
// and web view event; each subsystem folder defines the handlers it owns
// (browser/tab_set.cpp defines OpenTab, ...).
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/ui/element.h"
#include "platform/ui/markup.h"

class BridgeDialogQueue;

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
    // Shows one panel: every other flag cleared, the panel's and the overlay's set.
    void OpenPanel(bool OpenFlags::*panel);
    // After a panel's confirmed dialog: every flag cleared, then the side menu and the overlay set.
    void ReturnToSideMenu();
    // A menu button: flips one flag, clears every other (the context menu's
    // too); the overlay is wanted while the flag is set.
    void TogglePanel(bool OpenFlags::*panel);
    void SideMenuButton_Click(ui::Element& sender);
    void MainMenuButton_Click(ui::Element& sender);
    // The seventh panel's button.
    void AboutButton_Click(ui::Element& sender);
    // A menu entry that shows a panel; its Tag names the panel (PanelEntry).
    void PanelEntry_Click(ui::Element& sender);
    enum PanelEntry : int32_t {
        FavoritesEntry = 1, HistoryEntry, DownloadsEntry, SettingsEntry, AboutEntry, ExtensionEntry,
    };

    // The context pop-up's entries.
    void OpenInNewTabEntry_Click(ui::Element& sender);
    void CopyLinkEntry_Click(ui::Element& sender);
    void SaveImageEntry_Click(ui::Element& sender);

    // Page animation state: the polling tick moves these towards what the
    // open flags ask for. Offsets are right margins: -270 out, 0 in place.
    // Everything starts where a closed panel comes to rest.
    struct PanelAnimation {
        double Opacity = -0.05;
        int32_t Offset = -270;
    };
    struct PanelTable {
        PanelAnimation SideMenu;
        PanelAnimation Favorites;
        PanelAnimation History;
        PanelAnimation Downloads;
        PanelAnimation DownloadDialog; // fades only
        PanelAnimation Settings;
        PanelAnimation SeventhPanel;
        PanelAnimation Extension;
    } Panels;
    double OverlayOpacity = -0.06;
    double ContextPopupOpacity = -0.05;
    // The title shows while nothing loads, the ring and its caption while a page loads.
    double TitleFade = 1.05;
    double RingFade = -0.05;
    // Exit hint: shown while BackPressCount is 1 (a first back press that would leave).
    int32_t BackPressCount = 0;
    int32_t ExitHintTicks = 0;
    double ExitHintOpacity = 0.0;

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
    ui::Element* wMainMenu = nullptr;
    ui::Element* wAddFavoritePanel = nullptr;
    ui::Element* wFavoritesPanel = nullptr;
    ui::Element* wHistoryPanel = nullptr;
    ui::Element* wDownloadsPanel = nullptr;
    ui::Element* wDownloadDialog = nullptr;
    ui::Element* wSettingsPanel = nullptr;
    ui::Element* wAboutPanel = nullptr; // the seventh panel
    ui::Element* wExtensionPanel = nullptr;
    ui::Grid* wDimmingOverlay = nullptr;
    ui::Element* wContextPopup = nullptr;
    ui::Button* wContextPopup_SaveImage = nullptr;
    ui::Element* ExitHintBar = nullptr;
    ui::TextBlock* LoadingText = nullptr;

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
    // The stored theme, read where it is drawn with.
    std::string ThemeName();
    ui::Color TabHighlightColor(const std::string& theme) const;
    void HighlightCaptions(int tab, const std::string& theme);
    void ClearCaptionHighlight(int tab);
    void SetCaptions(int tab, const std::string& text);
    void UpdateFavoriteStar(const std::string& link, const std::string& theme);
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

    // The polling tick's steps, in the order it runs them.
    void HandOverActivation();
    void AnimateExitHint();
    void AnimateLoadingFade();
    void AnimateMenus();
    void AnimateSideMenu();
    void AnimatePanelsBeforeOverlay();
    void AnimateOverlay();
    void AnimatePanelsAfterOverlay();
    void AnimateContextPopup();
    void PlaceContextPopup();
    void CheckCompanionPage();
    // The history panel lets go of its rows as it starts to slide out.
    void ReleaseHistoryRows();
    // Asks whether the companion app is installed (video pages).
    void CheckCompanionApp();

    // One dialog queue per web view, kept from page to page.
    std::map<const platform::WebView*, std::shared_ptr<BridgeDialogQueue>> m_bridgeDialogs;
    // The pop-up has been placed for the request that is open now.
    bool m_contextPopupPlaced = false;

    // The next OpenTab creates a private tab; OpenTab clears it as it reads it.
    bool m_nextTabPrivate = false;
    std::vector<std::unique_ptr<ui::Element>> m_retiredElements;

    platform::PlatformServices& m_services;
    ui::LoadedMarkup m_markup;
    std::unique_ptr<platform::DispatcherTimer> m_pollingTimer;
    std::unique_ptr<platform::DispatcherTimer> m_downloadTimer;
};
