#include "platform/gtk/launch_address_gtk.h"

#include <gio/gio.h>

#include <cctype>
#include <memory>

#include "platform/gtk/gobject_ptr.h"

namespace gtkui {

namespace {

bool IsDigit(char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; }

// "localhost:8080/x" or "example.com:8000" read as a scheme to a URI parser;
// a person means a host and a port.
bool LooksLikeHostAndPort(const std::string& text, const std::string& scheme)
{
    bool hostLike = scheme == "localhost" || scheme.find('.') != std::string::npos;
    if (!hostLike)
        return false;
    size_t i = scheme.size() + 1;
    size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        ++i;
        ++digits;
    }
    return digits > 0 && (i == text.size() || text[i] == '/' || text[i] == '?' || text[i] == '#');
}

std::string SchemeOf(const std::string& text)
{
    // An interned string: not freed.
    const char* scheme = g_uri_peek_scheme(text.c_str());
    return scheme ? scheme : "";
}

bool IsPathLike(const std::string& text)
{
    return text.front() == '/' || text.rfind("./", 0) == 0 || text.rfind("../", 0) == 0;
}

} // namespace

std::string AddressFromCommandLine(const std::string& text, const std::string& workingDirectory)
{
    if (text.empty())
        return text;
    std::string scheme = SchemeOf(text);
    if (!scheme.empty() && !LooksLikeHostAndPort(text, scheme))
        return text;

    auto file = Adopt(g_file_new_for_commandline_arg_and_cwd(text.c_str(), workingDirectory.c_str()));
    if (IsPathLike(text) || g_file_query_exists(file.Get(), nullptr)) {
        char* uri = g_file_get_uri(file.Get());
        std::string result = uri;
        g_free(uri);
        return result;
    }
    return "http://" + text;
}

} // namespace gtkui
