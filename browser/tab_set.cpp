// The tab set: up to twenty tabs, each a web view with a strip header and a
// list header, numbered by slot without gaps.
#include "app/main_page.h"
#include "app/process_state.h"
#include "browser/tab_text.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {
const ui::Color StripHeaderColor = ui::Color::FromRgb(32, 32, 32);
const ui::Color HeaderBorderColor = ui::Color::FromRgb(60, 60, 60);
const ui::Color HighlightDark = ui::Color::FromRgb(48, 48, 48);
const char* CloseGlyph = "\xEE\x84\x8A"; // U+E10A

TabSlots& Tabs()
{
    return Process().Tabs;
}

std::unique_ptr<ui::Button> MakeButton(int tag)
{
    auto button = std::make_unique<ui::Button>();
    button->SetTag(tag);
    button->SetBorderThickness(0);
    button->SetBackground(ui::Color::Transparent());
    return button;
}
} // namespace

platform::WebView* MainPage::CurrentWebView() const
{
    if (CurrentTabIndex < 0 || CurrentTabIndex >= MaxTabs)
        return nullptr;
    return Tabs().TabWebViews[CurrentTabIndex];
}

bool MainPage::IsCurrent(const platform::WebView& view) const
{
    return CurrentWebView() == &view;
}

std::string MainPage::ThemeName()
{
    return QueryText(ConfigDb, "SELECT wCOLOR FROM wConfig_ThemeColor");
}

ui::Color MainPage::TabHighlightColor(const std::string& theme) const
{
    return theme == "Escuro" ? HighlightDark : wThemeColor;
}

void MainPage::HighlightCaptions(int tab, const std::string& theme)
{
    auto color = TabHighlightColor(theme);
    if (auto* caption = Tabs().TabStripCaptions[tab])
        caption->SetBackground(color);
    if (auto* caption = Tabs().TabListCaptions[tab])
        caption->SetBackground(color);
}

void MainPage::ClearCaptionHighlight(int tab)
{
    if (auto* caption = Tabs().TabStripCaptions[tab])
        caption->SetBackground(ui::Color::Transparent());
    if (auto* caption = Tabs().TabListCaptions[tab])
        caption->SetBackground(ui::Color::Transparent());
}

void MainPage::SetCaptions(int tab, const std::string& text)
{
    if (auto* caption = Tabs().TabStripCaptions[tab])
        caption->SetContent(text);
    if (auto* caption = Tabs().TabListCaptions[tab])
        caption->SetContent(text);
}

void MainPage::OpenTab(const platform::Uri& uri)
{
    auto& tabs = Tabs();
    bool privateRequested = std::exchange(m_nextTabPrivate, false);
    if (tabs.TabWebViews[MaxTabs - 1]) {
        m_services.Dialogs.Show(m_services.Strings.GetString("wMessageBox_MaxGuides"), ProductTitle);
        return;
    }
    int n = 0;
    for (; n < MaxTabs && tabs.TabWebViews[n]; ++n) {
        tabs.TabWebViews[n]->SetVisibility(ui::Visibility::Collapsed);
        ClearCaptionHighlight(n);
    }

    // A tab opened from a private tab is private; the session is chosen
    // before the view exists, so nothing of it ever reaches the disk.
    auto* current = CurrentWebView();
    bool isPrivate = privateRequested || (current && current->Name() == PrivateWebViewName);
    auto view = m_services.Browsers.Create(isPrivate ? platform::BrowsingSession::Private
                                                     : platform::BrowsingSession::Normal);
    view->SetName("wNewPageWebView_" + std::to_string(n));
    if (isPrivate)
        view->SetName(PrivateWebViewName);
    view->SetTag(n);
    view->SetGridRow(2);
    view->SetGridColumnSpan(2);
    view->Navigate(uri);
    SubscribeWebViewEvents(*view);
    tabs.TabWebViews[n] = &WebViewHost->Append(std::move(view));

    OpenDatabase(ConfigDb, ConfigFile); // left open: the start-up sequence goes on using it
    bool lightTheme = ThemeName() == "Claro";
    BuildStripHeader(n, lightTheme);
    BuildListHeader(n, lightTheme);
    tabs.TabStripHeaders[n]->SetBackground(StripHeaderColor);
    tabs.TabListHeaders[n]->SetBackground(wThemeDarkColor);
    if (auto* sideMenuButton = m_markup.Find("SideMenuButton"))
        sideMenuButton->SetBackground(wThemeDarkColor);

    PreviousTabIndex = CurrentTabIndex;
    CurrentTabIndex = n;
    LastTabIndex = n;
    CloseAll();
}

