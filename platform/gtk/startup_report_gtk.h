#pragma once
// Start-up time, for measuring: with TOLVANE_REPORT_STARTUP set, the first
// frame the window paints prints "startup-ms: N" on stderr, N counted from
// the process's start.
#include <gtk/gtk.h>

namespace gtkui {

// Call first thing in main: the fallback start when the kernel's record of
// the process start cannot be read.
void MarkMainEntered();

// Does nothing unless TOLVANE_REPORT_STARTUP is set.
void ReportStartupOnFirstFrame(GtkWindow* window);

} // namespace gtkui
