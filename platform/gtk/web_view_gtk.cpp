#include "platform/gtk/web_view_gtk.h"

#include <exception>
#include <utility>

#include "platform/gtk/bridge_channel.h"
#include "platform/gtk/glib_text.h"

namespace {

using gtkui::TakeText;
using gtkui::TextOrEmpty;
using gtkui::ValidUtf8;

// Sub-frame completions never reach load-changed, so a script in every frame
// reports its own load. It runs in a world of its own: page script can neither
// see nor fake that channel.
constexpr const char* FrameWorldName = "tolvane-frames";
constexpr const char* FrameHandlerName = "tolvaneFrame";
constexpr const char* FrameCompletionScript =
    "if (window !== window.top) {\n"
    "  window.addEventListener('load', function () {\n"
    "    window.webkit.messageHandlers.tolvaneFrame.postMessage(String(window.location.href));\n"
    "  });\n"
    "}\n";

// Presses of a button or a key in any view, counted on the user-interface
// thread: each press gets a number of its own.
uint64_t NextUserInput()
{
    static uint64_t pressed = 0;
    return ++pressed;
}

// A script call in flight. Its callback runs even after the adapter is gone
// (the engine keeps its view alive until the reply), so it holds nothing of
// the adapter: only what the caller asked to be told.
struct PendingScript {
    std::function<void(std::optional<std::string>)> Done;
};

void ReportScriptResult(std::unique_ptr<PendingScript> pending, JSCValue* value, GError* error)
{
    gtkui::GObjectPtr<JSCValue> result(value);
    if (error) {
        // Cancelled means the adapter was destroyed: whoever asked is gone too.
        const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
        if (!cancelled)
            g_debug("web view script failed: %s", error->message);
        g_error_free(error);
        if (!cancelled && pending->Done)
            pending->Done(std::nullopt);
        return;
    }
    if (pending->Done)
        pending->Done(TakeText(jsc_value_to_string(result.Get())));
}

void EvaluateFinished(GObject* source, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<PendingScript> pending(static_cast<PendingScript*>(data));
    GError* error = nullptr;
    JSCValue* value =
        webkit_web_view_evaluate_javascript_finish(reinterpret_cast<::WebKitWebView*>(source), result, &error);
    ReportScriptResult(std::move(pending), value, error);
}

void CallFinished(GObject* source, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<PendingScript> pending(static_cast<PendingScript*>(data));
    GError* error = nullptr;
    JSCValue* value = webkit_web_view_call_async_javascript_function_finish(
        reinterpret_cast<::WebKitWebView*>(source), result, &error);
    ReportScriptResult(std::move(pending), value, error);
}

// Loads the engine drops on purpose: replaced by a newer navigation, stopped,
// or turned away by a policy decision (content shown elsewhere or not at all).
bool IsAbandonedLoad(const GError* error)
{
    return g_error_matches(error, WEBKIT_NETWORK_ERROR, WEBKIT_NETWORK_ERROR_CANCELLED)
        || g_error_matches(error, WEBKIT_POLICY_ERROR, WEBKIT_POLICY_ERROR_FRAME_LOAD_INTERRUPTED_BY_POLICY_CHANGE);
}

// A response the server wants saved rather than shown; left to the engine it
// would become a download outside the system's download manager.
bool IsAttachment(WebKitURIResponse* response)
{
    SoupMessageHeaders* headers = webkit_uri_response_get_http_headers(response);
    const char* disposition = headers ? soup_message_headers_get_one(headers, "Content-Disposition") : nullptr;
    if (!disposition)
        return false;
    while (g_ascii_isspace(*disposition))
        ++disposition;
    return g_ascii_strncasecmp(disposition, "attachment", 10) == 0;
}

} // namespace

