// The shell's adapters against real GTK and GLib (under Xvfb): message
// dialogs, dispatcher timers, the calendar, the window's size and title bar,
// the bundle, the local folder and command-line addresses.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/gtk/application_view_gtk.h"
#include "platform/gtk/bundle_gtk.h"
#include "platform/gtk/calendar_gtk.h"
#include "platform/gtk/dispatcher_timers_gtk.h"
#include "platform/gtk/launch_address_gtk.h"
#include "platform/gtk/message_dialogs_gtk.h"
#include "platform/gtk/system_info_gtk.h"
#include "platform/ui/element.h"

G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace {

namespace fs = std::filesystem;

// Runs the main loop until done() holds or the time is up.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 3000)
{
    const gint64 deadline = g_get_monotonic_time() + gint64(timeoutMs) * 1000;
    const guint wake = g_timeout_add(5, [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    bool met = done();
    while (!met && g_get_monotonic_time() < deadline) {
        g_main_context_iteration(nullptr, TRUE);
        met = done();
    }
    g_source_remove(wake);
    return met;
}

void PumpFor(int ms)
{
    const gint64 end = g_get_monotonic_time() + gint64(ms) * 1000;
    PumpUntil([&] { return g_get_monotonic_time() >= end; }, ms + 1000);
}

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override { gtk_init(); }
};

// --- Message dialogs ----------------------------------------------------------

std::vector<GtkMessageDialog*> OpenMessageDialogs()
{
    std::vector<GtkMessageDialog*> found;
    GListModel* toplevels = gtk_window_get_toplevels();
    for (guint i = 0; i < g_list_model_get_n_items(toplevels); ++i) {
        auto* window = static_cast<GObject*>(g_list_model_get_item(toplevels, i));
        if (GTK_IS_MESSAGE_DIALOG(window))
            found.push_back(GTK_MESSAGE_DIALOG(window));
        g_object_unref(window);
    }
    return found;
}

std::string StringProperty(gpointer object, const char* name)
{
    char* value = nullptr;
    g_object_get(object, name, &value, nullptr);
    std::string result = value ? value : "";
    g_free(value);
    return result;
}

std::string ButtonLabel(GtkMessageDialog* dialog, int responseId)
{
    GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), responseId);
    return button && GTK_IS_BUTTON(button) ? gtk_button_get_label(GTK_BUTTON(button)) : "";
}

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
        PumpFor(10);
    }

    GtkMessageDialog* ShowOne(std::vector<std::string> commands)
    {
        m_dialogs->Show("Close Tolvane Browser?", "Tolvane Browser", commands,
                        [this](const std::string& label) { m_picked.push_back(label); });
        auto open = OpenMessageDialogs();
        return open.size() == 1 ? open.front() : nullptr;
    }

    GtkWindow* m_parent = nullptr;
    std::unique_ptr<gtkui::GtkMessageDialogs> m_dialogs;
    std::vector<std::string> m_picked;
};

TEST_F(MessageDialogTest, ShowsTitleContentAndOneButtonPerCommand)
{
    GtkMessageDialog* dialog = ShowOne({"Yes", "No"});
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(StringProperty(dialog, "text"), "Tolvane Browser");
    EXPECT_EQ(StringProperty(dialog, "secondary-text"), "Close Tolvane Browser?");
    EXPECT_FALSE(gtk_window_get_modal(GTK_WINDOW(dialog)));
    EXPECT_EQ(gtk_window_get_transient_for(GTK_WINDOW(dialog)), m_parent);
    EXPECT_EQ(ButtonLabel(dialog, 0), "Yes");
    EXPECT_EQ(ButtonLabel(dialog, 1), "No");
    EXPECT_EQ(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), 2), nullptr);
    EXPECT_TRUE(m_picked.empty()) << "shown, not answered";
}

