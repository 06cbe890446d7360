// The page constructor: the whole start-up, in its fixed order.
#include "app/main_page.h"

#include "app/page_controls.h"
#include "app/product_messages.h"
#include "bridge/bridge_host.h"
#include "bridge/chrome_animator.h"
#include "bridge/page_timers.h"
#include "browser/address_bar.h"
#include "browser/home_button.h"
#include "browser/layout_adaptation.h"
#include "browser/navigation_handlers.h"
#include "browser/page_full_screen.h"
#include "browser/find_bar.h"
#include "browser/page_tools.h"
#include "browser/permission_bar.h"
#include "browser/security_mark.h"
#include "browser/page_keys.h"
#include "browser/page_zoom.h"
#include "browser/tab_set.h"
#include "downloads/download_manager.h"
#include "downloads/toast_notifications.h"
#include "library/address_suggestions.h"
#include "library/favorites_panel.h"
#include "library/history_panel.h"
#include "services/companion_check.h"
#include "services/page_services.h"
#include "services/rating_prompt.h"
#include "settings/home_screen.h"
#include "settings/settings_panel.h"
#include "settings/theme_painter.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {
constexpr const char* PageMarkupPath = "/app/wMain.xaml";
constexpr const char* StatusBarType = "Windows.UI.ViewManagement.StatusBar";
} // namespace

MainPage::MainPage(platform::PlatformServices& services, ProcessState& process)
    : m_services(services), m_process(process)
{
    LoadPage();                                                    // 1, 2: the tab indices start at 0
    m_timers->SetUpTimers();                                       // 3
    m_services.View.BackRequested.Subscribe([this](bool& handled) { OnBackRequested(handled); }); // 4
    SetTitleBar();                                                 // 5
    m_services.View.SizeChanged.Subscribe([this] { OnWindowSizeChanged(); });                    // 6
    m_services.View.ShortcutPressed.Subscribe([this](platform::Shortcut key, bool& handled) { OnShortcut(key, handled); });
    if (m_services.System.IsTypePresent(StatusBarType))            // 7
        m_services.System.HideStatusBar();
    SetVersionText();                                              // 8
    TimerControl("Download", "Stop");                              // 9
    ConfigureDatabases(m_services.System.LocalFolderPath(), m_messages.get(), &m_services.Strings); // 10
    CreateDatabases();
    SeedDefaults();
    m_tabs->ResetZoomState();                                      // 11
    m_theme->ApplyTheme();                                         // 12
    OpenFirstTabs();                                               // 13
    m_home->ShowIfWanted();                                        // 14
    m_layout->ReadTitleBarStatus();                                // 15
    CloseDatabase(ConfigDb);                                       // 16
    m_layout->AdaptLayout();                                       // 17
    m_rating->CheckRatingPrompt();                                 // 18
}

MainPage::~MainPage()
{
    // The tab slots point into this page's element tree, which goes with it;
    // the database layer's messages went through the page.
    m_process.Tabs = {};
    ConfigureDatabases(m_services.System.LocalFolderPath(), nullptr);
    // The window outlives the page (a new page may follow): its events must
    // not reach this one.
    m_services.View.BackRequested.Clear();
    m_services.View.SizeChanged.Clear();
    m_services.View.ShortcutPressed.Clear();
}

void MainPage::LoadPage()
{
    auto markup = m_services.ReadBundledFile(PageMarkupPath);
    if (markup.empty())
        throw ui::MarkupError(std::string("the page markup ") + PageMarkupPath + " is missing from the bundle");
    m_markup = ui::LoadMarkup(markup, m_services.Strings, Handlers());
    m_controls = std::make_unique<PageControls>(PageControls::Bind(m_markup));
    BuildComponents();
}

