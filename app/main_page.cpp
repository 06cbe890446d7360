// The page constructor: the whole start-up, in its fixed order.
#include "app/main_page.h"

#include "app/process_state.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {
constexpr const char* PageMarkupPath = "/app/wMain.xaml";
constexpr const char* StatusBarType = "Windows.UI.ViewManagement.StatusBar";
} // namespace

MainPage::MainPage(platform::PlatformServices& services) : m_services(services)
{
    LoadPage();                                                    // 1
    CurrentTabIndex = 0;                                           // 2
    PreviousTabIndex = 0;
    LastTabIndex = 0;
    NarrowLayoutApplied = true;
    Flags = {};
    SetUpTimers();                                                 // 3
    m_services.View.BackRequested.Subscribe([this](bool& handled) { OnBackRequested(handled); }); // 4
    SetTitleBar();                                                 // 5
    m_services.View.SizeChanged.Subscribe([this] { OnWindowSizeChanged(); });                    // 6
    if (m_services.System.IsTypePresent(StatusBarType))            // 7
        m_services.System.HideStatusBar();
    SetVersionText();                                              // 8
    TimerControl("Download", "Stop");                              // 9
    ConfigureDatabases(m_services.System.LocalFolderPath(), &m_services.Dialogs); // 10
    CreateDatabases();
    SeedDefaults();
    ResetZoomState();                                              // 11
    ApplyTheme();                                                  // 12
    OpenFirstTabs();                                               // 13
    ShowHomeScreenIfWanted();                                      // 14
    TitleBarStatusText = QueryText(ConfigDb, "SELECT wSTATUS FROM wConfig_TitleBarStatus"); // 15
    CloseDatabase(ConfigDb);                                       // 16
    AdaptLayout();                                                 // 17
    CheckRatingPrompt();                                           // 18
}

MainPage::~MainPage()
{
    // The tab slots point into this page's element tree, which goes with it.
    Process().Tabs = {};
}

void MainPage::LoadPage()
{
    auto markup = m_services.ReadBundledFile(PageMarkupPath);
    if (markup.empty())
        throw ui::MarkupError(std::string("the page markup ") + PageMarkupPath + " is missing from the bundle");
    m_markup = ui::LoadMarkup(markup, m_services.Strings, Handlers());
    BindControls();
}

void MainPage::BindControls()
{
    RootGrid = &m_markup.Get<ui::Grid>("RootGrid");
    TitleBarArea = &m_markup.Get<ui::Grid>("TitleBarArea");
    PageTitleText = &m_markup.Get<ui::TextBlock>("PageTitleText");
    VersionText = &m_markup.Get<ui::TextBlock>("VersionText");
    CloseAppButton = &m_markup.Get<ui::Button>("CloseAppButton");
    AdressBox = &m_markup.Get<ui::TextBox>("AdressBox");
    WebViewHost = &m_markup.Get<ui::Grid>("WebViewHost");
    TabStripPanel = &m_markup.Get<ui::StackPanel>("TabStripPanel");
    TabListPanel = &m_markup.Get<ui::StackPanel>("TabListPanel");
    wHomeScreenPanel = &m_markup.Get<ui::Grid>("wHomeScreenPanel");
    wHomeScreenCheckBox_DoNotShow = &m_markup.Get<ui::CheckBox>("wHomeScreenCheckBox_DoNotShow");
    LoadingRing = &m_markup.Get<ui::ProgressRing>("LoadingRing");
    FavoriteStarButton = &m_markup.Get<ui::Button>("FavoriteStarButton");
    ZoomText = &m_markup.Get<ui::TextBlock>("ZoomText");
    SaveImageButton = &m_markup.Get<ui::Button>("SaveImageButton");
    SaveImageText = &m_markup.Get<ui::TextBlock>("SaveImageText");
    SuggestionList = &m_markup.Get<ui::Element>("SuggestionList");
    wReelpullPromptBar = &m_markup.Get<ui::Element>("wReelpullPromptBar");
    wSideMenu = &m_markup.Get<ui::Element>("wSideMenu");
    wMainMenu = &m_markup.Get<ui::Element>("wMainMenu");
    wAddFavoritePanel = &m_markup.Get<ui::Element>("wAddFavoritePanel");
    wFavoritesPanel = &m_markup.Get<ui::Element>("wFavoritesPanel");
    wHistoryPanel = &m_markup.Get<ui::Element>("wHistoryPanel");
    wDownloadsPanel = &m_markup.Get<ui::Element>("wDownloadsPanel");
    wDownloadDialog = &m_markup.Get<ui::Element>("wDownloadDialog");
    wSettingsPanel = &m_markup.Get<ui::Element>("wSettingsPanel");
    wAboutPanel = &m_markup.Get<ui::Element>("wAboutPanel");
    wExtensionPanel = &m_markup.Get<ui::Element>("wExtensionPanel");
    wDimmingOverlay = &m_markup.Get<ui::Grid>("wDimmingOverlay");
    wContextPopup = &m_markup.Get<ui::Element>("wContextPopup");
    wContextPopup_SaveImage = &m_markup.Get<ui::Button>("wContextPopup_SaveImage");
    ExitHintBar = &m_markup.Get<ui::Element>("ExitHintBar");
    LoadingText = &m_markup.Get<ui::TextBlock>("LoadingText");
}

