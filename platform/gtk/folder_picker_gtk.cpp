#include "platform/gtk/folder_picker_gtk.h"

#include "platform/gtk/callback_guard.h"

namespace gtkui {

NativeFolderPicker::NativeFolderPicker(GtkWindow* parent, std::function<std::string()> startFolder)
    : m_parent(parent), m_startFolder(std::move(startFolder))
{
}

NativeFolderPicker::~NativeFolderPicker()
{
    if (!m_dialog)
        return;
    g_signal_handlers_disconnect_by_data(m_dialog.Get(), this);
    gtk_native_dialog_destroy(GTK_NATIVE_DIALOG(m_dialog.Get()));
}

void NativeFolderPicker::PickSingleFolder(std::function<void(std::optional<std::string> path)> picked)
{
    // One picker at a time: a second request while one is open only raises it.
    if (m_dialog) {
        gtk_native_dialog_show(GTK_NATIVE_DIALOG(m_dialog.Get()));
        return;
    }
    m_picked = std::move(picked);
    m_dialog = Adopt(gtk_file_chooser_native_new("Tolvane Browser", m_parent, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER,
                                                 "_Select", "_Cancel"));
    auto start = Adopt(g_file_new_for_path(m_startFolder().c_str()));
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(m_dialog.Get()), start.Get(), nullptr);
    gtk_native_dialog_set_modal(GTK_NATIVE_DIALOG(m_dialog.Get()), TRUE);
    g_signal_connect(m_dialog.Get(), "response", G_CALLBACK(&NativeFolderPicker::OnResponse), this);
    gtk_native_dialog_show(GTK_NATIVE_DIALOG(m_dialog.Get()));
}

void NativeFolderPicker::OnResponse(GtkNativeDialog* dialog, int response, gpointer self)
{
    auto& picker = *static_cast<NativeFolderPicker*>(self);
    std::optional<std::string> path;
    if (response == GTK_RESPONSE_ACCEPT) {
        auto folder = Adopt(gtk_file_chooser_get_file(GTK_FILE_CHOOSER(dialog)));
        char* local = folder ? g_file_get_path(folder.Get()) : nullptr;
        if (local)
            path = local;
        g_free(local);
    }
    auto picked = std::move(picker.m_picked);
    g_signal_handlers_disconnect_by_data(dialog, self);
    picker.m_dialog.Reset();
    if (picked)
        Guarded("folder picked", [&] { picked(path); });
}

} // namespace gtkui
