#include "platform/gtk/state_probe_gtk.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/gtk/application_view_gtk.h"
#include "platform/gtk/bridge_channel.h"
#include "platform/gtk/dispatcher_timers_gtk.h"
#include "platform/gtk/message_dialogs_gtk.h"
#include "platform/gtk/web_view_gtk.h"
#include "platform/gtk/toast_notifier_gtk.h"
#include "platform/ui/layout.h"
#include "platform/web_view.h"

namespace gtkui {

namespace {

std::string Json(const std::string& text)
{
    return JsonQuote(text);
}

// Whether the web inspector shows for the view (docked or in a window).
bool InspectorOpen(const platform::WebView& view)
{
    auto* engine = dynamic_cast<const WebKitWebView*>(&view);
    return engine && webkit_web_inspector_get_web_view(webkit_web_view_get_inspector(engine->Engine()));
}

std::string TextOf(const ui::Element& e)
{
    if (auto* t = dynamic_cast<const ui::TextBlock*>(&e))
        return t->Text();
    if (auto* t = dynamic_cast<const ui::TextBox*>(&e))
        return t->Text();
    if (auto* b = dynamic_cast<const ui::Button*>(&e))
        return b->Content();
    return {};
}

const ui::Element* FindNamed(const ui::Element& e, const std::string& name)
{
    if (e.Name() == name)
        return &e;
    if (auto* panel = const_cast<ui::Element&>(e).AsPanel())
        for (size_t i = 0; i < panel->Count(); ++i)
            if (auto* found = FindNamed(panel->ChildAt(i), name))
                return found;
    return nullptr;
}


// "#AARRGGBB", or null for no brush.
std::string BrushJson(const ui::Brush& brush)
{
    if (!brush)
        return "null";
    char text[16];
    std::snprintf(text, sizeof text, "\"#%02X%02X%02X%02X\"", brush->A, brush->R, brush->G, brush->B);
    return text;
}

// The states a user sees on a control: switched on, ticked, the chosen item.
std::string StatesJson(const ui::Element& e)
{
    std::string states = std::string(",\"enabled\":") + (e.IsEnabled() ? "true" : "false");
    if (auto* t = dynamic_cast<const ui::ToggleSwitch*>(&e))
        states += std::string(",\"on\":") + (t->IsOn() ? "true" : "false");
    if (auto* c = dynamic_cast<const ui::CheckBox*>(&e))
        states += std::string(",\"checked\":") + (!c->IsChecked() ? "null" : *c->IsChecked() ? "true" : "false");
    if (auto* c = dynamic_cast<const ui::ComboBox*>(&e))
        states += ",\"selected\":" + std::to_string(c->SelectedIndex());
    return states;
}

// Named elements with their text, visibility, colours and states; web views with their page.
void Collect(const ui::Element& e, std::ostringstream& named, std::ostringstream& views, bool& firstNamed,
             bool& firstView)
{
    if (auto* view = dynamic_cast<const platform::WebView*>(&e)) {
        views << (firstView ? "" : ",") << "{\"name\":" << Json(view->Name())
              << ",\"tag\":" << (view->Tag() ? *view->Tag() : -1) << ",\"source\":" << Json(view->Source())
              << ",\"title\":" << Json(view->DocumentTitle())
              << ",\"visible\":" << (view->GetVisibility() == ui::Visibility::Visible ? "true" : "false")
              << ",\"inspector\":" << (InspectorOpen(*view) ? "true" : "false") << "}";
        firstView = false;
    } else if (!e.Name().empty()) {
        auto r = ui::AbsoluteRect(e);
        named << (firstNamed ? "" : ",") << Json(e.Name()) << ":{\"text\":" << Json(TextOf(e))
              << ",\"toolTip\":" << Json(e.ToolTip())
              << ",\"margin\":[" << e.Margin().Left << "," << e.Margin().Top << "," << e.Margin().Right << ","
              << e.Margin().Bottom << "],\"rect\":[" << r.X << "," << r.Y << "," << r.Width << "," << r.Height << "]"
              << ",\"visible\":" << (e.GetVisibility() == ui::Visibility::Visible ? "true" : "false")
              << ",\"row\":" << e.GridRow() << ",\"rowSpan\":" << e.GridRowSpan()
              << ",\"fontSize\":" << (ui::IsAuto(e.FontSize()) ? 0.0 : e.FontSize())
              << ",\"opacity\":" << e.Opacity() << ",\"background\":" << BrushJson(e.Background())
              << ",\"foreground\":" << BrushJson(e.Foreground()) << ",\"border\":" << BrushJson(e.BorderBrush())
              << StatesJson(e) << "}";
        firstNamed = false;
    }
    if (auto* panel = const_cast<ui::Element&>(e).AsPanel())
        for (size_t i = 0; i < panel->Count(); ++i)
            Collect(panel->ChildAt(i), named, views, firstNamed, firstView);
}

// The texts of an element and everything in it, in order.
void LeafTexts(const ui::Element& e, std::vector<std::string>& texts)
{
    auto* panel = const_cast<ui::Element&>(e).AsPanel();
    if (!panel) {
        texts.push_back(TextOf(e));
        return;
    }
    for (size_t i = 0; i < panel->Count(); ++i)
        LeafTexts(panel->ChildAt(i), texts);
}

// The rows of the library's list panels, in order: texts, tag, rectangle.
std::string ListRows(const ui::Element* root)
{
    std::ostringstream lists;
    bool firstList = true;
    for (const char* name : {"FavoritesListPanel", "HistoryListPanel", "SuggestionItemsPanel"}) {
        lists << (firstList ? "" : ",") << Json(name) << ":[";
        firstList = false;
        const ui::Element* found = root ? FindNamed(*root, name) : nullptr;
        auto* panel = found ? const_cast<ui::Element*>(found)->AsPanel() : nullptr;
        for (size_t i = 0; panel && i < panel->Count(); ++i) {
            const auto& row = panel->ChildAt(i);
            std::vector<std::string> texts;
            LeafTexts(row, texts);
            auto r = ui::AbsoluteRect(row);
            lists << (i ? "," : "") << "{\"texts\":[";
            for (size_t k = 0; k < texts.size(); ++k)
                lists << (k ? "," : "") << Json(texts[k]);
            lists << "],\"tag\":" << (row.Tag() ? *row.Tag() : -1) << ",\"rect\":[" << r.X << "," << r.Y << ","
                  << r.Width << "," << r.Height << "]}";
        }
        lists << "]";
    }
    return lists.str();
}

// The web view shown in front (the current tab's), or null.
platform::WebView* ShownWebView(ui::Element& e)
{
    if (e.GetVisibility() != ui::Visibility::Visible)
        return nullptr;
    if (auto* view = dynamic_cast<platform::WebView*>(&e))
        return view;
    if (auto* panel = e.AsPanel())
        for (size_t i = 0; i < panel->Count(); ++i)
            if (auto* found = ShownWebView(panel->ChildAt(i)))
                return found;
    return nullptr;
}

std::string DialogText(GtkWidget* dialog)
{
    GValue primary = G_VALUE_INIT;
    GValue secondary = G_VALUE_INIT;
    g_value_init(&primary, G_TYPE_STRING);
    g_value_init(&secondary, G_TYPE_STRING);
    g_object_get_property(G_OBJECT(dialog), "text", &primary);
    g_object_get_property(G_OBJECT(dialog), "secondary-text", &secondary);
    auto read = [](const GValue* v) { return std::string(g_value_get_string(v) ? g_value_get_string(v) : ""); };
    std::string text = "{\"title\":" + Json(read(&primary)) + ",\"content\":" + Json(read(&secondary)) + "}";
    g_value_unset(&primary);
    g_value_unset(&secondary);
    return text;
}

} // namespace

StateProbe::StateProbe(std::string path, std::function<ui::Element*()> root, const GtkMessageDialogs& dialogs,
                       ProbeSources sources)
    : m_path(std::move(path)), m_root(std::move(root)), m_dialogs(dialogs), m_sources(sources)
{
    m_timer.Reset(g_timeout_add(
        250,
        [](gpointer self) -> gboolean {
            static_cast<StateProbe*>(self)->FollowCommands();
            static_cast<StateProbe*>(self)->Write();
            return G_SOURCE_CONTINUE;
        },
        this));
}

std::unique_ptr<StateProbe> StateProbe::FromEnvironment(std::function<ui::Element*()> root,
                                                        const GtkMessageDialogs& dialogs, ProbeSources sources)
{
    const char* path = std::getenv("TOLVANE_STATE_FILE");
    if (!path || !*path)
        return nullptr;
    return std::make_unique<StateProbe>(path, std::move(root), dialogs, sources);
}

void StateProbe::FollowCommands() const
{
    std::string path = m_path + ".cmd";
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return;
    char line[512] = {};
    bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    std::remove(path.c_str());
    std::string command = read ? line : "";
    while (!command.empty() && (command.back() == '\n' || command.back() == '\r'))
        command.pop_back();
    const std::string print = "print ";
    if (command.rfind(print, 0) == 0) {
        PrintShownPage(command.substr(print.size()));
        return;
    }
    const std::string prefix = "answer ";
    if (command.rfind(prefix, 0) != 0)
        return;
    std::string label = command.substr(prefix.size());
    // The newest open dialog: press its button with that label.
    for (GtkWidget* dialog : m_dialogs.OpenDialogs()) {
        for (int id = GTK_RESPONSE_HELP; id < 16; ++id) {
            GtkWidget* button = gtk_dialog_get_widget_for_response(GTK_DIALOG(dialog), id);
            const char* text = button && GTK_IS_BUTTON(button) ? gtk_button_get_label(GTK_BUTTON(button)) : nullptr;
            std::string shown = text ? text : "";
            std::erase(shown, '_'); // mnemonic marks, as in "_OK"
            if (text && label == shown) {
                gtk_dialog_response(GTK_DIALOG(dialog), id);
                return;
            }
        }
    }
}

void StateProbe::PrintShownPage(const std::string& path) const
{
    auto* root = m_root();
    auto* view = root ? ShownWebView(*root) : nullptr;
    if (!view) {
        m_prints->push_back({path, false});
        return;
    }
    // The list outlives the probe while a print is under way.
    view->PrintToFile(path, [prints = m_prints, path](bool printed) { prints->push_back({path, printed}); });
}

void StateProbe::Write() const
{
    std::ostringstream named, views, dialogs;
    bool firstNamed = true, firstView = true, firstDialog = true;
    auto* root = m_root();
    if (root)
        Collect(*root, named, views, firstNamed, firstView);
    for (GtkWidget* dialog : m_dialogs.OpenDialogs()) {
        dialogs << (firstDialog ? "" : ",") << DialogText(dialog);
        firstDialog = false;
    }
    std::ostringstream toasts, ticks;
    if (m_sources.Toasts)
        for (const auto& toast : m_sources.Toasts->History())
            toasts << (toasts.tellp() > 0 ? "," : "") << "{\"title\":" << Json(toast.Title)
                   << ",\"body\":" << Json(toast.Body) << ",\"path\":" << Json(toast.Path) << "}";
    if (m_sources.Timers)
        for (uint64_t count : m_sources.Timers->TickCounts())
            ticks << (ticks.tellp() > 0 ? "," : "") << count;
    std::ostringstream window;
    if (m_sources.View) {
        auto bounds = m_sources.View->VisibleBounds();
        window << "{\"width\":" << bounds.Width << ",\"height\":" << bounds.Height << ",\"fullScreenRequested\":"
               << (m_sources.View->FullScreenRequested() ? "true" : "false") << ",\"fullScreen\":"
               << (m_sources.View->IsFullScreen() ? "true" : "false") << "}";
    } else {
        window << "null";
    }
    std::ostringstream prints;
    for (const auto& [path, printed] : *m_prints)
        prints << (prints.tellp() > 0 ? "," : "") << "{\"path\":" << Json(path)
               << ",\"printed\":" << (printed ? "true" : "false") << "}";
    std::string json = "{\"window\":" + window.str() + ",\"named\":{" + named.str() + "},\"webViews\":[" + views.str() + "],\"dialogs\":[" +
                       dialogs.str() + "],\"toasts\":[" + toasts.str() + "],\"timerTicks\":[" + ticks.str() +
                       "],\"prints\":[" + prints.str() + "],\"lists\":{" + ListRows(root) + "}}\n";
    // Written whole, then renamed, so a reader never sees half a file.
    std::string partial = m_path + ".part";
    if (FILE* file = std::fopen(partial.c_str(), "w")) {
        std::fwrite(json.data(), 1, json.size(), file);
        std::fclose(file);
        std::rename(partial.c_str(), m_path.c_str());
    }
}

} // namespace gtkui