ui::MarkupHandlers MainPage::Handlers()
{
    ui::MarkupHandlers h;
    auto routed = [&](const char* name, void (MainPage::*member)(ui::Element&)) {
        h.Routed[name] = [this, member](ui::Element& sender) { (this->*member)(sender); };
    };
    routed("CloseAppButton_Click", &MainPage::CloseAppButton_Click);
    routed("CloseHomeScreen_Click", &MainPage::CloseHomeScreen_Click);
    routed("NewTab_Click", &MainPage::NewTab_Click);
    routed("NewPrivateTab_Click", &MainPage::NewPrivateTab_Click);
    routed("BackButton_Click", &MainPage::BackButton_Click);
    routed("ForwardButton_Click", &MainPage::ForwardButton_Click);
    routed("AdressBox_GotFocus", &MainPage::AdressBox_GotFocus);
    routed("AdressBox_LostFocus", &MainPage::AdressBox_LostFocus);
    h.Routed["CloseAll"] = [this](ui::Element&) { CloseAll(); };
    routed("SideMenuButton_Click", &MainPage::SideMenuButton_Click);
    routed("MainMenuButton_Click", &MainPage::MainMenuButton_Click);
    routed("AboutButton_Click", &MainPage::AboutButton_Click);
    routed("PanelEntry_Click", &MainPage::PanelEntry_Click);
    routed("OpenInNewTabEntry_Click", &MainPage::OpenInNewTabEntry_Click);
    routed("CopyLinkEntry_Click", &MainPage::CopyLinkEntry_Click);
    routed("SaveImageEntry_Click", &MainPage::SaveImageEntry_Click);
    h.Key["AdressBox_KeyDown"] = [this](ui::Element& sender, ui::KeyEventArgs& args) { AdressBox_KeyDown(sender, args); };
    return h;
}

void MainPage::SetTitleBar()
{
    m_services.View.ExtendViewIntoTitleBar(*TitleBarArea);
    m_services.View.SetTitleBarColors({
        .ButtonBackground = ui::Color::Transparent(),
        .ButtonInactiveBackground = ui::Color::Transparent(),
        .ButtonHoverBackground = ui::Color::FromArgb(127, 48, 48, 48),
        .ButtonForeground = ui::Color::White(),
    });
}

void MainPage::SetVersionText()
{
    auto v = m_services.System.Version();
    VersionText->SetText(VersionText->Text() + ": " + std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." +
                         std::to_string(v.Build) + "." + std::to_string(v.Revision));
}

void MainPage::ResetZoomState()
{
    Process().Tabs.ZoomFactors.fill(1.0);
    Process().Tabs.ZoomPercentages.fill(100);
}

void MainPage::ShowHomeScreenIfWanted()
{
    if (QueryText(ConfigDb, "SELECT wSTATUS FROM wConfig_HomeScreenStatus") == "true")
        wHomeScreenPanel->SetVisibility(ui::Visibility::Visible);
}
