#pragma once
// An element whose adapter already owns a native widget (the web view): the
// renderer places that widget instead of creating one.
#include <gtk/gtk.h>

namespace gtkui {

class NativeElement {
public:
    virtual ~NativeElement() = default;
    virtual GtkWidget* NativeWidget() = 0;
};

} // namespace gtkui
