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

    Uri uri;
    uri.m_absolute = TakeText(g_uri_to_string(parsed.get()));
    uri.m_scheme = TextOrEmpty(g_uri_get_scheme(parsed.get()));
    uri.m_host = TextOrEmpty(g_uri_get_host(parsed.get()));
    uri.m_path = TextOrEmpty(g_uri_get_path(parsed.get()));
    return uri;
}

} // namespace platform
