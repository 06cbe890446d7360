#pragma once
// Toasts as desktop notifications: the toast markup is parsed and sent as a
// GNotification (title, body, the logo) while a notification service owns
// its bus name. Without a bus or a service the toast shows inside the window
// for five seconds instead, and stderr says once why. A click on the
// notification raises the window.
#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/downloads.h"
#include "platform/gtk/source_holder.h"

namespace gtkui {

class DesktopToastNotifier : public platform::ToastNotifier {
public:
    static constexpr unsigned NoticeSeconds = 5;

    // `window` (may be null) is raised by a click and holds the in-window
    // notice in `overlay` (may be null: then the notice only goes to stderr).
    DesktopToastNotifier(GApplication* application, GtkWindow* window, std::function<GtkOverlay*()> overlay);
    ~DesktopToastNotifier() override;
    DesktopToastNotifier(const DesktopToastNotifier&) = delete;
    DesktopToastNotifier& operator=(const DesktopToastNotifier&) = delete;

    void Show(const std::string& markup) override;

    struct Sent {
        std::string Title;
        std::string Body;
        std::string Path; // "notification" or "window"
    };
    // Every toast shown, for the state probe.
    const std::vector<Sent>& History() const { return m_history; }
    bool ServiceOwned() const { return m_freedesktopOwned || m_gtkOwned; }

private:
    void Notify(const std::string& title, const std::string& body);
    void ShowInWindow(const std::string& title, const std::string& body);
    void HideNotice();

    GApplication* m_application;
    GtkWindow* m_window;
    std::function<GtkOverlay*()> m_overlay;
    unsigned m_freedesktopWatch = 0;
    unsigned m_gtkWatch = 0;
    bool m_freedesktopOwned = false;
    bool m_gtkOwned = false;
    bool m_warned = false;
    unsigned m_sentCount = 0;
    GSimpleAction* m_raiseAction = nullptr;
    GtkWidget* m_notice = nullptr; // a reference of our own
    SourceHolder m_noticeTimer;
    std::vector<Sent> m_history;
};

} // namespace gtkui
