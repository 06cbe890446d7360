#include "settings/settings_panel.h"

#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "settings/stored_settings.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "storage/transaction.h"

namespace {
constexpr const char* StatusBarType = "Windows.UI.ViewManagement.StatusBar";
constexpr const char* TitleBarControl = "wSettingsToggle_TitleBar";
} // namespace

SettingsPanel::SettingsPanel(const ui::LoadedMarkup& markup, platform::PlatformServices& services,
                             ChromeAnimator& chrome, ProductMessages& messages)
    : m_markup(markup), m_services(services), m_chrome(chrome), m_messages(messages)
{
    // A markup without one of the controls fails at start, not at the first click.
    for (const auto& setting : StoredSettings())
        (void)m_markup.Get<ui::Element>(setting.Control);
}

void SettingsPanel::OpenSettings()
{
    OpenDatabase(ConfigDb, ConfigFile);
    for (const auto& setting : StoredSettings())
        ShowStored(setting);
    CloseDatabase(ConfigDb);
    m_chrome.OpenPanel(&OpenFlags::Settings);
}

bool SettingsPanel::TitleBarIsFixed() const
{
    return !m_services.System.IsTypePresent(StatusBarType);
}

void SettingsPanel::ShowStored(const StoredSetting& setting)
{
    if (setting.Control == std::string_view(TitleBarControl) && TitleBarIsFixed()) {
        auto& toggle = m_markup.Get<ui::ToggleSwitch>(setting.Control);
        toggle.SetIsOn(true);
        toggle.SetIsEnabled(false);
        return;
    }
    const std::string stored = StoredValue(ReadQuery(setting));
    switch (setting.Kind) {
    case SettingControl::Text:
        m_markup.Get<ui::TextBox>(setting.Control).SetText(stored);
        break;
    case SettingControl::Toggle:
        m_markup.Get<ui::ToggleSwitch>(setting.Control).SetIsOn(stored == "true");
        break;
    case SettingControl::Choice:
        m_markup.Get<ui::ComboBox>(setting.Control).SetSelectedIndex(ChoiceIndex(setting, stored));
        break;
    }
}

std::optional<std::string> SettingsPanel::ShownValue(const StoredSetting& setting, const std::string& homePage) const
{
    switch (setting.Kind) {
    case SettingControl::Text:
        return homePage;
    case SettingControl::Toggle:
        return m_markup.Get<ui::ToggleSwitch>(setting.Control).IsOn() ? "true" : "false";
    case SettingControl::Choice:
        break;
    }
    int index = m_markup.Get<ui::ComboBox>(setting.Control).SelectedIndex();
    if (index < 0 || static_cast<size_t>(index) >= setting.Choices.size())
        return std::nullopt;
    return setting.Choices[static_cast<size_t>(index)];
}

void SettingsPanel::SaveSettings_Click(ui::Element&)
{
    OpenDatabase(ConfigDb, ConfigFile);
    const auto& typed = m_markup.Get<ui::TextBox>(StoredSettings().front().Control).Text();
    auto homePage = NormalisedHomePage(typed);
    if (!homePage) {
        m_messages.Show(m_services.Strings.GetString("wMessageBox_InvalidLink"));
        CloseDatabase(ConfigDb);
        return;
    }
    std::vector<std::string> statements;
    for (const auto& setting : StoredSettings())
        if (auto value = ShownValue(setting, *homePage))
            statements.push_back(WriteStatement(setting, *value));
    // All nine or none: a half-saved panel would mix old and new settings.
    if (!ExecuteAllOrNothing(ConfigDb, statements)) {
        m_messages.Show(m_services.Strings.GetString("wMessageBox_ConfigSaveFailed"));
        CloseDatabase(ConfigDb);
        return;
    }
    m_messages.Show(m_services.Strings.GetString("wMessageBox_SucessConfigChange"));
    CloseDatabase(ConfigDb);
    m_chrome.ReturnToSideMenu();
}
