#include "browser/address_bar.h"

#include "app/page_controls.h"
#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/address_resolution.h"
#include "browser/tab_set.h"
#include "browser/tab_text.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {
constexpr int EnterKey = 13;
}

AddressBar::AddressBar(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                       ChromeAnimator& chrome, ProductMessages& messages)
    : m_controls(controls), m_services(services), m_tabs(tabs), m_chrome(chrome), m_messages(messages)
{
}

void AddressBar::NavigateOrOpen(const platform::Uri& uri)
{
    if (auto* view = m_tabs.CurrentWebView(); view && m_tabs.Slot(0).WebView) {
        view->Navigate(uri);
        m_tabs.SetLoading(m_tabs.CurrentTabIndex(), true);
    } else {
        m_tabs.OpenTab(uri);
    }
}

std::optional<platform::Uri> AddressBar::Target(const std::string& text)
{
    if (ClassifyAddressText(text) == AddressKind::Address) {
        // A text the URI parser rejects is never navigated.
        auto uri = platform::Uri::Parse(AddressTarget(text));
        if (!uri)
            m_messages.Show(m_services.Strings.GetString("wMessageBox_InvalidLink"));
        return uri;
    }
    OpenDatabase(ConfigDb, ConfigFile);
    auto prefix = SearchPrefix(QueryText(ConfigDb, "SELECT wSEARCHER FROM wConfig_MainSearcherAdress"));
    CloseDatabase(ConfigDb);
    if (!prefix)
        return std::nullopt;
    return platform::Uri::Parse(*prefix + EncodeQueryText(text));
}

void AddressBar::AdressBox_KeyDown(ui::Element&, ui::KeyEventArgs& args)
{
    if (args.Key != EnterKey)
        return;
    // The ring turns only for a load that really starts.
    if (auto uri = Target(m_controls.AdressBox->Text())) {
        NavigateOrOpen(*uri);
        CloseDatabase(ConfigDb);
    }
    args.Handled = true;
    if (auto* view = m_tabs.CurrentWebView())
        view->Focus(ui::FocusState::Programmatic);
    m_chrome.CloseAll();
}

void AddressBar::AdressBox_GotFocus(ui::Element&)
{
    m_controls.AdressBox->SelectAll();
}

void AddressBar::AdressBox_LostFocus(ui::Element&)
{
    if (auto* view = m_tabs.CurrentWebView(); view && m_tabs.Slot(0).WebView) {
        auto source = view->Source();
        if (!Contains(source, AppPagePrefix))
            m_controls.AdressBox->SetText(source);
    }
    m_controls.AdressBox->SetSelectionLength(0);
    m_controls.SuggestionList->SetVisibility(ui::Visibility::Collapsed);
}