void MainPage::BuildComponents()
{
    const auto& controls = *m_controls;
    m_messages = std::make_unique<ProductMessages>(m_services.Dialogs);
    m_layout = std::make_unique<LayoutAdaptation>(controls, m_markup, m_services.View, m_services.System);
    m_theme = std::make_unique<ThemePainter>(controls, m_markup, m_services.System, m_services.View, *m_layout);
    m_layout->UseTheme(*m_theme);
    m_chrome = std::make_unique<ChromeAnimator>(controls, m_services.View);
    m_tabs = std::make_unique<TabSet>(controls, m_services, m_process.Tabs, *m_chrome, *m_theme, *m_messages);
    m_bridge = std::make_unique<BridgeHost>(m_services, m_process.Bridge, *m_chrome, *m_tabs);
    m_companion = std::make_unique<CompanionCheck>(controls, m_markup, m_services, *m_tabs, *m_messages);
    m_tabs->CurrentTabSelected = [this] { m_companion->OnCurrentTabChanged(); };
    m_navigation = std::make_unique<NavigationHandlers>(controls, m_services, *m_tabs, *m_bridge, *m_chrome,
                                                        *m_companion);
    m_permissions = std::make_unique<PermissionBar>(controls, m_services, *m_tabs, *m_theme);
    m_find = std::make_unique<FindBar>(controls, m_services, *m_tabs, *m_chrome, *m_theme);
    m_tools = std::make_unique<PageTools>(controls, m_services, *m_tabs, *m_chrome, *m_find);
    m_securityMark = std::make_unique<SecurityMark>(controls, m_markup, m_services.Strings, *m_tabs);
    m_tabs->WebViewCreated = [this](platform::WebView& view) {
        m_navigation->Subscribe(view);
        m_permissions->Subscribe(view);
        m_find->Subscribe(view);
        m_securityMark->Subscribe(view);
    };
    m_tabs->CurrentTabChanged = [this] {
        m_permissions->CurrentTabChanged();
        m_find->CurrentTabChanged();
        m_securityMark->CurrentTabChanged();
    };
    m_address = std::make_unique<AddressBar>(controls, m_services, *m_tabs, *m_chrome, *m_messages);
    m_favorites = std::make_unique<FavoritesPanel>(controls, m_services, *m_tabs, *m_chrome, *m_messages);
    m_history = std::make_unique<HistoryPanel>(controls, m_services, *m_tabs, *m_chrome, *m_messages);
    m_chrome->HistoryClosing = [this] { m_history->ReleaseHistoryRows(); };
    m_chrome->SetPanelOpener(ChromeAnimator::FavoritesEntry,
                             [this](ui::Element& sender) { m_favorites->BuildFavoritesList(sender); });
    m_chrome->SetPanelOpener(ChromeAnimator::HistoryEntry,
                             [this](ui::Element& sender) { m_history->OpenHistoryPanel(sender); });
    m_suggestions = std::make_unique<AddressSuggestions>(controls, m_services, *m_tabs, *m_chrome, *m_messages);
    m_zoom = std::make_unique<PageZoom>(controls, *m_tabs, *m_chrome);
    m_homeButton = std::make_unique<HomeButton>(*m_tabs, *m_chrome, *m_messages, m_services.Strings);
    m_fullScreen = std::make_unique<PageFullScreen>(controls, m_services.View, *m_tabs, *m_chrome, *m_companion);
    m_navigation->FullScreenChanged = [this](platform::WebView& view) {
        m_fullScreen->WebView_ContainsFullScreenElementChanged(view);
    };
    m_tabs->CurrentTabChanging = [this] { m_fullScreen->LeaveBeforeTabChange(); };
    m_keys = std::make_unique<PageKeys>(controls, m_markup, m_services.View, *m_tabs, *m_chrome, *m_zoom,
                                        *m_homeButton, *m_fullScreen);
    m_keys->PageTools = [this](platform::Shortcut key) { return PageToolsShortcut(key); };
    m_rating = std::make_unique<RatingPrompt>(controls, m_markup, m_services, *m_chrome, *m_messages);
    m_pageServices = std::make_unique<PageServices>(controls, m_markup, m_services, *m_tabs, *m_chrome, *m_messages);
    m_chrome->SetPanelOpener(ChromeAnimator::ExtensionEntry,
                             [this](ui::Element& sender) { m_pageServices->Extension.ExtensionEntry_Click(sender); });
    m_home = std::make_unique<HomeScreen>(controls, *m_chrome, *m_rating);
    m_settings = std::make_unique<SettingsPanel>(m_markup, m_services, *m_chrome, *m_messages);
    m_chrome->SetPanelOpener(ChromeAnimator::SettingsEntry, [this](ui::Element&) { m_settings->OpenSettings(); });
    m_toasts = std::make_unique<ToastNotifications>(m_services.Downloads.Toasts);
    m_downloads = std::make_unique<DownloadManager>(
        controls, m_services, *m_chrome, *m_tabs, *m_messages, *m_toasts,
        [this](const std::string& timer, const std::string& command) { TimerControl(timer, command); });
    auto prepare = [this](const std::string& address) { m_downloads->PrepareDownload(address); };
    m_bridge->SaveImageRequested = prepare;
    m_navigation->DownloadRequested = prepare;
    m_chrome->DownloadsOpening = [this] { m_downloads->BuildDownloadsPanel(); };
    m_timers = std::make_unique<PageTimers>(m_services.Timers, m_process, *m_tabs, *m_chrome, *m_bridge,
                                            *m_companion, *m_downloads);
}

