#include "browser/page_full_screen.h"

#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"
#include "browser/tab_text.h"
#include "services/companion_check.h"

namespace {
constexpr const char* VideoPageMarker = "watch?v=";
constexpr int AllRows = 5;
} // namespace

PageFullScreen::PageFullScreen(const PageControls& controls, platform::ApplicationView& view, TabSet& tabs,
                               ChromeAnimator& chrome, CompanionCheck& companion)
    : m_controls(controls), m_view(view), m_tabs(tabs), m_chrome(chrome), m_companion(companion)
{
}

void PageFullScreen::WebView_ContainsFullScreenElementChanged(platform::WebView& sender)
{
    if (sender.ContainsFullScreenElement()) {
        // A hidden tab's page cannot take the window.
        if (!m_page && m_tabs.IsCurrent(sender))
            Enter(sender);
    } else if (m_page == &sender) {
        Leave();
    }
}

void PageFullScreen::Enter(platform::WebView& page)
{
    m_page = &page;
    // Wherever the bars were placed, the host goes back there on leaving.
    auto& host = *m_controls.WebViewHost;
    m_hostRow = host.GridRow();
    m_hostRowSpan = host.GridRowSpan();
    host.SetGridRow(0);
    host.SetGridRowSpan(AllRows);
    m_controls.wReelpullPromptBar->SetVisibility(ui::Visibility::Collapsed);
    m_chrome.CloseAll();
    if (!m_windowFullScreen)
        m_view.TryEnterFullScreenMode();
}

void PageFullScreen::Leave()
{
    auto* page = m_page;
    m_page = nullptr;
    m_controls.WebViewHost->SetGridRow(m_hostRow);
    m_controls.WebViewHost->SetGridRowSpan(m_hostRowSpan);
    if (Contains(page->Source(), VideoPageMarker))
        m_companion.CheckCompanionApp();
    // F11's full screen outlasts the page's.
    if (!m_windowFullScreen)
        m_view.ExitFullScreenMode();
}

void PageFullScreen::LeaveBeforeTabChange()
{
    if (!m_page)
        return;
    m_page->InvokeScriptAsync("eval", {ExitFullScreenScript});
    Leave();
}

void PageFullScreen::ToggleWindowFullScreen()
{
    m_windowFullScreen = !m_windowFullScreen;
    // While a page is in full screen the window already is; it stays until the page leaves.
    if (m_page)
        return;
    if (m_windowFullScreen)
        m_view.TryEnterFullScreenMode();
    else
        m_view.ExitFullScreenMode();
}

bool PageFullScreen::Escape()
{
    if (auto* view = m_tabs.CurrentWebView(); view && view->ContainsFullScreenElement()) {
        view->InvokeScriptAsync("eval", {ExitFullScreenScript});
        return true;
    }
    if (!m_windowFullScreen)
        return false;
    ToggleWindowFullScreen();
    return true;
}
