// Web-allowed objects in real pages: which channel each call takes, what the
// page gets back and when, what a page cannot forge, and what a flood or a
// view that goes mid-call does.
#include <gtest/gtest.h>
#include <webkit/webkit.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "bridge/page_scripts.h"
#include "platform/gtk/bridge_channel.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/signal_connection.h"
#include "platform/gtk/source_holder.h"
#include "tests/gtk/web_view_fixture.h"

namespace {

using namespace gtktests;
using Texts = std::vector<std::string>;
using Reply = std::function<void(std::optional<std::string>)>;

struct Call {
    std::string Channel; // "post" (Invoke) or "prompt" (InvokeWithReply)
    std::string Method;
    Texts Arguments;
    bool operator==(const Call&) const = default;
};

void PrintTo(const Call& call, std::ostream* out)
{
    *out << call.Channel << " " << call.Method << testing::PrintToString(call.Arguments);
}

// Records every call with the channel it came by. A method in Held waits for
// the test to answer it; any other is answered at once from Replies.
class TestObject : public platform::WebAllowedObject {
public:
    std::vector<Call> Calls;
    std::map<std::string, std::optional<std::string>> Replies;
    std::set<std::string> HeldMethods;
    std::vector<Reply> Held;
    std::function<void()> Work; // what each call costs the object
    std::vector<gint64> At;     // when each call came, on the monotonic clock

    std::optional<std::string> Invoke(const std::string& method, const Texts& arguments) override
    {
        Calls.push_back({"post", method, arguments});
        At.push_back(g_get_monotonic_time());
        if (Work)
            Work();
        return Result(method);
    }
    void InvokeWithReply(const std::string& method, const Texts& arguments, Reply reply) override
    {
        Calls.push_back({"prompt", method, arguments});
        At.push_back(g_get_monotonic_time());
        if (HeldMethods.count(method))
            Held.push_back(std::move(reply));
        else
            reply(Result(method));
    }

private:
    std::optional<std::string> Result(const std::string& method) const
    {
        auto found = Replies.find(method);
        return found == Replies.end() ? std::nullopt : found->second;
    }
};

const char* const BridgePage = "<html><head><title>Bridge</title></head><body>"
                               "<p id=\"text\">plain text</p>"
                               "<a id=\"link\" href=\"/page\">a link</a> "
                               "<img id=\"image\" src=\"/image.svg\" width=\"40\" height=\"40\">"
                               "<input id=\"field\">"
                               "<p id=\"quiet\" oncontextmenu=\"event.preventDefault(); wScriptNotify.wAlert('prevented')\">no menu here</p>"
                               "</body></html>";

std::map<std::string, Route> Routes()
{
    std::map<std::string, Route> routes;
    routes["/page"] = Html("<html><head><title>Page</title></head><body>page</body></html>");
    routes["/bridge"] = Html(BridgePage);
    routes["/image.svg"] = Html("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"40\">"
                                "<rect width=\"40\" height=\"40\" fill=\"teal\"/></svg>");
    routes["/image.svg"].ContentType = "image/svg+xml";
    routes["/frames"] = Html("<html><body><iframe src=\"/page\"></iframe></body></html>");
    // The page's own script runs after the object is defined.
    routes["/early"] = Html("<html><body><script>wScriptNotify.wAlert('early');</script></body></html>");
    return routes;
}

class BridgeTest : public WebViewFixture {
protected:
    static void SetUpTestSuite() { StartServer(Routes()); }
    static void TearDownTestSuite() { StopServer(); }

