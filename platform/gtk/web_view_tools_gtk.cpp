// The web view's tools: find in page, print, the inspector and the page's
// own bytes (for its source).
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>

#include "platform/gtk/callback_guard.h"
#include "platform/gtk/glib_text.h"
#include "platform/gtk/web_view_gtk.h"

namespace {

constexpr auto FindOptions =
    static_cast<WebKitFindOptions>(WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND);

struct PendingResource {
    std::function<void(std::optional<std::string>)> Done;
};

void ResourceDataFinished(GObject* source, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<PendingResource> pending(static_cast<PendingResource*>(data));
    GError* error = nullptr;
    gsize length = 0;
    guchar* bytes = webkit_web_resource_get_data_finish(WEBKIT_WEB_RESOURCE(source), result, &length, &error);
    if (error) {
        // Cancelled means the view has gone, and whoever asked with it.
        const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
        g_error_free(error);
        if (!cancelled && pending->Done)
            pending->Done(std::nullopt);
        return;
    }
    std::string text(reinterpret_cast<const char*>(bytes), bytes ? length : 0);
    g_free(bytes);
    if (pending->Done)
        pending->Done(std::move(text));
}

// When the file at path was last written (0 when there is none), so a file
// left by an earlier print never passes for a new one.
int64_t FileWritten(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || status.st_size == 0)
        return 0;
    return int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

// Settings for GTK's file printer, which every installation has: it is
// found by its shown name, translated in GTK's own catalogue.
gtkui::GObjectPtr<GtkPrintSettings> FilePrinterSettings(const char* uri)
{
    gtkui::GObjectPtr<GtkPrintSettings> settings(gtk_print_settings_new());
    gtk_print_settings_set_printer(settings.Get(), g_dgettext("gtk40", "Print to File"));
    gtk_print_settings_set(settings.Get(), GTK_PRINT_SETTINGS_OUTPUT_FILE_FORMAT, "pdf");
    gtk_print_settings_set(settings.Get(), GTK_PRINT_SETTINGS_OUTPUT_URI, uri);
    return settings;
}

} // namespace

