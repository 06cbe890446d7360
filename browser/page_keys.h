#pragma once
#include <functional>
// Back requests and the browser's keys. Each key runs the handler a click on
// its button runs, so the chrome stays as a click leaves it.
#include "platform/application_view.h"
#include "platform/ui/markup.h"

struct PageControls;
class ChromeAnimator;
class HomeButton;
class PageFullScreen;
class PageZoom;
class TabSet;

class PageKeys {
public:
    PageKeys(const PageControls& controls, const ui::LoadedMarkup& markup, platform::ApplicationView& view,
             TabSet& tabs, ChromeAnimator& chrome, PageZoom& zoom, HomeButton& home, PageFullScreen& fullScreen);

    // Back in the page, out of a page's full screen, to the tab used before,
    // or a first press towards leaving the browser.
    void OnBackRequested(bool& handled);
    void OnShortcut(platform::Shortcut key, bool& handled);

    // The page tools' keys (find, print, inspector, source; Escape once the
    // full screen has not taken it): true when the key did something.
    std::function<bool(platform::Shortcut)> PageTools;

private:
    // A press that would leave the browser: the second one does.
    void CountExitPress();
    void SelectTabAt(int tab);
    void SelectNeighbour(int step);
    // The tab back goes to: the one used before while it is open, else the
    // one to the left (to the right of the first).
    int PreviousTab() const;
    ui::Element& Button(const char* name) const { return m_markup.Get<ui::Element>(name); }

    const PageControls& m_controls;
    const ui::LoadedMarkup& m_markup;
    platform::ApplicationView& m_view;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    PageZoom& m_zoom;
    HomeButton& m_home;
    PageFullScreen& m_fullScreen;
};
