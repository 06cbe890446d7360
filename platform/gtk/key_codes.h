#pragma once
// GDK key values as the virtual key codes the system compares (13 is Enter).

namespace gtkui {

// 0 for keys without a code of their own.
int VirtualKeyFromKeyval(unsigned keyval);

} // namespace gtkui
