// Leaving a page: its connection's security as committed, and closing it only
// once its beforeunload agrees.
#include <cstring>
#include <memory>
#include <utility>

#include "platform/gtk/web_view_gtk.h"

namespace gtkui {

platform::PageSecurity WebKitWebView::CommittedSecurity() const
{
    const char* uri = webkit_web_view_get_uri(m_view.Get());
    const char* scheme = uri ? g_uri_peek_scheme(uri) : nullptr;
    if (!scheme)
        return platform::PageSecurity::None;
    if (std::strcmp(scheme, "http") == 0)
        return platform::PageSecurity::NotSecure;
    if (std::strcmp(scheme, "https") != 0)
        return platform::PageSecurity::None;
    // A refused certificate never commits here; anything the engine still
    // doubts is no secure connection either.
    GTlsCertificate* certificate = nullptr;
    GTlsCertificateFlags errors = G_TLS_CERTIFICATE_VALIDATE_ALL;
    const bool known = webkit_web_view_get_tls_info(m_view.Get(), &certificate, &errors);
    return known && certificate && errors == 0 ? platform::PageSecurity::Secure : platform::PageSecurity::NotSecure;
}

void WebKitWebView::TryClose()
{
    m_closeAsked = true;
    // The engine runs the page's beforeunload and emits close when it may go.
    webkit_web_view_try_close(m_view.Get());
}

void WebKitWebView::CloseThunk(::WebKitWebView*, gpointer self)
{
    auto* view = static_cast<WebKitWebView*>(self);
    if (!std::exchange(view->m_closeAsked, false))
        return;
    view->CloseRequested(*view); // may destroy the view: nothing after this
}

bool WebKitWebView::OnLeaveRequest(WebKitScriptDialog* dialog)
{
    // Held until the browser's dialog answers; the engine's own box never shows.
    m_prompts->ReceiveLeave(dialog, [&](BridgePrompts::Reply reply) {
        platform::LeaveRequestedArgs args;
        // Only this reply's call may clear the close asked for; the view may
        // have gone by the time the user answers.
        std::weak_ptr<BridgePrompts> alive = m_prompts;
        auto answered = std::make_shared<bool>(false);
        args.Answer = [this, alive, reply, answered](bool leave) {
            if (std::exchange(*answered, true))
                return;
            if (!alive.expired() && !leave)
                m_closeAsked = false;
            reply(leave ? std::optional<std::string>("leave") : std::nullopt);
        };
        LeaveRequested(*this, args);
        if (!args.Handled)
            args.Answer(true);
    });
    return true;
}

} // namespace gtkui