    // A view showing `path` with a fresh test object as wScriptNotify.
    gtkui::WebKitWebView& BridgedView(const std::string& path = "/bridge")
    {
        auto& view = NewView(m_log);
        view.AddWebAllowedObject("wScriptNotify", Object);
        // The engine's context-menu gesture, in order among the calls.
        view.ContextMenuGesture.Subscribe([this](platform::WebView&) {
            Object->Calls.push_back({"engine", "ContextMenuGesture", {}});
            Object->At.push_back(g_get_monotonic_time());
        });
        Load(view, path);
        return view;
    }
    void Load(gtkui::WebKitWebView& view, const std::string& path)
    {
        m_log.All.clear();
        Go(view, Url(path));
        ASSERT_TRUE(WaitForLine(m_log, "Completed " + Url(path)));
    }
    static std::optional<std::string> Eval(platform::WebView& view, const std::string& script)
    {
        return RunScript(view, "eval", {script});
    }
    // Runs a script that will block, without waiting for it.
    static void Start(platform::WebView& view, const std::string& script, bool& done, std::optional<std::string>& result)
    {
        view.InvokeScriptAsync("eval", {script}, [&done, &result](std::optional<std::string> r) {
            done = true;
            result = std::move(r);
        });
    }

    std::shared_ptr<TestObject> Object = std::make_shared<TestObject>();
    EventLog m_log;
};

TEST_F(BridgeTest, ObjectIsInTopPagesFromTheStartOnceAdded)
{
    auto& view = NewView(m_log);
    Load(view, "/frames");
    EXPECT_EQ(Eval(view, "typeof wScriptNotify"), "undefined");

    view.AddWebAllowedObject("wScriptNotify", Object);
    Load(view, "/frames");
    EXPECT_EQ(Eval(view, "Object.keys(wScriptNotify).join()"),
              "wContextMenu,wAlert,wConfirm,wMousePosX,wMousePosY,wConfirmClicked,wConfirmSelected");
    EXPECT_EQ(Eval(view, "typeof frames[0].wScriptNotify"), "undefined");

    // Before any script of the page's own.
    Load(view, "/early");
    ASSERT_TRUE(WaitUntil([&] { return !Object->Calls.empty(); }));
    EXPECT_EQ(Object->Calls.back(), (Call{"post", "wAlert", {"early"}}));

    // A newer object under the name takes the calls (each navigation brings one).
    auto newer = std::make_shared<TestObject>();
    view.AddWebAllowedObject("wScriptNotify", newer);
    Eval(view, "wScriptNotify.wAlert('to newer'); 0");
    ASSERT_TRUE(WaitUntil([&] { return !newer->Calls.empty(); }));
    EXPECT_EQ(newer->Calls, (std::vector<Call>{{"post", "wAlert", {"to newer"}}}));
    EXPECT_EQ(Object->Calls.size(), 1u);

    // No object, no name, from the next page on.
    view.AddWebAllowedObject("wScriptNotify", nullptr);
    Load(view, "/page");
    EXPECT_EQ(Eval(view, "typeof wScriptNotify"), "undefined");
}

TEST_F(BridgeTest, ObjectAddedAsTheFirstNavigationStartsIsThereForThatPage)
{
    // As the browser does it: a fresh object at every navigation start, the
    // first one in a view that never had one.
    std::vector<std::shared_ptr<TestObject>> objects;
    auto& view = NewView(m_log);
    view.NavigationStarting.Subscribe([&](platform::WebView& v, platform::NavigationStartingArgs&) {
        objects.push_back(std::make_shared<TestObject>());
        v.AddWebAllowedObject("wScriptNotify", objects.back());
    });
    Load(view, "/early");
    ASSERT_EQ(objects.size(), 1u);
    ASSERT_TRUE(WaitUntil([&] { return !objects[0]->Calls.empty(); }));
    EXPECT_EQ(objects[0]->Calls, (std::vector<Call>{{"post", "wAlert", {"early"}}}));

    Load(view, "/early");
    ASSERT_EQ(objects.size(), 2u);
    ASSERT_TRUE(WaitUntil([&] { return !objects[1]->Calls.empty(); }));
    EXPECT_EQ(objects[0]->Calls.size(), 1u);
}

TEST_F(BridgeTest, PostedCallsArriveAsTextsAndThePageGoesOnAtOnce)
{
    auto& view = BridgedView();
    EXPECT_EQ(Eval(view, "wScriptNotify.wAlert('x'); wScriptNotify.wMousePosX(123); wScriptNotify.wMousePosY(12.5);"
                         "wScriptNotify.wContextMenu(undefined); wScriptNotify.wAlert(null); wScriptNotify.wAlert();"
                         "wScriptNotify.wAlert(true, {toString: function () { return 'object'; }});"
                         "wScriptNotify.wAlert('\\ud800x', 'a\\u0000b'); 'went on'"),
              "went on");
    ASSERT_TRUE(WaitUntil([&] { return Object->Calls.size() == 8; }));
    EXPECT_EQ(Object->Calls, (std::vector<Call>{{"post", "wAlert", {"x"}},
                                                {"post", "wMousePosX", {"123"}},
                                                {"post", "wMousePosY", {"12.5"}},
                                                {"post", "wContextMenu", {""}},
                                                {"post", "wAlert", {""}},
                                                {"post", "wAlert", {}},
                                                {"post", "wAlert", {"true", "object"}},
                                                {"post", "wAlert", {"\uFFFDx", std::string("a\0b", 3)}}}));
}

TEST_F(BridgeTest, AwaitedCallBlocksThePageUntilTheObjectReplies)
{
    auto& view = BridgedView();
    Object->HeldMethods = {"wConfirm"};
    bool done = false;
    std::optional<std::string> result;
    Start(view, "var r = wScriptNotify.wConfirm('Sure?'); typeof r + ' ' + r", done, result);
    ASSERT_TRUE(WaitUntil([&] { return Object->Held.size() == 1; }));
    EXPECT_EQ(Object->Calls, (std::vector<Call>{{"prompt", "wConfirm", {"Sure?"}}}));
    EXPECT_EQ(view.PendingBridgePrompts(), 1u);

    // The user takes a while to answer; the page waits for it.
    Settle(300);
    EXPECT_FALSE(done);
    Object->Held[0]("true");
    ASSERT_TRUE(WaitUntil([&] { return done; }));
    EXPECT_EQ(result, "boolean true");
    EXPECT_EQ(view.PendingBridgePrompts(), 0u);

    // A second reply to the same call reaches nothing.
    Object->Held[0]("false");
    EXPECT_EQ(Eval(view, "1"), "1");
}

TEST_F(BridgeTest, AwaitedCallsCarryTextBothWays)
{
    auto& view = BridgedView();
    const std::string tricky = "it's \"ü\" \\ 😀\n\u2028 end";
    struct Case {
        std::optional<std::string> Reply;
        std::string Page; // typeof the result, ':', the result
    };
    const Case cases[] = {
        {"true", "boolean:true"},
        {"false", "boolean:false"},
        {std::nullopt, "undefined:undefined"},
        {"", "string:"},
        {"TRUE", "string:TRUE"},
        {tricky, "string:" + tricky},
    };
    for (const auto& c : cases) {
        Object->Replies["wConfirmSelected"] = c.Reply;
        EXPECT_EQ(Eval(view, "var r = wScriptNotify.wConfirmSelected(); typeof r + ':' + r"), c.Page)
            << c.Reply.value_or("nullopt");
    }

    Object->Calls.clear();
    Eval(view, "wScriptNotify.wConfirmClicked(" + gtkui::JsonQuote(tricky) + ", '\\ud800', 7, null, undefined); 0");
    EXPECT_EQ(Object->Calls,
              (std::vector<Call>{{"prompt", "wConfirmClicked", {tricky, "\uFFFD", "7", "", ""}}}));
}

TEST_F(BridgeTest, ConfirmOverrideReturnsTheAnswerWithoutPolling)
{
    for (const bool yes : {true, false}) {
        Object = std::make_shared<TestObject>();
        Object->HeldMethods = {"wConfirm"};
        Object->Replies = {{"wConfirmClicked", "false"}, {"wConfirmSelected", "false"}};
        auto& view = BridgedView();
        Eval(view, AlertOverrideScript);
        Eval(view, ConfirmOverrideScript);

        bool done = false;
        std::optional<std::string> result;
        Start(view, "var a = confirm('Sure?'); var b = confirm('Again?'); alert('done'); a + ',' + b", done, result);
        ASSERT_TRUE(WaitUntil([&] { return Object->Held.size() == 1; }));
        // The user answers after a while: the answer is in place before the
        // object replies, as the bridge object does it.
        struct Answer {
            TestObject* Object;
            bool Yes;
        } answerData{Object.get(), yes};
        gtkui::SourceHolder answer(g_timeout_add(300, [](gpointer data) -> gboolean {
            auto* a = static_cast<Answer*>(data);
            a->Object->Replies["wConfirmClicked"] = "true";
            a->Object->Replies["wConfirmSelected"] = a->Yes ? "true" : "false";
            a->Object->Held[0](std::nullopt);
            return G_SOURCE_REMOVE;
        }, &answerData));
        ASSERT_TRUE(WaitUntil([&] { return done; }));
        answer.Forget();
        EXPECT_EQ(result, yes ? "true,true" : "false,false");

        // One dialog, one look at the answer per confirm: no busy wait, and
        // the second confirm reuses the first answer.
        ASSERT_TRUE(WaitUntil([&] { return Object->Calls.size() == 6; }));
        EXPECT_EQ(Object->Calls, (std::vector<Call>{{"prompt", "wConfirm", {"Sure?"}},
                                                    {"prompt", "wConfirmClicked", {}},
                                                    {"prompt", "wConfirmSelected", {}},
                                                    {"prompt", "wConfirmClicked", {}},
                                                    {"prompt", "wConfirmSelected", {}},
                                                    {"post", "wAlert", {"done"}}}));
        CloseViews();
    }
}

TEST_F(BridgeTest, InjectedHooksReportRightClicksOnLinksAndImages)
{
    auto& view = BridgedView();
    Eval(view, LinkHookScript);
    Eval(view, ImageHookScript);
    const std::string click = "dispatchEvent(new MouseEvent('contextmenu', {bubbles: true, clientX: 123, clientY: 45})); 0";
    Eval(view, "document.getElementById('link')." + click);
    Eval(view, "document.getElementById('image')." + click);
    Eval(view, "document.getElementById('text')." + click);
    ASSERT_TRUE(WaitUntil([&] { return Object->Calls.size() >= 6; }));
    Settle(200);
    // Script-made events never look like the user's gesture.
    EXPECT_EQ(Object->Calls, (std::vector<Call>{{"post", "wMousePosX", {"123"}},
                                                {"post", "wMousePosY", {"45"}},
                                                {"post", "wContextMenu", {Url("/page")}},
                                                {"post", "wMousePosX", {"123"}},
                                                {"post", "wMousePosY", {"45"}},
                                                {"post", "wContextMenu", {Url("/image.svg") + "&GET_IMG"}}}));
}

// Connected after the adapter's handler, so it sees only the dialogs the
// adapter left to the engine, and answers them as a user would.
struct EngineDialogs {
    std::vector<std::string> Seen;

