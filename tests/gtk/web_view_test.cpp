// The web view adapter against the real engine and a local server: every
// event is recorded as one line, and each test checks the exact sequence.
#include <set>
#include <string>

#include "tests/gtk/web_view_fixture.h"

namespace {

using platform::BrowsingSession;
using namespace gtktests;

class WebViewTest : public WebViewFixture {
protected:
    static void SetUpTestSuite()
    {
        StartServer({
            {"/page", {"<html><head><title>Hello</title></head><body>hello</body></html>"}},
            {"/other", {"<html><head><title>Other</title></head><body>other</body></html>"}},
            {"/late-title", {"<html><body>late<script>window.addEventListener('load', function () {"
                             " setTimeout(function () { document.title = 'Late'; }, 300); });</script></body></html>"}},
            {"/slow", {.Body = {}, .Hangs = true}},
            {"/frames", {"<html><body><iframe src=\"/page\"></iframe></body></html>"}},
            {"/popup-on-load", {"<html><body><script>window.addEventListener('load', function () {"
                                " window.open('/other'); });</script></body></html>"}},
            {"/opener", {"<html><body><button id=\"many\" onclick=\"for (var i = 0; i < 30; i++)"
                         " window.open('/other?' + i)\">thirty</button><br>"
                         "<a id=\"blank\" target=\"_blank\" href=\"/page\">page</a></body></html>"}},
            {"/functions", {"<html><body><script>function join(a, b) { return a + '|' + b; }</script></body></html>"}},
            {"/file.bin", {std::string("\x01\x02\x03\x00\x04", 5), "application/octet-stream"}},
            {"/saved.html", {"<html><body>saved</body></html>", "text/html",
                             {{"Content-Disposition", "attachment; filename=\"saved.html\""}}}},
        });
    }
    static void TearDownTestSuite() { StopServer(); }
};

TEST_F(WebViewTest, SuccessfulLoadRaisesStartingContentLoadingAndCompletedInOrder)
{
    EventLog log;
    auto& view = NewView(log);
    EXPECT_EQ(view.Source() + view.DocumentTitle(), "");
    Go(view, Url("/page"));
    ASSERT_TRUE(WaitForLine(log, "Completed"));
    EXPECT_EQ(log.Loads(), (Lines{"Starting " + Url("/page"), "ContentLoading " + Url("/page"), "Completed " + Url("/page")}));
    ASSERT_TRUE(WaitForLine(log, "Title Hello"));
    EXPECT_EQ(view.Source(), Url("/page"));
    EXPECT_FALSE(view.CanGoBack());

    // A title set after the load finished still reaches listeners, later.
    log.All.clear();
    Go(view, Url("/late-title"));
    ASSERT_TRUE(WaitForLine(log, "Title Late"));
    EXPECT_EQ(log.All.back(), "Title Late");
    EXPECT_TRUE(log.Has("Completed " + Url("/late-title")));
    EXPECT_TRUE(view.CanGoBack());
    EXPECT_FALSE(view.CanGoForward());
}

// Refused by the server, or by the engine before it contacts one (ports
// browsers block, where the engine shows an empty document and says nothing).
TEST_F(WebViewTest, RefusedAddressesFailOnceWithoutAnErrorPageOrAnEmptyOne)
{
    struct Case {
        std::string Address;
        int Status;
        bool SourceKept; // nothing was committed
    };
    const Case cases[] = {
        {"http://127.0.0.1:" + std::to_string(UnusedPort()) + "/", G_IO_ERROR_CONNECTION_REFUSED, true},
        {"http://127.0.0.1:6000/x?y", WEBKIT_POLICY_ERROR_CANNOT_USE_RESTRICTED_PORT, false},
    };
    for (const auto& c : cases) {
        EventLog log;
        auto& view = NewView(log);
        Go(view, Url("/page"));
        ASSERT_TRUE(WaitForLine(log, "Completed"));
        log.All.clear();
        int status = 0;
        view.NavigationFailed.Subscribe(
            [&](platform::WebView&, const platform::NavigationFailedArgs& a) { status = a.WebErrorStatus; });

        Go(view, c.Address);
        ASSERT_TRUE(WaitForLine(log, "CompletedWithError")) << c.Address;
        Settle(500);
        // An error page of the engine's would be a second load: there is none.
        EXPECT_EQ(log.Loads(), (Lines{"Starting " + c.Address, "Failed " + c.Address, "CompletedWithError " + c.Address}));
        EXPECT_EQ(status, c.Status) << c.Address;
        if (c.SourceKept) {
            EXPECT_EQ(view.Source(), Url("/page"));
            EXPECT_EQ(view.DocumentTitle(), "Hello");
        }
    }

    // An empty document asked for is a page like any other.
    EventLog log;
    auto& view = NewView(log);
    Go(view, "about:blank");
    ASSERT_TRUE(WaitForLine(log, "Completed"));
    EXPECT_EQ(log.Loads(), (Lines{"Starting about:blank", "ContentLoading about:blank", "Completed about:blank"}));
}

// Replaced by a newer navigation, or cancelled by a handler at the start.
TEST_F(WebViewTest, LoadsDroppedBeforeContentAreNeitherFailedNorCompleted)
{
    EventLog log;
    auto& view = NewView(log);
    Go(view, Url("/slow"));
    ASSERT_TRUE(WaitForLine(log, "Starting " + Url("/slow")));
    Go(view, Url("/page"));
    ASSERT_TRUE(WaitForLine(log, "Completed"));
    Settle(300);
    EXPECT_EQ(log.Loads(), (Lines{"Starting " + Url("/slow"), "Starting " + Url("/page"), "ContentLoading " + Url("/page"),
                                  "Completed " + Url("/page")}));

    log.All.clear();
    view.NavigationStarting.Subscribe([](platform::WebView&, platform::NavigationStartingArgs& a) { a.Cancel = true; });
    Go(view, Url("/other"));
    ASSERT_TRUE(WaitForLine(log, "Starting"));
    Settle(1000);
    EXPECT_EQ(log.Loads(), (Lines{"Starting " + Url("/other")}));
}

TEST_F(WebViewTest, ApplicationPagesComeFromTheBundle)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Square150x150Logo.png", "Completed"}, // shown as an image, not unviewable
        {"NoSuchPage.htm", "Failed"},
        {"wPageError_PT.htm", "Completed"},
    };
    for (const auto& [file, outcome] : cases) {
        EventLog log;
        auto& view = NewView(log);
        const std::string address = "ms-appx-web:///Assets/" + file;
        Go(view, address);
        ASSERT_TRUE(WaitUntil([&] { return log.Has("Completed") || log.Has("Unviewable"); })) << address;
        EXPECT_TRUE(log.Has(outcome + " " + address)) << testing::PrintToString(log.All);
    }
    ASSERT_TRUE(WaitUntil([&] { return m_views.back()->DocumentTitle() == "Não foi possível abrir esta página"; }));
}