TEST_F(MessageDialogTest, AnswerCallsBackWithTheLabelAndCloses)
{
    struct Case {
        std::vector<std::string> commands;
        int response;
        std::vector<std::string> picked;
    };
    const Case cases[] = {
        {{"Yes", "No"}, 0, {"Yes"}},
        {{"Yes", "No"}, 1, {"No"}},
        {{"Sim", "Não \"aspas\""}, 1, {"Não \"aspas\""}},
        // Closing the window answers nothing.
        {{"Yes", "No"}, GTK_RESPONSE_DELETE_EVENT, {}},
        // No commands: GTK's own close button, and no callback.
        {{}, GTK_RESPONSE_OK, {}},
    };
    for (const auto& c : cases) {
        m_picked.clear();
        GtkMessageDialog* dialog = ShowOne(c.commands);
        ASSERT_NE(dialog, nullptr);
        if (c.commands.empty()) {
            EXPECT_NE(gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK), nullptr);
        }
        gtk_dialog_response(GTK_DIALOG(dialog), c.response);
        EXPECT_EQ(m_picked, c.picked) << "response " << c.response;
        EXPECT_TRUE(OpenMessageDialogs().empty()) << "response " << c.response;
        EXPECT_TRUE(m_dialogs->OpenDialogs().empty());
    }
}

TEST_F(MessageDialogTest, SeveralDialogsAnswerIndependently)
{
    m_dialogs->Show("first", "Tolvane Browser", {"A"}, [this](const std::string& l) { m_picked.push_back("1:" + l); });
    m_dialogs->Show("second", "Tolvane Browser", {"B"}, [this](const std::string& l) { m_picked.push_back("2:" + l); });
    auto open = OpenMessageDialogs();
    ASSERT_EQ(open.size(), 2u);
    for (auto* dialog : open)
        gtk_dialog_response(GTK_DIALOG(dialog), 0);
    std::sort(m_picked.begin(), m_picked.end());
    EXPECT_EQ(m_picked, (std::vector<std::string>{"1:A", "2:B"}));
}

TEST_F(MessageDialogTest, DialogsGoWithTheAdapterWithoutCallingBack)
{
    ASSERT_NE(ShowOne({"Yes", "No"}), nullptr);
    m_dialogs.reset();
    EXPECT_TRUE(OpenMessageDialogs().empty());
    EXPECT_TRUE(m_picked.empty());
}

// --- Dispatcher timers -----------------------------------------------------------

TEST_F(ShellTest, TimerTicksAboutSixtyTimesASecondAndStops)
{
    gtkui::GLibDispatcherTimers timers;
    int ticks = 0;
    auto timer = timers.Create([&] { ++ticks; });
    EXPECT_FALSE(timer->IsEnabled());
    PumpFor(100);
    EXPECT_EQ(ticks, 0) << "created stopped";

    timer->Start();
    timer->Start(); // a no-op: still one source
    EXPECT_TRUE(timer->IsEnabled());
    PumpFor(500);
    // 16 ms apart: about 30 in half a second. Loose bounds: a loaded machine
    // runs late, but a busy loop or a doubled source would go far above.
    EXPECT_GE(ticks, 8);
    EXPECT_LE(ticks, 40);

    timer->Stop();
    EXPECT_FALSE(timer->IsEnabled());
    int atStop = ticks;
    PumpFor(100);
    EXPECT_EQ(ticks, atStop);
}

TEST_F(ShellTest, TimerMayStopOrDestroyItselfInItsTick)
{
    gtkui::GLibDispatcherTimers timers;
    int stopTicks = 0;
    std::unique_ptr<platform::DispatcherTimer> stopping;
    stopping = timers.Create([&] {
        ++stopTicks;
        stopping->Stop();
    });
    int destroyTicks = 0;
    std::unique_ptr<platform::DispatcherTimer> destroying;
    destroying = timers.Create([&] {
        ++destroyTicks;
        destroying.reset();
    });
    stopping->Start();
    destroying->Start();
    PumpFor(150);
    EXPECT_EQ(stopTicks, 1);
    EXPECT_FALSE(stopping->IsEnabled());
    EXPECT_EQ(destroyTicks, 1);
    EXPECT_EQ(destroying, nullptr);

    stopping->Start();
    PumpFor(100);
    EXPECT_EQ(stopTicks, 2) << "restarts after stopping";
}

TEST_F(ShellTest, DestroyedRunningTimerNeverTicks)
{
    gtkui::GLibDispatcherTimers timers;
    int ticks = 0;
    auto timer = timers.Create([&] { ++ticks; });
    timer->Start();
    timer.reset();
    PumpFor(80);
    EXPECT_EQ(ticks, 0);
}

// --- Calendar -----------------------------------------------------------------------

class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* old = std::getenv("TZ"))
            m_old = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_old)
            setenv("TZ", m_old->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_old;
};