namespace gtkui {

WebKitWebView::WebKitWebView(WebKitWebContext* context, WebKitNetworkSession* session,
                             std::shared_ptr<FreedMemoryReturn> freedMemory)
    : m_content(webkit_user_content_manager_new())
    , m_cancellable(g_cancellable_new())
    , m_bridgeToken(NewBridgeToken())
    , m_prompts(std::make_shared<BridgePrompts>())
    , m_freedMemory(std::move(freedMemory))
{
    // All three are construct-only: the session cannot be swapped later.
    m_view = RefSink(static_cast<::WebKitWebView*>(g_object_new(WEBKIT_TYPE_WEB_VIEW,
                                                                "web-context", context,
                                                                "network-session", session,
                                                                "user-content-manager", m_content.Get(),
                                                                nullptr)));
    ConnectSignals();
    InstallFrameCompletionScript();
    // The inspector is one key away, as in every desktop browser.
    webkit_settings_set_enable_developer_extras(webkit_web_view_get_settings(m_view.Get()), TRUE);
}

WebKitWebView::~WebKitWebView()
{
    // Handlers first, so nothing the engine still emits reaches this object;
    // then every script reply in flight learns that nobody waits for it, and
    // a page blocked on a bridge prompt gets an empty answer.
    m_connections.clear();
    gtk_widget_remove_controller(GTK_WIDGET(m_view.Get()), m_inputWatch.Get());
    g_cancellable_cancel(m_cancellable.Get());
    m_prompts->CloseAll();
    m_permissions->DenyAll();
    KeepEngineViewAfterFullScreen();
    // What the view held goes back to the system, not only to the heap.
    m_freedMemory->Request();
}

// The engine crashes when a view goes while a full-screen change is under
// way (it finishes the change on a timer of its own). Such a view is kept,
// muted, out of the window: a view still in full screen until the engine
// has left it (the page was told to), then two more seconds; one whose last
// change was recent until two seconds after that change. Ten seconds at most,
// should the engine never leave. The retired record owns that last reference.
namespace {
constexpr guint SettleMilliseconds = 2000;
constexpr guint LongestKeepMilliseconds = 10000;

struct RetiredView {
    ::WebKitWebView* view;
    guint timeout = 0;
    gulong leaveHandler = 0;

    static gboolean Release(gpointer data)
    {
        auto* retired = static_cast<RetiredView*>(data);
        if (retired->leaveHandler)
            g_signal_handler_disconnect(retired->view, retired->leaveHandler);
        g_object_unref(retired->view);
        delete retired;
        return G_SOURCE_REMOVE;
    }

