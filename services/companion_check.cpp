#include "services/companion_check.h"

#include "app/page_controls.h"
#include "browser/tab_set.h"
#include "browser/tab_text.h"
#include "platform/web_view.h"
#include "services/reelpull.h"
#include "settings/stored_settings.h"
#include "storage/database.h"
#include "storage/schema.h"

std::string WriteExtensionSetting(bool enabled)
{
    return std::string("DELETE FROM wConfig_Extension; INSERT INTO wConfig_Extension VALUES ('") +
           (enabled ? "true" : "false") + "');";
}

CompanionCheck::CompanionCheck(const PageControls& controls, const ui::LoadedMarkup&,
                               platform::PlatformServices& services, TabSet& tabs, ProductMessages& messages)
    : m_controls(controls), m_services(services), m_tabs(tabs), m_launcher(services.Launch, messages, services.Strings)
{
}

void CompanionCheck::CheckCompanionPage(const platform::WebView* view)
{
    if (m_promptShown || !view || !Contains(view->Source(), VideoPageMarker))
        return;
    CheckCompanionApp();
    m_promptShown = true;
}

void CompanionCheck::CheckCompanionApp()
{
    m_launcher.QuerySupport(ReelpullScheme, ReelpullFamilyName,
                            [this](platform::LaunchQuerySupportStatus status) { ApplyPromptBar(status); });
}

void CompanionCheck::OnCurrentTabChanged()
{
    m_controls.wReelpullPromptBar->SetVisibility(ui::Visibility::Collapsed);
    Reset();
}

bool CompanionCheck::CurrentIsVideoPage() const
{
    auto* current = m_tabs.CurrentWebView();
    return current && Contains(current->Source(), VideoPageMarker);
}

void CompanionCheck::ApplyPromptBar(platform::LaunchQuerySupportStatus status)
{
    // A late answer for a page already left shows nothing.
    bool show = false;
    if (status == platform::LaunchQuerySupportStatus::Available && CurrentIsVideoPage()) {
        OpenDatabase(ConfigDb, ConfigFile);
        show = StoredValue(ReadExtensionSetting) == "true";
        CloseDatabase(ConfigDb);
    }
    m_controls.wReelpullPromptBar->SetVisibility(show ? ui::Visibility::Visible : ui::Visibility::Collapsed);
}

void CompanionCheck::ReelpullHandOver_Click(ui::Element&)
{
    m_controls.wReelpullPromptBar->SetVisibility(ui::Visibility::Collapsed);
    auto* current = m_tabs.CurrentWebView();
    if (!current)
        return;
    // The companion's contract: the scheme, then the address unchanged.
    m_launcher.Launch(ReelpullScheme + current->Source());
}

void CompanionCheck::ReelpullDismiss_Click(ui::Element&)
{
    m_controls.wReelpullPromptBar->SetVisibility(ui::Visibility::Collapsed);
}
