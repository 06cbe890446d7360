// The shell's adapters against real GTK and GLib (under Xvfb): message
// dialogs, dispatcher timers, the calendar, the window's size and back keys,
// the bundle, the local folder and command-line addresses.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <cstdlib>
#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/gtk/application_view_gtk.h"
#include "platform/gtk/bundle_gtk.h"
#include "platform/gtk/calendar_gtk.h"
#include "platform/gtk/dispatcher_timers_gtk.h"
#include "platform/gtk/glib_text.h"
#include "platform/gtk/launch_address_gtk.h"
#include "platform/gtk/message_dialogs_gtk.h"
#include "platform/gtk/system_info_gtk.h"
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

// Sets an environment variable for the scope, and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        setenv(name, value, 1);
        tzset();
    }
    ~ScopedEnv()
    {
        m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name);
        tzset();
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

// --- Message dialogs ---------------------------------------------------------------

class MessageDialogTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        m_parent = GTK_WINDOW(gtk_window_new());
        m_dialogs = std::make_unique<gtkui::GtkMessageDialogs>(m_parent);
    }
    void TearDown() override
    {
        m_dialogs.reset();
        gtk_window_destroy(m_parent);
        Settle(10);
    }
    GtkDialog* ShowOne(const Texts& commands, bool tracked)
    {
        auto onCommand = [this](const std::string& label) { m_events.push_back("command " + label); };
        if (tracked)
            m_dialogs->ShowTracked("Close Tolvane Browser?", "Tolvane Browser", commands, onCommand,
                                   [this] { m_events.push_back("closed"); });
        else
            m_dialogs->Show("Close Tolvane Browser?", "Tolvane Browser", commands, onCommand);
        const auto& open = m_dialogs->OpenDialogs();
        return open.size() == 1 ? GTK_DIALOG(*open.begin()) : nullptr;
    }
    static std::string Property(gpointer object, const char* name)
    {
        char* value = nullptr;
        g_object_get(object, name, &value, nullptr);
        return gtkui::TakeText(value);
    }

    GtkWindow* m_parent = nullptr;
    std::unique_ptr<gtkui::GtkMessageDialogs> m_dialogs;
    Texts m_events;
};

TEST_F(MessageDialogTest, ShowsTitleContentAndOneButtonPerCommand)
{
    GtkDialog* dialog = ShowOne({"Sim", "Não \"aspas\""}, false);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Property(dialog, "text"), "Tolvane Browser");
    EXPECT_EQ(Property(dialog, "secondary-text"), "Close Tolvane Browser?");
    EXPECT_FALSE(gtk_window_get_modal(GTK_WINDOW(dialog)));
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), m_parent);
    EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(gtk_dialog_get_widget_for_response(dialog, 1))), "Não \"aspas\"");
    EXPECT_EQ(gtk_dialog_get_widget_for_response(dialog, 2), nullptr);
    EXPECT_TRUE(m_events.empty()) << "shown, not answered";
}

TEST_F(MessageDialogTest, AnswerCallsBackWithTheLabelAndClosingIsReportedOnlyWhenTracked)
{
    struct Case {
        Texts Commands;
        int Response;
        Texts Events; // without tracking, "closed" is never reported
    };
    const Case cases[] = {
        {{"Yes", "No"}, 0, {"command Yes", "closed"}},
        {{"Yes", "No"}, 1, {"command No", "closed"}},
        {{"Yes", "No"}, GTK_RESPONSE_DELETE_EVENT, {"closed"}}, // closing the window answers nothing
        {{}, GTK_RESPONSE_OK, {"closed"}},                      // no commands: GTK's own close button
    };
    for (const bool tracked : {false, true}) {
        for (const auto& c : cases) {
            m_events.clear();
            GtkDialog* dialog = ShowOne(c.Commands, tracked);
            ASSERT_NE(dialog, nullptr);
            gtk_dialog_response(dialog, c.Response);
            Texts expected = c.Events;
            if (!tracked)
                expected.pop_back();
            EXPECT_EQ(m_events, expected) << "response " << c.Response << (tracked ? " tracked" : "");
            EXPECT_TRUE(m_dialogs->OpenDialogs().empty());
        }
    }
    // Destroyed some other way (not through a response): still reported once.
    m_events.clear();
    gtk_window_destroy(GTK_WINDOW(ShowOne({"Yes"}, true)));
    EXPECT_EQ(m_events, Texts{"closed"});
}

