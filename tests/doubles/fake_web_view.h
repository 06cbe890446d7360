#pragma once
// A web view that records what the system asks of it and raises its events
// when a test says so, in the order the real engine raises them:
//
//   start → content loading → (title) → completed            CompleteNavigation
//   start → failed → completed with IsSuccess false           FailNavigation
//   start, cancelled by a handler → nothing more              (any of them)
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/web_view.h"

namespace doubles {

struct InvokedScript {
    std::string Function;
    std::vector<std::string> Arguments;
    std::function<void(std::optional<std::string>)> Done;
};

class FakeWebView : public platform::WebView {
public:
    explicit FakeWebView(platform::BrowsingSession session = platform::BrowsingSession::Normal)
        : Session(session)
    {
    }
    ~FakeWebView() override;

    // --- What the system calls ---------------------------------------------
    void Navigate(const platform::Uri& uri) override;
    std::string Source() const override { return SourceUri; }
    std::string DocumentTitle() const override { return Title; }
    bool CanGoBack() const override { return BackAvailable; }
    void GoBack() override { ++GoBackCalls; }
    bool CanGoForward() const override { return ForwardAvailable; }
    void GoForward() override { ++GoForwardCalls; }
    void StopLoading() override {}
    void FindText(const std::string& text) override { Found.push_back(text); }
    void CountMatches(const std::string& text) override { Found.push_back("<count>" + text); }
    void FindNext(bool backwards) override { Found.push_back(backwards ? "<previous>" : "<next>"); }
    void FindFinished() override { Found.push_back("<finished>"); }
    void Print() override {}
    void PrintToFile(const std::string&, std::function<void(bool)> done) override { done(false); }
    void ToggleInspector() override {}
    void ReadMainResource(std::function<void(std::optional<std::string>)> done) override { done(std::nullopt); }
    // The searches asked of the view, in order ("<count>text", "<next>",
    // "<previous>", "<finished>").
    std::vector<std::string> Found;
    bool ContainsFullScreenElement() const override { return FullScreenElement; }
    void Refresh() override { ++RefreshCalls; }
    platform::PageSecurity Security() const override { return CommittedSecurity; }
    // As the page's beforeunload has it (Unload below).
    void TryClose() override;
    void InvokeScriptAsync(const std::string& functionName, const std::vector<std::string>& arguments,
                           std::function<void(std::optional<std::string>)> done = {}) override;
    void AddWebAllowedObject(const std::string& name, std::shared_ptr<platform::WebAllowedObject> object) override;
    void Focus(ui::FocusState how) override;

    // --- What it recorded --------------------------------------------------
    platform::BrowsingSession Session;
    std::vector<std::string> Navigations; // absolute URIs, in call order
    std::vector<InvokedScript> Scripts;
    std::map<std::string, std::shared_ptr<platform::WebAllowedObject>> AllowedObjects;
    int FocusCalls = 0;
    int GoBackCalls = 0;
    int GoForwardCalls = 0;
    int RefreshCalls = 0;
    int TryCloseCalls = 0;

    // --- What it answers (settable) ------------------------------------------
    std::string SourceUri;
    std::string Title;
    bool BackAvailable = false;
    bool ForwardAvailable = false;
    bool FullScreenElement = false;
    // Set by each commit from its scheme, as the engine does; https commits
    // take HttpsSecurity (an accepted certificate unless a test says not).
    platform::PageSecurity CommittedSecurity = platform::PageSecurity::None;
    platform::PageSecurity HttpsSecurity = platform::PageSecurity::Secure;
    // What TryClose meets: no handler (the page goes at once), a handler that
    // asks the user (LeaveRequested), or a page too busy to answer.
    enum class Unload { GoesAtOnce, Asks, NeverAnswers };
    Unload OnUnload = Unload::GoesAtOnce;

    // --- Events, in the engine's order -----------------------------------------
    // Raises NavigationStarting with uri as the source; true when a handler cancelled.
    bool StartNavigation(const std::string& uri);
    // Commits: the source becomes uri and the title empty, as in the engine.
    void LoadContent(const std::string& uri);
    void ChangeTitle(const std::string& title);
    void FinishNavigation(bool isSuccess = true, int webErrorStatus = 0);
    // The whole successful load; stops early if a handler cancels it.
    void CompleteNavigation(const std::string& uri, const std::string& title);
    // A load that fails before its content arrives; the source stays as it was.
    void FailNavigation(const std::string& uri, int webErrorStatus);
    void CompleteFrameNavigation(const std::string& frameUri);
    // Returns whether a handler marked the request handled.
    bool RequestNewWindow(const std::string& uri, const std::string& referrer = {});
    void IdentifyUnviewableContent(const std::string& uri, const std::string& mediaType);

    // Calls a web-allowed object as page script would; nullopt when no such
    // object was added or the method returns nothing.
    std::optional<std::string> CallAllowedObject(const std::string& name, const std::string& method,
                                                 const std::vector<std::string>& arguments);

    // Shared with the factory: false once the view is destroyed.
    std::shared_ptr<bool> Alive = std::make_shared<bool>(true);

private:
    std::string m_committedUri;
};

struct CreatedWebView {
    FakeWebView* View;                // valid while *Alive
    platform::BrowsingSession Session;
    std::shared_ptr<bool> Alive;
};

class FakeWebViews : public platform::WebViews {
public:
    std::unique_ptr<platform::WebView> Create(platform::BrowsingSession session) override;
    void ClearTemporaryWebData() override { ++TemporaryDataClears; }
    std::string PublishPage(const std::string& html) override
    {
        Published.push_back(html);
        return "ms-appx-web:///generated/" + std::to_string(Published.size());
    }
    std::vector<std::string> Published;
    int TemporaryDataClears = 0;

    // Every view created, in order, destroyed ones included.
    std::vector<CreatedWebView> Created;
    FakeWebView& Last() const;
};

} // namespace doubles
