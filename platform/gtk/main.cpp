// tolvane-browser: the application shell. One GtkApplication (single
// instance over D-Bus: a second invocation hands its command line to the
// running one), one window, the platform adapters and the App on top.
//
//   tolvane-browser                   a plain launch
//   tolvane-browser ADDRESS…          a protocol activation with each address
//   tolvane-browser --arguments TEXT  a launch with arguments (pinned pages)
//   tolvane-browser --private-tab     a private tab (the desktop entry's action)
//   tolvane-browser --version
#include <glib-unix.h>
#include <gtk/gtk.h>

#include <csignal>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/app.h"
#include "app/main_page.h"
#include "platform/gtk/bundle_gtk.h"
#include "platform/gtk/calendar_gtk.h"
#include "platform/gtk/clipboard_gtk.h"
#include "platform/gtk/curl_downloader.h"
#include "platform/gtk/desktop_portal_gtk.h"
#include "platform/gtk/dispatcher_timers_gtk.h"
#include "platform/gtk/download_files_gtk.h"
#include "platform/gtk/folder_picker_gtk.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/launch_address_gtk.h"
#include "platform/gtk/launcher_gtk.h"
#include "platform/gtk/main_window_gtk.h"
#include "platform/gtk/message_dialogs_gtk.h"
#include "platform/gtk/secondary_tiles_gtk.h"
#include "platform/gtk/source_holder.h"
#include "platform/gtk/startup_report_gtk.h"
#include "platform/gtk/state_probe_gtk.h"
#include "platform/gtk/store_language_gtk.h"
#include "platform/gtk/system_info_gtk.h"
#include "platform/gtk/toast_notifier_gtk.h"
#include "platform/gtk/web_views_gtk.h"

namespace {

constexpr const char* ApplicationId = "org.tolvane.Browser";
// A running portal answers in a few milliseconds, a starting one well within
// this; the window must still appear soon after when none answers.
constexpr int PortalTimeoutMs = 500;
// The session bus the browser was started with, kept on the application for
// the programs it launches (the portal guard may drop it from the environment).
constexpr const char* SessionBusKey = "tolvane-session-bus";

std::string SessionBusAddress(GtkApplication* application)
{
    auto* address = static_cast<const char*>(g_object_get_data(G_OBJECT(application), SessionBusKey));
    return address ? address : "";
}

std::string VersionText()
{
    auto v = gtkui::DesktopSystemInfo::BuildVersion();
    return std::to_string(v.Major) + "." + std::to_string(v.Minor) + "." + std::to_string(v.Build) + "." +
           std::to_string(v.Revision);
}

// Everything the running browser owns, built once the toolkit is up and torn
// down at shutdown: the adapters outlive the App and its page.
class Shell {
public:
    explicit Shell(GtkApplication* application)
        : m_window(application),
          m_dialogs(m_window.Window()),
          m_strings(gtkui::LoadResourceTable()),
          m_system(G_APPLICATION(application)),
          m_folderPicker(m_window.Window(), [this] { return m_files.DownloadsFolderPath(); }),
          m_toasts(G_APPLICATION(application), m_window.Window(), [this] { return m_window.ContentOverlay(); }),
          m_launcher(SessionBusAddress(application)),
          m_tiles(std::string(g_get_user_data_dir()) + "/applications", gtkui::DesktopEntryTiles::RunningBinaryPath(),
                  [this] { return gtkui::DesktopEntryTiles::CopyBundledLogo(m_system.LocalFolderPath()); }),
          m_services{m_dialogs, *m_strings, m_timers, m_window.View(), m_system, m_calendar, m_webViews,
                     &gtkui::ReadBundledFile, m_clipboard,
                     {m_files, m_downloader, m_folderPicker, m_toasts},
                     m_launcher, m_tiles, m_store, m_language},
          m_app(std::make_unique<App>(m_services, m_window))
    {
        gtkui::ReportStartupOnFirstFrame(m_window.Window());
        m_probe = gtkui::StateProbe::FromEnvironment(
            [this]() -> ui::Element* { return m_app && m_app->Page() ? &m_app->Page()->Root() : nullptr; }, m_dialogs,
            {&m_toasts, &m_timers, &m_window.View()});
    }

