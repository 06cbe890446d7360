#include "browser/navigation_handlers.h"

#include <algorithm>

#include "app/page_controls.h"
#include "bridge/bridge_host.h"
#include "bridge/chrome_animator.h"
#include "browser/certificate_page.h"
#include "browser/favorite_star.h"
#include "browser/tab_set.h"
#include "browser/tab_text.h"
#include "browser/visit_statements.h"
#include "services/companion_check.h"
#include "settings/theme_painter.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {
const char* ImageExtensions[] = {".jpg", ".jpeg", ".png", ".gif", ".bmp", ".tif"};
constexpr const char* BlankPagePrefix = "about:";

bool IsImageAddress(const std::string& address)
{
    auto uri = platform::Uri::Parse(address);
    if (!uri)
        return false;
    auto extension = uri->Extension();
    return std::any_of(std::begin(ImageExtensions), std::end(ImageExtensions),
                       [&](const char* image) { return extension == image; });
}

// The browser's own pages (error pages, blank pages) are no visit.
bool IsOwnPage(const std::string& link)
{
    return Contains(link, AppPagePrefix) || link.rfind(BlankPagePrefix, 0) == 0;
}
} // namespace

NavigationHandlers::NavigationHandlers(const PageControls& controls, platform::PlatformServices& services,
                                       TabSet& tabs, BridgeHost& bridge, ChromeAnimator& chrome,
                                       CompanionCheck& companion)
    : m_controls(controls), m_services(services), m_tabs(tabs), m_bridge(bridge), m_chrome(chrome),
      m_companion(companion)
{
}

void NavigationHandlers::Subscribe(platform::WebView& view)
{
    view.ContentLoading.Subscribe([this](platform::WebView& v, const auto& a) { WebView_ContentLoading(v, a); });
    view.NavigationStarting.Subscribe([this](platform::WebView& v, auto& a) { WebView_NavigationStarting(v, a); });
    view.NewWindowRequested.Subscribe([this](platform::WebView& v, auto& a) { WebView_NewWindowRequested(v, a); });
    view.UnviewableContentIdentified.Subscribe(
        [this](platform::WebView& v, const auto& a) { WebView_UnviewableContentIdentified(v, a); });
    view.NavigationCompleted.Subscribe(
        [this](platform::WebView& v, const auto& a) { Completed(v, a, Completion::TopDocument); });
    view.FrameNavigationCompleted.Subscribe(
        [this](platform::WebView& v, const auto& a) { Completed(v, a, Completion::Frame); });
    view.NavigationFailed.Subscribe([this](platform::WebView& v, const auto& a) { WebView_NavigationFailed(v, a); });
    view.ContainsFullScreenElementChanged.Subscribe(
        [this](platform::WebView& v) { WebView_ContainsFullScreenElementChanged(v); });
    view.DocumentTitleChanged.Subscribe([this](platform::WebView& v) { WebView_DocumentTitleChanged(v); });
    view.ContextMenuGesture.Subscribe([this](platform::WebView& v) {
        if (auto tab = m_tabs.TabOf(v))
            m_bridge.ContextMenuGesture(*tab);
    });
    view.PromptRequested.Subscribe([this](platform::WebView& v, platform::PromptRequestedArgs& a) {
        if (auto tab = m_tabs.TabOf(v))
            m_bridge.PagePrompt(*tab, a);
    });
}

void NavigationHandlers::WebView_NavigationStarting(platform::WebView& sender, platform::NavigationStartingArgs&)
{
    auto tab = m_tabs.TabOf(sender);
    if (!tab)
        return;
    m_bridge.InstallBridge(*tab);
    m_tabs.SetCaptions(*tab, m_services.Strings.GetString("wAdress/Text"));
    m_tabs.SetLoading(*tab, true);
    if (!m_tabs.IsCurrent(sender))
        return;
    m_controls.wReelpullPromptBar->SetVisibility(ui::Visibility::Collapsed);
    m_companion.Reset();
    m_chrome.ClosePanel(&OpenFlags::AddFavorite);
}

