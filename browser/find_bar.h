#pragma once
// The find bar over the top of the page: a text box searched as you type,
// "N of M", previous, next and close. The engine counts and highlights; the
// bar keeps which match is selected. Switching tabs closes it, and closing
// clears the highlight.
#include <cstdint>
#include <string>

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
    // "3 of 12", "No matches", or empty before any text.
    const std::string& StatusText() const;

private:
    void Build(const PageControls& controls, const ThemePainter& theme);
    void WebView_FindCounted(platform::WebView& sender, const platform::FindResultArgs& args);
    void ShowStatus();

    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    // The view searched, compared only; the text it was asked for.
    const platform::WebView* m_view = nullptr;
    std::string m_text;
    uint32_t m_matches = 0;
    // 1-based; 0 while there is no match.
    uint32_t m_current = 0;
    bool m_counted = false;
    ui::Color m_border;
    ui::Element* m_bar = nullptr;
    ui::TextBox* m_box = nullptr;
    ui::TextBlock* m_status = nullptr;
};