void MainPage::BuildStripHeader(int n, bool lightTheme)
{
    auto header = std::make_unique<ui::StackPanel>();
    header->SetTag(n);
    header->SetWidth(228);
    header->SetHeight(30);
    header->SetBackground(StripHeaderColor);
    header->SetBorderBrush(HeaderBorderColor);
    header->SetBorderThickness(1);
    header->SetMargin({10, 0, 10, 3});

    auto caption = MakeButton(n);
    caption->SetContent(m_services.Strings.GetString("wAdress/Text"));
    caption->SetFontSize(12);
    caption->SetWidth(228);
    caption->SetHeight(28);
    caption->SetPadding({5, 0, 36, 2});
    if (lightTheme)
        caption->SetForeground(ui::Color::FromRgb(120, 120, 120));
    caption->Click.Subscribe([this](ui::Element& sender) { SelectTab(sender); });

    auto close = MakeButton(n);
    close->SetFontFamily(GlyphFont);
    close->SetContent(CloseGlyph);
    close->SetFontSize(15);
    close->SetWidth(35);
    close->SetHeight(28);
    close->SetMargin({0, -28, 0, 0});
    close->SetPadding({0, 0, 0, 1});
    close->SetForeground(ui::Color::Red());
    close->SetHorizontalAlignment(ui::HorizontalAlignment::Right);
    close->Click.Subscribe([this](ui::Element& sender) { CloseTab(sender); });

    auto& tabs = Tabs();
    tabs.TabStripCaptions[n] = &header->Append(std::move(caption));
    tabs.TabStripCloseButtons[n] = &header->Append(std::move(close));
    tabs.TabStripHeaders[n] = &TabStripPanel->Append(std::move(header));
}

void MainPage::BuildListHeader(int n, bool lightTheme)
{
    auto header = std::make_unique<ui::StackPanel>();
    header->SetTag(n);
    header->SetWidth(190);
    header->SetBackground(wThemeDarkColor);
    header->SetVerticalAlignment(ui::VerticalAlignment::Stretch);
    header->SetBorderBrush(HeaderBorderColor);
    header->SetBorderThickness({0, 0, 1, 0});

    auto caption = MakeButton(n);
    caption->SetContent(m_services.Strings.GetString("wAdress/Text"));
    caption->SetFontSize(12);
    caption->SetWidth(190);
    caption->SetHeight(32);
    caption->SetPadding({10, 0, 28, 0});
    caption->SetVerticalAlignment(ui::VerticalAlignment::Stretch);
    if (lightTheme)
        caption->SetForeground(ui::Color::Black());
    caption->Click.Subscribe([this](ui::Element& sender) { SelectTab(sender); });

    auto close = MakeButton(n);
    close->SetFontFamily(GlyphFont);
    close->SetContent(CloseGlyph);
    close->SetFontSize(10);
    close->SetWidth(23);
    close->SetHeight(32);
    close->SetMargin({0, -32, 0, 0});
    close->SetPadding(0);
    if (lightTheme)
        close->SetForeground(ui::Color::Black());
    close->SetHorizontalAlignment(ui::HorizontalAlignment::Right);
    close->Click.Subscribe([this](ui::Element& sender) { CloseTab(sender); });

    auto& tabs = Tabs();
    tabs.TabListCaptions[n] = &header->Append(std::move(caption));
    tabs.TabListCloseButtons[n] = &header->Append(std::move(close));
    tabs.TabListHeaders[n] = &TabListPanel->Append(std::move(header));
}

void MainPage::NewTab_Click(ui::Element&)
{
    OpenDatabase(ConfigDb, ConfigFile);
    if (auto home = platform::Uri::Parse(QueryText(ConfigDb, "SELECT wLINK FROM wConfig_HomePage")))
        OpenTab(*home);
    CloseDatabase(ConfigDb);
}

void MainPage::NewPrivateTab_Click(ui::Element&)
{
    OpenDatabase(ConfigDb, ConfigFile);
    if (auto home = platform::Uri::Parse(QueryText(ConfigDb, "SELECT wLINK FROM wConfig_HomePage"))) {
        m_nextTabPrivate = true;
        OpenTab(*home);
    }
    CloseDatabase(ConfigDb);
}

void MainPage::SelectTab(ui::Element& sender)
{
    auto tag = sender.Tag();
    if (!tag || *tag < 0 || *tag >= MaxTabs || !Tabs().TabWebViews[*tag])
        return;
    int s = *tag;
    auto& tabs = Tabs();
    PreviousTabIndex = CurrentTabIndex;
    OpenDatabase(FavoritesDb, FavoritesFile);
    OpenDatabase(ConfigDb, ConfigFile);
    for (int k = 0; k < MaxTabs; ++k) {
        if (k == s || !tabs.TabWebViews[k])
            continue;
        tabs.TabWebViews[k]->SetVisibility(ui::Visibility::Collapsed);
        ClearCaptionHighlight(k);
    }
    CurrentTabIndex = s;
    auto& view = *tabs.TabWebViews[s];
    view.SetVisibility(ui::Visibility::Visible);
    const auto theme = ThemeName();
    HighlightCaptions(s, theme);

    auto title = view.DocumentTitle();
    SetCaptions(s, title.empty() ? "[Sem título]" : title);
    PageTitleText->SetText(title.empty() ? "[Sem título]" : title);
    AdressBox->SetText(view.Source());
    UpdateFavoriteStar(view.Source(), theme);
    ZoomText->SetText(std::to_string(tabs.ZoomPercentages[s]) + "%");
    CloseDatabase(FavoritesDb);
    CloseDatabase(ConfigDb);
    view.InvokeScriptAsync("eval", {ZoomScript(tabs.ZoomFactors[s])});
}

