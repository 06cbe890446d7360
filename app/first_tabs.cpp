// Which pages the browser opens at start: the launch address, the tabs open
// at the last exit, or the home page.
#include "app/main_page.h"
#include "browser/home_page.h"
#include "browser/tab_set.h"
#include "storage/database.h"

void MainPage::OpenFirstTabs()
{
    const auto& launchAddress = m_process.LaunchAddress;
    if (!launchAddress.empty()) {
        ExecuteStatement(ConfigDb, "DELETE FROM wConfig_PagesOpened");
        // An address that does not parse is not navigated; the home page
        // keeps the browser from starting with no tab at all.
        auto uri = platform::Uri::Parse(launchAddress);
        if (!uri)
            uri = ReadHomePage();
        if (uri)
            m_tabs->OpenTab(*uri);
        return;
    }
    bool restore = QueryText(ConfigDb, "SELECT wSTATUS FROM wConfig_PagesOpenedStatus") == "true";
    if (restore && RestoreTabs())
        return;
    // Closed before any page finished loading, or nothing to restore: the home page.
    if (!restore)
        ExecuteStatement(ConfigDb, "DELETE FROM wConfig_PagesOpened");
    if (auto home = ReadHomePage())
        m_tabs->OpenTab(*home);
}

bool MainPage::RestoreTabs()
{
    std::vector<std::pair<std::string, platform::Uri>> pages;
    for (const auto& link : QueryTexts(ConfigDb, "SELECT wLINK FROM wConfig_PagesOpened ORDER BY wID"))
        if (auto uri = platform::Uri::Parse(link); uri && pages.size() < MaxTabs)
            pages.emplace_back(link, *uri);
    // The rows are renumbered as the tabs will be, together: tab k's row is k.
    std::string rows = "BEGIN; DELETE FROM wConfig_PagesOpened;";
    for (size_t k = 0; k < pages.size(); ++k)
        rows += " INSERT INTO wConfig_PagesOpened VALUES (" + std::to_string(k) + ", '" +
                SqlQuoted(pages[k].first) + "');";
    ExecuteStatement(ConfigDb, rows + " COMMIT;");
    for (const auto& page : pages)
        m_tabs->OpenTab(page.second);
    return !pages.empty();
}