// The markup's handler names, bound to the components that own them. The
// components are built after the markup loads; nothing runs a handler before.
ui::MarkupHandlers MainPage::Handlers()
{
    ui::MarkupHandlers h;
    auto on = [&h](const char* name, auto component, auto member) {
        h.Routed[name] = [component, member](ui::Element& sender) { (component->get()->*member)(sender); };
    };
    h.Routed["CloseAppButton_Click"] = [this](ui::Element& sender) { CloseAppButton_Click(sender); };
    on("CloseHomeScreen_Click", &m_home, &HomeScreen::CloseHomeScreen_Click);
    on("ShowHomeScreen_Click", &m_home, &HomeScreen::ShowHomeScreen_Click);
    on("SaveSettings_Click", &m_settings, &SettingsPanel::SaveSettings_Click);
    on("NewTab_Click", &m_tabs, &TabSet::NewTab_Click);
    on("NewPrivateTab_Click", &m_tabs, &TabSet::NewPrivateTab_Click);
    on("BackButton_Click", &m_tabs, &TabSet::BackButton_Click);
    on("ForwardButton_Click", &m_tabs, &TabSet::ForwardButton_Click);
    on("HomeButton_Click", &m_homeButton, &HomeButton::HomeButton_Click);
    on("ZoomInButton_Click", &m_zoom, &PageZoom::ZoomInButton_Click);
    on("ZoomOutButton_Click", &m_zoom, &PageZoom::ZoomOutButton_Click);
    on("AdressBox_GotFocus", &m_address, &AddressBar::AdressBox_GotFocus);
    on("AdressBox_LostFocus", &m_address, &AddressBar::AdressBox_LostFocus);
    on("SideMenuButton_Click", &m_chrome, &ChromeAnimator::SideMenuButton_Click);
    on("MainMenuButton_Click", &m_chrome, &ChromeAnimator::MainMenuButton_Click);
    on("AboutButton_Click", &m_chrome, &ChromeAnimator::AboutButton_Click);
    on("PanelEntry_Click", &m_chrome, &ChromeAnimator::PanelEntry_Click);
    on("OpenAddFavoritePanel_Click", &m_favorites, &FavoritesPanel::OpenAddFavoritePanel_Click);
    on("SaveFavorite_Click", &m_favorites, &FavoritesPanel::SaveFavorite_Click);
    on("ClearHistory_Click", &m_history, &HistoryPanel::ClearHistory_Click);
    on("AdressBox_TextChanged", &m_suggestions, &AddressSuggestions::AdressBox_TextChanged);
    on("OpenInNewTabEntry_Click", &m_bridge, &BridgeHost::OpenInNewTabEntry_Click);
    on("CopyLinkEntry_Click", &m_bridge, &BridgeHost::CopyLinkEntry_Click);
    on("SaveImageEntry_Click", &m_bridge, &BridgeHost::SaveImageEntry_Click);
    on("SaveImageButton_Click", &m_downloads, &DownloadManager::SaveImageButton_Click);
    on("DownloadStartButton_Click", &m_downloads, &DownloadManager::DownloadStartButton_Click);
    on("DownloadFolderButton_Click", &m_downloads, &DownloadManager::DownloadFolderButton_Click);
    PageServices::AddHandlers(h, m_pageServices, m_rating, m_companion);
    h.Routed["CloseAll"] = [this](ui::Element&) { CloseAll(); };
    h.Key["AddFavoriteNameBox_KeyDown"] = [this](ui::Element& sender, ui::KeyEventArgs& args) {
        m_favorites->AddFavoriteNameBox_KeyDown(sender, args);
    };
    h.Key["AdressBox_KeyDown"] = [this](ui::Element& sender, ui::KeyEventArgs& args) { AdressBox_KeyDown(sender, args); };
    return h;
}

