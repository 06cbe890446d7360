#pragma once
// The permission requests a view's pages are waiting on. Each is held until
// the system answers; an answer that comes after the view (and so this
// registry) has gone does nothing, and a registry that goes denies what it
// still holds, so no page waits for ever.
#include <webkit/webkit.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "platform/gtk/gobject_ptr.h"
#include "platform/web_view.h"

namespace gtkui {

// Create with std::make_shared: answers find the registry through it.
class PermissionRequests : public std::enable_shared_from_this<PermissionRequests> {
public:
    PermissionRequests() = default;
    ~PermissionRequests();
    PermissionRequests(const PermissionRequests&) = delete;
    PermissionRequests& operator=(const PermissionRequests&) = delete;

    // The kind the system asks the user about; nullopt for every other
    // request (screen capture, device lists, media keys, storage access).
    static std::optional<platform::PermissionKind> KindOf(WebKitPermissionRequest* request);
    // Holds the request and returns its answer, to be called once.
    std::function<void(bool allow)> Hold(WebKitPermissionRequest* request);
    void DenyAll();
    size_t Held() const { return m_held.size(); }

private:
    void Answer(uint64_t id, bool allow);

    std::map<uint64_t, GObjectPtr<WebKitPermissionRequest>> m_held;
    uint64_t m_nextId = 1;
};

} // namespace gtkui
