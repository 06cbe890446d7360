#include "bridge/page_timers.h"

#include "bridge/bridge_host.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"
#include "downloads/download_manager.h"
#include "services/companion_check.h"
#include "storage/database.h"

PageTimers::PageTimers(platform::DispatcherTimers& timers, ProcessState& process, TabSet& tabs,
                       ChromeAnimator& chrome, BridgeHost& bridge, CompanionCheck& companion,
                       DownloadManager& downloads)
    : m_timers(timers), m_process(process), m_tabs(tabs), m_chrome(chrome), m_bridge(bridge), m_companion(companion),
      m_downloads(downloads)
{
}

void PageTimers::SetUpTimers()
{
    m_pollingTimer = m_timers.Create([this] { PollingTimer_Tick(); });
    m_downloadTimer = m_timers.Create([this] { DownloadTimer_Tick(); });
    m_pollingTimer->Start();
    m_downloadTimer->Start();
}

void PageTimers::TimerControl(const std::string& timer, const std::string& command)
{
    platform::DispatcherTimer* target = nullptr;
    if (timer == "Main")
        target = m_pollingTimer.get();
    else if (timer == "Download")
        target = m_downloadTimer.get();
    if (!target)
        return;
    if (command == "Start")
        target->Start();
    else if (command == "Stop")
        target->Stop();
}

auto PageTimers::TickInputs() const
{
    const auto& request = m_bridge.Request();
    return std::make_tuple(m_chrome.Motion(), m_tabs.CurrentTabLoading(), m_tabs.CurrentWebView(),
                           m_process.PendingActivation, request.ContextTarget, request.PointerX, request.PointerY,
                           request.ContextKind);
}

// A tick that changed nothing would be followed by ticks that change nothing
// until a handler changes what they read: the timer sleeps until then. While
// a page loads it keeps ticking, as the engine's events drive the fades.
void PageTimers::SleepIfAtRest(bool tickChangedNothing)
{
    if (!tickChangedNothing || m_tabs.CurrentTabLoading() || m_process.PendingActivation)
        return;
    m_pollingTimer->SleepWhile([this, rest = TickInputs()] { return TickInputs() == rest; });
}

void PageTimers::PollingTimer_Tick()
{
    const auto before = TickInputs();
    PollingTick();
    SleepIfAtRest(TickInputs() == before);
}

void PageTimers::PollingTick()
{
    m_tabs.ReleaseRetiredElements();
    HandOverActivation();                                 // 1
    m_chrome.AnimateExitHint();                           // 2
    m_chrome.AnimateLoadingFade(m_tabs.CurrentTabLoading()); // 3
    m_chrome.AnimateMenus();                              // 4
    m_chrome.AnimateSideMenu();                           // 5
    m_chrome.AnimatePanelsBeforeOverlay();                // 6, up to the settings panel
    m_chrome.AnimateOverlay();                            // 7
    m_chrome.AnimatePanelsAfterOverlay();                 // 6, the rest
    m_chrome.AnimateContextPopup(m_bridge.Request());     // 8
    m_companion.CheckCompanionPage(m_tabs.CurrentWebView()); // 9
}

void PageTimers::HandOverActivation()
{
    if (!m_process.PendingActivation)
        return;
    m_process.PendingActivation = false;
    // An address the parser rejects opens nothing.
    if (auto uri = platform::Uri::Parse(m_process.LaunchAddress)) {
        m_tabs.OpenTab(*uri);
        CloseDatabase(ConfigDb);
    }
}

void PageTimers::DownloadTimer_Tick()
{
    m_downloads.DownloadTimer_Tick();
}
