#pragma once
// The companion downloader's offer on video pages: asked once per page.
namespace platform { class WebView; }

class CompanionCheck {
public:
    // A new page: the question may be asked again.
    void Reset() { m_promptShown = false; }
    // The polling tick hands it the current tab's view (null without a tab);
    // its address is read only while the question is still to be asked.
    void CheckCompanionPage(const platform::WebView* view);
    bool PromptShown() const { return m_promptShown; }
    // Asks whether the companion app is installed and hands the answer on.
    void CheckCompanionApp();

private:

    bool m_promptShown = false;
};
