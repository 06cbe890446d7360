#pragma once
// The extension panel: whether the companion downloader is installed, and a
// button to install it, or to switch the hand-over on or off.
#include "platform/platform.h"
#include "platform/ui/markup.h"
#include "services/service_launcher.h"

class ChromeAnimator;
class ProductMessages;

class ExtensionPanel {
public:
    ExtensionPanel(const ui::LoadedMarkup& markup, platform::PlatformServices& services, ChromeAnimator& chrome,
                   ProductMessages& messages);

    // The menu entry: the panel is filled when the check answers, and opens
    // or closes at once.
    void ExtensionEntry_Click(ui::Element& sender);
    void ExtensionAction_Click(ui::Element& sender);
    // The About panel's button to the companion's store page.
    void ReelpullStore_Click(ui::Element& sender);

private:
    void FillExtensionPanel(platform::LaunchQuerySupportStatus status);

    ui::TextBlock& m_status;
    ui::Button& m_action;
    platform::PlatformServices& m_services;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
    ServiceLauncher m_launcher;
};