    static gboolean Left(::WebKitWebView*, gpointer data)
    {
        auto* retired = static_cast<RetiredView*>(data);
        g_source_remove(retired->timeout);
        retired->timeout = g_timeout_add(SettleMilliseconds, Release, retired);
        return FALSE;
    }
};
} // namespace

void WebKitWebView::KeepEngineViewAfterFullScreen()
{
    if (m_lastFullScreenChange == 0)
        return;
    const gint64 sinceChange = (g_get_monotonic_time() - m_lastFullScreenChange) / 1000;
    if (!m_fullScreen && sinceChange >= SettleMilliseconds)
        return;
    auto* retired = new RetiredView{m_view.Release()};
    webkit_web_view_set_is_muted(retired->view, TRUE);
    if (m_fullScreen) {
        retired->leaveHandler = g_signal_connect(retired->view, "leave-fullscreen", G_CALLBACK(RetiredView::Left), retired);
        retired->timeout = g_timeout_add(LongestKeepMilliseconds, RetiredView::Release, retired);
    } else {
        retired->timeout = g_timeout_add(SettleMilliseconds - static_cast<guint>(sinceChange) + 1, RetiredView::Release, retired);
    }
}

GtkWidget* WebKitWebView::NativeWidget()
{
    return GTK_WIDGET(m_view.Get());
}

void WebKitWebView::ConnectSignals()
{
    auto connect = [this](gpointer instance, const char* signal, GCallback callback) {
        m_connections.emplace_back(instance, g_signal_connect(instance, signal, callback, this));
    };
    connect(m_view.Get(), "load-changed", G_CALLBACK(LoadChangedThunk));
    connect(m_view.Get(), "load-failed", G_CALLBACK(LoadFailedThunk));
    connect(m_view.Get(), "load-failed-with-tls-errors", G_CALLBACK(TlsErrorsThunk));
    connect(m_view.Get(), "web-process-terminated", G_CALLBACK(WebProcessTerminatedThunk));
    connect(m_view.Get(), "create", G_CALLBACK(CreateThunk));
    connect(m_view.Get(), "decide-policy", G_CALLBACK(DecidePolicyThunk));
    connect(m_view.Get(), "enter-fullscreen", G_CALLBACK(EnterFullScreenThunk));
    connect(m_view.Get(), "close", G_CALLBACK(CloseThunk));
    connect(m_view.Get(), "leave-fullscreen", G_CALLBACK(LeaveFullScreenThunk));
    connect(m_view.Get(), "notify::title", G_CALLBACK(TitleChangedThunk));
    connect(m_view.Get(), "script-dialog", G_CALLBACK(ScriptDialogThunk));
    connect(m_view.Get(), "permission-request", G_CALLBACK(PermissionRequestThunk));
    ConnectFindSignals();
    connect(m_view.Get(), "context-menu", G_CALLBACK(ContextMenuThunk));

    // In the capture phase, so a press counts even when the engine or the
    // page then takes it for itself.
    GtkEventController* inputWatch = gtk_event_controller_legacy_new();
    gtk_event_controller_set_propagation_phase(inputWatch, GTK_PHASE_CAPTURE);
    m_inputWatch = AddRef(inputWatch);
    gtk_widget_add_controller(GTK_WIDGET(m_view.Get()), inputWatch);
    connect(inputWatch, "event", G_CALLBACK(InputEventThunk));

    // Handlers are connected before the names are registered, so no message
    // can arrive unheard.
    const std::string frameSignal = std::string("script-message-received::") + FrameHandlerName;
    connect(m_content.Get(), frameSignal.c_str(), G_CALLBACK(FrameMessageThunk));
    webkit_user_content_manager_register_script_message_handler(m_content.Get(), FrameHandlerName, FrameWorldName);

    const std::string bridgeSignal = std::string("script-message-received::") + BridgeHandlerName;
    connect(m_content.Get(), bridgeSignal.c_str(), G_CALLBACK(BridgeMessageThunk));
    webkit_user_content_manager_register_script_message_handler(m_content.Get(), BridgeHandlerName, nullptr);
}

void WebKitWebView::InstallFrameCompletionScript()
{
    WebKitUserScript* script = webkit_user_script_new_for_world(FrameCompletionScript,
                                                                WEBKIT_USER_CONTENT_INJECT_ALL_FRAMES,
                                                                WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START,
                                                                FrameWorldName, nullptr, nullptr);
    webkit_user_content_manager_add_script(m_content.Get(), script);
    webkit_user_script_unref(script);
}

void WebKitWebView::InstallBridgeScript(const std::string& objectName)
{
    // Top frame only: a frame of another site must not reach the object.
    UserScriptPtr script(webkit_user_script_new(BridgeScript(objectName, BridgeHandlerName, m_bridgeToken).c_str(),
                                                WEBKIT_USER_CONTENT_INJECT_TOP_FRAME,
                                                WEBKIT_USER_SCRIPT_INJECT_AT_DOCUMENT_START, nullptr, nullptr));
    webkit_user_content_manager_add_script(m_content.Get(), script.get());
    m_bridgeScripts[objectName] = std::move(script);
}

void WebKitWebView::Navigate(const platform::Uri& uri)
{
    webkit_web_view_load_uri(m_view.Get(), uri.AbsoluteUri().c_str());
}

std::string WebKitWebView::Source() const
{
    return TextOrEmpty(webkit_web_view_get_uri(m_view.Get()));
}

std::string WebKitWebView::DocumentTitle() const
{
    return TextOrEmpty(webkit_web_view_get_title(m_view.Get()));
}

bool WebKitWebView::CanGoBack() const
{
    return webkit_web_view_can_go_back(m_view.Get());
}

void WebKitWebView::GoBack()
{
    webkit_web_view_go_back(m_view.Get());
}

bool WebKitWebView::CanGoForward() const
{
    return webkit_web_view_can_go_forward(m_view.Get());
}

void WebKitWebView::GoForward()
{
    webkit_web_view_go_forward(m_view.Get());
}

void WebKitWebView::Refresh()
{
    webkit_web_view_reload(m_view.Get());
}

void WebKitWebView::StopLoading()
{
    webkit_web_view_stop_loading(m_view.Get());
}

void WebKitWebView::InvokeScriptAsync(const std::string& functionName, const std::vector<std::string>& arguments,
                                      std::function<void(std::optional<std::string>)> done)
{
    if (functionName == "eval") {
        if (arguments.empty()) {
            // Nothing to run: it fails as a script would, just sooner.
            if (done)
                done(std::nullopt);
            return;
        }
        const std::string script = ValidUtf8(arguments.front());
        webkit_web_view_evaluate_javascript(m_view.Get(), script.c_str(), static_cast<gssize>(script.size()),
                                            nullptr, nullptr, m_cancellable.Get(), EvaluateFinished,
                                            new PendingScript{std::move(done)});
        return;
    }

    // A named page function, its arguments passed as strings a0, a1, … so no
    // argument text is ever spliced into script source.
    GVariantDict named;
    g_variant_dict_init(&named, nullptr);
    std::string body = "return " + functionName + "(";
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string key = "a" + std::to_string(i);
        g_variant_dict_insert_value(&named, key.c_str(), g_variant_new_string(ValidUtf8(arguments[i]).c_str()));
        body += (i ? ", " : "") + key;
    }
    body += ");";
    GVariant* argumentsVariant = g_variant_ref_sink(g_variant_dict_end(&named));
    webkit_web_view_call_async_javascript_function(m_view.Get(), body.c_str(), static_cast<gssize>(body.size()),
                                                   argumentsVariant, nullptr, nullptr, m_cancellable.Get(),
                                                   CallFinished, new PendingScript{std::move(done)});
    g_variant_unref(argumentsVariant);
}

