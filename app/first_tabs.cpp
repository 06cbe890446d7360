// Which pages the browser opens at start: the launch address, the tabs open
// at the last exit, or the home page.
#include "app/main_page.h"
#include "app/process_state.h"
#include "storage/database.h"

namespace {
std::optional<platform::Uri> HomePage()
{
    return platform::Uri::Parse(QueryText(ConfigDb, "SELECT wLINK FROM wConfig_HomePage"));
}
} // namespace

void MainPage::OpenFirstTabs()
{
    const auto& launchAddress = Process().LaunchAddress;
    if (!launchAddress.empty()) {
        ExecuteStatement(ConfigDb, "DELETE FROM wConfig_PagesOpened");
        // An address that does not parse is not navigated; the home page
        // keeps the browser from starting with no tab at all.
        auto uri = platform::Uri::Parse(launchAddress);
        if (!uri)
            uri = HomePage();
        if (uri)
            OpenTab(*uri);
        return;
    }
    if (QueryText(ConfigDb, "SELECT wSTATUS FROM wConfig_PagesOpenedStatus") == "true") {
        // Closed before any page finished loading: nothing to restore.
        if (QueryInteger(ConfigDb, "SELECT COUNT(*) FROM wConfig_PagesOpened") <= 0) {
            if (auto home = HomePage())
                OpenTab(*home);
            return;
        }
        // The count is asked again before each pass, as tabs open.
        for (int n = 0; n < QueryInteger(ConfigDb, "SELECT COUNT(*) FROM wConfig_PagesOpened"); ++n) {
            auto link = QueryText(ConfigDb, "SELECT wLINK FROM wConfig_PagesOpened WHERE wID=" + std::to_string(n));
            if (auto uri = platform::Uri::Parse(link))
                OpenTab(*uri);
        }
        return;
    }
    ExecuteStatement(ConfigDb, "DELETE FROM wConfig_PagesOpened");
    if (auto home = HomePage())
        OpenTab(*home);
}
