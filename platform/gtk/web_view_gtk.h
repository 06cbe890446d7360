#pragma once
// The system's web view on WebKitGTK: one WebKitWebView whose load, policy,
// window and full-screen signals become the platform::WebView events, in the
// engine's own order and with its own values. Web-allowed objects reach page
// script through the channel of bridge_channel.h.
//
// Inside namespace gtkui the name WebKitWebView means this adapter; the engine's
// type is always written ::WebKitWebView (and its cast macros are not used here,
// since they name the type unqualified).
#include <webkit/webkit.h>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gtk/bridge_prompts.h"
#include "platform/gtk/freed_memory_gtk.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/native_element.h"
#include "platform/gtk/permission_requests_gtk.h"
#include "platform/gtk/signal_connection.h"
#include "platform/gtk/source_holder.h"
#include "platform/web_view.h"

namespace gtkui {

class WebKitWebView : public platform::WebView, public NativeElement {
public:
    // The session is fixed for the view's life (the engine takes it only at
    // construction): a private view gets the ephemeral one before any load.
    // Each finished load and the view's end ask `freedMemory` for a trim.
    WebKitWebView(WebKitWebContext* context, WebKitNetworkSession* session,
                  std::shared_ptr<FreedMemoryReturn> freedMemory);
    ~WebKitWebView() override;

    GtkWidget* NativeWidget() override;
    // The engine's view, for the shell and for tests.
    ::WebKitWebView* Engine() const { return m_view.Get(); }

    void Navigate(const platform::Uri& uri) override;
    std::string Source() const override;
    std::string DocumentTitle() const override;
    bool CanGoBack() const override;
    void GoBack() override;
    bool CanGoForward() const override;
    void GoForward() override;
    void StopLoading() override;
    void FindText(const std::string& text) override;
    void CountMatches(const std::string& text) override;
    // The page's count for text, and the length of the page's text; nullopt
    // when the page could not be read.
    struct PageCount {
        uint32_t Matches = 0;
        size_t PageText = 0;
    };
    void CountAnswered(const std::string& text, std::optional<PageCount> counted);
    void FindNext(bool backwards) override;
    void FindFinished() override;
    void Print() override;
    void PrintToFile(const std::string& path, std::function<void(bool printed)> done) override;
    void ToggleInspector() override;
    void ReadMainResource(std::function<void(std::optional<std::string>)> done) override;
    bool ContainsFullScreenElement() const override { return m_fullScreen; }
    void Refresh() override;
    platform::PageSecurity Security() const override { return m_security; }
    void TryClose() override;

    void InvokeScriptAsync(const std::string& functionName, const std::vector<std::string>& arguments,
                           std::function<void(std::optional<std::string>)> done = {}) override;
    void AddWebAllowedObject(const std::string& name, std::shared_ptr<platform::WebAllowedObject> object) override;
    void Focus(ui::FocusState how) override;

    // The script message handler page script posts {object, method, args,
    // token} to, to reach a web-allowed object.
    static constexpr const char* BridgeHandlerName = "tolvaneBridge";

    // Over links and images the system shows its own pop-up, so the engine's
    // menu must not show as well; elsewhere the engine's menu stays.
    static bool ReplacesEngineContextMenu(WebKitHitTestResult* hitTest);

    // Bridge prompts the page is blocked on, waiting for their object's reply.
    size_t PendingBridgePrompts() const { return m_prompts->Held(); }

private:
    // What became of the main-frame load that started last.
    enum class LoadOutcome { Loading, Failed, Abandoned };

    void ConnectSignals();
    void InstallFrameCompletionScript();
    void OnLoadChanged(WebKitLoadEvent event);
    // The load committed an empty document in place of the address it asked for.
    bool IsRefusedLoad() const;
    bool OnLoadFailed(const char* failingUri, const GError* error);
    bool OnTlsErrors(const char* failingUri, GTlsCertificate* certificate, GTlsCertificateFlags errors);
    void OnWebProcessTerminated(WebKitWebProcessTerminationReason reason);
    static void WebProcessTerminatedThunk(::WebKitWebView*, WebKitWebProcessTerminationReason reason, gpointer self);
    static gboolean TlsErrorsThunk(::WebKitWebView*, const char* failingUri, GTlsCertificate* certificate,
                                   GTlsCertificateFlags errors, gpointer self);
    GtkWidget* OnCreate(WebKitNavigationAction* action);
    bool OnDecidePolicy(WebKitPolicyDecision* decision, WebKitPolicyDecisionType type);
    // A link clicked with the middle button or Ctrl: to a new tab, not here.
    bool OnNavigationAction(WebKitPolicyDecision* decision);
    void OnFullScreenChanged(bool entered);
    void KeepEngineViewAfterFullScreen();
    void OnBridgeMessage(JSCValue* message);
    bool OnScriptDialog(WebKitScriptDialog* dialog);
    bool OnPagePrompt(WebKitScriptDialog* dialog);
    bool OnLeaveRequest(WebKitScriptDialog* dialog);
    // What the page just committed is reached over.
    platform::PageSecurity CommittedSecurity() const;
    static void CloseThunk(::WebKitWebView*, gpointer self);
    bool OnPermissionRequest(WebKitPermissionRequest* request);
    void ConnectFindSignals();
    struct PendingPrint;
    static void PrintFailedThunk(WebKitPrintOperation* operation, GError* error, gpointer self);
    static void PrintFinishedThunk(WebKitPrintOperation* operation, gpointer self);
    void StartSearch();
    void FindDocumentChanged();
    void AnswerFind(guint matches);
    static void FoundTextThunk(WebKitFindController*, guint matches, gpointer self);
    static void FailedToFindThunk(WebKitFindController*, gpointer self);
    static gboolean PermissionRequestThunk(::WebKitWebView*, WebKitPermissionRequest* request, gpointer self);
    void InstallBridgeScript(const std::string& objectName);

