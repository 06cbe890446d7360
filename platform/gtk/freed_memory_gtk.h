#pragma once
// Hands the heap pages the browser has freed back to the system. The C
// library keeps freed memory for reuse and gives back only what lies at the
// top of the heap; after start-up, a page load or a closed tab, megabytes sit
// free in the middle of it and stay counted against the browser. Once the
// views have been quiet for a moment, one trim returns them.
#include <glib.h>

#include "platform/gtk/source_holder.h"

namespace gtkui {

class FreedMemoryReturn {
public:
    // A load finished or a view went: trim once nothing else has happened for
    // QuietMilliseconds. Calls in a burst (twenty tabs loading) make one trim.
    void Request();

    static constexpr guint QuietMilliseconds = 1000;

private:
    static gboolean Trim(gpointer self);
    SourceHolder m_pending;
};

} // namespace gtkui
