#include "app/app.h"

#include "app/main_page.h"
#include "platform/uri.h"

App::App(platform::PlatformServices& services, AppWindow& window) : m_services(services), m_window(window) {}

App::~App() = default;

void App::CreatePage()
{
    m_page = std::make_unique<MainPage>(m_services, m_process);
    m_window.SetContent(m_page->Root());
}

void App::OnLaunched(const LaunchArgs& args)
{
    m_process.LaunchAddress = args.Arguments;
    if (args.PrelaunchActivated)
        return;
    // A launch while running only records the address and raises the window.
    if (!m_page)
        CreatePage();
    m_window.Activate();
}

void App::OnActivated(ActivationKind kind, const std::string& rawUri)
{
    if (kind != ActivationKind::Protocol)
        return;
    m_process.LaunchAddress = rawUri;
    if (m_page) {
        // The polling timer opens it in a new tab.
        m_process.PendingActivation = true;
        return;
    }
    CreatePage();
    m_window.Activate();
    // The page has already opened the address in its first tab; this loads it again.
    auto* first = m_process.Tabs[0].WebView;
    if (auto uri = platform::Uri::Parse(rawUri); first && uri)
        first->Navigate(*uri);
}

void App::OnSuspending()
{
    // Nothing to save: every completed navigation has already written the open tabs.
}
