#pragma once
// The address given on the command line, made into what a desktop user
// meant: a text with a scheme stays as typed, an existing file becomes its
// file:// URI, anything else is a web address ("127.0.0.1:8000" -> "http://...").
#include <string>

namespace gtkui {

// `workingDirectory` resolves relative file names (the invoking process's,
// which differs from ours when a second instance forwards its command line).
std::string AddressFromCommandLine(const std::string& text, const std::string& workingDirectory);

} // namespace gtkui
