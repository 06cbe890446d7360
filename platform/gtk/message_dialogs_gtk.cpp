#include "platform/gtk/message_dialogs_gtk.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gtk/callback_guard.h"

// GtkMessageDialog is what GTK 4.8 has (its replacement arrives in 4.10).
G_GNUC_BEGIN_IGNORE_DEPRECATIONS

namespace gtkui {

// What one open dialog needs to answer; freed with the dialog.
struct GtkMessageDialogs::Pending {
    GtkMessageDialogs* Owner;
    std::vector<std::string> Labels;
    std::function<void(const std::string&)> OnCommand;
    std::function<void()> OnClosed;
    // A prompt's text field and answer; null for the other dialogs.
    GtkWidget* Entry = nullptr;
    std::function<void(std::optional<std::string>)> OnAnswer;
};

namespace {
// A page may pass a long unbroken text: it wraps at any character, and past
// a few lines it scrolls inside the dialog instead of stretching it.
constexpr size_t ScrolledContentBytes = 600;
constexpr int ContentWidthChars = 60;
constexpr int ScrolledContentHeight = 320;
constexpr int ScrolledContentWidth = 480;

// Pango wraps a long run without spaces very slowly (seconds for ten
// thousand characters): the text shown gets a zero-width break opportunity
// every few dozen characters of such a run.
std::string WithBreakOpportunities(const std::string& text)
{
    constexpr int RunLength = 10;
    std::string shown;
    shown.reserve(text.size() + text.size() / 10);
    int run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        bool startsCharacter = (byte & 0xC0) != 0x80;
        if (startsCharacter && run >= RunLength) {
            shown += "\u200B";
            run = 0;
        }
        shown += text[i];
        if (byte == ' ' || byte == '\n' || byte == '\t')
            run = 0;
        else if (startsCharacter)
            ++run;
    }
    return shown;
}

void FitContent(GtkWidget* dialog, const std::string& content)
{
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog));
    GtkWidget* primary = gtk_widget_get_first_child(area);
    GtkWidget* secondary = primary ? gtk_widget_get_next_sibling(primary) : nullptr;
    if (!GTK_IS_LABEL(secondary))
        return;
    gtk_label_set_wrap_mode(GTK_LABEL(secondary), PANGO_WRAP_WORD_CHAR);
    gtk_label_set_max_width_chars(GTK_LABEL(secondary), ContentWidthChars);
    if (content.size() <= ScrolledContentBytes)
        return;
    // A label measures its whole text again and again; a text view lays it
    // out once, and scrolls.
    gtk_widget_set_visible(secondary, FALSE);
    GtkWidget* text = gtk_text_view_new();
    gtk_text_view_set_editable(GTK_TEXT_VIEW(text), FALSE);
    gtk_text_view_set_cursor_visible(GTK_TEXT_VIEW(text), FALSE);
    gtk_text_view_set_wrap_mode(GTK_TEXT_VIEW(text), GTK_WRAP_WORD);
    auto shown = WithBreakOpportunities(content);
    gtk_text_buffer_set_text(gtk_text_view_get_buffer(GTK_TEXT_VIEW(text)), shown.c_str(),
                             static_cast<int>(shown.size()));
    GtkWidget* scroller = gtk_scrolled_window_new();
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroller), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_widget_set_size_request(scroller, ScrolledContentWidth, ScrolledContentHeight);
    gtk_scrolled_window_set_child(GTK_SCROLLED_WINDOW(scroller), text);
    gtk_box_append(GTK_BOX(area), scroller);
}
} // namespace

GtkMessageDialogs::GtkMessageDialogs(GtkWindow* parent) : m_parent(parent) {}

GtkMessageDialogs::~GtkMessageDialogs()
{
    // Destroying a dialog removes it from m_open (DestroyThunk).
    m_tearingDown = true;
    while (!m_open.empty())
        gtk_window_destroy(GTK_WINDOW(*m_open.begin()));
}

void GtkMessageDialogs::Show(const std::string& content, const std::string& title,
                             const std::vector<std::string>& commands,
                             std::function<void(const std::string& label)> onCommand)
{
    ShowTracked(content, title, commands, std::move(onCommand), {});
}

void GtkMessageDialogs::ShowTracked(const std::string& content, const std::string& title,
                                    const std::vector<std::string>& commands,
                                    std::function<void(const std::string& label)> onCommand,
                                    std::function<void()> onClosed)
{
    auto* pending = new Pending{this, commands, std::move(onCommand), std::move(onClosed), nullptr, {}};
    GtkWidget* dialog = Present(content, title, commands, pending);
    gtk_window_present(GTK_WINDOW(dialog));
}