void WebKitWebView::AddWebAllowedObject(const std::string& name, std::shared_ptr<platform::WebAllowedObject> object)
{
    if (!object) {
        m_allowedObjects.erase(name);
        auto script = m_bridgeScripts.find(name);
        if (script != m_bridgeScripts.end()) {
            webkit_user_content_manager_remove_script(m_content.Get(), script->second.get());
            m_bridgeScripts.erase(script);
        }
        return;
    }
    // A later object under the same name replaces the earlier one, as each
    // navigation brings a fresh bridge object; the page script stays.
    m_allowedObjects[name] = std::move(object);
    if (!m_bridgeScripts.count(name))
        InstallBridgeScript(name);
}

void WebKitWebView::Focus(ui::FocusState how)
{
    if (how != ui::FocusState::Unfocused)
        gtk_widget_grab_focus(GTK_WIDGET(m_view.Get()));
}

void WebKitWebView::OnLoadChanged(WebKitLoadEvent event)
{
    switch (event) {
    case WEBKIT_LOAD_STARTED: {
        CompletePendingLoad();
        m_outcome = LoadOutcome::Loading;
        m_committed = false;
        m_failedUri.clear();
        m_failedStatus = 0;
        m_requestedUri = Source();
        platform::NavigationStartingArgs args{m_requestedUri};
        NavigationStarting(*this, args);
        if (args.Cancel) {
            m_outcome = LoadOutcome::Abandoned;
            webkit_web_view_stop_loading(m_view.Get());
        }
        break;
    }
    case WEBKIT_LOAD_COMMITTED:
        FindDocumentChanged();
        if (m_outcome == LoadOutcome::Loading && IsRefusedLoad()) {
            // The engine refused the address without contacting the server
            // (a port browsers block) and shows an empty document instead,
            // raising no error: it is a failure of the address asked for.
            m_outcome = LoadOutcome::Failed;
            m_failedUri = m_requestedUri;
            m_failedStatus = WEBKIT_POLICY_ERROR_CANNOT_USE_RESTRICTED_PORT;
            m_security = platform::PageSecurity::None;
            NavigationFailed(*this, platform::NavigationFailedArgs{m_failedUri, m_failedStatus});
        } else if (m_outcome == LoadOutcome::Loading) {
            m_committed = true;
            m_security = CommittedSecurity();
            ContentLoading(*this, platform::ContentLoadingArgs{Source()});
        }
        break;
    case WEBKIT_LOAD_FINISHED:
        m_freedMemory->Request();
        if (m_outcome == LoadOutcome::Loading && !m_committed) {
            // Stopped or turned away before any content: nothing to report.
            // This may be the end of a load already replaced, so the newer
            // load, not yet committed, stays watched.
            break;
        } else if (m_outcome == LoadOutcome::Loading && DocumentTitle().empty()) {
            // The engine often delivers the title just after the load finished.
            m_completionPending = true;
            m_titleWait.Reset(g_timeout_add(
                300,
                [](gpointer self) -> gboolean {
                    auto* view = static_cast<WebKitWebView*>(self);
                    view->m_titleWait.Forget();
                    view->CompletePendingLoad();
                    return G_SOURCE_REMOVE;
                },
                this));
        } else if (m_outcome == LoadOutcome::Loading)
            NavigationCompleted(*this, platform::NavigationCompletedArgs{Source(), true, 0});
        else if (m_outcome == LoadOutcome::Failed)
            NavigationCompleted(*this, platform::NavigationCompletedArgs{m_failedUri, false, m_failedStatus});
        // Further FINISHED without a new STARTED belong to nothing we report.
        m_outcome = LoadOutcome::Abandoned;
        break;
    case WEBKIT_LOAD_REDIRECTED:
        m_requestedUri = Source();
        break;
    }
}

