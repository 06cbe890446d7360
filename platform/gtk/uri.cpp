// Uri::Parse on GLib's GUri: the address is never taken apart by hand.
#include "platform/uri.h"

#include <glib.h>

#include <memory>

namespace platform {
namespace {

struct GUriUnref {
    void operator()(GUri* uri) const { g_uri_unref(uri); }
};
struct GFree {
    void operator()(char* text) const { g_free(text); }
};

// ENCODED keeps %-escapes as written (so "%2F" stays a literal, not a path
// separator, and "%zz" is not an error); PARSE_RELAXED takes what people type
// and what pages link to; SCHEME_NORMALIZE gives "http://host" the "/" path the
// engine reports for it, so addresses compare equal to the view's Source.
constexpr GUriFlags ParseFlags =
    GUriFlags(G_URI_FLAGS_ENCODED | G_URI_FLAGS_PARSE_RELAXED | G_URI_FLAGS_SCHEME_NORMALIZE);

std::string TextOrEmpty(const char* text)
{
    return text ? std::string(text) : std::string();
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

    Uri uri;
    std::unique_ptr<char, GFree> absolute(g_uri_to_string(parsed.get()));
    uri.m_absolute = TextOrEmpty(absolute.get());
    uri.m_scheme = TextOrEmpty(g_uri_get_scheme(parsed.get()));
    uri.m_host = TextOrEmpty(g_uri_get_host(parsed.get()));
    uri.m_path = TextOrEmpty(g_uri_get_path(parsed.get()));
    return uri;
}

} // namespace platform
