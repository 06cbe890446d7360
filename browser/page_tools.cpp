#include "browser/page_tools.h"

#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "browser/find_bar.h"
#include "browser/tab_set.h"
#include "storage/database.h"

namespace {
std::string HtmlEscaped(const std::string& text)
{
    std::string escaped;
    escaped.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}
} // namespace

std::string SourcePage(const std::string& title, const std::string& source)
{
    return "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>" + HtmlEscaped(title) +
           "</title><style>body{margin:0;background:#1e1e1e;color:#e0e0e0}"
           "pre{margin:0;padding:12px 16px;font:13px/1.45 monospace;white-space:pre-wrap;word-break:break-all}"
           "</style></head><body><pre>" +
           HtmlEscaped(source) + "</pre></body></html>";
}

PageTools::PageTools(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                     ChromeAnimator& chrome, FindBar& find)
    : m_services(services), m_tabs(tabs), m_chrome(chrome), m_find(find)
{
    AddMenuEntries(controls);
}

void PageTools::AddMenuEntries(const PageControls& controls)
{
    auto* menu = controls.wMainMenu ? controls.wMainMenu->AsPanel() : nullptr;
    if (!menu)
        return;
    auto entry = [&](const char* name, const char* key, auto handler) {
        auto button = std::make_unique<ui::Button>();
        button->SetName(name);
        button->SetContent(m_services.Strings.GetString(key));
        button->SetHeight(44);
        button->SetFontSize(14);
        button->SetHorizontalAlignment(ui::HorizontalAlignment::Stretch);
        button->SetHorizontalContentAlignment(ui::HorizontalAlignment::Left);
        button->SetPadding({16, 0, 16, 0});
        button->SetBackground(ui::Color::Transparent());
        button->SetForeground(ui::Color::White());
        button->SetBorderThickness(0);
        button->Click.Subscribe([this, handler](ui::Element& sender) { (this->*handler)(sender); });
        menu->Append(std::move(button));
    };
    entry("wMainMenuEntry_Find", "wMenuEntry_Find", &PageTools::FindEntry_Click);
    entry("wMainMenuEntry_Print", "wMenuEntry_Print", &PageTools::PrintEntry_Click);
    entry("wMainMenuEntry_Source", "wMenuEntry_Source", &PageTools::SourceEntry_Click);
    entry("wMainMenuEntry_Inspector", "wMenuEntry_Inspector", &PageTools::InspectorEntry_Click);
}

void PageTools::PrintPage()
{
    if (auto* view = m_tabs.CurrentWebView())
        view->Print();
}

void PageTools::ToggleInspector()
{
    if (auto* view = m_tabs.CurrentWebView())
        view->ToggleInspector();
}

void PageTools::ViewSource()
{
    auto* view = m_tabs.CurrentWebView();
    if (!view)
        return;
    const std::string title = m_services.Strings.GetString("wSource_Title") + " " + view->Source();
    // The read ends after this call; the view cancels it if it goes first.
    view->ReadMainResource([this, title](std::optional<std::string> source) {
        if (!source)
            return;
        if (auto uri = platform::Uri::Parse(m_services.Browsers.PublishPage(SourcePage(title, *source)))) {
            m_tabs.OpenTab(*uri);
            CloseDatabase(ConfigDb);
        }
    });
}

void PageTools::FindEntry_Click(ui::Element&)
{
    m_chrome.CloseAll();
    m_find.OpenFindBar();
}

void PageTools::PrintEntry_Click(ui::Element&)
{
    m_chrome.CloseAll();
    PrintPage();
}

void PageTools::InspectorEntry_Click(ui::Element&)
{
    m_chrome.CloseAll();
    ToggleInspector();
}

void PageTools::SourceEntry_Click(ui::Element&)
{
    m_chrome.CloseAll();
    ViewSource();
}
