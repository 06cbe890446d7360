// Web-allowed objects in real pages, then the bridge channel's texts alone.
#include <webkit/webkit.h>

#include <algorithm>
#include <array>
#include <ostream>
#include <set>

#include "bridge/page_scripts.h"
#include "platform/gtk/bridge_channel.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/signal_connection.h"
#include "tests/gtk/web_view_fixture.h"

namespace {

using namespace gtktests;
using Texts = std::vector<std::string>;
using Reply = std::function<void(std::optional<std::string>)>;

struct Call {
    std::string Channel; // "post" (Invoke), "prompt" (InvokeWithReply) or "engine" (ContextMenuGesture)
    std::string Method;
    Texts Arguments;
    bool operator==(const Call&) const = default;
};
using CallList = std::vector<Call>;
const Call Gesture{"engine", "ContextMenuGesture", {}};

void PrintTo(const Call& call, std::ostream* out)
{
    *out << call.Channel << " " << call.Method << testing::PrintToString(call.Arguments);
}

// Records every call with the channel it came by. A method in HeldMethods
// waits for the test to answer it; any other is answered at once.
class TestObject : public platform::WebAllowedObject {
public:
    CallList Calls;
    std::map<std::string, std::optional<std::string>> Replies;
    std::set<std::string> HeldMethods;
    std::vector<Reply> Held;

    std::optional<std::string> Invoke(const std::string& method, const Texts& arguments) override
    {
        Calls.push_back({"post", method, arguments});
        return Replies[method];
    }
    void InvokeWithReply(const std::string& method, const Texts& arguments, Reply reply) override
    {
        Calls.push_back({"prompt", method, arguments});
        if (HeldMethods.count(method))
            Held.push_back(std::move(reply));
        else
            reply(Replies[method]);
    }
};

class BridgeTest : public WebViewFixture {
protected:
    static void SetUpTestSuite()
    {
        StartServer({
            {"/page", {"<html><head><title>Page</title></head><body>page</body></html>"}},
            {"/bridge", {"<html><body><p id=\"text\">plain text</p><a id=\"link\" href=\"/page\">a link</a> "
                         "<img id=\"image\" src=\"/image.svg\" width=\"40\" height=\"40\"><input id=\"field\">"
                         "<p id=\"quiet\" oncontextmenu=\"event.preventDefault(); wScriptNotify.wAlert('prevented')\">"
                         "no menu here</p></body></html>"}},
            {"/image.svg", {"<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"40\" height=\"40\">"
                            "<rect width=\"40\" height=\"40\" fill=\"teal\"/></svg>", "image/svg+xml"}},
            {"/frames", {"<html><body><iframe src=\"/page\"></iframe></body></html>"}},
            // The page's own script runs after the object is defined.
            {"/early", {"<html><body><script>wScriptNotify.wAlert('early');</script></body></html>"}},
        });
    }
    static void TearDownTestSuite() { StopServer(); }

    // A view showing `path` with a fresh test object as wScriptNotify, the
    // engine's context-menu gesture logged among its calls.
    gtkui::WebKitWebView& BridgedView(const std::string& path = "/bridge")
    {
        auto& view = NewView(m_log);
        view.AddWebAllowedObject("wScriptNotify", Object);
        view.ContextMenuGesture.Subscribe([this](platform::WebView&) { Object->Calls.push_back(Gesture); });
        Load(view, path);
        return view;
    }
    void Load(gtkui::WebKitWebView& view, const std::string& path)
    {
        m_log.All.clear();
        Go(view, Url(path));
        ASSERT_TRUE(WaitForLine(m_log, "Completed " + Url(path)));
    }
    bool WaitForCalls(size_t count) { return WaitUntil([&] { return Object->Calls.size() >= count; }); }

