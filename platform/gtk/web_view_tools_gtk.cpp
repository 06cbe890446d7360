// The web view's tools: find in page, print, the inspector and the page's
// own bytes (for its source).
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <utility>

#include "platform/gtk/callback_guard.h"
#include "platform/gtk/glib_text.h"
#include "platform/gtk/web_view_gtk.h"

namespace {

constexpr auto FindOptions =
    static_cast<WebKitFindOptions>(WEBKIT_FIND_OPTIONS_CASE_INSENSITIVE | WEBKIT_FIND_OPTIONS_WRAP_AROUND);

// The engine walks the page's text afresh for every match it counts or
// highlights, so a search costs about the page's text times its matches: a
// search counts only what fits in a few tens of milliseconds of this page
// (characters walked), and says when it stopped early. Until the page's
// length is known the search assumes a big page.
constexpr size_t SearchBudget = 10'000'000;
constexpr guint UnknownPageLimit = 3;
constexpr guint MostHighlighted = 1000;

guint SearchLimit(size_t pageText)
{
    if (pageText == 0)
        return UnknownPageLimit;
    return static_cast<guint>(std::clamp<size_t>(SearchBudget / pageText, 1, MostHighlighted));
}

// Counts in a script world of its own, which the page's scripts can neither
// see nor change. The page's text, folded as the engine folds it when it
// ignores case, is kept until the page changes (typing on asks again and
// again of the same text); the page is watched only while a text is kept.
// Answers "count length".
constexpr const char* CountScript = R"(
const fold = (s) => s.toLowerCase().replace(/\u00a0/g, ' ').replace(/\u00ad/g, '')
    .replace(/[\u2018\u2019]/g, "'").replace(/[\u201c\u201d]/g, '"');
let kept = globalThis.tolvaneFindText;
if (!kept) {
    kept = globalThis.tolvaneFindText = { text: null };
    kept.watch = new MutationObserver(() => { kept.text = null; kept.watch.disconnect(); });
}
if (kept.text === null) {
    const root = document.body || document.documentElement;
    kept.text = root ? fold(root.innerText || '') : '';
    kept.watch.observe(document, { subtree: true, childList: true, characterData: true, attributes: true });
}
const needle = fold(text);
let count = 0;
for (let at = kept.text.indexOf(needle); needle && at >= 0; at = kept.text.indexOf(needle, at + needle.length))
    ++count;
return count + ' ' + kept.text.length;
)";
constexpr const char* FindWorld = "tolvane-find";
// The page answers a count in milliseconds, but behind the engine's search it
// waits for the whole walk: a search waits for the counts asked before it,
// never longer than this.
constexpr guint CountWaitMs = 150;

struct PendingCount {
    gtkui::WebKitWebView* View;
    std::string Text;
};

void CountFinished(GObject* source, GAsyncResult* result, gpointer data)
{
    std::unique_ptr<PendingCount> pending(static_cast<PendingCount*>(data));
    GError* error = nullptr;
    gtkui::GObjectPtr<JSCValue> value(webkit_web_view_call_async_javascript_function_finish(
        reinterpret_cast<::WebKitWebView*>(source), result, &error));
    if (error) {
        // Cancelled means the view has gone; otherwise the page could not be
        // read (no document yet, scripts off): the engine's answer stands.
        const bool cancelled = g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED);
        if (!cancelled)
            g_debug("find count failed: %s", error->message);
        g_error_free(error);
        if (!cancelled)
            gtkui::Guarded("find count", [&] { pending->View->CountAnswered(pending->Text, std::nullopt); });
        return;
    }
    gtkui::Guarded("find count", [&] {
        const std::string answer = gtkui::TakeText(jsc_value_to_string(value.Get()));
        unsigned long long count = 0, length = 0;
        std::optional<gtkui::WebKitWebView::PageCount> counted;
        if (std::sscanf(answer.c_str(), "%llu %llu", &count, &length) == 2)
            counted = {static_cast<uint32_t>(std::min<unsigned long long>(count, UINT32_MAX)),
                       static_cast<size_t>(length)};
        pending->View->CountAnswered(pending->Text, counted);
    });
}

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
    m_connections.emplace_back(finder, g_signal_connect(finder, "found-text", G_CALLBACK(FoundTextThunk), this));
    m_connections.emplace_back(finder,
                               g_signal_connect(finder, "failed-to-find-text", G_CALLBACK(FailedToFindThunk), this));
}

