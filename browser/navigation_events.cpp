// What each tab's web view reports while it loads. A tab's events change only
// that tab; the address box, title label and loading ring follow the current tab.
#include <algorithm>

#include "app/main_page.h"
#include "app/process_state.h"
#include "browser/tab_text.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {
const char* ImageExtensions[] = {".jpg", ".jpeg", ".png", ".gif", ".bmp", ".tif"};
const char* FilledStar = "\xEE\x87\x8F"; // U+E1CF
const char* EmptyStar = "\xEE\x88\x88";  // U+E208
const char* PrivateGlyph = "\xEE\x9C\xA7"; // U+E727
constexpr const char* Untitled = "[Sem título]";

std::optional<int> TabOf(const platform::WebView& view)
{
    auto tag = view.Tag();
    if (!tag || *tag < 0 || *tag >= MaxTabs || Process().Tabs.TabWebViews[*tag] != &view)
        return std::nullopt;
    return *tag;
}

bool IsImageAddress(const std::string& address)
{
    auto uri = platform::Uri::Parse(address);
    if (!uri)
        return false;
    auto extension = uri->Extension();
    for (const char* image : ImageExtensions)
        if (extension == image)
            return true;
    return false;
}

std::string ShownTitle(const platform::WebView& view)
{
    auto title = view.DocumentTitle();
    return title.empty() ? Untitled : title;
}
} // namespace

void MainPage::SubscribeWebViewEvents(platform::WebView& view)
{
    view.ContentLoading.Subscribe([this](platform::WebView& v, const auto& a) { WebView_ContentLoading(v, a); });
    view.NavigationStarting.Subscribe([this](platform::WebView& v, auto& a) { WebView_NavigationStarting(v, a); });
    view.NewWindowRequested.Subscribe([this](platform::WebView& v, auto& a) { WebView_NewWindowRequested(v, a); });
    view.UnviewableContentIdentified.Subscribe(
        [this](platform::WebView& v, const auto& a) { WebView_UnviewableContentIdentified(v, a); });
    view.NavigationCompleted.Subscribe(
        [this](platform::WebView& v, const auto& a) { WebView_NavigationCompleted(v, a); });
    view.FrameNavigationCompleted.Subscribe(
        [this](platform::WebView& v, const auto& a) { WebView_NavigationCompleted(v, a); });
    view.NavigationFailed.Subscribe([this](platform::WebView& v, const auto& a) { WebView_NavigationFailed(v, a); });
    view.ContainsFullScreenElementChanged.Subscribe(
        [this](platform::WebView& v) { WebView_ContainsFullScreenElementChanged(v); });
    view.DocumentTitleChanged.Subscribe([this](platform::WebView& v) { WebView_DocumentTitleChanged(v); });
}

void MainPage::WebView_NavigationStarting(platform::WebView& sender, platform::NavigationStartingArgs&)
{
    auto tab = TabOf(sender);
    if (!tab)
        return;
    InstallBridge(sender);
    SetCaptions(*tab, m_services.Strings.GetString("wAdress/Text"));
    if (!IsCurrent(sender))
        return;
    wReelpullPromptBar->SetVisibility(ui::Visibility::Collapsed);
    BridgePromptShown = false;
    LoadingRing->SetIsActive(true);
    LoadingState = 1.0;
    Flags.AddFavorite = false;
}

void MainPage::WebView_ContentLoading(platform::WebView& sender, const platform::ContentLoadingArgs& args)
{
    if (!TabOf(sender) || !IsCurrent(sender))
        return;
    wReelpullPromptBar->SetVisibility(ui::Visibility::Collapsed);
    BridgePromptShown = false;
    auto source = sender.Source();
    // What the user is typing stays in the box.
    if (!Contains(source, AppPagePrefix) && AdressBox->FocusState() == ui::FocusState::Unfocused)
        AdressBox->SetText(source);
    auto imageControls = IsImageAddress(args.Uri.empty() ? source : args.Uri) ? ui::Visibility::Visible
                                                                               : ui::Visibility::Collapsed;
    SaveImageButton->SetVisibility(imageControls);
    SaveImageText->SetVisibility(imageControls);
    FavoriteStarButton->SetBackground(ui::Color::Transparent());
}