TEST_F(ShellTest, CalendarReadsTheLocalClock)
{
    // A zone 5:45 from UTC: a calendar on UTC would be off in hour and minute.
    for (const char* zone : {"Asia/Kathmandu", "America/Sao_Paulo", "UTC"}) {
        ScopedTimeZone scoped(zone);
        platform::CalendarNow now;
        std::tm expected{};
        // Read both within one minute (retry across a minute boundary).
        for (int attempt = 0; attempt < 3; ++attempt) {
            std::time_t before = std::time(nullptr);
            now = gtkui::LocalCalendar().Now();
            std::time_t after = std::time(nullptr);
            localtime_r(&after, &expected);
            if (before / 60 == after / 60)
                break;
        }
        EXPECT_EQ(now.Day, expected.tm_mday) << zone;
        EXPECT_EQ(now.Month, expected.tm_mon + 1) << zone;
        EXPECT_EQ(now.Hour, expected.tm_hour) << zone;
        EXPECT_EQ(now.Minute, expected.tm_min) << zone;
    }
}

// --- Window: size and title bar ------------------------------------------------------

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
        PumpFor(10);
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
    ASSERT_TRUE(PumpUntil([&] { return ContentIs(400, 300); }));
    PumpFor(100);
    EXPECT_EQ(m_sizeChanges, 0) << "showing at the default size is no change";

    gtk_window_set_default_size(m_window, 640, 480);
    ASSERT_TRUE(PumpUntil([&] { return m_sizeChanges > 0 && ContentIs(640, 480); }));
    PumpFor(100);
    EXPECT_EQ(m_sizeChanges, 1) << "width, height and allocation make one change";
    EXPECT_EQ(m_view->VisibleBounds(), (ui::Rect{0, 0, 640, 480}));
}

TEST_F(WindowViewTest, TitleBarElementBecomesTheDragAreaOnceItsWidgetExists)
{
    ui::Grid titleBar;
    GtkWidget* titleWidget = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    gtk_box_append(GTK_BOX(m_content), titleWidget);

    m_view->ExtendViewIntoTitleBar(titleBar);
    GtkWidget* systemTitleBar = gtk_window_get_titlebar(m_window);
    ASSERT_NE(systemTitleBar, nullptr) << "the window's own title bar is replaced";
    EXPECT_FALSE(gtk_widget_get_visible(systemTitleBar));
    EXPECT_EQ(m_view->DragWidget(), nullptr) << "no widget yet";

    GListModel* before = gtk_widget_observe_controllers(titleWidget);
    guint controllersBefore = g_list_model_get_n_items(before);
    g_object_unref(before);

    m_view->AttachContent([&](const ui::Element& e) { return &e == &titleBar ? titleWidget : nullptr; });
    EXPECT_EQ(m_view->DragWidget(), titleWidget);
    GListModel* after = gtk_widget_observe_controllers(titleWidget);
    EXPECT_GT(g_list_model_get_n_items(after), controllersBefore);
    g_object_unref(after);

    // The controllers leave with the view: the widget never calls a dead one.
    m_view.reset();
    GListModel* gone = gtk_widget_observe_controllers(titleWidget);
    EXPECT_EQ(g_list_model_get_n_items(gone), controllersBefore);
    g_object_unref(gone);
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
        guint keyval;
        GdkModifierType state;
        bool handle;
        int requests;
        gboolean consumed;
    };
    const Case cases[] = {
        {GDK_KEY_Left, GDK_ALT_MASK, true, 1, TRUE},
        {GDK_KEY_Left, GDK_ALT_MASK, false, 1, FALSE},  // unhandled: the key goes on
        {GDK_KEY_KP_Left, GdkModifierType(GDK_ALT_MASK | GDK_LOCK_MASK), true, 1, TRUE},
        {GDK_KEY_Back, GdkModifierType(0), true, 1, TRUE},
        {GDK_KEY_Left, GdkModifierType(0), true, 0, FALSE},
        {GDK_KEY_Left, GdkModifierType(GDK_ALT_MASK | GDK_CONTROL_MASK), true, 0, FALSE},
        {GDK_KEY_Right, GDK_ALT_MASK, true, 0, FALSE},
    };
    for (const auto& c : cases) {
        requests = 0;
        handleIt = c.handle;
        gboolean consumed = FALSE;
        g_signal_emit_by_name(keys, "key-pressed", c.keyval, 0u, c.state, &consumed);
        EXPECT_EQ(requests, c.requests) << gdk_keyval_name(c.keyval) << " state " << c.state;
        EXPECT_EQ(consumed, c.consumed) << gdk_keyval_name(c.keyval) << " state " << c.state;
    }
}

