// Uri::Parse on GLib's GUri: the address is never taken apart by hand.
#include "platform/uri.h"

#include <glib.h>

#include <memory>

#include "platform/gtk/glib_text.h"

namespace platform {
namespace {

using gtkui::TakeText;
using gtkui::TextOrEmpty;

struct GUriUnref {
    void operator()(GUri* uri) const { g_uri_unref(uri); }
};

// ENCODED keeps %-escapes as written (so "%2F" stays a literal, not a path
// separator, and "%zz" is not an error); PARSE_RELAXED takes what people type
// and what pages link to; SCHEME_NORMALIZE gives "http://host" the "/" path the
// engine reports for it, so addresses compare equal to the view's Source.
constexpr GUriFlags ParseFlags =
    GUriFlags(G_URI_FLAGS_ENCODED | G_URI_FLAGS_PARSE_RELAXED | G_URI_FLAGS_SCHEME_NORMALIZE);

// GLib decodes %-escapes in a host name and writes it back decoded:
// "a%2523.b" comes back as "a%23.b", then as "a#.b", each time another
// address. An address whose written form reads as another is refused.
bool WritesBackItself(const std::string& written)
{
    std::unique_ptr<GUri, GUriUnref> again(g_uri_parse(written.c_str(), ParseFlags, nullptr));
    return again && TakeText(g_uri_to_string(again.get())) == written;
}

} // namespace

std::optional<Uri> Uri::Parse(std::string_view text)
{
    // GUri reads a C string: an embedded NUL would silently cut the address.
    if (text.find('\0') != std::string_view::npos)
        return std::nullopt;
    const std::string owned(text);
    std::unique_ptr<GUri, GUriUnref> parsed(g_uri_parse(owned.c_str(), ParseFlags, nullptr));
    if (!parsed)
        return std::nullopt;
    // The relaxed reading can leave a host beside a path that does not start
    // at "/" ("http://a;b.com/c" reads host "a", path ";b.com/c"): such a pair
    // has no written form, and GLib would fail to write it back.
    const char* host = g_uri_get_host(parsed.get());
    const char* path = g_uri_get_path(parsed.get());
    if (host != nullptr && path[0] != '\0' && path[0] != '/')
        return std::nullopt;

    Uri uri;
    uri.m_absolute = TakeText(g_uri_to_string(parsed.get()));
    if (uri.m_absolute.empty() || !WritesBackItself(uri.m_absolute))
        return std::nullopt;
    uri.m_scheme = TextOrEmpty(g_uri_get_scheme(parsed.get()));
    uri.m_host = TextOrEmpty(g_uri_get_host(parsed.get()));
    uri.m_path = TextOrEmpty(g_uri_get_path(parsed.get()));
    return uri;
}

} // namespace platform