TEST_F(MessageDialogTest, SeveralDialogsAnswerIndependentlyAndGoSilentlyWithTheAdapter)
{
    m_dialogs->Show("first", "Tolvane Browser", {"A"}, [this](const std::string& l) { m_events.push_back("1:" + l); });
    m_dialogs->Show("second", "Tolvane Browser", {"B"}, [this](const std::string& l) { m_events.push_back("2:" + l); });
    const std::set<GtkWidget*> open = m_dialogs->OpenDialogs();
    ASSERT_EQ(open.size(), 2u);
    for (GtkWidget* dialog : open)
        gtk_dialog_response(GTK_DIALOG(dialog), 0);
    std::sort(m_events.begin(), m_events.end());
    EXPECT_EQ(m_events, (Texts{"1:A", "2:B"}));

    m_events.clear();
    ASSERT_NE(ShowOne({"Yes", "No"}, true), nullptr);
    m_dialogs.reset();
    EXPECT_TRUE(m_events.empty());
}

// --- Dispatcher timers and the calendar -------------------------------------------

TEST_F(ShellTest, TimerTicksAboutSixtyTimesASecondStopsAndMayEndItselfInItsTick)
{
    gtkui::GLibDispatcherTimers timers;
    int ticks = 0;
    auto timer = timers.Create([&] { ++ticks; });
    Settle(100);
    EXPECT_EQ(ticks, 0) << "created stopped";
    timer->Start();
    timer->Start(); // a no-op: still one source
    EXPECT_TRUE(timer->IsEnabled());
    Settle(500);
    // 16 ms apart: about 30 in half a second. Loose bounds: a loaded machine
    // runs late, but a busy loop or a doubled source would go far above.
    EXPECT_GE(ticks, 8);
    EXPECT_LE(ticks, 40);
    timer->Stop();
    EXPECT_FALSE(timer->IsEnabled());
    const int atStop = ticks;

    std::unique_ptr<platform::DispatcherTimer> stopping, destroying;
    int stopTicks = 0, destroyTicks = 0;
    stopping = timers.Create([&] { ++stopTicks, stopping->Stop(); });
    destroying = timers.Create([&] { ++destroyTicks, destroying.reset(); });
    stopping->Start();
    destroying->Start();
    timer->Start();
    timer.reset(); // destroyed running: never ticks again
    Settle(150);
    EXPECT_EQ(ticks, atStop);
    EXPECT_EQ(stopTicks, 1);
    EXPECT_FALSE(stopping->IsEnabled());
    EXPECT_EQ(destroyTicks, 1);
    EXPECT_EQ(destroying, nullptr);
    stopping->Start();
    Settle(100);
    EXPECT_EQ(stopTicks, 2) << "restarts after stopping";
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
    EXPECT_EQ((std::vector<int>{now.Day, now.Month, now.Hour, now.Minute}),
              (std::vector<int>{expected.tm_mday, expected.tm_mon + 1, expected.tm_hour, expected.tm_min}));
}

// --- Window: size and back keys -----------------------------------------------------

class WindowViewTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        m_window = GTK_WINDOW(gtk_window_new());
        gtk_window_set_default_size(m_window, 400, 300);
        m_content = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_window_set_child(m_window, m_content);
        m_view = std::make_unique<gtkui::WindowApplicationView>(m_window);
        m_view->SizeChanged.Subscribe([this] { ++m_sizeChanges; });
    }
    void TearDown() override
    {
        // The window goes first: the view must let go of a destroyed window.
        gtk_window_destroy(m_window);
        m_view.reset();
        Settle(10);
    }
    bool ContentIs(int width, int height)
    {
        return gtk_widget_get_width(m_content) == width && gtk_widget_get_height(m_content) == height;
    }
    GtkWindow* m_window = nullptr;
    GtkWidget* m_content = nullptr;
    std::unique_ptr<gtkui::WindowApplicationView> m_view;
    int m_sizeChanges = 0;
};

TEST_F(WindowViewTest, ReportsTheContentSizeOncePerChange)
{
    EXPECT_EQ(m_view->VisibleBounds(), (ui::Rect{0, 0, 400, 300})) << "before the window shows";
    gtk_window_present(m_window);
    ASSERT_TRUE(WaitUntil([&] { return ContentIs(400, 300); }, 3000));
    Settle(100);
    EXPECT_EQ(m_sizeChanges, 0) << "showing at the default size is no change";

    gtk_window_set_default_size(m_window, 640, 480);
    ASSERT_TRUE(WaitUntil([&] { return m_sizeChanges > 0 && ContentIs(640, 480); }, 3000));
    Settle(100);
    EXPECT_EQ(m_sizeChanges, 1) << "width, height and allocation make one change";
    EXPECT_EQ(m_view->VisibleBounds(), (ui::Rect{0, 0, 640, 480}));
}