    static gboolean Answer(::WebKitWebView*, WebKitScriptDialog* dialog, gpointer data)
    {
        auto* self = static_cast<EngineDialogs*>(data);
        std::string seen = webkit_script_dialog_get_message(dialog);
        switch (webkit_script_dialog_get_dialog_type(dialog)) {
        case WEBKIT_SCRIPT_DIALOG_PROMPT:
            seen += std::string(" [") + webkit_script_dialog_prompt_get_default_text(dialog) + "]";
            webkit_script_dialog_prompt_set_text(dialog, "typed");
            break;
        case WEBKIT_SCRIPT_DIALOG_CONFIRM:
            webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
            break;
        default:
            break;
        }
        self->Seen.push_back(seen);
        return TRUE;
    }
};

TEST_F(BridgeTest, PagePromptsAndForgedCallsKeepTheEngineDefault)
{
    auto& view = BridgedView();
    Object->Replies["wConfirmSelected"] = "true";
    EngineDialogs engine;
    gtkui::SignalConnection connection(view.Engine(), g_signal_connect(view.Engine(), "script-dialog",
                                                                       G_CALLBACK(EngineDialogs::Answer), &engine));
    const std::string marker = "'\\x01tolvane-bridge\\x01'";
    const std::string payload = "'\\x01[\"wScriptNotify\",\"wConfirmSelected\"]'";
    struct Case {
        std::string Script;
        std::string Result;
        std::string Seen;
    };
    const Case cases[] = {
        {"prompt('q', 'd')", "typed", "q [d]"},
        {"prompt(" + marker + " + " + payload + ")", "typed", ""},                        // no token
        {"prompt(" + marker + " + '0'.repeat(32) + " + payload + ")", "typed", ""},        // a guessed one
        {"String(confirm('c'))", "true", "c"},  // before the page scripts replace them
        {"String(alert('a'))", "undefined", "a"},
    };
    for (const auto& c : cases) {
        engine.Seen.clear();
        EXPECT_EQ(Eval(view, c.Script), c.Result) << c.Script;
        ASSERT_EQ(engine.Seen.size(), 1u) << c.Script;
        if (!c.Seen.empty()) {
            EXPECT_EQ(engine.Seen[0], c.Seen) << c.Script;
        }
    }

    // Posts without this view's token reach no object.
    Eval(view, "var h = window.webkit.messageHandlers.tolvaneBridge;"
               "h.postMessage({object: 'wScriptNotify', method: 'wAlert', args: ['forged']});"
               "h.postMessage({object: 'wScriptNotify', method: 'wAlert', args: ['forged'], token: 'guess'});"
               "h.postMessage('not an object'); 0");
    Eval(view, "wScriptNotify.wAlert('real'); 0");
    ASSERT_TRUE(WaitUntil([&] { return !Object->Calls.empty(); }));
    Settle(100);
    EXPECT_EQ(Object->Calls, (std::vector<Call>{{"post", "wAlert", {"real"}}}));
}

TEST_F(BridgeTest, PageThatReplacesBuiltInsNeitherInterceptsNorBreaksTheChannel)
{
    auto& view = BridgedView();
    Object->Replies["wConfirmSelected"] = "false";
    Eval(view, "var intercepted = [];"
               "window.prompt = function (m) { intercepted.push(m); return '\"true\"'; };"
               "JSON.stringify = function (v) { intercepted.push(v); return '[]'; };"
               "JSON.parse = function (t) { intercepted.push(t); return 'true'; };"
               "String = function (v) { intercepted.push(v); return 'bent'; };"
               "Object.prototype.toJSON = function () { intercepted.push(this); return {}; };"
               "Function.prototype.bind = function () { intercepted.push(this); return function () {}; };"
               "Function.prototype.call = function () { intercepted.push(this); return 'bent'; };"
               "String.prototype.toWellFormed = function () { intercepted.push(this); return 'bent'; };"
               "wScriptNotify = null; 0");
    EXPECT_EQ(Eval(view, "var r = wScriptNotify.wConfirmSelected(6); typeof r + ':' + r + ':' + intercepted.length"),
              "boolean:false:0");
    Eval(view, "wScriptNotify.wAlert(5); 0");
    ASSERT_TRUE(WaitUntil([&] { return Object->Calls.size() == 2; }));
    EXPECT_EQ(Object->Calls, (std::vector<Call>{{"prompt", "wConfirmSelected", {"6"}}, {"post", "wAlert", {"5"}}}));
}

TEST_F(BridgeTest, FloodOfCallsIsDeliveredWhileTheMainLoopKeepsTurning)
{
    auto& view = BridgedView();
    // Each call costs the object a little, as showing or queueing a dialog does.
    Object->Work = [] { g_usleep(50); };
    struct Progress {
        TestObject* Object;
        int TicksMidFlood = 0;
    } progress{Object.get()};
    gtkui::SourceHolder ticker(g_timeout_add(5, [](gpointer data) -> gboolean {
        auto* p = static_cast<Progress*>(data);
        const size_t received = p->Object->Calls.size();
        if (received > 0 && received < 10000)
            ++p->TicksMidFlood;
        return G_SOURCE_CONTINUE;
    }, &progress));

    EXPECT_EQ(Eval(view, "for (var i = 0; i < 10000; i++) wScriptNotify.wAlert('x' + i); 'posted'"), "posted");
    ASSERT_TRUE(WaitUntil([&] { return Object->Calls.size() >= 10000; }, 120000));
    EXPECT_EQ(Object->Calls.size(), 10000u);
    EXPECT_EQ(Object->Calls.back(), (Call{"post", "wAlert", {"x9999"}}));
    EXPECT_GE(progress.TicksMidFlood, 2);
    RecordProperty("TicksMidFlood", progress.TicksMidFlood);

    // Awaited calls in a loop: each is answered and let go.
    Object->Work = nullptr;
    Object->Replies["wConfirmClicked"] = "true";
    EXPECT_EQ(Eval(view, "var n = 0; for (var i = 0; i < 2000; i++) n += wScriptNotify.wConfirmClicked() === true; n"),
              "2000");
    EXPECT_EQ(view.PendingBridgePrompts(), 0u);
}

TEST_F(BridgeTest, ViewThatGoesWhileThePageWaitsAnswersThePageEmpty)
{
    auto& view = BridgedView();
    Object->HeldMethods = {"wConfirm"};
    Eval(view, "setTimeout(function () { var r = wScriptNotify.wConfirm('Sure?');"
               " document.title = 'answered ' + typeof r; }, 0); 0");
    ASSERT_TRUE(WaitUntil([&] { return Object->Held.size() == 1; }));

    // The adapter goes; the engine's view stays in its window.
    auto engine = gtkui::AddRef(view.Engine());
    m_views.clear();
    ASSERT_TRUE(WaitUntil([&] {
        const char* title = webkit_web_view_get_title(engine.Get());
        return title && std::string(title) == "answered undefined";
    }));
    // The object's reply comes after all: nobody is left to hear it.
    Object->Held[0]("true");

    // And with the page gone too.
    auto& second = BridgedView();
    Object->Held.clear();
    Eval(second, "setTimeout(function () { wScriptNotify.wConfirm('Sure?'); }, 0); 0");
    ASSERT_TRUE(WaitUntil([&] { return Object->Held.size() == 1; }));
    CloseViews();
    engine.Reset();
    Object->Held[0]("true");
    Settle(300);
}

// Connected after the adapter's handler: sees only the menus the adapter let
// through, and keeps them from showing.
struct EngineMenus {
    std::vector<unsigned> Seen;

