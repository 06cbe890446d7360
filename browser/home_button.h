#pragma once
// The home button: the stored home page in the current tab, or in a first tab.
namespace ui { class Element; }
class ChromeAnimator;
class ProductMessages;
class TabSet;
namespace platform { class Resources; }

class HomeButton {
public:
    HomeButton(TabSet& tabs, ChromeAnimator& chrome, ProductMessages& messages, platform::Resources& strings);

    void HomeButton_Click(ui::Element& sender);

private:
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
    platform::Resources& m_strings;
};