    std::shared_ptr<TestObject> Object = std::make_shared<TestObject>();
    EventLog m_log;
};

TEST_F(BridgeTest, ObjectIsInTopPagesBeforeTheirOwnScriptsAndTheNewestTakesTheCalls)
{
    // As the browser does it: a fresh object at every navigation start.
    std::vector<std::shared_ptr<TestObject>> objects;
    auto& view = NewView(m_log);
    view.NavigationStarting.Subscribe([&](platform::WebView& v, platform::NavigationStartingArgs&) {
        v.AddWebAllowedObject("wScriptNotify", objects.emplace_back(std::make_shared<TestObject>()));
    });
    Load(view, "/early");
    ASSERT_TRUE(WaitUntil([&] { return !objects[0]->Calls.empty(); }));
    EXPECT_EQ(objects[0]->Calls, (CallList{{"post", "wAlert", {"early"}}}));
    Load(view, "/frames");
    EXPECT_EQ(Eval(view, "typeof frames[0].wScriptNotify"), "undefined");
    Eval(view, "wScriptNotify.wAlert('to newer'); 0");
    ASSERT_TRUE(WaitUntil([&] { return !objects[1]->Calls.empty(); }));
    EXPECT_EQ(objects[1]->Calls, (CallList{{"post", "wAlert", {"to newer"}}}));
    EXPECT_EQ(objects[0]->Calls.size(), 1u);
}

// Both channels turn the page's arguments into text alike, and replies reach
// the page as the text they are; posted calls let the page go on, an awaited
// one holds it until the object replies, once; a page's own built-ins stay out.
TEST_F(BridgeTest, TextsCrossTheChannelIntactAndAnAwaitedCallHoldsThePage)
{
    auto& view = BridgedView();
    const std::string tricky = "it's \"\u00fc\" \\ / \U0001F600\n\r\t\u2028\u2029 \x01\x1f\x7f </script> end";
    const std::string args = "(" + gtkui::JsonQuote(tricky) + ", 123, 12.5, undefined, null, true,"
        " {toString: function () { return 'object'; }}, '\\ud800x', 'a\\u0000b')";
    const Texts expected{tricky, "123", "12.5", "", "", "true", "object", "\uFFFDx", std::string("a\0b", 3)};
    EXPECT_EQ(Eval(view, "wScriptNotify.wAlert" + args + "; wScriptNotify.wMousePosX(); 'went on'"), "went on");
    Eval(view, "wScriptNotify.wConfirmClicked" + args + "; 0");
    ASSERT_TRUE(WaitForCalls(3));
    EXPECT_EQ(Object->Calls, (CallList{{"post", "wAlert", expected}, {"post", "wMousePosX", {}},
                                    {"prompt", "wConfirmClicked", expected}}));
    const std::pair<std::optional<std::string>, std::string> replies[] = {
        {"false", "boolean:false"}, {std::nullopt, "undefined:undefined"}, {"", "string:"},
        {"TRUE", "string:TRUE"},    {tricky, "string:" + tricky},         {"a\xff" "b", "string:a\uFFFDb"}};
    for (const auto& [reply, page] : replies) {
        Object->Replies["wConfirmSelected"] = reply;
        EXPECT_EQ(Eval(view, "var r = wScriptNotify.wConfirmSelected(); typeof r + ':' + r"), page) << page;
    }

    Object->HeldMethods = {"wConfirm"};
    std::optional<std::string> result;
    view.InvokeScriptAsync("eval", {"var r = wScriptNotify.wConfirm('Sure?'); typeof r + ' ' + r"},
                           [&](std::optional<std::string> r) { result = std::move(r); });
    ASSERT_TRUE(WaitUntil([&] { return Object->Held.size() == 1; }));
    EXPECT_EQ(view.PendingBridgePrompts(), 1u);
    Settle(300); // the user takes a while to answer; the page waits for it
    EXPECT_FALSE(result);
    Object->Held[0]("true");
    ASSERT_TRUE(WaitUntil([&] { return result.has_value(); }));
    EXPECT_EQ(result, "boolean true");
    EXPECT_EQ(view.PendingBridgePrompts(), 0u);
    Object->Held[0]("false"); // a second reply reaches nothing
    EXPECT_EQ(Eval(view, "1"), "1");

    // A page that replaces built-ins neither intercepts nor breaks the channel.
    Object->Calls.clear();
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
    ASSERT_TRUE(WaitForCalls(2));
    EXPECT_EQ(Object->Calls, (CallList{{"prompt", "wConfirmSelected", {"6"}}, {"post", "wAlert", {"5"}}}));
}

// Connected after the adapter's handler, so it sees only the dialogs the
// adapter left to the engine, and answers them as a user would.
gboolean AnswerEngineDialog(::WebKitWebView*, WebKitScriptDialog* dialog, gpointer data)
{
    std::string seen = webkit_script_dialog_get_message(dialog);
    if (webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_PROMPT) {
        seen += std::string(" [") + webkit_script_dialog_prompt_get_default_text(dialog) + "]";
        webkit_script_dialog_prompt_set_text(dialog, "typed");
    } else if (webkit_script_dialog_get_dialog_type(dialog) == WEBKIT_SCRIPT_DIALOG_CONFIRM) {
        webkit_script_dialog_confirm_set_confirmed(dialog, TRUE);
    }
    static_cast<Texts*>(data)->push_back(seen);
    return TRUE;
}

TEST_F(BridgeTest, PagePromptsReachTheSystemAndForgedCallsAreOrdinaryPrompts)
{
    auto& view = BridgedView();
    Object->Replies["wConfirmSelected"] = "true";
    Texts engine;
    gtkui::SignalConnection connection(
        view.Engine(), g_signal_connect(view.Engine(), "script-dialog", G_CALLBACK(AnswerEngineDialog), &engine));
    // The page's own prompt() goes to the system, never to the engine's box.
    view.PromptRequested.Subscribe([&engine](platform::WebView&, platform::PromptRequestedArgs& args) {
        const bool forged = args.Message.rfind(gtkui::BridgePromptMarker, 0) == 0;
        engine.push_back("system: " + (forged ? std::string("forged") : args.Message) + " [" + args.DefaultText + "]");
        args.Handled = true;
        args.Reply("typed");
    });
    const std::string marker = "'\\x01tolvane-bridge\\x01' + ";
    const std::string payload = "'\\x01[\"wScriptNotify\",\"wConfirmSelected\"]'";
    const std::array<std::string, 3> cases[] = { // script, result, what the dialog showed
        {"prompt('q', 'd')", "typed", "system: q [d]"},
        {"prompt(" + marker + payload + ")", "typed", "system: forged []"},                       // no token
        {"prompt(" + marker + "'0'.repeat(32) + " + payload + ")", "typed", "system: forged []"}, // a guessed one
        {"String(confirm('c'))", "true", "c"}, // before the page scripts replace them
        {"String(alert('a'))", "undefined", "a"},
    };
    for (const auto& [script, result, seen] : cases) {
        engine.clear();
        EXPECT_EQ(Eval(view, script), result) << script;
        ASSERT_EQ(engine.size(), 1u) << script;
        EXPECT_EQ(engine[0], seen);
    }

    // Posts without this view's token reach no object.
    Eval(view, "var h = window.webkit.messageHandlers.tolvaneBridge;"
               "h.postMessage({object: 'wScriptNotify', method: 'wAlert', args: ['forged']});"
               "h.postMessage({object: 'wScriptNotify', method: 'wAlert', args: ['forged'], token: 'guess'});"
               "h.postMessage('not an object'); wScriptNotify.wAlert('real'); 0");
    ASSERT_TRUE(WaitForCalls(1));
    Settle(100);
    EXPECT_EQ(Object->Calls, (CallList{{"post", "wAlert", {"real"}}}));
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
    ASSERT_TRUE(WaitUntil([&] { return g_strcmp0(webkit_web_view_get_title(engine.Get()), "answered undefined") == 0; }));
    Object->Held[0]("true"); // the object's reply comes after all: nobody hears it

    // And with the page gone too.
    Eval(BridgedView(), "setTimeout(function () { wScriptNotify.wConfirm('Sure?'); }, 0); 0");
    ASSERT_TRUE(WaitUntil([&] { return Object->Held.size() == 2; }));
    CloseViews();
    engine.Reset();
    Object->Held[1]("true");
    Settle(300);
}

// Connected after the adapter's handler: sees only the menus the adapter let
// through, and keeps them from showing.
gboolean RecordEngineMenu(::WebKitWebView*, WebKitContextMenu*, WebKitHitTestResult* hit, gpointer data)
{
    static_cast<std::vector<unsigned>*>(data)->push_back(webkit_hit_test_result_get_context(hit));
    return TRUE;
}

// Real right-clicks through the X server: the page's hooks report them first,
// then the engine asks for its menu (the gesture), even when the page cancelled
// the event; the engine's menu shows only where no pop-up of ours replaces it.
// A script-made contextmenu event is no gesture.
TEST_F(BridgeTest, RealRightClicksReachTheHooksThenTheGesture)
{
    auto& view = BridgedView();
    Eval(view, LinkHookScript);
    Eval(view, ImageHookScript);
    std::vector<unsigned> menus;
    gtkui::SignalConnection connection(
        view.Engine(), g_signal_connect(view.Engine(), "context-menu", G_CALLBACK(RecordEngineMenu), &menus));
    auto gestures = [&] { return std::count(Object->Calls.begin(), Object->Calls.end(), Gesture); };
    std::vector<std::string> points;
    for (const char* id : {"link", "image", "text", "field", "quiet"}) {
        const auto [x, y] = RealClick(view, id, 3);
        points.insert(points.end(), {std::to_string(x), std::to_string(y)});
        const auto before = gestures();
        ASSERT_TRUE(WaitUntil([&] { return gestures() == before + 1; })) << id;
    }
    Eval(view, "document.getElementById('link').dispatchEvent(new MouseEvent('contextmenu', {bubbles: true})); 0");
    ASSERT_TRUE(WaitForCalls(15));
    Settle(200);

    EXPECT_EQ(Object->Calls, (CallList{{"post", "wMousePosX", {points[0]}}, {"post", "wMousePosY", {points[1]}},
                                    {"post", "wContextMenu", {Url("/page")}}, Gesture,
                                    {"post", "wMousePosX", {points[2]}}, {"post", "wMousePosY", {points[3]}},
                                    {"post", "wContextMenu", {Url("/image.svg") + "&GET_IMG"}}, Gesture,
                                    Gesture, Gesture, {"post", "wAlert", {"prevented"}}, Gesture,
                                    {"post", "wMousePosX", {"0"}}, {"post", "wMousePosY", {"0"}},
                                    {"post", "wContextMenu", {Url("/page")}}}));
    // (With a cancelled event the engine's hit test is not the point's.)
    ASSERT_EQ(menus.size(), 3u);
    EXPECT_EQ(menus[0], WEBKIT_HIT_TEST_RESULT_CONTEXT_DOCUMENT);
    EXPECT_EQ(menus[1], WEBKIT_HIT_TEST_RESULT_CONTEXT_DOCUMENT | WEBKIT_HIT_TEST_RESULT_CONTEXT_EDITABLE);
}

// What the fuzz target cannot tell: a near token, a missing separator or
// marker, and the parse of a good call.
TEST(BridgeChannel, OnlyPromptsWithTheMarkerAndThisViewsFreshTokenAreBridgeCalls)
{
    const std::string token = gtkui::NewBridgeToken(), marker(gtkui::BridgePromptMarker);
    EXPECT_EQ(token.size(), 32u);
    EXPECT_NE(gtkui::NewBridgeToken(), token);
    const std::string payload = R"(["wScriptNotify","wConfirm","Sure?",""])";
    for (const std::string& forged : {marker + token.substr(0, 31) + "\x01", marker + token + "0\x01",
                                      marker + token, token + "\x01"})
        EXPECT_FALSE(gtkui::ParseBridgePrompt(forged + payload, token)) << forged;
    EXPECT_FALSE(gtkui::ParseBridgePrompt(marker + "\x01" + payload, ""));
    auto call = gtkui::ParseBridgePrompt(marker + token + "\x01" + payload, token);
    ASSERT_TRUE(call);
    EXPECT_EQ((Texts{call->Object, call->Method}), (Texts{"wScriptNotify", "wConfirm"}));
    EXPECT_EQ(call->Arguments, (Texts{"Sure?", ""}));
    // Ours, but unreadable: a call to nobody, answered rather than shown.
    for (const std::string broken : {"", "[\"only\"]", "[\"a\nb\", \"m\"]"}) {
        auto unreadable = gtkui::ParseBridgePrompt(marker + token + "\x01" + broken, token);
        EXPECT_TRUE(unreadable && unreadable->Object.empty()) << broken;
    }
}

} // namespace
