// The address box: Enter loads an address or searches; focus shows what is typed.
#include "browser/address_bar.h"

#include "app/main_page.h"
#include "app/process_state.h"
#include "browser/tab_text.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {
constexpr int EnterKey = 13;
}

void MainPage::NavigateOrOpen(const platform::Uri& uri)
{
    if (Process().Tabs.TabWebViews[0] && CurrentWebView())
        CurrentWebView()->Navigate(uri);
    else
        OpenTab(uri);
}

void MainPage::AdressBox_KeyDown(ui::Element&, ui::KeyEventArgs& args)
{
    if (args.Key != EnterKey)
        return;
    const std::string text = AdressBox->Text();
    if (ClassifyAddressText(text) == AddressKind::Address) {
        // A text the URI parser rejects is never navigated.
        if (auto uri = platform::Uri::Parse(AddressTarget(text)))
            NavigateOrOpen(*uri);
        else
            m_services.Dialogs.Show(m_services.Strings.GetString("wMessageBox_InvalidLink"), ProductTitle);
    } else {
        OpenDatabase(ConfigDb, ConfigFile);
        auto prefix = SearchPrefix(QueryText(ConfigDb, "SELECT wSEARCHER FROM wConfig_MainSearcherAdress"));
        if (prefix) {
            if (auto uri = platform::Uri::Parse(*prefix + EncodeQueryText(text)))
                NavigateOrOpen(*uri);
        }
        CloseDatabase(ConfigDb);
    }
    args.Handled = true;
    if (auto* view = CurrentWebView())
        view->Focus(ui::FocusState::Programmatic);
    LoadingRing->SetIsActive(true);
    LoadingState = 1.0;
    CloseAll();
}

void MainPage::AdressBox_GotFocus(ui::Element&)
{
    AdressBox->SelectAll();
}

void MainPage::AdressBox_LostFocus(ui::Element&)
{
    if (auto* view = CurrentWebView(); view && Process().Tabs.TabWebViews[0]) {
        auto source = view->Source();
        if (!Contains(source, AppPagePrefix))
            AdressBox->SetText(source);
    }
    AdressBox->SetSelectionLength(0);
    SuggestionList->SetVisibility(ui::Visibility::Collapsed);
}