bool WebKitWebView::IsRefusedLoad() const
{
    return Source() == "about:blank" && !m_requestedUri.empty() && m_requestedUri.rfind("about:", 0) != 0;
}

bool WebKitWebView::OnLoadFailed(const char* failingUri, const GError* error)
{
    // A dropped load is never a failure. Its error may also arrive late, after
    // the load that replaced it has started, so it changes nothing here: a load
    // that never committed simply reports no completion.
    if (IsAbandonedLoad(error))
        return true;
    if (m_outcome == LoadOutcome::Loading) {
        m_outcome = LoadOutcome::Failed;
        m_failedUri = TextOrEmpty(failingUri);
        m_failedStatus = error ? error->code : 0;
        m_security = platform::PageSecurity::None;
        NavigationFailed(*this, platform::NavigationFailedArgs{m_failedUri, m_failedStatus});
    }
    // Handled: the engine's own error page never shows; the system has one.
    return true;
}

// The page's process ended under it (it crashed, passed the memory limit or
// was killed from outside). No load event follows, so the tab would show
// "Loading…" or a blank page for ever: it is a failed load of the page's
// address, and the error page that follows starts a new process.
void WebKitWebView::OnWebProcessTerminated(WebKitWebProcessTerminationReason reason)
{
    if (reason == WEBKIT_WEB_PROCESS_TERMINATED_BY_API)
        return;
    std::string uri = Source().empty() ? m_requestedUri : Source();
    g_warning("the process of %s ended (%s)", uri.c_str(),
              reason == WEBKIT_WEB_PROCESS_EXCEEDED_MEMORY_LIMIT ? "over its memory limit" : "crashed or killed");
    m_titleWait.Reset();
    m_completionPending = false;
    m_outcome = LoadOutcome::Failed;
    m_failedUri = uri;
    m_failedStatus = 0;
    m_security = platform::PageSecurity::None;
    NavigationFailed(*this, platform::NavigationFailedArgs{uri, 0});
}

void WebKitWebView::WebProcessTerminatedThunk(::WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer self)
{
    static_cast<WebKitWebView*>(self)->OnWebProcessTerminated(reason);
}

