#pragma once
// The desktop's accent colour, read from the settings portal
// (org.freedesktop.appearance accent-color). The reader never waits for a
// portal to start nor long for a hung one: start-up goes on without it.
#include <gio/gio.h>

#include <optional>

#include "platform/ui/types.h"

namespace gtkui {

inline constexpr int AccentTimeoutMilliseconds = 100;

// The portal's answer to ReadOne, or to the older Read (whose value may come
// wrapped in one more variant): only "(ddd)" with each component in [0, 1]
// is a colour; anything else is "no accent", as the portal documents.
std::optional<ui::Color> AccentFromPortalValue(GVariant* value);

// Asks the portal on this connection; no connection, no portal, an error or
// no answer within the timeout give no colour.
std::optional<ui::Color> ReadAccentColor(GDBusConnection* bus, int timeoutMs = AccentTimeoutMilliseconds);

} // namespace gtkui