    ~Shell()
    {
        // The renderer observes the page's elements: it goes first, then the page.
        m_probe.reset();
        m_window.ClearContent();
        m_app.reset();
    }

    App& Application() { return *m_app; }
    bool HasPage() const { return m_app->Page() != nullptr; }

private:
    gtkui::MainWindow m_window;
    gtkui::GtkMessageDialogs m_dialogs;
    std::unique_ptr<platform::PoResources> m_strings;
    gtkui::GLibDispatcherTimers m_timers;
    gtkui::DesktopSystemInfo m_system;
    gtkui::LocalCalendar m_calendar;
    gtkui::WebKitWebViews m_webViews;
    gtkui::DisplayClipboard m_clipboard;
    gtkui::LocalDownloadFiles m_files;
    // Outlives the page, whose operations it serves; its end deletes unfinished files.
    gtkui::CurlDownloader m_downloader;
    gtkui::NativeFolderPicker m_folderPicker;
    gtkui::DesktopToastNotifier m_toasts;
    gtkui::DesktopLauncher m_launcher;
    gtkui::DesktopEntryTiles m_tiles;
    gtkui::NoStore m_store;
    gtkui::LocaleLanguage m_language;
    platform::PlatformServices m_services;
    std::unique_ptr<App> m_app;
    std::unique_ptr<gtkui::StateProbe> m_probe;
};

// The signal handlers' user data: main's holder of the shell.
using ShellHolder = std::unique_ptr<Shell>;

void OnStartup(GApplication* application, gpointer holder)
{
    auto& shell = *static_cast<ShellHolder*>(holder);
    // The icon the desktop entry names, installed in the hicolor theme.
    gtk_window_set_default_icon_name(ApplicationId);
    try {
        shell = std::make_unique<Shell>(GTK_APPLICATION(application));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tolvane-browser: %s\n", e.what());
        g_application_quit(application);
    }
}

void OnShutdown(GApplication*, gpointer holder)
{
    static_cast<ShellHolder*>(holder)->reset();
}

// What one command line asks for, read from GApplication's parsed options.
struct Request {
    std::string Arguments;
    bool HasArguments = false;
    bool PrivateTab = false;
    std::vector<std::string> Addresses;
};

Request ReadRequest(GApplicationCommandLine* commandLine)
{
    Request request;
    GVariantDict* options = g_application_command_line_get_options_dict(commandLine);
    const char* arguments = nullptr;
    if (g_variant_dict_lookup(options, "arguments", "&s", &arguments)) {
        request.Arguments = arguments;
        request.HasArguments = true;
    }
    request.PrivateTab = g_variant_dict_contains(options, "private-tab");
    const char** addresses = nullptr;
    if (g_variant_dict_lookup(options, G_OPTION_REMAINING, "^a&s", &addresses)) {
        for (const char** a = addresses; *a; ++a)
            request.Addresses.emplace_back(*a);
        g_free(addresses);
    }
    return request;
}

// Runs one request against the App; returns the exit status for the
// invocation that sent it.
int Dispatch(Shell& shell, const Request& request, GApplicationCommandLine* commandLine)
{
    if (int(request.HasArguments) + int(!request.Addresses.empty()) + int(request.PrivateTab) > 1) {
        g_application_command_line_printerr(
            commandLine, "tolvane-browser: give one of --arguments, --private-tab or an address, not more\n");
        return 1;
    }
    App& app = shell.Application();
    if (request.PrivateTab) {
        app.OnNewPrivateTab();
    } else if (!request.Addresses.empty()) {
        // Several come from a desktop opening several files at once: each
        // opens in a tab of its own.
        const char* cwd = g_application_command_line_get_cwd(commandLine);
        int status = 0;
        for (const auto& text : request.Addresses) {
            std::string address = gtkui::AddressFromCommandLine(text, cwd ? cwd : ".");
            if (!app.OnActivated(ActivationKind::Protocol, address)) {
                // The window says why; the invoking terminal learns that it failed.
                g_application_command_line_printerr(commandLine, "tolvane-browser: the address was refused\n");
                status = 1;
            }
        }
        return status;
    } else {
        app.OnLaunched(LaunchArgs{request.Arguments});
    }
    return 0;
}

int OnCommandLine(GApplication* application, GApplicationCommandLine* commandLine, gpointer holder)
{
    auto& shell = *static_cast<ShellHolder*>(holder);
    if (!shell)
        return 1;
    int status = 1;
    try {
        status = Dispatch(*shell, ReadRequest(commandLine), commandLine);
    } catch (const std::exception& e) {
        // Bad page markup lands here: the message names the line and the element.
        g_application_command_line_printerr(commandLine, "tolvane-browser: %s\n", e.what());
    } catch (...) {
        g_application_command_line_printerr(commandLine, "tolvane-browser: start-up failed\n");
    }
    // Without a page there is nothing to keep running for.
    if (status != 0 && !shell->HasPage())
        g_application_quit(application);
    return status;
}

// A launch through D-Bus activation (no command line): a plain launch.
void OnActivate(GApplication* application, gpointer holder)
{
    auto& shell = *static_cast<ShellHolder*>(holder);
    if (!shell)
        return;
    try {
        shell->Application().OnLaunched(LaunchArgs{});
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tolvane-browser: %s\n", e.what());
    }
    if (!shell->HasPage())
        g_application_quit(application);
}

// SIGTERM and SIGINT end the browser as Exit does: the page and the
// engine's processes go down in order.
gboolean OnTerminate(gpointer application)
{
    g_application_quit(G_APPLICATION(application));
    return G_SOURCE_CONTINUE;
}

// Options answered here, without reaching a running instance.
int OnHandleLocalOptions(GApplication*, GVariantDict* options, gpointer)
{
    if (g_variant_dict_contains(options, "version")) {
        std::printf("Tolvane Browser %s\n", VersionText().c_str());
        return 0;
    }
    return -1;
}

const GOptionEntry Options[] = {
    {"version", 0, 0, G_OPTION_ARG_NONE, nullptr, "Print the version and exit", nullptr},
    {"arguments", 0, 0, G_OPTION_ARG_STRING, nullptr, "Start as a launch with these arguments (an address)", "TEXT"},
    {"private-tab", 0, 0, G_OPTION_ARG_NONE, nullptr, "Open a private tab on the home page", nullptr},
    {G_OPTION_REMAINING, 0, 0, G_OPTION_ARG_STRING_ARRAY, nullptr, nullptr, "[ADDRESS…]"},
    {nullptr, 0, 0, G_OPTION_ARG_NONE, nullptr, nullptr, nullptr},
};

} // namespace