TEST_F(WebViewTest, ScriptsReturnTheirResultAsTextAndFailuresAsNothing)
{
    EventLog log;
    auto& view = NewView(log);
    Go(view, Url("/functions"));
    ASSERT_TRUE(WaitForLine(log, "Completed"));

    EXPECT_EQ(Eval(view, "1+1"), "2");
    EXPECT_EQ(Eval(view, "throw new Error('boom')"), std::nullopt);
    EXPECT_EQ(Eval(view, "1 +"), std::nullopt);
    EXPECT_EQ(RunScript(view, "eval", {}), std::nullopt);
    // Named functions get their arguments as strings, quotes and all.
    EXPECT_EQ(RunScript(view, "join", {"it's \"x\"", "ü"}), "it's \"x\"|ü");
    EXPECT_EQ(RunScript(view, "noSuchFunction", {"x"}), std::nullopt);

    // A reply that comes after the view is gone reaches nobody.
    bool answered = false;
    view.InvokeScriptAsync("eval", {"var t = Date.now(); while (Date.now() - t < 300) {} 42"},
                           [&](std::optional<std::string>) { answered = true; });
    CloseViews();
    Settle(1000);
    EXPECT_FALSE(answered);
}

// Pages open in tabs the system manages, one per gesture: requests say which
// press led to them, and the engine never gets a window.
TEST_F(WebViewTest, NewWindowsBecomeRequestsCarryingThePressBehindThem)
{
    EventLog log;
    auto& view = NewView(log);
    std::vector<uint64_t> gestures;
    view.NewWindowRequested.Subscribe(
        [&](platform::WebView&, platform::NewWindowRequestedArgs& a) { gestures.push_back(a.UserGesture); });
    // Without a user gesture the engine blocks the pop-up: nothing to report.
    Go(view, Url("/popup-on-load"));
    ASSERT_TRUE(WaitForLine(log, "Completed"));
    Settle(500);
    EXPECT_FALSE(log.Has("NewWindow"));

    Go(view, Url("/opener"));
    ASSERT_TRUE(WaitForLine(log, "Completed " + Url("/opener")));
    EXPECT_EQ(Eval(view, "String(window.open('/page'))"), "null");
    EXPECT_TRUE(log.Has("NewWindow " + Url("/page")));
    EXPECT_EQ(view.Source(), Url("/opener"));
    gestures.clear();
    RealClick(view, "many");
    ASSERT_TRUE(WaitUntil([&] { return gestures.size() >= 30; }));
    RealClick(view, "blank");
    ASSERT_TRUE(WaitUntil([&] { return gestures.size() >= 31; }));
    Eval(view, "document.getElementById('blank').focus(); 0");
    RealKey(view, "Return");
    ASSERT_TRUE(WaitUntil([&] { return gestures.size() >= 32; }));
    Settle(300);
    ASSERT_EQ(gestures.size(), 32u);
    EXPECT_TRUE(log.Has("NewWindow " + Url("/other?29")));
    // Thirty window.open calls in one click handler: thirty requests, one number.
    EXPECT_EQ(std::vector<uint64_t>(gestures.begin(), gestures.begin() + 30), std::vector<uint64_t>(30, gestures[0]));
    // The click and the key press on the target=_blank link have numbers of their own.
    EXPECT_EQ((std::set<uint64_t>{gestures[0], gestures[30], gestures[31], 0}).size(), 4u);
    EXPECT_EQ(view.Source(), Url("/opener"));
}

