#include "platform/gtk/accent_color_gtk.h"

#include <cmath>
#include <memory>

namespace gtkui {

namespace {

constexpr const char* PortalName = "org.freedesktop.portal.Desktop";
constexpr const char* PortalPath = "/org/freedesktop/portal/desktop";
constexpr const char* SettingsInterface = "org.freedesktop.portal.Settings";
constexpr const char* AppearanceNamespace = "org.freedesktop.appearance";
constexpr const char* AccentKey = "accent-color";

struct VariantUnref {
    void operator()(GVariant* v) const { g_variant_unref(v); }
};
using VariantPtr = std::unique_ptr<GVariant, VariantUnref>;

struct ErrorFree {
    void operator()(GError* e) const { g_error_free(e); }
};
using ErrorPtr = std::unique_ptr<GError, ErrorFree>;

// A method call that never starts the portal and gives up after the timeout.
VariantPtr CallSettings(GDBusConnection* bus, const char* method, int timeoutMs, ErrorPtr& error)
{
    GError* raw = nullptr;
    GVariant* reply = g_dbus_connection_call_sync(bus, PortalName, PortalPath, SettingsInterface, method,
                                                  g_variant_new("(ss)", AppearanceNamespace, AccentKey),
                                                  G_VARIANT_TYPE("(v)"), G_DBUS_CALL_FLAGS_NO_AUTO_START, timeoutMs,
                                                  nullptr, &raw);
    error.reset(raw);
    return VariantPtr(reply);
}

// GDBus maps the bus's "UnknownMethod" error name onto this code.
bool IsUnknownMethod(const GError* error)
{
    return g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_METHOD);
}

uint8_t Component(double v)
{
    return static_cast<uint8_t>(std::lround(v * 255.0));
}

} // namespace

std::optional<ui::Color> AccentFromPortalValue(GVariant* value)
{
    // Read wraps the setting in one more variant than ReadOne does.
    VariantPtr inner(value ? g_variant_ref(value) : nullptr);
    for (int depth = 0; inner && depth < 2 && g_variant_is_of_type(inner.get(), G_VARIANT_TYPE_VARIANT); ++depth)
        inner.reset(g_variant_get_variant(inner.get()));
    if (!inner || !g_variant_is_of_type(inner.get(), G_VARIANT_TYPE("(ddd)")))
        return std::nullopt;
    double r = -1, g = -1, b = -1;
    g_variant_get(inner.get(), "(ddd)", &r, &g, &b);
    for (double c : {r, g, b})
        if (!(c >= 0.0 && c <= 1.0)) // NaN fails too
            return std::nullopt;
    return ui::Color::FromRgb(Component(r), Component(g), Component(b));
}

std::optional<ui::Color> ReadAccentColor(GDBusConnection* bus, int timeoutMs)
{
    if (!bus || g_dbus_connection_is_closed(bus))
        return std::nullopt;
    ErrorPtr error;
    auto reply = CallSettings(bus, "ReadOne", timeoutMs, error);
    // Older portals (Debian 12's) have only Read; any other failure (no
    // portal, not found, timed out) is final: start-up waits no longer.
    if (!reply && error && IsUnknownMethod(error.get()))
        reply = CallSettings(bus, "Read", timeoutMs, error);
    if (!reply)
        return std::nullopt;
    VariantPtr value(g_variant_get_child_value(reply.get(), 0));
    return AccentFromPortalValue(value.get());
}

} // namespace gtkui