void NavigationHandlers::WebView_ContentLoading(platform::WebView& sender, const platform::ContentLoadingArgs& args)
{
    if (!m_tabs.TabOf(sender) || !m_tabs.IsCurrent(sender))
        return;
    m_controls.wReelpullPromptBar->SetVisibility(ui::Visibility::Collapsed);
    m_companion.Reset();
    auto source = sender.Source();
    // What the user is typing stays in the box.
    if (!Contains(source, AppPagePrefix) && m_controls.AdressBox->FocusState() == ui::FocusState::Unfocused)
        m_controls.AdressBox->SetText(source);
    auto imageControls = IsImageAddress(args.Uri.empty() ? source : args.Uri) ? ui::Visibility::Visible
                                                                               : ui::Visibility::Collapsed;
    m_controls.SaveImageButton->SetVisibility(imageControls);
    m_controls.SaveImageText->SetVisibility(imageControls);
    m_controls.FavoriteStarButton->SetBackground(ui::Color::Transparent());
}

void NavigationHandlers::WebView_NavigationCompleted(platform::WebView& sender,
                                                     const platform::NavigationCompletedArgs& args)
{
    Completed(sender, args, Completion::TopDocument);
}

void NavigationHandlers::Completed(platform::WebView& sender, const platform::NavigationCompletedArgs& args,
                                   Completion completion)
{
    // A load that failed is the failure handler's: it never becomes history.
    auto tab = m_tabs.TabOf(sender);
    if (!tab || !args.IsSuccess)
        return;
    int t = *tab;
    OpenDatabase(FavoritesDb, FavoritesFile);
    OpenDatabase(HistoryDb, HistoryFile);
    OpenDatabase(ConfigDb, ConfigFile);
    RecordHistory(sender, m_services.Clock.Now());

    const auto link = sender.Source();
    const auto theme = ThemePainter::ThemeName();
    const auto title = ShownTitle(sender.DocumentTitle());
    bool current = m_tabs.IsCurrent(sender);
    if (current) {
        m_tabs.HighlightCaptions(t, theme);
        if (m_controls.AdressBox->FocusState() == ui::FocusState::Unfocused && !Contains(link, AppPagePrefix))
            m_controls.AdressBox->SetText(link);
        m_controls.PageTitleText->SetText(title);
    }
    m_tabs.SetCaptions(t, title);
    if (current)
        ShowFavoriteStar(*m_controls.FavoriteStarButton, link, theme);
    if (sender.Name() == PrivateWebViewName)
        m_tabs.MarkPrivate(t, theme == "Claro");
    SavePageOpened(t, link);
    if (completion == Completion::TopDocument)
        m_bridge.InjectPageScripts(t);
    const auto& slot = m_tabs.Slot(t);
    if (slot.ZoomFactor != 1.0)
        sender.InvokeScriptAsync("eval", {ZoomScript(slot.ZoomFactor)});
    if (current)
        m_controls.ZoomText->SetText(std::to_string(slot.ZoomPercentage) + "%");
    // A frame that finishes inside a loading page does not end its load.
    if (completion == Completion::TopDocument)
        m_tabs.SetLoading(t, false);
    CloseDatabase(FavoritesDb);
    CloseDatabase(HistoryDb);
    CloseDatabase(ConfigDb);
}

void NavigationHandlers::RecordHistory(platform::WebView& view, const platform::CalendarNow& now)
{
    const auto link = view.Source();
    const auto date = std::to_string(now.Day) + "/" + std::to_string(now.Month);
    const auto time = std::to_string(now.Hour) + "h" + std::to_string(now.Minute);
    if (link.empty() || IsOwnPage(link) || view.Name() == PrivateWebViewName)
        return;
    if (QueryText(ConfigDb, "SELECT wSTATUS FROM wConfig_SaveFavoriteStatus") != "true")
        return;
    if (QueryInteger(HistoryDb, HistoryVisitQuery(link, date)) != -1)
        return;
    auto title = view.DocumentTitle();
    std::replace(title.begin(), title.end(), '"', '\'');
    if (title.empty())
        title = "Sem título";
    ExecuteStatement(HistoryDb, HistoryVisitInsert(title, link, date, time));
}

