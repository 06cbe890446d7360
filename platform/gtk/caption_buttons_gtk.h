#pragma once
// The window's minimize and maximize buttons, drawn by the platform over a
// page that extends into the title bar area, in the colours the page asked for.
// The page's own close button asks before closing, so it is not repeated here.
#include <gtk/gtk.h>

#include "platform/application_view.h"

namespace gtkui {

// A new floating widget; place it at the top right, beside the page's close button.
GtkWidget* CreateCaptionButtons(const platform::TitleBarColors& colors);

} // namespace gtkui
