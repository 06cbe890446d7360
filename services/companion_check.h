#pragma once
// The companion downloader's offer on video pages: asked once per page; the
// bar offers to hand the page over when the companion is installed and the
// extension is on.
#include <memory>

#include "platform/platform.h"
#include "platform/ui/markup.h"
#include "services/service_launcher.h"

struct PageControls;
class ProductMessages;
class TabSet;

class CompanionCheck {
public:
    CompanionCheck(const PageControls& controls, const ui::LoadedMarkup& markup, platform::PlatformServices& services,
                   TabSet& tabs, ProductMessages& messages);

    // A new page: the question may be asked again.
    void Reset() { m_promptShown = false; }
    // The polling tick hands it the current tab's view (null without a tab);
    // its address is read only while the question is still to be asked.
    void CheckCompanionPage(const platform::WebView* view);
    bool PromptShown() const { return m_promptShown; }
    // Asks whether the companion is installed; the answer shows or hides the
    // bar, if the current page is still a video page then.
    void CheckCompanionApp();
    // Another tab came to the front: its page is asked about afresh.
    void OnCurrentTabChanged();

    void ReelpullHandOver_Click(ui::Element& sender);
    void ReelpullDismiss_Click(ui::Element& sender);

private:
    void ApplyPromptBar(platform::LaunchQuerySupportStatus status);
    bool CurrentIsVideoPage() const;

    const PageControls& m_controls;
    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ServiceLauncher m_launcher;
    bool m_promptShown = false;
};