bool WebKitWebView::OnTlsErrors(const char* failingUri, GTlsCertificate* certificate, GTlsCertificateFlags errors)
{
    if (m_outcome != LoadOutcome::Loading)
        return true;
    static constexpr std::pair<GTlsCertificateFlags, uint32_t> Problems[] = {
        {G_TLS_CERTIFICATE_UNKNOWN_CA, platform::CertificateProblem::UnknownAuthority},
        {G_TLS_CERTIFICATE_BAD_IDENTITY, platform::CertificateProblem::WrongHost},
        {G_TLS_CERTIFICATE_NOT_ACTIVATED, platform::CertificateProblem::NotYetValid},
        {G_TLS_CERTIFICATE_EXPIRED, platform::CertificateProblem::Expired},
        {G_TLS_CERTIFICATE_REVOKED, platform::CertificateProblem::Revoked},
        {G_TLS_CERTIFICATE_INSECURE, platform::CertificateProblem::Insecure},
        {G_TLS_CERTIFICATE_GENERIC_ERROR, platform::CertificateProblem::Other},
    };
    platform::NavigationFailedArgs args{TextOrEmpty(failingUri), 0, 0, {}};
    for (const auto& [flag, problem] : Problems)
        if (errors & flag)
            args.CertificateProblems |= problem;
    if (args.CertificateProblems == 0)
        args.CertificateProblems = platform::CertificateProblem::Other;
    if (certificate)
        args.CertificateSubject = TakeText(g_tls_certificate_get_subject_name(certificate));
    m_outcome = LoadOutcome::Failed;
    m_failedUri = args.Uri;
    m_failedStatus = 0;
    m_security = platform::PageSecurity::None;
    NavigationFailed(*this, args);
    // Handled: the site's page is never loaded, whatever the certificate.
    return true;
}

gboolean WebKitWebView::TlsErrorsThunk(::WebKitWebView*, const char* failingUri, GTlsCertificate* certificate,
                                       GTlsCertificateFlags errors, gpointer self)
{
    return static_cast<WebKitWebView*>(self)->OnTlsErrors(failingUri, certificate, errors);
}

GtkWidget* WebKitWebView::OnCreate(WebKitNavigationAction* action)
{
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    platform::NewWindowRequestedArgs args;
    args.Uri = TextOrEmpty(request ? webkit_uri_request_get_uri(request) : nullptr);
    args.Referrer = Source();
    // The engine knows whether a gesture led here (a click on a target=_blank
    // link, or a click handler's window.open); the press it came from is the
    // last one in the view.
    args.UserGesture = webkit_navigation_action_is_user_gesture(action) ? m_userInput : 0;
    NewWindowRequested(*this, args);
    // Handled or not, the engine gets no window: pages open in tabs the
    // system manages, never in a window of their own.
    return nullptr;
}

bool WebKitWebView::OnDecidePolicy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type)
{
    if (type != WEBKIT_POLICY_DECISION_TYPE_RESPONSE)
        return OnNavigationAction(decision);
    auto* responseDecision = WEBKIT_RESPONSE_POLICY_DECISION(decision);
    if (!webkit_response_policy_decision_is_main_frame_main_resource(responseDecision))
        return false;
    WebKitURIResponse* response = webkit_response_policy_decision_get_response(responseDecision);
    if (webkit_response_policy_decision_is_mime_type_supported(responseDecision) && !IsAttachment(response))
        return false;

    platform::UnviewableContentArgs args{TextOrEmpty(webkit_uri_response_get_uri(response)),
                                         TextOrEmpty(webkit_uri_response_get_mime_type(response))};
    // The page stays as it was; what to do with the content is the system's call.
    webkit_policy_decision_ignore(decision);
    UnviewableContentIdentified(*this, args);
    return true;
}

bool WebKitWebView::OnNavigationAction(WebKitPolicyDecision* decision)
{
    auto* navigation = reinterpret_cast<WebKitNavigationPolicyDecision*>(decision);
    WebKitNavigationAction* action = webkit_navigation_policy_decision_get_navigation_action(navigation);
    if (!action || webkit_navigation_action_get_navigation_type(action) != WEBKIT_NAVIGATION_TYPE_LINK_CLICKED ||
        !webkit_navigation_action_is_user_gesture(action))
        return false;
    const unsigned button = webkit_navigation_action_get_mouse_button(action);
    const bool control = (webkit_navigation_action_get_modifiers(action) & GDK_CONTROL_MASK) != 0;
    if (button != GDK_BUTTON_MIDDLE && !(button == GDK_BUTTON_PRIMARY && control))
        return false;
    // The page stays; the link goes to a tab behind it.
    WebKitURIRequest* request = webkit_navigation_action_get_request(action);
    platform::NewWindowRequestedArgs args;
    args.Uri = TextOrEmpty(request ? webkit_uri_request_get_uri(request) : nullptr);
    args.Referrer = Source();
    args.UserGesture = m_userInput;
    args.InBackground = true;
    webkit_policy_decision_ignore(decision);
    NewWindowRequested(*this, args);
    return true;
}