TEST_F(WindowViewTest, BackRequestComesFromAltLeftAndTheBackKey)
{
    // The view's key controller on the window, fed as GTK would feed it.
    GtkEventController* keys = nullptr;
    GListModel* controllers = gtk_widget_observe_controllers(GTK_WIDGET(m_window));
    for (guint i = 0; i < g_list_model_get_n_items(controllers); ++i) {
        auto* controller = static_cast<GtkEventController*>(g_list_model_get_item(controllers, i));
        if (g_strcmp0(gtk_event_controller_get_name(controller), gtkui::WindowApplicationView::BackKeysControllerName) == 0)
            keys = controller;
        g_object_unref(controller);
    }
    g_object_unref(controllers);
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(gtk_event_controller_get_propagation_phase(keys), GTK_PHASE_CAPTURE) << "ahead of the web view";

    bool handleIt = false;
    int requests = 0;
    m_view->BackRequested.Subscribe([&](bool& handled) {
        ++requests;
        handled = handleIt;
    });
    struct Case {
        guint Key;
        GdkModifierType State;
        bool Handle;
        int Requests;
        gboolean Consumed;
    };
    const Case cases[] = {
        {GDK_KEY_Left, GDK_ALT_MASK, true, 1, TRUE},
        {GDK_KEY_Left, GDK_ALT_MASK, false, 1, FALSE}, // unhandled: the key goes on
        {GDK_KEY_KP_Left, GdkModifierType(GDK_ALT_MASK | GDK_LOCK_MASK), true, 1, TRUE},
        {GDK_KEY_Back, GdkModifierType(0), true, 1, TRUE},
        {GDK_KEY_Left, GdkModifierType(0), true, 0, FALSE},
        {GDK_KEY_Left, GdkModifierType(GDK_ALT_MASK | GDK_CONTROL_MASK), true, 0, FALSE},
        {GDK_KEY_Right, GDK_ALT_MASK, true, 0, FALSE},
    };
    for (const auto& c : cases) {
        requests = 0;
        handleIt = c.Handle;
        gboolean consumed = FALSE;
        g_signal_emit_by_name(keys, "key-pressed", c.Key, 0u, c.State, &consumed);
        EXPECT_EQ(requests, c.Requests) << gdk_keyval_name(c.Key) << " state " << c.State;
        EXPECT_EQ(consumed, c.Consumed) << gdk_keyval_name(c.Key) << " state " << c.State;
    }
}

// --- Bundle, resources, local folder, command-line addresses ---------------------------

TEST_F(ShellTest, BundleResourcesAndLocalFolder)
{
    EXPECT_NE(gtkui::ReadBundledFile("/app/wMain.xaml").find("<Page"), std::string::npos);
    EXPECT_EQ(gtkui::ReadBundledFile("/app/none.xaml"), "");

    ScopedEnv locale("LC_ALL", "C.UTF-8"); // LANGUAGE counts only outside the plain C locale
    const std::pair<const char*, const char*> languages[] = {
        {"pt_BR", "PT-BR"}, {"pt_PT:en", "PT-BR"}, {"en_GB", "EN-US"}, {"de_DE", "EN-US"}};
    for (const auto& [language, table] : languages) {
        ScopedEnv scoped("LANGUAGE", language);
        auto resources = gtkui::LoadResourceTable();
        EXPECT_EQ(resources->GetString("wLanguage"), table) << language;
        EXPECT_TRUE(resources->Problems().empty()) << language;
    }

    const fs::path base = fs::temp_directory_path() / ("tolvane-shell-" + std::to_string(g_get_monotonic_time()));
    const fs::path folder = base / "data" / "tolvane-browser";
    gtkui::DesktopSystemInfo system(folder.string() + "/");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(system.LocalFolderPath(), folder.string());
    fs::remove_all(base);
}

TEST(LaunchAddress, MakesWhatADesktopUserMeant)
{
    const fs::path dir = fs::temp_directory_path() / ("tolvane-address-" + std::to_string(g_get_monotonic_time()));
    fs::create_directories(dir);
    std::ofstream(dir / "page.html") << "<p>hi</p>";
    std::ofstream(dir / "my page.html") << "<p>hi</p>";
    const std::string cwd = dir.string();
    const std::string base = "file://" + cwd;
    const std::pair<std::string, std::string> cases[] = {
        {"https://example.com/a?b=c", "https://example.com/a?b=c"},
        {"http://127.0.0.1:8000/", "http://127.0.0.1:8000/"},
        {"about:blank", "about:blank"},
        {"mailto:someone@example.com", "mailto:someone@example.com"},
        {"127.0.0.1:8000/path?q=1", "http://127.0.0.1:8000/path?q=1"},
        {"localhost:8080", "http://localhost:8080"},
        {"example.com:8000", "http://example.com:8000"},
        {"example.com", "http://example.com"},
        {"page.html", base + "/page.html"},
        {"./page.html", base + "/page.html"},
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
