#pragma once
// Closing a tab the user asked to close: its page is asked first (its
// beforeunload), and the tab goes once the page agrees. The engine asks the
// user only for a page the user has used; the browser asks in its own
// dialog. A page that does not answer in time (busy in a loop, a process
// that hangs) loses its say and its tab closes all the same.
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

#include "platform/platform.h"

class TabClosing {
public:
    using Clock = std::chrono::steady_clock;
    // Far longer than any page's handler takes, short enough that a hung
    // page never looks like a close that did not work.
    static constexpr std::chrono::milliseconds AnswerTime{2000};

    // close removes the view's tab; it runs once the page agreed, or its time ran out.
    TabClosing(platform::PlatformServices& services, std::function<void(const platform::WebView&)> close);
    ~TabClosing();

    void Subscribe(platform::WebView& view);
    // Asks the page; a second request while it is asked changes nothing.
    void Ask(platform::WebView& view);
    // The view's tab has gone.
    void Forget(const platform::WebView& view);
    bool Asking(const platform::WebView& view) const;

    // Tests move time on.
    std::function<Clock::time_point()> Now = [] { return Clock::now(); };

private:
    struct Pending {
        const platform::WebView* View;
        Clock::time_point Asked;
        // The user is answering the page's question: no time runs out.
        bool UserDeciding = false;
    };

    void WebView_LeaveRequested(platform::WebView& sender, platform::LeaveRequestedArgs& args);
    void WebView_CloseRequested(platform::WebView& sender);
    // The user's answer to the page's question.
    void Answered(const platform::WebView* view, bool leave);
    Pending* Find(const platform::WebView* view);
    void Tick();

    platform::PlatformServices& m_services;
    std::function<void(const platform::WebView&)> m_close;
    std::vector<Pending> m_pending;
    std::unique_ptr<platform::DispatcherTimer> m_timer;
    // A dialog may outlive this object (it goes with the page).
    std::shared_ptr<TabClosing*> m_self;
};
