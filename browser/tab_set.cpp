// Opening, selecting and closing tabs.
#include "browser/tab_set.h"

#include "app/page_controls.h"
#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "bridge/page_bridge.h"
#include "browser/favorite_star.h"
#include "browser/home_page.h"
#include "browser/tab_closing.h"
#include "browser/tab_text.h"
#include "settings/theme_painter.h"
#include "storage/database.h"
#include "storage/schema.h"

TabSet::TabSet(const PageControls& controls, platform::PlatformServices& services, TabSlots& slots,
               ChromeAnimator& chrome, const ThemePainter& theme, ProductMessages& messages)
    : m_controls(controls), m_services(services), m_slots(slots), m_chrome(chrome), m_theme(theme),
      m_messages(messages)
{
    m_controls.LoadingRing->Tapped.Subscribe([this](ui::Element& sender) { LoadingRing_Tapped(sender); });
    m_closing = std::make_unique<TabClosing>(services, [this](const platform::WebView& view) {
        // The view is compared only: its tab may have gone before it answered.
        for (int t = 0; t < MaxTabs; ++t)
            if (m_slots[t].WebView == &view)
                return RemoveTab(t);
        m_closing->Forget(view);
    });
}

TabSet::~TabSet() = default;

platform::WebView* TabSet::CurrentWebView() const
{
    if (m_current < 0 || m_current >= MaxTabs)
        return nullptr;
    return m_slots[m_current].WebView;
}

bool TabSet::IsCurrent(const platform::WebView& view) const
{
    return CurrentWebView() == &view;
}

std::optional<int> TabSet::TabOf(const ui::Element& element) const
{
    auto tag = element.Tag();
    if (!tag || *tag < 0 || *tag >= MaxTabs || !m_slots[*tag].WebView)
        return std::nullopt;
    // A web view must be the one in its slot: a closed tab's view may still report.
    if (element.Kind() == ui::ElementKind::WebView && m_slots[*tag].WebView != &element)
        return std::nullopt;
    return *tag;
}

void TabSet::OpenTab(const platform::Uri& uri, TabPrivacy privacy)
{
    if (m_slots[MaxTabs - 1].WebView) {
        m_messages.Show(m_services.Strings.GetString("wMessageBox_MaxGuides"));
        return;
    }
    AnnounceTabChange();
    int n = 0;
    for (; n < MaxTabs && m_slots[n].WebView; ++n) {
        m_slots[n].WebView->SetVisibility(ui::Visibility::Collapsed);
        ClearCaptionHighlight(n);
    }

    // The session is chosen before the view exists, so nothing of a private
    // tab ever reaches the disk.
    auto* current = CurrentWebView();
    bool isPrivate = privacy == TabPrivacy::Private || (current && current->Name() == PrivateWebViewName);
    auto view = m_services.Browsers.Create(isPrivate ? platform::BrowsingSession::Private
                                                     : platform::BrowsingSession::Normal);
    view->SetName(isPrivate ? std::string(PrivateWebViewName) : "wNewPageWebView_" + std::to_string(n));
    view->SetTag(n);
    view->SetGridRow(2);
    view->SetGridColumnSpan(2);
    view->Navigate(uri);
    m_closing->Subscribe(*view);
    if (WebViewCreated)
        WebViewCreated(*view);
    auto& slot = m_slots[n];
    slot = TabSlot{};
    slot.WebView = &m_controls.WebViewHost->Append(std::move(view));
    slot.Loading = true;

    OpenDatabase(ConfigDb, ConfigFile); // left open: the start-up sequence goes on using it
    bool lightTheme = ThemePainter::ThemeName() == "Claro";
    BuildStripHeader(n, lightTheme);
    BuildListHeader(n, lightTheme);
    slot.StripHeader->SetBackground(StripHeaderColor);
    slot.ListHeader->SetBackground(m_theme.wThemeDarkColor());
    m_controls.SideMenuButton->SetBackground(m_theme.wThemeDarkColor());

    m_previous = m_current;
    m_current = n;
    m_last = n;
    ShowCurrentLoading();
    if (CurrentTabChanged)
        CurrentTabChanged();
    m_chrome.CloseAll();
}

