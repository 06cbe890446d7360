#pragma once
// The folder picker: a GtkFileChooserNative choosing one folder, opened in
// the Downloads folder. A dismissed picker changes nothing.
#include <gtk/gtk.h>

#include <functional>

#include "platform/downloads.h"
#include "platform/gtk/gobject_ptr.h"

namespace gtkui {

class NativeFolderPicker : public platform::FolderPicker {
public:
    // `parent` (may be null) must outlive the picker.
    NativeFolderPicker(GtkWindow* parent, std::function<std::string()> startFolder);
    ~NativeFolderPicker() override;
    NativeFolderPicker(const NativeFolderPicker&) = delete;
    NativeFolderPicker& operator=(const NativeFolderPicker&) = delete;
    void PickSingleFolder(std::function<void(std::optional<std::string> path)> picked) override;

private:
    static void OnResponse(GtkNativeDialog* dialog, int response, gpointer self);

    GtkWindow* m_parent;
    std::function<std::string()> m_startFolder;
    GObjectPtr<GtkFileChooserNative> m_dialog;
    std::function<void(std::optional<std::string>)> m_picked;
};

} // namespace gtkui
