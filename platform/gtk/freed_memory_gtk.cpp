#include "platform/gtk/freed_memory_gtk.h"

#include <malloc.h>

namespace gtkui {

void FreedMemoryReturn::Request()
{
    // Low priority: drawing and input go first.
    m_pending.Reset(g_timeout_add_full(G_PRIORITY_LOW, QuietMilliseconds, &FreedMemoryReturn::Trim, this, nullptr));
}

gboolean FreedMemoryReturn::Trim(gpointer self)
{
    static_cast<FreedMemoryReturn*>(self)->m_pending.Forget();
    // Every arena, not only the top of the main heap.
    malloc_trim(0);
    return G_SOURCE_REMOVE;
}

} // namespace gtkui
