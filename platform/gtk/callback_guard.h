#pragma once
// Calls from GLib's C code into ours go through Guarded: an exception must not
// unwind through C frames, so it ends here, reported on stderr.
#include <glib.h>

#include <exception>
#include <utility>

namespace gtkui {

template <typename F>
void Guarded(const char* where, F&& call) noexcept
{
    try {
        std::forward<F>(call)();
    } catch (const std::exception& e) {
        g_critical("%s: %s", where, e.what());
    } catch (...) {
        g_critical("%s: an unknown exception", where);
    }
}

} // namespace gtkui