void WebKitWebView::OnFullScreenChanged(bool entered)
{
    m_fullScreen = entered;
    m_lastFullScreenChange = g_get_monotonic_time();
    ContainsFullScreenElementChanged(*this);
}

void WebKitWebView::OnBridgeMessage(JSCValue* message)
{
    // A page may post anything: only this view's own scripts know the token.
    auto call = ReadBridgeMessage(message, m_bridgeToken);
    if (!call)
        return;
    const auto found = m_allowedObjects.find(call->Object);
    if (found == m_allowedObjects.end() || !found->second)
        return;
    // Keep the object alive through the call even if it replaces itself.
    std::shared_ptr<platform::WebAllowedObject> object = found->second;
    try {
        object->Invoke(call->Method, call->Arguments);
    } catch (const std::exception& e) {
        g_warning("web-allowed object %s.%s failed: %s", call->Object.c_str(), call->Method.c_str(), e.what());
    }
}

bool WebKitWebView::OnScriptDialog(WebKitScriptDialog* dialog)
{
    if (webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_BEFORE_UNLOAD_CONFIRM)
        return OnLeaveRequest(dialog);
    if (webkit_script_dialog_get_dialog_type(dialog) != WEBKIT_SCRIPT_DIALOG_PROMPT)
        return false;
    auto call = ParseBridgePrompt(TextOrEmpty(webkit_script_dialog_get_message(dialog)), m_bridgeToken);
    if (!call)
        return OnPagePrompt(dialog);

    m_prompts->Receive(dialog, [&](BridgePrompts::Reply reply) {
        const auto found = m_allowedObjects.find(call->Object);
        if (found == m_allowedObjects.end() || !found->second) {
            reply(std::nullopt);
            return;
        }
        // Keep the object alive through the call even if it replaces itself.
        std::shared_ptr<platform::WebAllowedObject> object = found->second;
        try {
            object->InvokeWithReply(call->Method, call->Arguments, reply);
        } catch (const std::exception& e) {
            g_warning("web-allowed object %s.%s failed: %s", call->Object.c_str(), call->Method.c_str(), e.what());
            reply(std::nullopt); // the page is not left blocked; nothing if it was answered
        }
    });
    return true;
}

bool WebKitWebView::OnPagePrompt(WebKitScriptDialog* dialog)
{
    // Held until the browser's dialog answers; the engine's own box never shows.
    m_prompts->ReceivePage(dialog, [&](BridgePrompts::Reply reply) {
        platform::PromptRequestedArgs args{TextOrEmpty(webkit_script_dialog_get_message(dialog)),
                                           TextOrEmpty(webkit_script_dialog_prompt_get_default_text(dialog)), reply};
        PromptRequested(*this, args);
        if (!args.Handled)
            reply(std::nullopt);
    });
    return true;
}

bool WebKitWebView::OnPermissionRequest(WebKitPermissionRequest* request)
{
    auto kind = PermissionRequests::KindOf(request);
    if (!kind) {
        webkit_permission_request_deny(request);
        return true;
    }
    // The page that asks is the one shown: requests come from the main frame's
    // document or its frames, all answered for the site in the address bar.
    std::string origin;
    const char* uri = webkit_web_view_get_uri(m_view.Get());
    if (WebKitSecurityOrigin* security = uri ? webkit_security_origin_new_for_uri(uri) : nullptr) {
        origin = TakeText(webkit_security_origin_to_string(security));
        webkit_security_origin_unref(security);
    }
    platform::PermissionRequestedArgs args{origin, *kind, m_permissions->Hold(request)};
    PermissionRequested(*this, args);
    if (!args.Handled)
        args.Answer(false);
    return true;
}

gboolean WebKitWebView::PermissionRequestThunk(::WebKitWebView*, WebKitPermissionRequest* request, gpointer self)
{
    return static_cast<WebKitWebView*>(self)->OnPermissionRequest(request);
}

bool WebKitWebView::ReplacesEngineContextMenu(WebKitHitTestResult* hitTest)
{
    return hitTest && (webkit_hit_test_result_context_is_link(hitTest) || webkit_hit_test_result_context_is_image(hitTest));
}