void TabSet::OpenBackgroundTab(const platform::Uri& uri, TabPrivacy privacy)
{
    const int front = m_current;
    OpenTab(uri, privacy);
    // Unchanged when the limit refused the tab; no front tab, nothing to keep.
    if (front < 0 || m_current == front)
        return;
    m_current = front;
    OpenDatabase(FavoritesDb, FavoritesFile);
    ShowCurrentTab();
    CloseDatabase(FavoritesDb);
}

void TabSet::NewTab_Click(ui::Element&)
{
    OpenDatabase(ConfigDb, ConfigFile);
    if (auto home = ReadHomePage())
        OpenTab(*home);
    CloseDatabase(ConfigDb);
}

void TabSet::NewPrivateTab_Click(ui::Element&)
{
    OpenDatabase(ConfigDb, ConfigFile);
    if (auto home = ReadHomePage())
        OpenTab(*home, TabPrivacy::Private);
    CloseDatabase(ConfigDb);
}

void TabSet::SelectTab(ui::Element& sender)
{
    auto tab = TabOf(sender);
    if (!tab)
        return;
    AnnounceTabChange();
    m_previous = m_current;
    m_current = *tab;
    OpenDatabase(FavoritesDb, FavoritesFile);
    OpenDatabase(ConfigDb, ConfigFile);
    ShowCurrentTab();
    CloseDatabase(FavoritesDb);
    CloseDatabase(ConfigDb);
    const auto& slot = m_slots[m_current];
    slot.WebView->InvokeScriptAsync("eval", {ZoomScript(slot.ZoomFactor)});
    if (CurrentTabSelected)
        CurrentTabSelected();
}

// The current tab in front and highlighted, the others hidden; the chrome
// shows its title, address, star, zoom and loading state.
void TabSet::ShowCurrentTab()
{
    for (int k = 0; k < MaxTabs; ++k) {
        if (k == m_current)
            continue;
        if (m_slots[k].WebView)
            m_slots[k].WebView->SetVisibility(ui::Visibility::Collapsed);
        ClearCaptionHighlight(k);
    }
    ShowCurrentLoading();
    if (CurrentTabChanged)
        CurrentTabChanged();
    if (m_current < 0) {
        m_controls.PageTitleText->SetText(ProductTitle);
        m_controls.AdressBox->SetText(m_services.Strings.GetString("wAdress_DefaultLink"));
        return;
    }
    const auto& slot = m_slots[m_current];
    auto& view = *slot.WebView;
    const auto theme = ThemePainter::ThemeName();
    view.SetVisibility(ui::Visibility::Visible);
    HighlightCaptions(m_current, theme);
    SetCaptions(m_current, ShownTitle(view.DocumentTitle()));
    m_controls.PageTitleText->SetText(ShownTitle(view.DocumentTitle()));
    m_controls.AdressBox->SetText(view.Source());
    ShowFavoriteStar(*m_controls.FavoriteStarButton, view.Source(), theme);
    m_controls.ZoomText->SetText(std::to_string(slot.ZoomPercentage) + "%");
}

void TabSet::CloseTab(ui::Element& sender)
{
    if (auto tab = TabOf(sender))
        m_closing->Ask(*m_slots[*tab].WebView);
}

