// The polling timer and the download timer, and the control over them. Both
// tick as fast as the dispatcher allows (about 60 times a second here);
// nothing stops the polling timer.
#include "app/main_page.h"

void MainPage::SetUpTimers()
{
    m_pollingTimer = m_services.Timers.Create([this] { PollingTimer_Tick(); });
    m_downloadTimer = m_services.Timers.Create([this] { DownloadTimer_Tick(); });
    m_pollingTimer->Start();
    m_downloadTimer->Start();
}

void MainPage::TimerControl(const std::string& timer, const std::string& command)
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

void MainPage::DownloadTimer_Tick() {}