namespace gtkui {

void WebKitWebView::ConnectFindSignals()
{
    WebKitFindController* finder = webkit_web_view_get_find_controller(m_view.Get());
    m_connections.emplace_back(finder,
                               g_signal_connect(finder, "counted-matches", G_CALLBACK(CountedMatchesThunk), this));
    m_connections.emplace_back(finder,
                               g_signal_connect(finder, "failed-to-find-text", G_CALLBACK(FailedToFindThunk), this));
}

void WebKitWebView::FindText(const std::string& text)
{
    WebKitFindController* finder = webkit_web_view_get_find_controller(m_view.Get());
    m_findText = ValidUtf8(text);
    if (m_findText.empty()) {
        webkit_find_controller_search_finish(finder);
        FindCounted(*this, platform::FindResultArgs{m_findText, 0});
        return;
    }
    webkit_find_controller_count_matches(finder, m_findText.c_str(), FindOptions, G_MAXUINT);
    webkit_find_controller_search(finder, m_findText.c_str(), FindOptions, G_MAXUINT);
}

void WebKitWebView::FindNext(bool backwards)
{
    WebKitFindController* finder = webkit_web_view_get_find_controller(m_view.Get());
    if (m_findText.empty())
        return;
    if (backwards)
        webkit_find_controller_search_previous(finder);
    else
        webkit_find_controller_search_next(finder);
}

void WebKitWebView::FindFinished()
{
    m_findText.clear();
    webkit_find_controller_search_finish(webkit_web_view_get_find_controller(m_view.Get()));
}

void WebKitWebView::CountedMatchesThunk(WebKitFindController*, guint matches, gpointer self)
{
    auto* view = static_cast<WebKitWebView*>(self);
    view->FindCounted(*view, platform::FindResultArgs{view->m_findText, matches});
}

void WebKitWebView::FailedToFindThunk(WebKitFindController*, gpointer self)
{
    auto* view = static_cast<WebKitWebView*>(self);
    view->FindCounted(*view, platform::FindResultArgs{view->m_findText, 0});
}

void WebKitWebView::Print()
{
    GObjectPtr<WebKitPrintOperation> operation(webkit_print_operation_new(m_view.Get()));
    GtkRoot* root = gtk_widget_get_root(GTK_WIDGET(m_view.Get()));
    webkit_print_operation_run_dialog(operation.Get(), GTK_IS_WINDOW(root) ? GTK_WINDOW(root) : nullptr);
}

struct WebKitWebView::PendingPrint {
    GObjectPtr<WebKitPrintOperation> Operation;
    std::string Path;
    int64_t WrittenBefore = 0;
    std::function<void(bool)> Done;
    bool Failed = false;
    std::vector<SignalConnection> Connections;
};

void WebKitWebView::PrintToFile(const std::string& path, std::function<void(bool printed)> done)
{
    GError* error = nullptr;
    char* uri = g_path_is_absolute(path.c_str()) ? g_filename_to_uri(path.c_str(), nullptr, &error) : nullptr;
    if (!uri) {
        g_warning("cannot print to %s: %s", path.c_str(), error ? error->message : "not an absolute path");
        g_clear_error(&error);
        if (done)
            done(false);
        return;
    }
    auto pending = std::make_shared<PendingPrint>();
    pending->Operation = GObjectPtr<WebKitPrintOperation>(webkit_print_operation_new(m_view.Get()));
    pending->Path = path;
    pending->WrittenBefore = FileWritten(path);
    pending->Done = std::move(done);
    WebKitPrintOperation* operation = pending->Operation.Get();
    webkit_print_operation_set_print_settings(operation, FilePrinterSettings(uri).Get());
    g_free(uri);
    pending->Connections.emplace_back(operation,
                                      g_signal_connect(operation, "failed", G_CALLBACK(PrintFailedThunk), this));
    pending->Connections.emplace_back(operation,
                                      g_signal_connect(operation, "finished", G_CALLBACK(PrintFinishedThunk), this));
    m_prints.push_back(std::move(pending));
    webkit_print_operation_print(operation);
}

void WebKitWebView::PrintFailedThunk(WebKitPrintOperation* operation, GError* error, gpointer self)
{
    auto* view = static_cast<WebKitWebView*>(self);
    for (auto& pending : view->m_prints)
        if (pending->Operation.Get() == operation) {
            g_warning("printing to %s failed: %s", pending->Path.c_str(), error ? error->message : "");
            pending->Failed = true;
        }
}

// The engine says finished after a failure too: only a file written now counts.
void WebKitWebView::PrintFinishedThunk(WebKitPrintOperation* operation, gpointer self)
{
    auto* view = static_cast<WebKitWebView*>(self);
    auto found = std::find_if(view->m_prints.begin(), view->m_prints.end(),
                              [operation](const auto& pending) { return pending->Operation.Get() == operation; });
    if (found == view->m_prints.end())
        return;
    std::shared_ptr<PendingPrint> pending = std::move(*found);
    view->m_prints.erase(found);
    const int64_t written = FileWritten(pending->Path);
    const bool printed = !pending->Failed && written != 0 && written != pending->WrittenBefore;
    if (pending->Done)
        Guarded("print to file", [&] { pending->Done(printed); });
}

void WebKitWebView::ToggleInspector()
{
    WebKitWebInspector* inspector = webkit_web_view_get_inspector(m_view.Get());
    if (webkit_web_inspector_get_web_view(inspector))
        webkit_web_inspector_close(inspector);
    else
        webkit_web_inspector_show(inspector);
}

void WebKitWebView::ReadMainResource(std::function<void(std::optional<std::string>)> done)
{
    WebKitWebResource* resource = webkit_web_view_get_main_resource(m_view.Get());
    if (!resource) {
        if (done)
            done(std::nullopt);
        return;
    }
    webkit_web_resource_get_data(resource, m_cancellable.Get(), ResourceDataFinished,
                                 new PendingResource{std::move(done)});
}

} // namespace gtkui
