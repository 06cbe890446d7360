#pragma once
// The main menu's share entry: a small sheet with the page's title and
// address, to copy or to send by e-mail.
#include <string>

#include "platform/platform.h"
#include "services/service_launcher.h"

class ChromeAnimator;
class ProductMessages;
class TabSet;

struct ShareData {
    std::string Title;
    std::string Description;
    std::string Text;
};

// What is shared: the current page, or the browser's store page without a tab.
ShareData BuildShareData(const platform::Resources& strings, const platform::WebView* current);

class SharePage {
public:
    SharePage(platform::PlatformServices& services, TabSet& tabs, ChromeAnimator& chrome, ProductMessages& messages);

    void ShareButton_Click(ui::Element& sender);

private:
    void OnShareCommand(const std::string& label, const ShareData& data);

    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
    ServiceLauncher m_launcher;
};
