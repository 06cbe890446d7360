// The shell's adapters against real GTK and GLib (under Xvfb).
#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/gtk/application_view_gtk.h"
#include "platform/gtk/bundle_gtk.h"
#include "platform/gtk/calendar_gtk.h"
#include "platform/gtk/dispatcher_timers_gtk.h"
#include "platform/gtk/launch_address_gtk.h"
#include "platform/gtk/message_dialogs_gtk.h"
#include "platform/ui/element.h"
#include "tests/gtk/web_view_fixture.h"

G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace {

namespace fs = std::filesystem;
using gtktests::Settle;
using gtktests::WaitUntil;
using Texts = std::vector<std::string>;

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override { gtk_init(); }
};

struct ScopedEnv {
    ScopedEnv(const char* name, const char* value) : Name(name), Old(g_strdup(g_getenv(name)))
    {
        g_setenv(name, value, TRUE), tzset();
    }
    ~ScopedEnv() { Old ? void(g_setenv(Name, Old, TRUE)) : g_unsetenv(Name), g_free(Old), tzset(); }
    const char* Name;
    char* Old;
};

// Answering through the buttons is what the browser's own tests do; here,
// what they cannot: closing without an answer, a dialog destroyed some other
// way, and dialogs still open when the adapter goes.
TEST_F(ShellTest, DialogsCallBackWithTheLabelAndReportClosingOnce)
{
    GtkWindow* parent = GTK_WINDOW(gtk_window_new());
    auto dialogs = std::make_unique<gtkui::GtkMessageDialogs>(parent);
    Texts events;
    auto show = [&](const Texts& commands) {
        dialogs->ShowTracked("Close?", "Tolvane Browser", commands,
                             [&](const std::string& label) { events.push_back("command " + label); },
                             [&] { events.push_back("closed"); });
        return GTK_DIALOG(*dialogs->OpenDialogs().begin());
    };
    const std::tuple<Texts, int, Texts> cases[] = {
        {{"Sim", "N\u00e3o \"aspas\""}, 1, {"command N\u00e3o \"aspas\"", "closed"}},
        {{"Yes", "No"}, GTK_RESPONSE_DELETE_EVENT, {"closed"}}, // closing the window answers nothing
        {{}, GTK_RESPONSE_OK, {"closed"}},                      // no commands: GTK's own close button
    };
    for (const auto& [commands, response, expected] : cases) {
        events.clear();
        GtkDialog* dialog = show(commands);
        EXPECT_FALSE(gtk_window_get_modal(GTK_WINDOW(dialog)));
        EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), parent);
        gtk_dialog_response(dialog, response);
        EXPECT_EQ(events, expected) << response;
        EXPECT_TRUE(dialogs->OpenDialogs().empty());
    }
    events.clear();
    gtk_window_destroy(GTK_WINDOW(show({"Yes"})));
    EXPECT_EQ(events, Texts{"closed"}) << "destroyed without a response: still reported once";

    events.clear();
    show({"Yes"});
    show({"No"});
    dialogs.reset();
    EXPECT_TRUE(events.empty()) << "the adapter's dialogs go silently with it";
    gtk_window_destroy(parent);
}

TEST_F(ShellTest, TimerTicksOncePerIntervalStopsAndMayEndItselfInItsTick)
{
    gtkui::GLibDispatcherTimers timers;
    int ticks = 0, once = 0, stopTicks = 0, destroyTicks = 0;
    auto timer = timers.Create([&] { ++ticks; });
    auto reference = timers.Create([&] { ++once; });
    Settle(100);
    EXPECT_EQ(ticks, 0) << "created stopped";
    timer->Start();
    timer->Start(); // a no-op: still one source
    reference->Start();
    Settle(500);
    // Beside a timer started once, whatever the machine's load: a doubled
    // source would tick twice as often.
    EXPECT_GT(once, 0);
    EXPECT_NEAR(ticks, once, 2);
    reference.reset();
    timer->Stop();
    EXPECT_FALSE(timer->IsEnabled());
    const int atStop = ticks;

    std::unique_ptr<platform::DispatcherTimer> stopping, destroying;
    stopping = timers.Create([&] { ++stopTicks, stopping->Stop(); });
    destroying = timers.Create([&] { ++destroyTicks, destroying.reset(); });
    stopping->Start();
    destroying->Start();
    timer->Start();
    timer.reset(); // destroyed running: never ticks again
    Settle(150);
    EXPECT_EQ((std::vector<int>{ticks, stopTicks, destroyTicks}), (std::vector<int>{atStop, 1, 1}));
    EXPECT_EQ(destroying, nullptr);
    stopping->Start();
    Settle(100);
    EXPECT_EQ(stopTicks, 2) << "restarts after stopping";
}

