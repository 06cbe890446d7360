#include "platform/gtk/clipboard_gtk.h"

#include <gtk/gtk.h>

namespace gtkui {

void DisplayClipboard::SetText(const std::string& text)
{
    GdkDisplay* display = gdk_display_get_default();
    if (!display) {
        g_warning("clipboard: no display, the text was not copied");
        return;
    }
    // GDK copies the text; the clipboard owns it from here on.
    gdk_clipboard_set_text(gdk_display_get_clipboard(display), text.c_str());
}

} // namespace gtkui
