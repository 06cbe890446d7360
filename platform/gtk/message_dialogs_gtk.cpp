#include "platform/gtk/message_dialogs_gtk.h"

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
};

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
    GtkButtonsType buttons = commands.empty() ? GTK_BUTTONS_OK : GTK_BUTTONS_NONE;
    GtkMessageType type = commands.empty() ? GTK_MESSAGE_INFO : GTK_MESSAGE_QUESTION;
    GtkWidget* dialog = gtk_message_dialog_new(m_parent, GTK_DIALOG_DESTROY_WITH_PARENT, type, buttons, "%s",
                                               title.c_str());
    if (!content.empty())
        gtk_message_dialog_format_secondary_text(GTK_MESSAGE_DIALOG(dialog), "%s", content.c_str());
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    gtk_window_set_modal(GTK_WINDOW(dialog), FALSE);

    // Response ids 0..n-1 are the commands' indices; GTK's own are negative.
    for (size_t i = 0; i < commands.size(); ++i)
        gtk_dialog_add_button(GTK_DIALOG(dialog), commands[i].c_str(), static_cast<int>(i));
    if (!commands.empty())
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), 0);

    auto* pending = new Pending{this, commands, std::move(onCommand), std::move(onClosed)};
    // "destroy" is the dialog's last signal: its handler frees `pending`.
    g_signal_connect(dialog, "response", G_CALLBACK(&GtkMessageDialogs::ResponseThunk), pending);
    g_signal_connect(dialog, "destroy", G_CALLBACK(&GtkMessageDialogs::DestroyThunk), pending);
    m_open.insert(dialog);
    gtk_window_present(GTK_WINDOW(dialog));
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
    // Closed after the command has run, not from the destroy below.
    auto onClosed = std::exchange(pending->OnClosed, nullptr);
    gtk_window_destroy(GTK_WINDOW(dialog));
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
    if (!pending->Owner->m_tearingDown)
        onClosed = std::move(pending->OnClosed);
    delete pending;
    if (onClosed)
        Guarded("message dialog closed", [&] { onClosed(); });
}

} // namespace gtkui

G_GNUC_END_IGNORE_DEPRECATIONS