// A sleeping timer costs no ticks while what it watches stays the same, and
// ticks again as soon as a handler of the loop changes it; it stays enabled.
TEST_F(ShellTest, SleepingTimerTicksAgainWhenAHandlerChangesWhatItWatches)
{
    gtkui::GLibDispatcherTimers timers;
    int ticks = 0, watched = 0;
    std::unique_ptr<platform::DispatcherTimer> timer;
    timer = timers.Create([&] {
        ++ticks;
        timer->SleepWhile([&, rest = watched] { return watched == rest; });
    });
    timer->Start();
    Settle(200);
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(timer->IsEnabled());
    g_idle_add_once([](gpointer value) { ++*static_cast<int*>(value); }, &watched);
    Settle(100);
    EXPECT_EQ(ticks, 2) << "woken once by the change, asleep again after its tick";
    timer->Stop();
    EXPECT_FALSE(timer->IsEnabled());
}

TEST_F(ShellTest, CalendarReadsTheLocalClock)
{
    // A zone 5:45 from UTC: a calendar on UTC would be off in hour and minute.
    ScopedEnv zone("TZ", "Asia/Kathmandu");
    platform::CalendarNow now;
    std::tm expected{};
    for (int attempt = 0; attempt < 3; ++attempt) { // retry across a minute boundary
        const std::time_t before = std::time(nullptr);
        now = gtkui::LocalCalendar().Now();
        const std::time_t after = std::time(nullptr);
        localtime_r(&after, &expected);
        if (before / 60 == after / 60)
            break;
    }
    EXPECT_EQ((std::vector<int>{now.Year, now.Day, now.Month, now.Hour, now.Minute}),
              (std::vector<int>{expected.tm_year + 1900, expected.tm_mday, expected.tm_mon + 1, expected.tm_hour,
                                expected.tm_min}));
}

// Which names pick which table is ResourceTableFor's test; here, that the
// environment's list reaches it.
TEST_F(ShellTest, ResourceTableFollowsTheUsersLanguage)
{
    ScopedEnv locale("LC_ALL", "C.UTF-8"); // LANGUAGE counts only outside the plain C locale
    for (const auto& [language, table] : {std::pair("pt_PT:en", "PT-BR"), {"de_DE", "EN-US"}}) {
        ScopedEnv scoped("LANGUAGE", language);
        EXPECT_EQ(gtkui::LoadResourceTable()->GetString("wLanguage"), table) << language;
    }
}

