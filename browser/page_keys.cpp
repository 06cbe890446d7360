#include "browser/page_keys.h"

#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "browser/home_button.h"
#include "browser/page_full_screen.h"
#include "browser/page_zoom.h"
#include "browser/tab_set.h"

using platform::Shortcut;

PageKeys::PageKeys(const PageControls& controls, const ui::LoadedMarkup& markup, platform::ApplicationView& view,
                   TabSet& tabs, ChromeAnimator& chrome, PageZoom& zoom, HomeButton& home,
                   PageFullScreen& fullScreen)
    : m_controls(controls), m_markup(markup), m_view(view), m_tabs(tabs), m_chrome(chrome), m_zoom(zoom),
      m_home(home), m_fullScreen(fullScreen)
{
}

void PageKeys::OnBackRequested(bool& handled)
{
    // The platform never navigates away on its own.
    handled = true;
    auto* view = m_tabs.CurrentWebView();
    if (!m_tabs.Slot(0).WebView || !view) {
        CountExitPress();
        return;
    }
    if (view->ContainsFullScreenElement()) {
        view->InvokeScriptAsync("eval", {ExitFullScreenScript});
        return;
    }
    if (view->CanGoBack()) {
        view->GoBack();
        m_chrome.ResetBackPressCount();
        return;
    }
    if (!m_tabs.Slot(1).WebView) {
        CountExitPress();
        return;
    }
    SelectTabAt(PreviousTab());
}

void PageKeys::CountExitPress()
{
    m_chrome.CountBackPress();
    if (m_chrome.BackPressCount() >= 2)
        m_view.Exit();
}

int PageKeys::PreviousTab() const
{
    int current = m_tabs.CurrentTabIndex();
    int previous = m_tabs.PreviousTabIndex();
    if (previous >= 0 && previous < MaxTabs && previous != current && m_tabs.Slot(previous).WebView)
        return previous;
    return current > 0 ? current - 1 : current + 1;
}

void PageKeys::SelectTabAt(int tab)
{
    if (tab < 0 || tab >= MaxTabs || !m_tabs.Slot(tab).WebView || tab == m_tabs.CurrentTabIndex())
        return;
    m_tabs.SelectTab(*m_tabs.Slot(tab).WebView);
}

void PageKeys::SelectNeighbour(int step)
{
    if (!m_tabs.Slot(0).WebView)
        return;
    int count = m_tabs.LastTabIndex() + 1;
    SelectTabAt(((m_tabs.CurrentTabIndex() + step) % count + count) % count);
}

void PageKeys::OnShortcut(Shortcut key, bool& handled)
{
    handled = true;
    auto* view = m_tabs.CurrentWebView();
    switch (key) {
    case Shortcut::NewTab: m_tabs.NewTab_Click(Button("NewTabButton")); break;
    case Shortcut::CloseTab: if (view) m_tabs.CloseTab(*view); break;
    case Shortcut::FocusAddress: m_controls.AdressBox->Focus(ui::FocusState::Pointer); break;
    case Shortcut::NextTab: SelectNeighbour(1); break;
    case Shortcut::PreviousTab: SelectNeighbour(-1); break;
    case Shortcut::ZoomIn: m_zoom.ZoomInButton_Click(Button("ZoomInButton")); break;
    case Shortcut::ZoomOut: m_zoom.ZoomOutButton_Click(Button("ZoomOutButton")); break;
    case Shortcut::ZoomReset: m_zoom.ResetZoom(); break;
    case Shortcut::Reload: if (view) view->Refresh(); break;
    case Shortcut::Forward: m_tabs.ForwardButton_Click(Button("ForwardButton")); break;
    case Shortcut::Home: m_home.HomeButton_Click(Button("HomeButton")); break;
    case Shortcut::ToggleFullScreen: m_fullScreen.ToggleWindowFullScreen(); break;
    // Otherwise the page gets its Escape.
    case Shortcut::Escape: handled = m_fullScreen.Escape() || (PageTools && PageTools(key)); break;
    default: handled = PageTools && PageTools(key); break;
    }
}
