#pragma once
// A web view in the system's terms: an element of the page that shows one
// web page, with its navigation events raised in the engine's real order.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/ui/element.h"
#include "platform/uri.h"

namespace platform {

class WebView;

struct NavigationStartingArgs {
    std::string Uri;
    bool Cancel = false;
};
struct ContentLoadingArgs {
    std::string Uri;
};
struct NavigationCompletedArgs {
    std::string Uri;
    bool IsSuccess = true;
    int WebErrorStatus = 0;
};
// Why a site's certificate was refused (any combination).
namespace CertificateProblem {
inline constexpr uint32_t UnknownAuthority = 1;
inline constexpr uint32_t WrongHost = 2;
inline constexpr uint32_t NotYetValid = 4;
inline constexpr uint32_t Expired = 8;
inline constexpr uint32_t Revoked = 16;
inline constexpr uint32_t Insecure = 32;
inline constexpr uint32_t Other = 64;
} // namespace CertificateProblem
struct NavigationFailedArgs {
    std::string Uri;
    int WebErrorStatus = 0;
    // Non-zero when the site's certificate was refused: the page never loaded.
    uint32_t CertificateProblems = 0;
    // The refused certificate's subject, as the site sent it.
    std::string CertificateSubject = {};
};
struct NewWindowRequestedArgs {
    std::string Uri;
    std::string Referrer;
    // The user input (a click, a key press in the view) that led to the
    // request: a number that changes with every such input; 0 when none did.
    uint64_t UserGesture = 0;
    // A link the user clicked with the middle button or with Ctrl: it opens
    // behind the current tab, and only a web address opens at all.
    bool InBackground = false;
    bool Handled = false;
};
// The page's own prompt(): the page waits until Reply runs (once; later calls
// and calls after the view has gone do nothing). Nobody replying leaves the
// page with null when the event returns with Handled false.
struct PromptRequestedArgs {
    std::string Message;
    std::string DefaultText;
    std::function<void(std::optional<std::string>)> Reply = {};
    bool Handled = false;
};
// What a page asks to use.
enum class PermissionKind { Notifications, Geolocation, Camera, Microphone, CameraAndMicrophone, ClipboardRead,
                            PointerLock };
// A page's request for a permission. Answer runs once (later calls, and calls
// after the view has gone, do nothing); a request nobody handles is denied
// when the event returns.
struct PermissionRequestedArgs {
    // The requesting page's origin ("https://host:port").
    std::string Origin;
    PermissionKind Kind = PermissionKind::Notifications;
    std::function<void(bool allow)> Answer = {};
    bool Handled = false;
};
// What a search in the page found: the text searched and how often it occurs
// (0 when nowhere). A search that stopped early saw Matches and knows there
// are more.
struct FindResultArgs {
    std::string Text;
    uint32_t Matches = 0;
    bool MoreThanMatches = false;
};
// The page's beforeunload handler asks whether the user really means to
// leave it (the engine asks only once the user has used the page). Answer
// runs once (later calls, and calls after the view has gone, do nothing):
// true lets the page go. A request nobody handles lets the page go when the
// event returns.
struct LeaveRequestedArgs {
    std::function<void(bool leave)> Answer = {};
    bool Handled = false;
};
// What the committed page's connection is: https with a certificate the
// engine accepted, plain http, or neither (the browser's own pages, blank
// pages, local files, a load that failed).
enum class PageSecurity { None, Secure, NotSecure };
struct UnviewableContentArgs {
    std::string Uri;
    std::string MediaType;
};

// An object page script may call by name (the bridge). Calls arrive on the
// user-interface thread; a method that returns nothing yields nullopt.
//
// What a web view adapter does with an object added under NAME:
// - Page script sees a global NAME in every top-level page from document
//   start, before the page's own scripts run, with one function per method.
//   Arguments reach Invoke as text: strings as they are, numbers in decimal
//   ("12", "12.5"), undefined and null as "", anything else as JavaScript's
//   String() gives it.
// - Methods whose result the page does not wait for (NAME.wAlert, wContextMenu,
//   wMousePosX, wMousePosY) may be posted through a script message handler
//   and handed to Invoke; their result is dropped.
// - Methods the page waits for (wConfirm, wConfirmClicked, wConfirmSelected)
//   go through a synchronous channel (a prompt() the adapter recognises and
//   answers itself; the page's own prompt() calls keep reaching the user) and
//   are handed to InvokeWithReply. The page stays blocked until reply runs;
//   reply's text (empty for nullopt) is what the page function returns
//   ("true"/"false" become booleans).
// - reply runs exactly once, on the user-interface thread, possibly much
//   later (wConfirm replies when the user has answered its dialog) and
//   possibly after the page or the view has gone: the adapter must then
//   drop it quietly.
// - Adding an object under a name that already has one replaces it for the
//   next page; a call from the old page may still reach the old object.
// - Over links and images the engine's own context menu stays away: the
//   page's hooks report the right-click to wContextMenu and the browser shows
//   its own pop-up. Elsewhere (text, editable fields) the engine's menu stays.
class WebAllowedObject {
public:
    virtual ~WebAllowedObject() = default;
    virtual std::optional<std::string> Invoke(const std::string& method, const std::vector<std::string>& arguments) = 0;
    // The same call for a page that waits for it; see above. By default the
    // reply is Invoke's result, at once.
    virtual void InvokeWithReply(const std::string& method, const std::vector<std::string>& arguments,
                                 std::function<void(std::optional<std::string>)> reply)
    {
        auto result = Invoke(method, arguments);
        if (reply)
            reply(std::move(result));
    }
};

class WebView : public ui::Element {
public:
    ui::ElementKind Kind() const override { return ui::ElementKind::WebView; }

