#include "services/companion_check.h"

#include "browser/tab_text.h"

namespace {
constexpr const char* VideoPageMarker = "watch?v=";
}

void CompanionCheck::CheckCompanionPage(const std::string& address)
{
    if (m_promptShown || !Contains(address, VideoPageMarker))
        return;
    CheckCompanionApp();
    m_promptShown = true;
}

void CompanionCheck::CheckCompanionApp()
{
    // The companion app's check arrives with the companion extension.
}