void GtkMessageDialogs::ShowPrompt(const std::string& content, const std::string& title,
                                   const std::string& defaultText, const std::vector<std::string>& commands,
                                   std::function<void(std::optional<std::string>)> onAnswer)
{
    auto* pending = new Pending{this, commands, {}, {}, nullptr, std::move(onAnswer)};
    GtkWidget* dialog = Present(content, title, commands, pending);
    // The page's default is plain text in the field, never markup.
    GtkWidget* entry = gtk_entry_new();
    gtk_editable_set_text(GTK_EDITABLE(entry), defaultText.c_str());
    gtk_entry_set_activates_default(GTK_ENTRY(entry), TRUE);
    gtk_widget_set_name(entry, "PromptEntry");
    gtk_box_append(GTK_BOX(gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(dialog))), entry);
    pending->Entry = entry;
    gtk_window_present(GTK_WINDOW(dialog));
    gtk_widget_grab_focus(entry);
}

GtkWidget* GtkMessageDialogs::Present(const std::string& content, const std::string& title,
                                      const std::vector<std::string>& commands, Pending* pending)
{
    GtkButtonsType buttons = commands.empty() ? GTK_BUTTONS_OK : GTK_BUTTONS_NONE;
    GtkMessageType type = commands.empty() ? GTK_MESSAGE_INFO : GTK_MESSAGE_QUESTION;
    GtkWidget* dialog = gtk_message_dialog_new(m_parent, GTK_DIALOG_DESTROY_WITH_PARENT, type, buttons, "%s",
                                               title.c_str());
    if (!content.empty()) {
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s", content.c_str());
        FitContent(dialog, content);
    }
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    gtk_window_set_modal(GTK_WINDOW(dialog), FALSE);

    // Response ids 0..n-1 are the commands' indices; GTK's own are negative.
    for (size_t i = 0; i < commands.size(); ++i)
        gtk_dialog_add_button(GTK_DIALOG(dialog), commands[i].c_str(), static_cast<int>(i));
    if (!commands.empty())
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), 0);

    // "destroy" is the dialog's last signal: its handler frees `pending`.
    g_signal_connect(dialog, "response", G_CALLBACK(&GtkMessageDialogs::ResponseThunk), pending);
    g_signal_connect(dialog, "destroy", G_CALLBACK(&GtkMessageDialogs::DestroyThunk), pending);
    m_open.insert(dialog);
    return dialog;
}

void GtkMessageDialogs::ResponseThunk(GtkDialog* dialog, int responseId, gpointer data)
{
    auto* pending = static_cast<Pending*>(data);
    // Take what the callback needs before the dialog (and `pending`) goes.
    std::function<void(const std::string&)> onCommand;
    std::string label;
    if (responseId >= 0 && static_cast<size_t>(responseId) < pending->Labels.size()) {
        onCommand = pending->OnCommand;
        label = pending->Labels[responseId];
    }
    // A prompt answers with its text only through its first command.
    std::function<void(std::optional<std::string>)> onAnswer = std::exchange(pending->OnAnswer, nullptr);
    std::optional<std::string> answer;
    if (onAnswer && pending->Entry && responseId == 0)
        answer = gtk_editable_get_text(GTK_EDITABLE(pending->Entry));
    // Closed after the command has run, not from the destroy below.
    auto onClosed = std::exchange(pending->OnClosed, nullptr);
    gtk_window_destroy(GTK_WINDOW(dialog));
    if (onAnswer)
        Guarded("prompt answered", [&] { onAnswer(answer); });
    if (onCommand)
        Guarded("message dialog command", [&] { onCommand(label); });
    if (onClosed)
        Guarded("message dialog closed", [&] { onClosed(); });
}

void GtkMessageDialogs::DestroyThunk(GtkWidget* dialog, gpointer data)
{
    auto* pending = static_cast<Pending*>(data);
    pending->Owner->m_open.erase(dialog);
    std::function<void()> onClosed;
    std::function<void(std::optional<std::string>)> onAnswer;
    if (!pending->Owner->m_tearingDown) {
        onClosed = std::move(pending->OnClosed);
        onAnswer = std::move(pending->OnAnswer);
    }
    delete pending;
    if (onAnswer)
        Guarded("prompt closed", [&] { onAnswer(std::nullopt); });
    if (onClosed)
        Guarded("message dialog closed", [&] { onClosed(); });
}

} // namespace gtkui

G_GNUC_END_IGNORE_DEPRECATIONS