    virtual void Navigate(const Uri& uri) = 0;
    // The absolute URI text of the page shown or loading; empty before any.
    virtual std::string Source() const = 0;
    virtual std::string DocumentTitle() const = 0;
    virtual bool CanGoBack() const = 0;
    virtual void GoBack() = 0;
    virtual bool CanGoForward() const = 0;
    virtual void GoForward() = 0;
    // Stops the load in progress; nothing when none is.
    virtual void StopLoading() = 0;

    // Searches the page for text, ignoring case and wrapping at the end: the
    // first match from where the last search stood selected, the matches it
    // counted highlighted, TextFound raised with their number. On a page big
    // enough to make the engine's counting slow it stops early and says so.
    // An empty text clears the search.
    virtual void FindText(const std::string& text) = 0;
    // Counts the text in the page as FindText matches it, without selecting
    // or highlighting: FindCounted with the total (nothing when the page
    // cannot be read). Asked first, it answers before the search.
    virtual void CountMatches(const std::string& text) = 0;
    // The next (or previous) match of the last FindText, wrapping.
    virtual void FindNext(bool backwards) = 0;
    // Clears the highlight of the last search.
    virtual void FindFinished() = 0;
    // The system's print dialog for the page (printing to a PDF file included).
    virtual void Print() = 0;
    // Prints the page as PDF to the file at the absolute path, without a
    // dialog and with no printer needed. done(true) once the file is written;
    // done(false) when printing failed or left no file. done never runs after
    // the view has gone.
    virtual void PrintToFile(const std::string& path, std::function<void(bool printed)> done) = 0;
    // Opens the web inspector for the page, or closes it when it is open.
    virtual void ToggleInspector() = 0;
    // The bytes the page's main resource arrived with; nullopt when there are
    // none (nothing loaded, or the view went first).
    virtual void ReadMainResource(std::function<void(std::optional<std::string>)> done) = 0;
    virtual bool ContainsFullScreenElement() const = 0;
    // Loads the page shown again.
    virtual void Refresh() = 0;
    // The committed page's connection, known from ContentLoading on; None
    // again once a load fails.
    virtual PageSecurity Security() const = 0;
    // Asks the page whether it may close (its beforeunload runs, and may
    // raise LeaveRequested). CloseRequested follows once it may; a page the
    // user keeps raises nothing, and neither does a page too busy to answer.
    virtual void TryClose() = 0;

    // "eval" with one argument runs that script; any other name calls that
    // page function with the arguments as strings. done gets the result as
    // text, or nullopt when the script failed.
    virtual void InvokeScriptAsync(const std::string& functionName, const std::vector<std::string>& arguments,
                                   std::function<void(std::optional<std::string>)> done = {}) = 0;
    virtual void AddWebAllowedObject(const std::string& name, std::shared_ptr<WebAllowedObject> object) = 0;
    virtual void Focus(ui::FocusState how) = 0;

    ui::Event<WebView&, NavigationStartingArgs&> NavigationStarting;
    ui::Event<WebView&, const ContentLoadingArgs&> ContentLoading;
    ui::Event<WebView&, const NavigationCompletedArgs&> NavigationCompleted;
    ui::Event<WebView&, const NavigationCompletedArgs&> FrameNavigationCompleted;
    ui::Event<WebView&, const NavigationFailedArgs&> NavigationFailed;
    ui::Event<WebView&, NewWindowRequestedArgs&> NewWindowRequested;
    ui::Event<WebView&, const UnviewableContentArgs&> UnviewableContentIdentified;
    ui::Event<WebView&> ContainsFullScreenElementChanged;
    // The title can arrive after the load finished.
    ui::Event<WebView&> DocumentTitleChanged;
    // The user asked for a context menu in the page (a right-click, the menu
    // key): the engine's own event, raised whatever the page's scripts do
    // with it, and never by a script.
    ui::Event<WebView&> ContextMenuGesture;
    // The page called prompt() (never the bridge's own channel).
    ui::Event<WebView&, PromptRequestedArgs&> PromptRequested;
    // The page asked for one of the permissions above; any other kind of
    // request the adapter denies itself.
    ui::Event<WebView&, PermissionRequestedArgs&> PermissionRequested;
    // Answers come in the order asked, each naming the text it is for.
    ui::Event<WebView&, const FindResultArgs&> TextFound;
    ui::Event<WebView&, const FindResultArgs&> FindCounted;
    ui::Event<WebView&, LeaveRequestedArgs&> LeaveRequested;
    // The page agreed to close after TryClose.
    ui::Event<WebView&> CloseRequested;
};

enum class BrowsingSession { Normal, Private };

class WebViews {
public:
    virtual ~WebViews() = default;
    // Private views share one ephemeral session: nothing reaches the disk.
    virtual std::unique_ptr<WebView> Create(BrowsingSession session) = 0;
    // Empties the memory and disk cache of the normal session; started, not
    // awaited (a failure is the adapter's to report).
    virtual void ClearTemporaryWebData() = 0;
    // Serves an HTML document the browser made (a page's source) at an
    // address of the browser's own scheme, for any of its views to open. Only
    // the last few stay served.
    virtual std::string PublishPage(const std::string& html) = 0;
};

} // namespace platform
