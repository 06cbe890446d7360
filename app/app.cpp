#include "app/app.h"

#include "app/launch_address.h"
#include "app/main_page.h"
#include "app/product_messages.h"
#include "platform/uri.h"
#include "storage/database.h"

App::App(platform::PlatformServices& services, AppWindow& window) : m_services(services), m_window(window) {}

App::~App() = default;

void App::CreatePage()
{
    m_page = std::make_unique<MainPage>(m_services, m_process);
    m_window.SetContent(m_page->Root());
}

void App::OnLaunched(const LaunchArgs& args)
{
    auto decision = DecideLaunchAddress(args.Arguments);
    // A pinned page started while the browser runs opens in a new tab, as a
    // link another program opens does.
    // Anything else only raises the window; an address still to be handed
    // over stays.
    if (m_page && !args.PrelaunchActivated) {
        if (decision.Outcome == LaunchDecision::Open) {
            OnActivated(ActivationKind::Protocol, args.Arguments);
            return;
        }
        m_window.Activate();
        ReportRefusal(decision.MessageKey);
        return;
    }
    m_process.LaunchAddress = decision.Address ? decision.Address->AbsoluteUri() : "";
    if (args.PrelaunchActivated)
        return;
    if (!m_page)
        CreatePage();
    m_window.Activate();
    ReportRefusal(decision.MessageKey);
}

bool App::OnActivated(ActivationKind kind, const std::string& rawUri)
{
    if (kind != ActivationKind::Protocol)
        return true;
    auto decision = DecideLaunchAddress(rawUri);
    if (decision.Outcome != LaunchDecision::Open) {
        // Nothing to open: the browser starts as a plain launch would, or
        // comes to the front (an address still to hand over stays), and says
        // why when it refused.
        if (m_page)
            m_window.Activate();
        else
            OnLaunched(LaunchArgs{});
        ReportRefusal(decision.MessageKey);
        return decision.Outcome == LaunchDecision::PlainLaunch;
    }
    if (m_page && m_process.PendingActivation) {
        // The address before it is not handed over yet (two came within one
        // tick, or several on one command line): it opens now, not lost.
        if (auto earlier = platform::Uri::Parse(m_process.LaunchAddress))
            m_page->OpenTab(*earlier);
        CloseDatabase(ConfigDb);
    }
    m_process.LaunchAddress = decision.Address->AbsoluteUri();
    if (m_page) {
        // The polling timer opens it in a new tab; the window comes to the
        // front, as for any link another program opens.
        m_process.PendingActivation = true;
        m_window.Activate();
        return true;
    }
    // The page opens the address in its first tab. It is not loaded a second
    // time: the engine, asked twice before its page's process has started,
    // now and then loads neither, and the tab stays "Loading…" for ever.
    CreatePage();
    m_window.Activate();
    return true;
}

void App::OnNewPrivateTab()
{
    if (!m_page)
        CreatePage();
    m_page->NewPrivateTab_Click(m_page->Root());
    m_window.Activate();
}

void App::ReportRefusal(const std::string& messageKey)
{
    if (!messageKey.empty())
        m_services.Dialogs.Show(m_services.Strings.GetString(messageKey), ProductTitle);
}

void App::OnSuspending()
{
    // Nothing to save: every completed navigation has already written the open tabs.
}