void TabSet::RemoveTab(int t)
{
    m_closing->Forget(*m_slots[t].WebView);
    AnnounceTabChange();
    OpenDatabase(ConfigDb, ConfigFile);
    OpenDatabase(FavoritesDb, FavoritesFile);
    m_current = (t + 1 < MaxTabs && m_slots[t + 1].WebView) ? t : m_last - 1;

    // The sender is one of the removed elements: keep them alive until the next tick.
    m_retired.push_back(m_controls.WebViewHost->RemoveAt(t));
    m_retired.push_back(m_controls.TabStripPanel->RemoveAt(t));
    m_retired.push_back(m_controls.TabListPanel->RemoveAt(t));
    // The tab's dialog queue goes with it: no new tab waits behind its dialogs.
    m_slots[t] = TabSlot{};

    // The slot's row goes, the later rows move down with their tabs, together.
    std::string rows = "BEGIN; DELETE FROM wConfig_PagesOpened WHERE wID=" + std::to_string(t) + ";";
    --m_last;
    for (int k = t; k <= m_last; ++k) {
        MoveSlot(k + 1, k);
        rows += " UPDATE wConfig_PagesOpened SET wID=" + std::to_string(k) + " WHERE wID=" + std::to_string(k + 1) + ";";
    }
    ExecuteStatement(ConfigDb, rows + " COMMIT;");
    // The tab used before follows its tab's new number; a closed one is no tab.
    if (m_previous == t)
        m_previous = -1;
    else if (m_previous > t)
        --m_previous;

    if (m_current == -1)
        m_messages.Show(m_services.Strings.GetString("wMessageBox_NullGuides"));
    ShowCurrentTab();
    CloseDatabase(FavoritesDb);
    CloseDatabase(ConfigDb);
}

void TabSet::MoveSlot(int from, int to)
{
    m_slots[to] = std::exchange(m_slots[from], TabSlot{});
    const auto& slot = m_slots[to];
    ui::Element* moved[] = {slot.WebView, slot.StripHeader, slot.StripCaption, slot.StripCloseButton,
                            slot.ListHeader, slot.ListCaption, slot.ListCloseButton};
    for (auto* element : moved)
        if (element)
            element->SetTag(to);
}

void TabSet::ReleaseRetiredElements()
{
    m_retired.clear();
}

void TabSet::SetLoading(int tab, bool loading)
{
    m_slots.at(tab).Loading = loading;
    if (tab == m_current)
        ShowCurrentLoading();
}

void TabSet::StopLoading()
{
    if (!CurrentTabLoading())
        return;
    // A stopped load reports no completion: the tab settles here.
    auto& view = *m_slots[m_current].WebView;
    view.StopLoading();
    SetLoading(m_current, false);
    SetCaptions(m_current, ShownTitle(view.DocumentTitle()));
    m_controls.PageTitleText->SetText(ShownTitle(view.DocumentTitle()));
}

bool TabSet::CurrentTabLoading() const
{
    return m_current >= 0 && m_current < MaxTabs && m_slots[m_current].WebView && m_slots[m_current].Loading;
}

void TabSet::ShowCurrentLoading()
{
    m_controls.LoadingRing->SetIsActive(CurrentTabLoading());
}

void TabSet::AttachBridge(int tab, std::shared_ptr<PageBridge> bridge)
{
    m_slots.at(tab).Bridge = std::move(bridge);
}

bool TabSet::TakePopupGesture(int tab, uint64_t gesture)
{
    auto& last = m_slots.at(tab).LastPopupGesture;
    if (last == gesture)
        return false;
    last = gesture;
    return true;
}

void TabSet::ResetZoomState()
{
    for (auto& slot : m_slots) {
        slot.ZoomFactor = 1.0;
        slot.ZoomPercentage = 100;
    }
}

void TabSet::SetZoom(int tab, double factor, int32_t percentage)
{
    m_slots.at(tab).ZoomFactor = factor;
    m_slots.at(tab).ZoomPercentage = percentage;
}

void TabSet::AnnounceTabChange()
{
    if (CurrentTabChanging)
        CurrentTabChanging();
}

void TabSet::BackButton_Click(ui::Element&)
{
    m_chrome.ClosePanel(&OpenFlags::ContextMenu);
    if (auto* view = CurrentWebView(); view && view->CanGoBack())
        view->GoBack();
}

void TabSet::ForwardButton_Click(ui::Element&)
{
    m_chrome.ClosePanel(&OpenFlags::ContextMenu);
    if (auto* view = CurrentWebView(); view && view->CanGoForward())
        view->GoForward();
}
