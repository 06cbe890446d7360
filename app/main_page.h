#pragma once
// The one page of the browser. Its members are the handlers of every control
// and web view event; each subsystem folder defines the handlers it owns
// (browser/tab_set.cpp defines OpenTab, ...).
#include <cstdint>
#include <memory>
#include <string>

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

    // Exit confirmation.
    void CloseAppButton_Click(ui::Element& sender);

    // Tabs.
    void OpenTab(const platform::Uri& uri);

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

private:
    void LoadPage();
    void BindControls();
    ui::MarkupHandlers Handlers();
    void SetTitleBar();
    void SetVersionText();
    void ResetZoomState();
    void OpenFirstTabs();
    void ShowHomeScreenIfWanted();

    platform::PlatformServices& m_services;
    ui::LoadedMarkup m_markup;
    std::unique_ptr<platform::DispatcherTimer> m_pollingTimer;
    std::unique_ptr<platform::DispatcherTimer> m_downloadTimer;
};