void MainPage::SetTitleBar()
{
    m_services.View.ExtendViewIntoTitleBar(*m_controls->TitleBarArea);
    m_services.View.SetTitleBarColors({
        .ButtonBackground = ui::Color::Transparent(),
        .ButtonInactiveBackground = ui::Color::Transparent(),
        .ButtonHoverBackground = ui::Color::FromArgb(127, 48, 48, 48),
        .ButtonForeground = ui::Color::White(),
    });
}

void MainPage::SetVersionText()
{
    auto& label = *m_controls->VersionText;
    auto v = m_services.System.Version();
    label.SetText(label.Text() + ": " + std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." +
                  std::to_string(v.Build) + "." + std::to_string(v.Revision));
}

ui::Color MainPage::wThemeColor() const { return m_theme->wThemeColor(); }
ui::Color MainPage::wThemeDarkColor() const { return m_theme->wThemeDarkColor(); }
void MainPage::OpenTab(const platform::Uri& uri) { m_tabs->OpenTab(uri); }
void MainPage::NewPrivateTab_Click(ui::Element& sender) { m_tabs->NewPrivateTab_Click(sender); }
void MainPage::SelectTab(ui::Element& sender) { m_tabs->SelectTab(sender); }
void MainPage::CloseTab(ui::Element& sender) { m_tabs->CloseTab(sender); }
void MainPage::AdressBox_KeyDown(ui::Element& sender, ui::KeyEventArgs& args) { m_address->AdressBox_KeyDown(sender, args); }
void MainPage::WebView_NavigationCompleted(platform::WebView& sender, const platform::NavigationCompletedArgs& args) { m_navigation->WebView_NavigationCompleted(sender, args); }
void MainPage::PollingTimer_Tick() { m_timers->PollingTimer_Tick(); }
void MainPage::TimerControl(const std::string& timer, const std::string& command) { m_timers->TimerControl(timer, command); }
void MainPage::CloseAll() { m_chrome->CloseAll(); }
void MainPage::OnBackRequested(bool& handled) { m_keys->OnBackRequested(handled); }
void MainPage::OnWindowSizeChanged() { m_layout->OnWindowSizeChanged(); }
void MainPage::OnShortcut(platform::Shortcut key, bool& handled) { m_keys->OnShortcut(key, handled); }

// The keys of the find bar and the page tools, as their menu entries run them.
bool MainPage::PageToolsShortcut(platform::Shortcut key)
{
    using platform::Shortcut;
    switch (key) {
    case Shortcut::Find: m_find->OpenFindBar(); return true;
    case Shortcut::FindNext: m_find->FindNext(); return m_find->IsOpen();
    case Shortcut::FindPrevious: m_find->FindPrevious(); return m_find->IsOpen();
    case Shortcut::Print: m_tools->PrintPage(); return true;
    case Shortcut::Inspector: m_tools->ToggleInspector(); return true;
    case Shortcut::ViewSource: m_tools->ViewSource(); return true;
    case Shortcut::Escape:
        if (m_find->IsOpen()) {
            m_find->CloseFindBar();
            return true;
        }
        if (!m_tabs->CurrentTabLoading())
            return false;
        m_tabs->StopLoading();
        return true;
    default: return false;
    }
}
