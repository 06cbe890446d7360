#pragma once
// The desktop portal, asked once before the toolkit starts. Where the session
// bus can start a portal that never answers (a remote X session, a bare
// window manager, CI), the toolkit's start-up would wait out D-Bus's 25 s
// timeout for it before the window appears. When the portal does not answer
// within a short time, the browser keeps the toolkit and the engine from
// turning to it: they do what they do where there is no portal at all.
#include <gio/gio.h>

#include "platform/gtk/gobject_ptr.h"

namespace gtkui {

class SilentPortalGuard {
public:
    // Asks the portal on the session bus (the connection the application
    // will use), waiting at most timeoutMs; with no session bus, does nothing.
    explicit SilentPortalGuard(int timeoutMs);
    ~SilentPortalGuard();
    SilentPortalGuard(const SilentPortalGuard&) = delete;
    SilentPortalGuard& operator=(const SilentPortalGuard&) = delete;

    bool PortalSilent() const { return m_filter != 0; }

private:
    GObjectPtr<GDBusConnection> m_bus;
    guint m_filter = 0;
};

} // namespace gtkui
