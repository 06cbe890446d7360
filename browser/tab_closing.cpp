#include "browser/tab_closing.h"

#include <algorithm>
#include <utility>

TabClosing::TabClosing(platform::PlatformServices& services, std::function<void(const platform::WebView&)> close)
    : m_services(services), m_close(std::move(close)), m_self(std::make_shared<TabClosing*>(this))
{
}

TabClosing::~TabClosing()
{
    *m_self = nullptr;
}

void TabClosing::Subscribe(platform::WebView& view)
{
    view.LeaveRequested.Subscribe(
        [this](platform::WebView& v, platform::LeaveRequestedArgs& a) { WebView_LeaveRequested(v, a); });
    view.CloseRequested.Subscribe([this](platform::WebView& v) { WebView_CloseRequested(v); });
}

void TabClosing::Ask(platform::WebView& view)
{
    if (Find(&view))
        return;
    m_pending.push_back({&view, Now()});
    // Made on the first close: a browser whose tabs stay open runs no timer for it.
    if (!m_timer)
        m_timer = m_services.Timers.Create([this] { Tick(); });
    m_timer->Start();
    view.TryClose(); // may close the tab at once
}

void TabClosing::Forget(const platform::WebView& view)
{
    std::erase_if(m_pending, [&](const Pending& p) { return p.View == &view; });
    if (m_pending.empty() && m_timer)
        m_timer->Stop();
}

bool TabClosing::Asking(const platform::WebView& view) const
{
    return std::any_of(m_pending.begin(), m_pending.end(), [&](const Pending& p) { return p.View == &view; });
}

TabClosing::Pending* TabClosing::Find(const platform::WebView* view)
{
    auto found = std::find_if(m_pending.begin(), m_pending.end(), [&](const Pending& p) { return p.View == view; });
    return found == m_pending.end() ? nullptr : &*found;
}

void TabClosing::WebView_CloseRequested(platform::WebView& sender)
{
    m_close(sender);
}

// Asked when the tab closes or the page is left for another; the same
// dialog either way, and the engine goes on (or not) by the answer.
void TabClosing::WebView_LeaveRequested(platform::WebView& sender, platform::LeaveRequestedArgs& args)
{
    args.Handled = true;
    if (auto* pending = Find(&sender))
        pending->UserDeciding = true;
    auto& strings = m_services.Strings;
    const std::string leaveLabel = strings.GetString("wLeavePage_Leave");
    auto answered = std::make_shared<bool>(false);
    auto answer = [self = m_self, view = &sender, reply = args.Answer, answered](bool leave) {
        if (std::exchange(*answered, true))
            return;
        reply(leave);
        if (*self)
            (*self)->Answered(view, leave);
    };
    m_services.Dialogs.ShowTracked(
        strings.GetString("wLeavePage_Text"), strings.GetString("wLeavePage_Title"),
        {leaveLabel, strings.GetString("wLeavePage_Stay")},
        [answer, leaveLabel](const std::string& label) { answer(label == leaveLabel); },
        // Closed without a choice: the page stays, as with Stay.
        [answer] { answer(false); });
}

void TabClosing::Answered(const platform::WebView* view, bool leave)
{
    auto* pending = Find(view);
    if (!pending)
        return;
    if (!leave) {
        Forget(*view);
        return;
    }
    // The engine's close follows; should it not, the time runs from here.
    pending->UserDeciding = false;
    pending->Asked = Now();
    m_timer->Start();
}

void TabClosing::Tick()
{
    const auto now = Now();
    std::vector<const platform::WebView*> late;
    bool timing = false;
    for (const auto& pending : m_pending) {
        timing |= !pending.UserDeciding;
        if (!pending.UserDeciding && now - pending.Asked >= AnswerTime)
            late.push_back(pending.View);
    }
    // Nothing runs out while the user decides.
    if (!timing)
        m_timer->Stop();
    for (const auto* view : late)
        if (Find(view))
            m_close(*view);
}
