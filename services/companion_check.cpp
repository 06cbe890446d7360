#include "services/companion_check.h"

#include "browser/tab_text.h"
#include "platform/web_view.h"

namespace {
constexpr const char* VideoPageMarker = "watch?v=";
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
    // The companion app's check arrives with the companion extension.
}