void MainPage::WebView_NavigationCompleted(platform::WebView& sender, const platform::NavigationCompletedArgs& args)
{
    // A load that failed is the failure handler's: it never becomes history.
    auto tab = TabOf(sender);
    if (!tab || !args.IsSuccess)
        return;
    int t = *tab;
    OpenDatabase(FavoritesDb, FavoritesFile);
    OpenDatabase(HistoryDb, HistoryFile);
    OpenDatabase(ConfigDb, ConfigFile);
    auto now = m_services.Clock.Now();
    RecordHistory(sender, now);

    const auto link = sender.Source();
    const auto theme = ThemeName();
    bool current = IsCurrent(sender);
    if (current) {
        HighlightCaptions(t, theme);
        if (AdressBox->FocusState() == ui::FocusState::Unfocused && !Contains(link, AppPagePrefix))
            AdressBox->SetText(link);
        PageTitleText->SetText(ShownTitle(sender));
    }
    SetCaptions(t, ShownTitle(sender));
    if (current)
        UpdateFavoriteStar(link, theme);
    if (sender.Name() == PrivateWebViewName)
        MarkPrivateTab(t, theme == "Claro");
    SavePageOpened(t, link);
    InjectPageScripts(sender);
    if (Process().Tabs.ZoomFactors[t] != 1.0)
        sender.InvokeScriptAsync("eval", {ZoomScript(Process().Tabs.ZoomFactors[t])});
    if (current) {
        ZoomText->SetText(std::to_string(Process().Tabs.ZoomPercentages[t]) + "%");
        LoadingRing->SetIsActive(false);
        LoadingState = 0.0;
    }
    CloseDatabase(FavoritesDb);
    CloseDatabase(HistoryDb);
    CloseDatabase(ConfigDb);
}

void MainPage::RecordHistory(platform::WebView& view, const platform::CalendarNow& now)
{
    const auto link = view.Source();
    const auto date = std::to_string(now.Day) + "/" + std::to_string(now.Month);
    const auto time = std::to_string(now.Hour) + "h" + std::to_string(now.Minute);
    if (link.empty() || Contains(link, AppPagePrefix) || view.Name() == PrivateWebViewName)
        return;
    if (QueryText(ConfigDb, "SELECT wSTATUS FROM wConfig_SaveFavoriteStatus") != "true")
        return;
    if (QueryInteger(HistoryDb, "SELECT wID FROM wHistoric_PagesOpened WHERE wLINK='" + SqlQuoted(link) +
                                    "' AND wDATE='" + SqlQuoted(date) + "'") != -1)
        return;
    auto title = view.DocumentTitle();
    std::replace(title.begin(), title.end(), '"', '\'');
    if (title.empty())
        title = "Sem título";
    ExecuteStatement(HistoryDb, "INSERT INTO wHistoric_PagesOpened VALUES (NULL, \"" + title + "\",'" +
                                    SqlQuoted(link) + "','" + SqlQuoted(date) + "','" + SqlQuoted(time) + "');");
}

void MainPage::UpdateFavoriteStar(const std::string& link, const std::string& theme)
{
    if (QueryInteger(FavoritesDb, "SELECT wID FROM wFavorite_Registered WHERE wLINK='" + SqlQuoted(link) + "';") != -1) {
        FavoriteStarButton->SetContent(FilledStar);
        FavoriteStarButton->SetForeground(ui::Color::FromRgb(247, 203, 0));
        return;
    }
    FavoriteStarButton->SetContent(EmptyStar);
    FavoriteStarButton->SetForeground(theme == "Claro" ? ui::Color::FromRgb(47, 47, 47) : ui::Color::FromRgb(224, 224, 224));
}

