#pragma once
// The main menu's pin entry: the current page as a launcher in the desktop's
// application menu, which opens it whether the browser runs or not.
#include <string>

#include "platform/platform.h"

class ChromeAnimator;
class ProductMessages;
class TabSet;

// "TolvaneTile." + hour, minute + "." + day, month, year, unpadded.
std::string TileId(const platform::CalendarNow& now);

class PinPage {
public:
    PinPage(platform::PlatformServices& services, TabSet& tabs, ChromeAnimator& chrome, ProductMessages& messages)
        : m_services(services), m_tabs(tabs), m_chrome(chrome), m_messages(messages)
    {
    }

    void PinToStartButton_Click(ui::Element& sender);

private:
    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
};