    static void LoadChangedThunk(::WebKitWebView*, WebKitLoadEvent event, gpointer self);
    static gboolean LoadFailedThunk(::WebKitWebView*, WebKitLoadEvent, const char* failingUri, GError* error,
                                    gpointer self);
    static GtkWidget* CreateThunk(::WebKitWebView*, WebKitNavigationAction* action, gpointer self);
    static gboolean DecidePolicyThunk(::WebKitWebView*, WebKitPolicyDecision* decision,
                                      WebKitPolicyDecisionType type, gpointer self);
    static gboolean EnterFullScreenThunk(::WebKitWebView*, gpointer self);
    static gboolean LeaveFullScreenThunk(::WebKitWebView*, gpointer self);
    static void TitleChangedThunk(GObject*, GParamSpec*, gpointer self);
    static void FrameMessageThunk(WebKitUserContentManager*, JSCValue* message, gpointer self);
    static void BridgeMessageThunk(WebKitUserContentManager*, JSCValue* message, gpointer self);
    static gboolean ScriptDialogThunk(::WebKitWebView*, WebKitScriptDialog* dialog, gpointer self);
    static gboolean InputEventThunk(GtkEventControllerLegacy*, GdkEvent* event, gpointer self);
    static gboolean ContextMenuThunk(::WebKitWebView*, WebKitContextMenu*, WebKitHitTestResult* hitTest,
                                     gpointer self);

    struct UserScriptUnref {
        void operator()(WebKitUserScript* script) const { webkit_user_script_unref(script); }
    };
    using UserScriptPtr = std::unique_ptr<WebKitUserScript, UserScriptUnref>;

    // Declared first so they are released last: the connections and the
    // cancellable below refer to them.
    GObjectPtr<WebKitUserContentManager> m_content;
    GObjectPtr<::WebKitWebView> m_view;
    GObjectPtr<GCancellable> m_cancellable;
    // Sees every button and key press in the view before the engine does.
    GObjectPtr<GtkEventController> m_inputWatch;
    std::vector<SignalConnection> m_connections;

    std::map<std::string, std::shared_ptr<platform::WebAllowedObject>> m_allowedObjects;
    // This view's secret, known only to its own bridge scripts.
    const std::string m_bridgeToken;
    // One document-start script per object name, installed when the name is
    // first added; later objects under the name reuse it.
    std::map<std::string, UserScriptPtr> m_bridgeScripts;
    std::shared_ptr<BridgePrompts> m_prompts;
    std::shared_ptr<PermissionRequests> m_permissions = std::make_shared<PermissionRequests>();
    std::shared_ptr<FreedMemoryReturn> m_freedMemory;
    LoadOutcome m_outcome = LoadOutcome::Loading;
    // When the page last entered or left full screen (monotonic µs; 0 never).
    gint64 m_lastFullScreenChange = 0;
    // The current load has shown content (COMMITTED).
    bool m_committed = false;
    platform::PageSecurity m_security = platform::PageSecurity::None;
    // TryClose was called and the page has not been kept since: the engine's
    // close is the page's consent. A page's own window.close() closes nothing.
    bool m_closeAsked = false;
    // The address the current load asked for (after any redirect).
    std::string m_requestedUri;
    std::string m_failedUri;
    int m_failedStatus = 0;
    // A finished load whose title has not arrived yet: the completion waits
    // for it (briefly), so the page is recorded under its real title.
    bool m_completionPending = false;
    SourceHolder m_titleWait;
    void CompletePendingLoad();
    bool m_fullScreen = false;
    // Prints to files under way; dropping one disconnects it.
    std::vector<std::shared_ptr<PendingPrint>> m_prints;
    // The text of the last search, which steps go on with.
    std::string m_findText;
    // The searches and steps the engine has yet to answer, oldest first; a
    // step has no text. Limit is where the search stops counting.
    struct FindAnswer {
        std::string Text;
        guint Limit = 0;
    };
    std::deque<FindAnswer> m_findAnswers;
    // The length of the page's text, once a count has read it.
    size_t m_findPageText = 0;
    // Counts asked and not answered yet; the search of m_findText waiting
    // for them.
    unsigned m_countsAsked = 0;
    SourceHolder m_searchWait;
    // The number of the last press of a button or key in this view (numbers
    // are never shared between views); 0 before any.
    uint64_t m_userInput = 0;
};

} // namespace gtkui
