// The bridge object and the page scripts every page receives.
#include "app/main_page.h"

void MainPage::InstallBridge(platform::WebView&)
{
    // The bridge object arrives with the page bridge work.
}

void MainPage::InjectPageScripts(platform::WebView&)
{
    // The alert, confirm, link and image scripts arrive with the page bridge work.
}
