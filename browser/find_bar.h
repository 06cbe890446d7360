#pragma once
// The find bar over the top of the page: a text box searched as you type,
// "N of M", previous, next and close. The engine highlights and steps; the
// search (find_search.h) keeps which answers count. Switching tabs closes
// the bar, and closing clears the highlight.
#include <cstdint>
#include <string>

#include "browser/find_search.h"
#include "platform/platform.h"

struct PageControls;
class ChromeAnimator;
class TabSet;
class ThemePainter;

class FindBar {
public:
    FindBar(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs, ChromeAnimator& chrome,
            const ThemePainter& theme);

    void Subscribe(platform::WebView& view);

    // What the keys call (Ctrl+F, F3 and Enter, Shift+F3 and Shift+Enter,
    // Escape) and the main menu's entry: nothing happens without a tab.
    void OpenFindBar();
    void FindNext();
    void FindPrevious();
    void CloseFindBar();
    void CurrentTabChanged() { CloseFindBar(); }

    void FindBox_TextChanged(ui::Element& sender);
    void FindBox_KeyDown(ui::Element& sender, ui::KeyEventArgs& args);

    bool IsOpen() const;
    // "3 of 12", "1 of 4 or more" while the total is on its way, "No
    // matches", or empty before any answer.
    const std::string& StatusText() const;

private:
    void Build(const PageControls& controls, const ThemePainter& theme);
    void ShowStatus();

    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    FindSearch m_search;
    ui::Color m_border;
    ui::Element* m_bar = nullptr;
    ui::TextBox* m_box = nullptr;
    ui::TextBlock* m_status = nullptr;
};
