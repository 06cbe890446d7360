// The web view adapter against the real engine and a local server: every
// event is recorded as one line, and each test checks the exact sequence.
#include <set>

#include "tests/gtk/web_view_fixture.h"

namespace {

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
            {"/file.bin", {std::string("\x01\x02\x03\x00\x04", 5), "application/octet-stream"}},
        });
    }
    static void TearDownTestSuite() { StopServer(); }
};

TEST_F(WebViewTest, ViewEventsComeInOrderAndScriptsAnswerInThePage)
{
    EventLog log;
    auto& view = NewView(log);
    EXPECT_EQ(view.Source() + view.DocumentTitle(), "");
    for (const std::string& address : {std::string("about:blank"), Url("/page")}) { // an empty page asked for is a page
        log.All.clear();
        Go(view, address);
        ASSERT_TRUE(WaitForLine(log, "Completed"));
        EXPECT_EQ(log.Loads(), (Lines{"Starting " + address, "ContentLoading " + address, "Completed " + address}));
    }
    ASSERT_TRUE(WaitForLine(log, "Title Hello"));
    EXPECT_EQ(view.Source(), Url("/page"));

    // A title set after the load finished still reaches listeners, later.
    log.All.clear();
    Go(view, Url("/late-title"));
    ASSERT_TRUE(WaitForLine(log, "Title Late"));
    EXPECT_EQ(log.All.back(), "Title Late");
    EXPECT_TRUE(log.Has("Completed " + Url("/late-title")));
    EXPECT_EQ(std::pair(view.CanGoBack(), view.CanGoForward()), std::pair(true, false));

    // A sub-frame's completion is reported apart, by a channel in a world of
    // its own that page script cannot fake.
    Go(view, Url("/frames"));
    ASSERT_TRUE(WaitForLine(log, "Completed " + Url("/frames")));
    ASSERT_TRUE(WaitForLine(log, "FrameCompleted " + Url("/page")));
    EXPECT_EQ(Eval(view, "typeof window.webkit.messageHandlers.tolvaneFrame"), "undefined");

    // The bundle's pages keep their encoding (the real binary's error page is
    // the English one).
    const std::string bundled = "ms-appx-web:///Assets/wPageError_PT.htm";
    Go(view, bundled);
    ASSERT_TRUE(WaitForLine(log, "Completed " + bundled));
    ASSERT_TRUE(WaitUntil([&] { return view.DocumentTitle() == "N\u00e3o foi poss\u00edvel abrir esta p\u00e1gina"; }));

    // Scripts answer with text, or nothing when they fail; an answer that
    // comes after the view is gone reaches nobody.
    EXPECT_EQ(Eval(view, "'\u00fc' + (1+1)"), "\u00fc2");
    EXPECT_EQ(Eval(view, "throw new Error('boom')"), std::nullopt);
    EXPECT_EQ(Eval(view, "1 +"), std::nullopt);
    bool answered = false;
    view.InvokeScriptAsync("eval", {"var t = Date.now(); while (Date.now() - t < 300) {} 42"},
                           [&](std::optional<std::string>) { answered = true; });
    CloseViews();
    Settle(1000);
    EXPECT_FALSE(answered);
}

// A port browsers block (the engine would show an empty document and say
// nothing) and content the view cannot show: each says so once, and no page
// of the engine's replaces the one shown. The real browser's run covers a
// refused load and a saved attachment.
TEST_F(WebViewTest, LoadsThatShowNoPageSaySoOnce)
{
    const std::string blocked = "http://127.0.0.1:6000/x?y", binary = Url("/file.bin");
    const std::pair<std::string, Lines> cases[] = {
        {blocked, {"Starting " + blocked, "Failed " + blocked, "CompletedWithError " + blocked}},
        {binary, {"Starting " + binary, "Unviewable application/octet-stream " + binary}},
    };
    for (const auto& [address, events] : cases) {
        EventLog log;
        auto& view = NewView(log);
        Go(view, Url("/page"));
        ASSERT_TRUE(WaitForLine(log, "Completed"));
        log.All.clear();
        Go(view, address);
        ASSERT_TRUE(WaitUntil([&] { return log.Loads().size() >= events.size(); })) << address;
        Settle(500);
        EXPECT_EQ(log.Loads(), events) << address;
    }
    EXPECT_EQ(m_views.back()->Source() + " " + m_views.back()->DocumentTitle(), Url("/page") + " Hello");
}

TEST_F(WebViewTest, ALoadReplacedBeforeContentIsNeitherFailedNorCompleted)
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

TEST_F(WebViewTest, PrivateViewsShareOneEphemeralSessionFromTheStart)
{
    EventLog log;
    auto& first = NewView(log, platform::BrowsingSession::Private);
    auto& second = NewView(log, platform::BrowsingSession::Private);
    auto& normal = NewView(log, platform::BrowsingSession::Normal);

    WebKitNetworkSession* firstSession = webkit_web_view_get_network_session(first.Engine());
    EXPECT_TRUE(webkit_network_session_is_ephemeral(firstSession));
    EXPECT_EQ(webkit_web_view_get_network_session(second.Engine()), firstSession);
    EXPECT_FALSE(webkit_network_session_is_ephemeral(webkit_web_view_get_network_session(normal.Engine())));
    EXPECT_EQ(webkit_web_view_get_context(normal.Engine()), webkit_web_view_get_context(first.Engine()));
}

} // namespace
