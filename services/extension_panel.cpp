#include "services/extension_panel.h"

#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "services/reelpull.h"
#include "settings/stored_settings.h"
#include "storage/database.h"
#include "storage/schema.h"

ExtensionPanel::ExtensionPanel(const ui::LoadedMarkup& markup, platform::PlatformServices& services,
                               ChromeAnimator& chrome, ProductMessages& messages)
    : m_status(markup.Get<ui::TextBlock>("wExtensionText_Status")),
      m_action(markup.Get<ui::Button>("wExtensionButton_Action")), m_services(services), m_chrome(chrome),
      m_messages(messages), m_launcher(services.Launch, messages, services.Strings)
{
}

void ExtensionPanel::ExtensionEntry_Click(ui::Element&)
{
    m_launcher.QuerySupport(ReelpullScheme, ReelpullFamilyName,
                            [this](platform::LaunchQuerySupportStatus status) { FillExtensionPanel(status); });
    m_chrome.TogglePanel(&OpenFlags::Extension);
}

void ExtensionPanel::FillExtensionPanel(platform::LaunchQuerySupportStatus status)
{
    const auto& strings = m_services.Strings;
    if (status != platform::LaunchQuerySupportStatus::Available) {
        m_status.SetText(strings.GetString("wText_ReelpullStatus_NotInstalled"));
        m_action.SetContent(strings.GetString("wButton_ReelpullExtension_Install"));
        return;
    }
    m_status.SetText(strings.GetString("wText_ReelpullStatus_Installed"));
    OpenDatabase(ConfigDb, ConfigFile);
    bool enabled = StoredValue(ReadExtensionSetting) == "true";
    CloseDatabase(ConfigDb);
    m_action.SetContent(strings.GetString(enabled ? "wButton_ReelpullExtension_Disable"
                                                  : "wButton_ReelpullExtension_Enable"));
}

void ExtensionPanel::ExtensionAction_Click(ui::Element&)
{
    const auto& strings = m_services.Strings;
    const std::string& content = m_action.Content();
    std::string message;
    std::optional<bool> store;
    if (content == strings.GetString("wButton_ReelpullExtension_Install")) {
        m_launcher.Launch(ReelpullStorePage);
        store = true;
    } else if (content == strings.GetString("wButton_ReelpullExtension_Enable")) {
        store = true;
        message = "wMessageBox_ExtensionEnabled";
    } else if (content == strings.GetString("wButton_ReelpullExtension_Disable")) {
        store = false;
        message = "wMessageBox_ExtensionDisabled";
    }
    if (store) {
        OpenDatabase(ConfigDb, ConfigFile);
        bool written = ExecuteTransaction(ConfigDb, WriteExtensionSetting(*store)) == 0;
        CloseDatabase(ConfigDb);
        // A failed write is told, never confirmed.
        if (!written)
            message = "wMessageBox_ExtensionSaveFailed";
    }
    if (!message.empty())
        m_messages.Show(strings.GetString(message));
    m_chrome.ReturnToSideMenu();
}

void ExtensionPanel::ReelpullStore_Click(ui::Element&)
{
    m_launcher.Launch(ReelpullStorePage);
    m_chrome.CloseAll();
}