TEST_F(WindowViewTest, ExitWithoutAnApplicationClosesTheWindow)
{
    gtk_window_present(m_window);
    m_view->Exit();
    EXPECT_FALSE(gtk_widget_get_visible(GTK_WIDGET(m_window)));
}

// --- Bundle, resources, local folder ------------------------------------------------------

TEST_F(ShellTest, BundleHoldsThePageMarkupAndTables)
{
    std::string markup = gtkui::ReadBundledFile("/app/wMain.xaml");
    EXPECT_NE(markup.find("<Page"), std::string::npos);
    EXPECT_EQ(gtkui::ReadBundledFile("/app/none.xaml"), "");
    EXPECT_EQ(gtkui::ReadBundledFile(""), "");
}

TEST_F(ShellTest, ResourceTableFollowsTheUserLanguage)
{
    struct Case {
        const char* language;
        const char* expected;
    };
    const Case cases[] = {{"pt_BR", "PT-BR"}, {"pt_PT:en", "PT-BR"}, {"en_GB", "EN-US"}, {"de_DE", "EN-US"}};
    std::optional<std::string> old;
    if (const char* value = std::getenv("LANGUAGE"))
        old = value;
    std::optional<std::string> oldAll;
    if (const char* value = std::getenv("LC_ALL"))
        oldAll = value;
    setenv("LC_ALL", "C.UTF-8", 1); // LANGUAGE counts only outside the plain C locale
    for (const auto& c : cases) {
        setenv("LANGUAGE", c.language, 1);
        auto table = gtkui::LoadResourceTable();
        EXPECT_EQ(table->GetString("wLanguage"), c.expected) << c.language;
        EXPECT_TRUE(table->Problems().empty()) << c.language;
    }
    old ? setenv("LANGUAGE", old->c_str(), 1) : unsetenv("LANGUAGE");
    oldAll ? setenv("LC_ALL", oldAll->c_str(), 1) : unsetenv("LC_ALL");
}

TEST_F(ShellTest, LocalFolderIsCreated)
{
    fs::path base = fs::temp_directory_path() / ("tolvane-shell-" + std::to_string(g_get_monotonic_time()));
    fs::path folder = base / "data" / "tolvane-browser";
    gtkui::DesktopSystemInfo system(folder.string() + "/");
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_EQ(system.LocalFolderPath(), folder.string());
    EXPECT_EQ(system.DeviceFamily(), "Windows.Desktop");
    EXPECT_FALSE(system.IsTypePresent("Windows.UI.ViewManagement.StatusBar"));
    fs::remove_all(base);
}

// --- Command-line addresses ---------------------------------------------------------------

TEST(LaunchAddress, MakesWhatADesktopUserMeant)
{
    fs::path dir = fs::temp_directory_path() / ("tolvane-address-" + std::to_string(g_get_monotonic_time()));
    fs::create_directories(dir);
    std::ofstream(dir / "page.html") << "<p>hi</p>";
    std::ofstream(dir / "my page.html") << "<p>hi</p>";
    const std::string cwd = dir.string();
    const std::string base = "file://" + cwd;

    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"https://example.com/a?b=c", "https://example.com/a?b=c"},
        {"http://127.0.0.1:8000/", "http://127.0.0.1:8000/"},
        {"about:blank", "about:blank"},
        {"mailto:someone@example.com", "mailto:someone@example.com"},
        {"tel:123", "tel:123"},
        {"127.0.0.1:8000", "http://127.0.0.1:8000"},
        {"127.0.0.1:8000/path?q=1", "http://127.0.0.1:8000/path?q=1"},
        {"localhost:8080", "http://localhost:8080"},
        {"localhost:8080/x", "http://localhost:8080/x"},
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
    for (const auto& c : cases)
        EXPECT_EQ(gtkui::AddressFromCommandLine(c.text, cwd), c.expected) << "\"" << c.text << "\"";
    fs::remove_all(dir);
}

} // namespace

G_GNUC_END_IGNORE_DEPRECATIONS