void MainPage::MarkPrivateTab(int tab, bool lightTheme)
{
    auto& tabs = Process().Tabs;
    auto* stripHeader = tabs.TabStripHeaders[tab];
    auto* listHeader = tabs.TabListHeaders[tab];
    if (!stripHeader || !listHeader || stripHeader->Name() == PrivateHeaderName)
        return;
    stripHeader->SetName(PrivateHeaderName);
    auto glyph = [](ui::Thickness margin, ui::Color color) {
        auto mark = std::make_unique<ui::TextBlock>();
        mark->SetFontFamily(GlyphFont);
        mark->SetText(PrivateGlyph);
        mark->SetFontSize(15);
        mark->SetOpacity(0.8);
        mark->SetMargin(margin);
        mark->SetHorizontalAlignment(ui::HorizontalAlignment::Right);
        mark->SetIsHitTestVisible(false);
        mark->SetForeground(color);
        return mark;
    };
    stripHeader->Append(glyph({0, -21, 37, 0}, lightTheme ? ui::Color::FromRgb(120, 120, 120) : ui::Color::White()));
    listHeader->Append(glyph({0, -23, 27, 0}, lightTheme ? ui::Color::Black() : ui::Color::White()));
    // Room for the mark beside the close button, so the title never runs under it.
    if (auto* caption = tabs.TabStripCaptions[tab])
        caption->SetPadding({5, 0, 57, 2});
    if (auto* caption = tabs.TabListCaptions[tab])
        caption->SetPadding({10, 0, 47, 0});
}

void MainPage::SavePageOpened(int tab, const std::string& link)
{
    auto id = std::to_string(tab);
    if (QueryText(ConfigDb, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=" + id).empty())
        ExecuteStatement(ConfigDb, "INSERT INTO wConfig_PagesOpened VALUES (" + id + ", '" + SqlQuoted(link) + "');");
    else
        ExecuteStatement(ConfigDb, "UPDATE wConfig_PagesOpened SET wLINK='" + SqlQuoted(link) + "' WHERE wID=" + id);
}

void MainPage::WebView_NavigationFailed(platform::WebView& sender, const platform::NavigationFailedArgs& args)
{
    auto tab = TabOf(sender);
    if (!tab)
        return;
    auto page = m_services.Strings.GetString("wLanguage") == "PT-BR" ? "ms-appx-web:///Assets/wPageError_PT.htm"
                                                                      : "ms-appx-web:///Assets/wPageError_EN.htm";
    if (auto uri = platform::Uri::Parse(page))
        sender.Navigate(*uri);
    SetCaptions(*tab, sender.DocumentTitle());
    if (!IsCurrent(sender))
        return;
    AdressBox->SetText(args.Uri);
    PageTitleText->SetText(sender.DocumentTitle());
    LoadingRing->SetIsActive(false);
    LoadingState = 0.0;
}

void MainPage::WebView_NewWindowRequested(platform::WebView& sender, platform::NewWindowRequestedArgs& args)
{
    if (CurrentTabIndex >= 0 && CurrentTabIndex < MaxTabs)
        ClearCaptionHighlight(CurrentTabIndex);
    // A private tab's pop-ups stay private.
    if (auto uri = platform::Uri::Parse(args.Uri)) {
        m_nextTabPrivate = sender.Name() == PrivateWebViewName;
        OpenTab(*uri);
        CloseDatabase(ConfigDb);
    }
    args.Handled = true;
    CloseAll();
}

void MainPage::WebView_DocumentTitleChanged(platform::WebView& sender)
{
    // A title that arrives after the load finished still reaches the chrome.
    auto tab = TabOf(sender);
    if (!tab || sender.DocumentTitle().empty())
        return;
    SetCaptions(*tab, sender.DocumentTitle());
    if (IsCurrent(sender))
        PageTitleText->SetText(sender.DocumentTitle());
}

void MainPage::WebView_UnviewableContentIdentified(platform::WebView& sender, const platform::UnviewableContentArgs&)
{
    // The download manager takes such content once downloads exist; the load
    // itself ends here, so the loading state must not stay on.
    if (!IsCurrent(sender))
        return;
    LoadingRing->SetIsActive(false);
    LoadingState = 0.0;
}

void MainPage::WebView_ContainsFullScreenElementChanged(platform::WebView&)
{
    // Full screen comes with the zoom and keys work.
}