void MainPage::MoveTabSlot(int from, int to)
{
    auto& tabs = Tabs();
    tabs.TabWebViews[to] = std::exchange(tabs.TabWebViews[from], nullptr);
    tabs.TabStripHeaders[to] = std::exchange(tabs.TabStripHeaders[from], nullptr);
    tabs.TabStripCaptions[to] = std::exchange(tabs.TabStripCaptions[from], nullptr);
    tabs.TabStripCloseButtons[to] = std::exchange(tabs.TabStripCloseButtons[from], nullptr);
    tabs.TabListHeaders[to] = std::exchange(tabs.TabListHeaders[from], nullptr);
    tabs.TabListCaptions[to] = std::exchange(tabs.TabListCaptions[from], nullptr);
    tabs.TabListCloseButtons[to] = std::exchange(tabs.TabListCloseButtons[from], nullptr);
    tabs.ZoomFactors[to] = std::exchange(tabs.ZoomFactors[from], 1.0);
    tabs.ZoomPercentages[to] = std::exchange(tabs.ZoomPercentages[from], 100);
    ui::Element* moved[] = {tabs.TabWebViews[to], tabs.TabStripHeaders[to], tabs.TabStripCaptions[to],
                            tabs.TabStripCloseButtons[to], tabs.TabListHeaders[to], tabs.TabListCaptions[to],
                            tabs.TabListCloseButtons[to]};
    for (auto* element : moved)
        if (element)
            element->SetTag(to);
}

void MainPage::CloseTab(ui::Element& sender)
{
    auto tag = sender.Tag();
    if (!tag || *tag < 0 || *tag >= MaxTabs || !Tabs().TabWebViews[*tag])
        return;
    int t = *tag;
    int last = LastTabIndex;
    auto& tabs = Tabs();
    OpenDatabase(ConfigDb, ConfigFile);
    CurrentTabIndex = (t + 1 < MaxTabs && tabs.TabWebViews[t + 1]) ? t : last - 1;

    // The sender is one of the removed elements: keep them alive until the next tick.
    m_retiredElements.push_back(WebViewHost->RemoveAt(t));
    m_retiredElements.push_back(TabStripPanel->RemoveAt(t));
    m_retiredElements.push_back(TabListPanel->RemoveAt(t));
    tabs.TabWebViews[t] = nullptr;
    tabs.TabStripHeaders[t] = nullptr;
    tabs.TabStripCaptions[t] = nullptr;
    tabs.TabStripCloseButtons[t] = nullptr;
    tabs.TabListHeaders[t] = nullptr;
    tabs.TabListCaptions[t] = nullptr;
    tabs.TabListCloseButtons[t] = nullptr;
    tabs.ZoomFactors[t] = 1.0;
    tabs.ZoomPercentages[t] = 100;

    ExecuteStatement(ConfigDb, "DELETE FROM wConfig_PagesOpened WHERE wID=" + std::to_string(t));
    --LastTabIndex;
    for (int k = t; k <= LastTabIndex; ++k) {
        MoveTabSlot(k + 1, k);
        ExecuteStatement(ConfigDb, "UPDATE wConfig_PagesOpened SET wID=" + std::to_string(k) +
                                       " WHERE wID=" + std::to_string(k + 1));
    }
    for (int k = 0; k < MaxTabs; ++k) {
        if (k == CurrentTabIndex)
            continue;
        if (tabs.TabWebViews[k])
            tabs.TabWebViews[k]->SetVisibility(ui::Visibility::Collapsed);
        ClearCaptionHighlight(k);
    }

    if (CurrentTabIndex == -1) {
        m_services.Dialogs.Show(m_services.Strings.GetString("wMessageBox_NullGuides"), ProductTitle);
        PageTitleText->SetText(ProductTitle);
        AdressBox->SetText(m_services.Strings.GetString("wAdress_DefaultLink"));
    } else {
        auto& view = *tabs.TabWebViews[CurrentTabIndex];
        HighlightCaptions(CurrentTabIndex, ThemeName());
        view.SetVisibility(ui::Visibility::Visible);
        PageTitleText->SetText(view.DocumentTitle());
        if (auto* caption = tabs.TabListCaptions[CurrentTabIndex])
            caption->SetContent(view.DocumentTitle());
        AdressBox->SetText(view.Source());
    }
    CloseDatabase(ConfigDb);
}

void MainPage::ReleaseRetiredElements()
{
    m_retiredElements.clear();
}

void MainPage::BackButton_Click(ui::Element&)
{
    Process().Bridge.ContextMenuOpen = false;
    if (auto* view = CurrentWebView(); view && view->CanGoBack())
        view->GoBack();
}

void MainPage::ForwardButton_Click(ui::Element&)
{
    Process().Bridge.ContextMenuOpen = false;
    if (auto* view = CurrentWebView(); view && view->CanGoForward())
        view->GoForward();
}
