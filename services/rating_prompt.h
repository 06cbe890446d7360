#pragma once
// The rating prompt, checked at start and when the home screen closes: it
// asks for a store rating until the user has rated or declined.
#include "platform/platform.h"
#include "platform/ui/markup.h"
#include "services/service_launcher.h"

struct PageControls;
class ChromeAnimator;
class ProductMessages;

class RatingPrompt {
public:
    RatingPrompt(const PageControls& controls, const ui::LoadedMarkup& markup, platform::PlatformServices& services,
                 ChromeAnimator& chrome, ProductMessages& messages);

    // The configuration database must be closed: the check opens and closes it.
    void CheckRatingPrompt();
    // The panel's buttons.
    void RatingPanelRate_Click(ui::Element& sender);
    void RatingPanelClose_Click(ui::Element& sender);
    // The About panel's rate button: no question, the setting unchanged.
    void RateButton_Click(ui::Element& sender);

private:
    void TurnOff();

    const PageControls& m_controls;
    ui::Element& m_panel;
    ui::CheckBox& m_doNotAsk;
    platform::PlatformServices& m_services;
    ChromeAnimator& m_chrome;
    ServiceLauncher m_launcher;
};
