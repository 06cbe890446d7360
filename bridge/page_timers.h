#pragma once
// The polling timer and the download timer, and the control over them. Both
// tick as fast as the dispatcher allows (about 60 times a second here);
// nothing stops the polling timer, but it sleeps while a tick would do
// nothing: every animation at rest, no page loading, no activation or bridge
// request waiting. The polling tick hands activations to the tab set and runs
// the chrome's animation steps.
#include <memory>
#include <string>

#include "app/process_state.h"
#include "platform/dispatcher_timer.h"

class BridgeHost;
class ChromeAnimator;
class CompanionCheck;
class DownloadManager;
class TabSet;

class PageTimers {
public:
    PageTimers(platform::DispatcherTimers& timers, ProcessState& process, TabSet& tabs, ChromeAnimator& chrome,
               BridgeHost& bridge, CompanionCheck& companion, DownloadManager& downloads);

    void SetUpTimers();
    // "Main" or "Download" with "Start" or "Stop"; any other pair does nothing.
    void TimerControl(const std::string& timer, const std::string& command);
    void PollingTimer_Tick();
    void DownloadTimer_Tick();

private:
    void PollingTick();
    void HandOverActivation();
    // What the polling tick reads and moves, to tell a tick that did nothing.
    auto TickInputs() const;
    void SleepIfAtRest(bool tickChangedNothing);

    platform::DispatcherTimers& m_timers;
    ProcessState& m_process;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    BridgeHost& m_bridge;
    CompanionCheck& m_companion;
    DownloadManager& m_downloads;
    std::unique_ptr<platform::DispatcherTimer> m_pollingTimer;
    std::unique_ptr<platform::DispatcherTimer> m_downloadTimer;
};