TEST_F(WebViewTest, ContentTheViewCannotShowIsReportedAndNotLoaded)
{
    EventLog log;
    auto& view = NewView(log);
    Go(view, Url("/page"));
    ASSERT_TRUE(WaitForLine(log, "Completed"));
    log.All.clear();

    struct Case {
        const char* Path;
        const char* MediaType;
    };
    // A type the engine cannot show, and a page the server wants saved.
    for (const Case c : {Case{"/file.bin", "application/octet-stream"}, Case{"/saved.html", "text/html"}}) {
        log.All.clear();
        Go(view, Url(c.Path));
        ASSERT_TRUE(WaitForLine(log, "Unviewable")) << c.Path;
        Settle(500);
        EXPECT_EQ(log.Loads(), (Lines{"Starting " + Url(c.Path), std::string("Unviewable ") + c.MediaType + " " + Url(c.Path)}));
        EXPECT_EQ(view.Source(), Url("/page"));
    }
}

TEST_F(WebViewTest, SubFrameCompletionIsReportedApartFromTheMainFrame)
{
    EventLog log;
    auto& view = NewView(log);
    Go(view, Url("/frames"));
    ASSERT_TRUE(WaitForLine(log, "Completed"));
    ASSERT_TRUE(WaitForLine(log, "FrameCompleted"));
    EXPECT_TRUE(log.Has("FrameCompleted " + Url("/page")));
    EXPECT_TRUE(log.Has("Completed " + Url("/frames")));

    // The frame channel lives in a world of its own: page script cannot fake it.
    EXPECT_EQ(Eval(view, "typeof window.webkit.messageHandlers.tolvaneFrame"), "undefined");
}

TEST_F(WebViewTest, FullScreenElementIsTracked)
{
    EventLog log;
    auto& view = NewView(log);
    Go(view, Url("/page"));
    ASSERT_TRUE(WaitForLine(log, "Completed"));
    EXPECT_FALSE(view.ContainsFullScreenElement());

    Eval(view, "document.documentElement.requestFullscreen(); 0");
    ASSERT_TRUE(WaitForLine(log, "FullScreen on"));
    EXPECT_TRUE(view.ContainsFullScreenElement());
    Eval(view, "document.exitFullscreen(); 0");
    ASSERT_TRUE(WaitForLine(log, "FullScreen off"));
    EXPECT_FALSE(view.ContainsFullScreenElement());
    // Without a window manager the engine never sees the window change state
    // and finishes the transition on a fallback timer; a view destroyed before
    // that timer fires crashes the engine later. Let it finish.
    Settle(2000);
}

TEST_F(WebViewTest, PrivateViewsShareOneEphemeralSessionFromTheStart)
{
    EventLog log;
    auto& first = NewView(log, BrowsingSession::Private);
    auto& second = NewView(log, BrowsingSession::Private);
    auto& normal = NewView(log, BrowsingSession::Normal);

    WebKitNetworkSession* firstSession = webkit_web_view_get_network_session(first.Engine());
    EXPECT_TRUE(webkit_network_session_is_ephemeral(firstSession));
    EXPECT_EQ(webkit_web_view_get_network_session(second.Engine()), firstSession);
    EXPECT_FALSE(webkit_network_session_is_ephemeral(webkit_web_view_get_network_session(normal.Engine())));
    EXPECT_EQ(webkit_web_view_get_context(normal.Engine()), webkit_web_view_get_context(first.Engine()));
}

} // namespace
