#pragma once
// Print, the web inspector and the page's source, for the current tab, and
// the main-menu entries of these and of find in page. Each does nothing
// without a tab.
#include <string>

#include "platform/platform.h"

struct PageControls;
class ChromeAnimator;
class FindBar;
class TabSet;

class PageTools {
public:
    PageTools(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
              ChromeAnimator& chrome, FindBar& find);

    // What the keys call (Ctrl+P, F12 and Ctrl+Shift+I, Ctrl+U) and the entries.
    void PrintPage();
    void ToggleInspector();
    void ViewSource();

    void FindEntry_Click(ui::Element& sender);
    void PrintEntry_Click(ui::Element& sender);
    void InspectorEntry_Click(ui::Element& sender);
    void SourceEntry_Click(ui::Element& sender);

private:
    void AddMenuEntries(const PageControls& controls);

    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    FindBar& m_find;
};

// The source page: the text escaped into a <pre>, titled "Source of <address>".
std::string SourcePage(const std::string& title, const std::string& source);