void WebKitWebView::LoadChangedThunk(::WebKitWebView*, WebKitLoadEvent event, gpointer self)
{
    static_cast<WebKitWebView*>(self)->OnLoadChanged(event);
}

gboolean WebKitWebView::LoadFailedThunk(::WebKitWebView*, WebKitLoadEvent, const char* failingUri, GError* error,
                                        gpointer self)
{
    return static_cast<WebKitWebView*>(self)->OnLoadFailed(failingUri, error);
}

GtkWidget* WebKitWebView::CreateThunk(::WebKitWebView*, WebKitNavigationAction* action, gpointer self)
{
    return static_cast<WebKitWebView*>(self)->OnCreate(action);
}

gboolean WebKitWebView::DecidePolicyThunk(::WebKitWebView*, WebKitPolicyDecision* decision,
                                          WebKitPolicyDecisionType type, gpointer self)
{
    return static_cast<WebKitWebView*>(self)->OnDecidePolicy(decision, type);
}

gboolean WebKitWebView::EnterFullScreenThunk(::WebKitWebView*, gpointer self)
{
    static_cast<WebKitWebView*>(self)->OnFullScreenChanged(true);
    // The element goes full screen in the page; the window is the browser's to change.
    return TRUE;
}

gboolean WebKitWebView::LeaveFullScreenThunk(::WebKitWebView*, gpointer self)
{
    static_cast<WebKitWebView*>(self)->OnFullScreenChanged(false);
    return TRUE;
}

void WebKitWebView::CompletePendingLoad()
{
    if (!std::exchange(m_completionPending, false))
        return;
    m_titleWait.Reset();
    NavigationCompleted(*this, platform::NavigationCompletedArgs{Source(), true, 0});
}

void WebKitWebView::TitleChangedThunk(GObject*, GParamSpec*, gpointer self)
{
    auto* view = static_cast<WebKitWebView*>(self);
    // The waiting completion goes first, so it sees the title.
    if (view->m_completionPending && !view->DocumentTitle().empty())
        view->CompletePendingLoad();
    view->DocumentTitleChanged(*view);
}

void WebKitWebView::FrameMessageThunk(WebKitUserContentManager*, JSCValue* message, gpointer self)
{
    auto* view = static_cast<WebKitWebView*>(self);
    const std::string frameUri = message ? TakeText(jsc_value_to_string(message)) : std::string();
    view->FrameNavigationCompleted(*view, platform::NavigationCompletedArgs{frameUri, true, 0});
}

void WebKitWebView::BridgeMessageThunk(WebKitUserContentManager*, JSCValue* message, gpointer self)
{
    static_cast<WebKitWebView*>(self)->OnBridgeMessage(message);
}

gboolean WebKitWebView::ScriptDialogThunk(::WebKitWebView*, WebKitScriptDialog* dialog, gpointer self)
{
    return static_cast<WebKitWebView*>(self)->OnScriptDialog(dialog);
}

gboolean WebKitWebView::InputEventThunk(GtkEventControllerLegacy*, GdkEvent* event, gpointer self)
{
    switch (gdk_event_get_event_type(event)) {
    case GDK_BUTTON_PRESS:
    case GDK_KEY_PRESS:
    case GDK_TOUCH_BEGIN:
        static_cast<WebKitWebView*>(self)->m_userInput = NextUserInput();
        break;
    default:
        break;
    }
    return GDK_EVENT_PROPAGATE;
}

gboolean WebKitWebView::ContextMenuThunk(::WebKitWebView*, WebKitContextMenu*, WebKitHitTestResult* hitTest,
                                         gpointer self)
{
    // Decided before the event: a listener may close the view.
    const bool replaced = ReplacesEngineContextMenu(hitTest);
    auto* view = static_cast<WebKitWebView*>(self);
    // The engine asks only for a gesture of the user's (a script's synthetic
    // contextmenu event never reaches it), after the page's listeners ran,
    // and whether or not its own menu then shows.
    view->ContextMenuGesture(*view);
    return replaced; // TRUE: the engine's menu does not show
}

} // namespace gtkui