void WebKitWebView::FindText(const std::string& text)
{
    m_findText = ValidUtf8(text);
    // A search still waiting is for an earlier text: it is never made.
    m_searchWait.Reset();
    if (m_findText.empty()) {
        webkit_find_controller_search_finish(webkit_web_view_get_find_controller(m_view.Get()));
        TextFound(*this, platform::FindResultArgs{m_findText, 0});
        return;
    }
    if (m_countsAsked == 0) {
        StartSearch();
        return;
    }
    m_searchWait.Reset(g_timeout_add(
        CountWaitMs,
        [](gpointer self) -> gboolean {
            auto* view = static_cast<WebKitWebView*>(self);
            view->m_searchWait.Forget();
            Guarded("find wait", [&] { view->StartSearch(); });
            return G_SOURCE_REMOVE;
        },
        this));
}

void WebKitWebView::StartSearch()
{
    m_searchWait.Reset();
    const guint limit = SearchLimit(m_findPageText);
    m_findAnswers.push_back(FindAnswer{m_findText, limit});
    webkit_find_controller_search(webkit_web_view_get_find_controller(m_view.Get()), m_findText.c_str(), FindOptions,
                                  limit);
}

void WebKitWebView::CountMatches(const std::string& text)
{
    const std::string valid = ValidUtf8(text);
    GVariantDict named;
    g_variant_dict_init(&named, nullptr);
    g_variant_dict_insert_value(&named, "text", g_variant_new_string(valid.c_str()));
    GVariant* arguments = g_variant_ref_sink(g_variant_dict_end(&named));
    ++m_countsAsked;
    webkit_web_view_call_async_javascript_function(m_view.Get(), CountScript, -1, arguments, FindWorld, nullptr,
                                                   m_cancellable.Get(), CountFinished,
                                                   new PendingCount{this, valid});
    g_variant_unref(arguments);
}

void WebKitWebView::CountAnswered(const std::string& text, std::optional<PageCount> counted)
{
    if (m_countsAsked > 0)
        --m_countsAsked;
    if (counted) {
        m_findPageText = counted->PageText;
        FindCounted(*this, platform::FindResultArgs{text, counted->Matches});
    }
    if (m_searchWait && m_countsAsked == 0)
        StartSearch();
}

void WebKitWebView::FindNext(bool backwards)
{
    if (m_findText.empty())
        return;
    // The step goes on from the newest text's first match.
    if (m_searchWait)
        StartSearch();
    // A step is answered too; the answer is only the step's own.
    m_findAnswers.push_back(FindAnswer{});
    WebKitFindController* finder = webkit_web_view_get_find_controller(m_view.Get());
    if (backwards)
        webkit_find_controller_search_previous(finder);
    else
        webkit_find_controller_search_next(finder);
}

void WebKitWebView::FindFinished()
{
    m_findText.clear();
    m_searchWait.Reset();
    webkit_find_controller_search_finish(webkit_web_view_get_find_controller(m_view.Get()));
}

void WebKitWebView::FindDocumentChanged()
{
    // A new document: its length is unknown until counted, and a search in
    // the last one may never be answered (its process can be gone).
    m_findPageText = 0;
    m_findAnswers.clear();
}

void WebKitWebView::AnswerFind(guint matches)
{
    // The engine answers in the order asked and never says for which text:
    // the oldest question is the one answered.
    if (m_findAnswers.empty())
        return;
    const FindAnswer asked = std::move(m_findAnswers.front());
    m_findAnswers.pop_front();
    if (asked.Text.empty())
        return;
    if (matches == G_MAXUINT)
        TextFound(*this, platform::FindResultArgs{asked.Text, asked.Limit, true});
    else
        TextFound(*this, platform::FindResultArgs{asked.Text, matches});
}

void WebKitWebView::FoundTextThunk(WebKitFindController*, guint matches, gpointer self)
{
    Guarded("found-text", [&] { static_cast<WebKitWebView*>(self)->AnswerFind(matches); });
}

void WebKitWebView::FailedToFindThunk(WebKitFindController*, gpointer self)
{
    Guarded("failed-to-find-text", [&] { static_cast<WebKitWebView*>(self)->AnswerFind(0); });
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
