#include "services/rating_prompt.h"

#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "settings/stored_settings.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {
constexpr const char* ReviewPage = "ms-windows-store://review/?ProductId=9nzqwtr100ax";
constexpr const char* ReadSetting = "SELECT wSTATUS FROM wConfig_ShowRatingAlert";
constexpr const char* TurnOffSetting =
    "DELETE FROM wConfig_ShowRatingAlert; INSERT INTO wConfig_ShowRatingAlert VALUES ('false');";
} // namespace

RatingPrompt::RatingPrompt(const PageControls& controls, const ui::LoadedMarkup& markup,
                           platform::PlatformServices& services, ChromeAnimator& chrome, ProductMessages& messages)
    : m_controls(controls), m_panel(markup.Get<ui::Element>("wRatingPanel")),
      m_doNotAsk(markup.Get<ui::CheckBox>("wRatingCheckBox_DoNotAsk")), m_services(services), m_chrome(chrome),
      m_launcher(services.Launch, messages, services.Strings)
{
}

void RatingPrompt::CheckRatingPrompt()
{
    OpenDatabase(ConfigDb, ConfigFile);
    bool wanted = StoredValue(ReadSetting) == "true";
    CloseDatabase(ConfigDb);
    // It waits until the home screen is closed.
    if (wanted && m_controls.wHomeScreenPanel->GetVisibility() == ui::Visibility::Collapsed)
        m_panel.SetVisibility(ui::Visibility::Visible);
}

void RatingPrompt::RatingPanelRate_Click(ui::Element&)
{
    m_panel.SetVisibility(ui::Visibility::Collapsed);
    // Only a review page that opened ends the asking; otherwise it asks at the next start.
    m_launcher.Launch(ReviewPage, [this](bool launched) {
        if (launched)
            TurnOff();
    });
}

void RatingPrompt::RatingPanelClose_Click(ui::Element&)
{
    if (m_doNotAsk.IsChecked().value_or(false))
        TurnOff();
    m_panel.SetVisibility(ui::Visibility::Collapsed);
}

void RatingPrompt::RateButton_Click(ui::Element&)
{
    m_chrome.CloseAll();
    m_launcher.Launch(ReviewPage);
}

void RatingPrompt::TurnOff()
{
    OpenDatabase(ConfigDb, ConfigFile);
    ExecuteTransaction(ConfigDb, TurnOffSetting);
    CloseDatabase(ConfigDb);
}