    static gboolean Record(::WebKitWebView*, WebKitContextMenu*, WebKitHitTestResult* hit, gpointer data)
    {
        static_cast<EngineMenus*>(data)->Seen.push_back(webkit_hit_test_result_get_context(hit));
        return TRUE;
    }
};

TEST_F(BridgeTest, EngineMenuGivesWayOverLinksAndImagesOnly)
{
    auto& view = BridgedView();
    EngineMenus menus;
    gtkui::SignalConnection connection(view.Engine(), g_signal_connect(view.Engine(), "context-menu",
                                                                       G_CALLBACK(EngineMenus::Record), &menus));
    constexpr unsigned Document = WEBKIT_HIT_TEST_RESULT_CONTEXT_DOCUMENT;
    constexpr unsigned Link = WEBKIT_HIT_TEST_RESULT_CONTEXT_LINK;
    constexpr unsigned Image = WEBKIT_HIT_TEST_RESULT_CONTEXT_IMAGE;
    struct Case {
        unsigned Context;
        bool Replaced;
    };
    const Case cases[] = {
        {Document, false},
        {Document | WEBKIT_HIT_TEST_RESULT_CONTEXT_SELECTION, false},
        {Document | WEBKIT_HIT_TEST_RESULT_CONTEXT_EDITABLE, false},
        {Document | WEBKIT_HIT_TEST_RESULT_CONTEXT_MEDIA, false},
        {Document | WEBKIT_HIT_TEST_RESULT_CONTEXT_SCROLLBAR, false},
        {Document | Link, true},
        {Document | Image, true},
        {Document | Link | Image, true},
        {Document | Link | WEBKIT_HIT_TEST_RESULT_CONTEXT_SELECTION, true},
    };
    for (const auto& c : cases) {
        menus.Seen.clear();
        auto hit = gtkui::Adopt(static_cast<WebKitHitTestResult*>(
            g_object_new(WEBKIT_TYPE_HIT_TEST_RESULT, "context", c.Context, nullptr)));
        auto menu = gtkui::Adopt(webkit_context_menu_new());
        gboolean handled = FALSE;
        g_signal_emit_by_name(view.Engine(), "context-menu", menu.Get(), hit.Get(), &handled);
        EXPECT_TRUE(handled) << c.Context;
        EXPECT_EQ(menus.Seen, c.Replaced ? std::vector<unsigned>{} : std::vector<unsigned>{c.Context}) << c.Context;
    }
    // Each time the engine asks, the gesture is raised, menu or not.
    EXPECT_EQ(Object->Calls, std::vector<Call>(std::size(cases), Call{"engine", "ContextMenuGesture", {}}));
}

// A real right-click, sent through the X server: the page's hooks report it,
// and the engine's menu shows only where no pop-up of ours replaces it.
TEST_F(BridgeTest, RealRightClicksReachTheHooksAndTheEngineMenuOnlyWhereItStays)
{
    if (!CanSendRealInput())
        GTEST_SKIP() << "xdotool is not installed";
    auto& view = BridgedView();
    Eval(view, LinkHookScript);
    Eval(view, ImageHookScript);
    EngineMenus menus;
    gtkui::SignalConnection connection(view.Engine(), g_signal_connect(view.Engine(), "context-menu",
                                                                       G_CALLBACK(EngineMenus::Record), &menus));
    auto rightClick = [&](const std::string& id) {
        const auto point = RealClick(view, id, 3);
        return std::make_pair(std::to_string(point.first), std::to_string(point.second));
    };

    auto gestures = [&] {
        return std::count(Object->Calls.begin(), Object->Calls.end(), Call{"engine", "ContextMenuGesture", {}});
    };
    const auto link = rightClick("link");
    ASSERT_TRUE(WaitUntil([&] { return gestures() == 1 && Object->Calls.size() == 4; }));
    const auto image = rightClick("image");
    ASSERT_TRUE(WaitUntil([&] { return gestures() == 2 && Object->Calls.size() == 8; }));
    rightClick("text");
    ASSERT_TRUE(WaitUntil([&] { return menus.Seen.size() == 1; }));
    rightClick("field");
    ASSERT_TRUE(WaitUntil([&] { return menus.Seen.size() == 2; }));
    rightClick("quiet");
    ASSERT_TRUE(WaitUntil([&] { return gestures() == 5; }));

    const Call gesture{"engine", "ContextMenuGesture", {}};
    EXPECT_EQ(Object->Calls, (std::vector<Call>{{"post", "wMousePosX", {link.first}},
                                                {"post", "wMousePosY", {link.second}},
                                                {"post", "wContextMenu", {Url("/page")}},
                                                gesture,
                                                {"post", "wMousePosX", {image.first}},
                                                {"post", "wMousePosY", {image.second}},
                                                {"post", "wContextMenu", {Url("/image.svg") + "&GET_IMG"}},
                                                gesture,
                                                gesture,
                                                gesture,
                                                // The page's listener cancels the event: the engine still asks.
                                                {"post", "wAlert", {"prevented"}},
                                                gesture}));
    // The page's report comes first; how long before the engine's own event.
    RecordProperty("LinkMenuToGestureUs", static_cast<int>(Object->At[3] - Object->At[2]));
    RecordProperty("ImageMenuToGestureUs", static_cast<int>(Object->At[7] - Object->At[6]));
    // Over the link and the image the engine was told to keep its menu away.
    // (The hit test the engine gives with a cancelled event is not the point's.)
    ASSERT_EQ(menus.Seen.size(), 3u);
    EXPECT_EQ(menus.Seen[0], WEBKIT_HIT_TEST_RESULT_CONTEXT_DOCUMENT);
    EXPECT_EQ(menus.Seen[1], WEBKIT_HIT_TEST_RESULT_CONTEXT_DOCUMENT | WEBKIT_HIT_TEST_RESULT_CONTEXT_EDITABLE);
}

} // namespace
