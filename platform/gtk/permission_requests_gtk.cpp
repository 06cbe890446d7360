#include "platform/gtk/permission_requests_gtk.h"

#include <utility>

namespace gtkui {

PermissionRequests::~PermissionRequests()
{
    DenyAll();
}

std::optional<platform::PermissionKind> PermissionRequests::KindOf(WebKitPermissionRequest* request)
{
    using platform::PermissionKind;
    if (WEBKIT_IS_NOTIFICATION_PERMISSION_REQUEST(request))
        return PermissionKind::Notifications;
    if (WEBKIT_IS_GEOLOCATION_PERMISSION_REQUEST(request))
        return PermissionKind::Geolocation;
    if (WEBKIT_IS_CLIPBOARD_PERMISSION_REQUEST(request))
        return PermissionKind::ClipboardRead;
    if (WEBKIT_IS_POINTER_LOCK_PERMISSION_REQUEST(request))
        return PermissionKind::PointerLock;
    if (WEBKIT_IS_USER_MEDIA_PERMISSION_REQUEST(request)) {
        auto* media = WEBKIT_USER_MEDIA_PERMISSION_REQUEST(request);
        if (webkit_user_media_permission_is_for_display_device(media))
            return std::nullopt;
        const bool camera = webkit_user_media_permission_is_for_video_device(media);
        const bool microphone = webkit_user_media_permission_is_for_audio_device(media);
        if (camera && microphone)
            return PermissionKind::CameraAndMicrophone;
        if (camera)
            return PermissionKind::Camera;
        if (microphone)
            return PermissionKind::Microphone;
    }
    return std::nullopt;
}

std::function<void(bool)> PermissionRequests::Hold(WebKitPermissionRequest* request)
{
    const uint64_t id = m_nextId++;
    m_held.emplace(id, AddRef(request));
    return [registry = weak_from_this(), id](bool allow) {
        if (auto alive = registry.lock())
            alive->Answer(id, allow);
    };
}

void PermissionRequests::Answer(uint64_t id, bool allow)
{
    auto found = m_held.find(id);
    if (found == m_held.end())
        return;
    // Out of the map first: the engine may call back into the view.
    auto request = std::move(found->second);
    m_held.erase(found);
    if (allow)
        webkit_permission_request_allow(request.Get());
    else
        webkit_permission_request_deny(request.Get());
}

void PermissionRequests::DenyAll()
{
    auto held = std::exchange(m_held, {});
    for (auto& [id, request] : held)
        webkit_permission_request_deny(request.Get());
}

} // namespace gtkui