int main(int argc, char** argv)
{
    gtkui::MarkMainEntered();
    const char* sessionBus = g_getenv("DBUS_SESSION_BUS_ADDRESS");
    std::string sessionBusAddress = sessionBus ? sessionBus : "";
    // Before the toolkit starts: it must not wait on a portal that never answers.
    gtkui::SilentPortalGuard portal(PortalTimeoutMs);
    auto application = gtkui::Adopt(gtk_application_new(ApplicationId, G_APPLICATION_HANDLES_COMMAND_LINE));
    GApplication* app = G_APPLICATION(application.Get());
    g_object_set_data_full(G_OBJECT(app), SessionBusKey, g_strdup(sessionBusAddress.c_str()), g_free);
    g_application_add_main_option_entries(app, Options);
    g_application_set_option_context_summary(
        app, "Opens each ADDRESS (a web address, or a file) in Tolvane Browser; a running browser opens it in a new tab.");

    g_signal_connect(app, "handle-local-options", G_CALLBACK(&OnHandleLocalOptions), nullptr);
    // Declared after the application: it is gone (at shutdown at the latest)
    // before the application is.
    ShellHolder shell;
    g_signal_connect(app, "startup", G_CALLBACK(&OnStartup), &shell);
    g_signal_connect(app, "shutdown", G_CALLBACK(&OnShutdown), &shell);
    g_signal_connect(app, "command-line", G_CALLBACK(&OnCommandLine), &shell);
    g_signal_connect(app, "activate", G_CALLBACK(&OnActivate), &shell);
    gtkui::SourceHolder onTerm(g_unix_signal_add(SIGTERM, &OnTerminate, app));
    gtkui::SourceHolder onInt(g_unix_signal_add(SIGINT, &OnTerminate, app));
    return g_application_run(app, argc, argv);
}