TEST_F(ShellTest, WindowReportsItsContentSizeOncePerChangeAndBackRequestsFromKeys)
{
    GtkWindow* window = GTK_WINDOW(gtk_window_new());
    gtk_window_set_default_size(window, 400, 300);
    GtkWidget* content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_window_set_child(window, content);
    auto view = std::make_unique<gtkui::WindowApplicationView>(window);
    int changes = 0;
    view->SizeChanged.Subscribe([&] { ++changes; });
    auto contentIs = [&](int width, int height) {
        return gtk_widget_get_width(content) == width && gtk_widget_get_height(content) == height;
    };
    EXPECT_EQ(view->VisibleBounds(), (ui::Rect{0, 0, 400, 300})) << "before the window shows";
    gtk_window_present(window);
    ASSERT_TRUE(WaitUntil([&] { return contentIs(400, 300); }, 3000));
    Settle(100);
    EXPECT_EQ(changes, 0) << "showing at the default size is no change";
    gtk_window_set_default_size(window, 640, 480);
    ASSERT_TRUE(WaitUntil([&] { return changes > 0 && contentIs(640, 480); }, 3000));
    Settle(100);
    EXPECT_EQ(changes, 1) << "width, height and allocation make one change";
    EXPECT_EQ(view->VisibleBounds(), (ui::Rect{0, 0, 640, 480}));

    // The view's key controller on the window, fed as GTK would feed it.
    GtkEventController* keys = gtktests::FindController(GTK_WIDGET(window), [](GtkEventController* c) {
        return g_strcmp0(gtk_event_controller_get_name(c), gtkui::WindowApplicationView::BackKeysControllerName) == 0;
    });
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(gtk_event_controller_get_propagation_phase(keys), GTK_PHASE_CAPTURE) << "ahead of the web view";
    bool handleIt = false;
    int requests = 0;
    view->BackRequested.Subscribe([&](bool& handled) { ++requests, handled = handleIt; });
    const std::tuple<guint, GdkModifierType, bool, int, gboolean> cases[] = { // key, state, handled, requests, consumed
        {GDK_KEY_Left, GDK_ALT_MASK, true, 1, TRUE},
        {GDK_KEY_Left, GDK_ALT_MASK, false, 1, FALSE}, // unhandled: the key goes on
        {GDK_KEY_KP_Left, GdkModifierType(GDK_ALT_MASK | GDK_LOCK_MASK), true, 1, TRUE},
        {GDK_KEY_Back, GdkModifierType(0), true, 1, TRUE},
        {GDK_KEY_Left, GdkModifierType(0), true, 0, FALSE},
        {GDK_KEY_Left, GdkModifierType(GDK_ALT_MASK | GDK_CONTROL_MASK), true, 0, FALSE},
        {GDK_KEY_Right, GDK_ALT_MASK, true, 0, FALSE},
    };
    for (const auto& [key, state, handle, expectedRequests, expectedConsumed] : cases) {
        requests = 0;
        handleIt = handle;
        gboolean consumed = FALSE;
        g_signal_emit_by_name(keys, "key-pressed", key, 0u, state, &consumed);
        EXPECT_EQ(std::make_pair(requests, consumed), std::make_pair(expectedRequests, expectedConsumed))
            << gdk_keyval_name(key) << " state " << state;
        g_signal_emit_by_name(keys, "key-released", key, 0u, state);
    }
    // A held key's repeats make one request; the other keys come by name.
    requests = 0;
    gboolean consumed = FALSE;
    for (int k = 0; k < 3; ++k)
        g_signal_emit_by_name(keys, "key-pressed", GDK_KEY_Left, 7u, GDK_ALT_MASK, &consumed);
    EXPECT_EQ(requests, 1);
    std::vector<platform::Shortcut> named;
    view->ShortcutPressed.Subscribe([&](platform::Shortcut key, bool& handled) { named.push_back(key), handled = true; });
    g_signal_emit_by_name(keys, "key-pressed", GDK_KEY_plus, 8u, GdkModifierType(GDK_CONTROL_MASK | GDK_SHIFT_MASK),
                          &consumed);
    g_signal_emit_by_name(keys, "key-pressed", GDK_KEY_F11, 9u, GdkModifierType(0), &consumed);
    EXPECT_EQ(named, (std::vector<platform::Shortcut>{platform::Shortcut::ZoomIn, platform::Shortcut::ToggleFullScreen}));
    // The window goes first: the view must let go of a destroyed window.
    gtk_window_destroy(window);
    view.reset();
    Settle(10);
}

TEST(LaunchAddress, MakesWhatADesktopUserMeant)
{
    const fs::path dir = fs::temp_directory_path() / ("tolvane-address-" + std::to_string(g_get_monotonic_time()));
    fs::create_directories(dir);
    std::ofstream(dir / "page.html") << "<p>hi</p>";
    std::ofstream(dir / "my page.html") << "<p>hi</p>";
    const std::string cwd = dir.string(), base = "file://" + cwd;
    const std::pair<std::string, std::string> cases[] = {
        {"https://example.com/a?b=c", "https://example.com/a?b=c"},
        {"mailto:someone@example.com", "mailto:someone@example.com"},
        {"127.0.0.1:8000/path?q=1", "http://127.0.0.1:8000/path?q=1"},
        {"example.com", "http://example.com"},
        {"page.html", base + "/page.html"},
        {cwd + "/page.html", base + "/page.html"},
        {"my page.html", base + "/my%20page.html"},
        {"/no/such/file.html", "file:///no/such/file.html"},
        {"missing.html", "http://missing.html"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(gtkui::AddressFromCommandLine(text, cwd), expected) << "\"" << text << "\"";
    fs::remove_all(dir);
}

} // namespace

G_GNUC_END_IGNORE_DEPRECATIONS
