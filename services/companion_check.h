#pragma once
// The companion downloader's offer on video pages: asked once per page.
#include <string>

class CompanionCheck {
public:
    // A new page: the question may be asked again.
    void Reset() { m_promptShown = false; }
    // The polling tick hands it the current tab's address (empty without a tab).
    void CheckCompanionPage(const std::string& address);
    bool PromptShown() const { return m_promptShown; }

private:
    void CheckCompanionApp();

    bool m_promptShown = false;
};