void NavigationHandlers::SavePageOpened(int tab, const std::string& link)
{
    if (QueryText(ConfigDb, PageOpenedQuery(tab)).empty())
        ExecuteStatement(ConfigDb, PageOpenedInsert(tab, link));
    else
        ExecuteStatement(ConfigDb, PageOpenedUpdate(tab, link));
}

void NavigationHandlers::WebView_NavigationFailed(platform::WebView& sender, const platform::NavigationFailedArgs& args)
{
    auto tab = m_tabs.TabOf(sender);
    if (!tab)
        return;
    const bool english = m_services.Strings.GetString("wLanguage") != "PT-BR";
    std::string page = english ? "ms-appx-web:///Assets/wPageError_EN.htm" : "ms-appx-web:///Assets/wPageError_PT.htm";
    // A refused certificate says why, and the page behind it never shows.
    if (args.CertificateProblems != 0)
        page = CertificatePageAddress(args.Uri, args.CertificateSubject, args.CertificateProblems, english);
    if (auto uri = platform::Uri::Parse(page))
        sender.Navigate(*uri);
    m_tabs.SetCaptions(*tab, sender.DocumentTitle());
    m_tabs.SetLoading(*tab, false);
    if (!m_tabs.IsCurrent(sender))
        return;
    m_controls.AdressBox->SetText(args.Uri);
    m_controls.PageTitleText->SetText(sender.DocumentTitle());
}

void NavigationHandlers::WebView_NewWindowRequested(platform::WebView& sender, platform::NewWindowRequestedArgs& args)
{
    args.Handled = true;
    auto tab = m_tabs.TabOf(sender);
    // One user input opens at most one tab, however often the page asks.
    if (!tab || !m_tabs.TakePopupGesture(*tab, args.UserGesture))
        return;
    if (m_tabs.CurrentTabIndex() >= 0)
        m_tabs.ClearCaptionHighlight(m_tabs.CurrentTabIndex());
    // A private tab's pop-ups and links stay private.
    const auto privacy = sender.Name() == PrivateWebViewName ? TabPrivacy::Private : TabPrivacy::FollowCurrent;
    auto uri = platform::Uri::Parse(args.Uri);
    if (uri && args.InBackground) {
        // A page's javascript: or file: link opens nothing.
        if (uri->Scheme() == "http" || uri->Scheme() == "https")
            m_tabs.OpenBackgroundTab(*uri, privacy);
        CloseDatabase(ConfigDb);
    } else if (uri) {
        m_tabs.OpenTab(*uri, privacy);
        CloseDatabase(ConfigDb);
    }
    m_chrome.CloseAll();
}

void NavigationHandlers::WebView_DocumentTitleChanged(platform::WebView& sender)
{
    // A title that arrives after the load finished still reaches the chrome.
    auto tab = m_tabs.TabOf(sender);
    if (!tab || sender.DocumentTitle().empty())
        return;
    m_tabs.SetCaptions(*tab, sender.DocumentTitle());
    if (m_tabs.IsCurrent(sender))
        m_controls.PageTitleText->SetText(sender.DocumentTitle());
}

void NavigationHandlers::WebView_UnviewableContentIdentified(platform::WebView& sender,
                                                             const platform::UnviewableContentArgs& args)
{
    // The load itself ends here; the content goes to the download dialog.
    if (auto tab = m_tabs.TabOf(sender))
        m_tabs.SetLoading(*tab, false);
    auto uri = platform::Uri::Parse(args.Uri);
    if (uri && DownloadRequested)
        DownloadRequested(uri->AbsoluteUri());
}

void NavigationHandlers::WebView_ContainsFullScreenElementChanged(platform::WebView& sender)
{
    if (FullScreenChanged)
        FullScreenChanged(sender);
}
