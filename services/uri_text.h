#pragma once
// Texts made safe to put into a URI.
#include <string>
#include <string_view>

// Every byte but the unreserved ones (letters, digits, "-._~") as %XX, as
// g_uri_escape_string(text, NULL, FALSE) does: the result is one query value.
std::string EscapeUriComponent(std::string_view text);

// "mailto:" + to + "?subject=" + subject [+ "&body=" + body], both escaped;
// line breaks in the body as CR LF, which mail wants.
std::string MailtoUri(std::string_view to, std::string_view subject, std::string_view body = {});
