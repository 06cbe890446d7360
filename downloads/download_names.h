#pragma once
// File names for downloads: the name the page's script proposes, the same
// rule in C++ when the page cannot run it, and the names refused before any
// file is made.
#include <string>

// The script that defines getFileName for address A, with A as a correctly
// escaped single-quoted literal (a plain address goes in unchanged).
std::string GetFileNameScript(const std::string& address);

// What getFileName returns: the address without its fragment (from the first
// "#") and query (from the first "?"), after its last "/".
std::string FileNameFromAddress(const std::string& address);

// A proposal fit for the name box: a page may return megabytes, the box
// shows at most 255 bytes, cut on a character boundary.
std::string ProposedName(const std::string& name);

// Empty, ".", "..", holding "/" or NUL, or longer than 255 bytes: not a file name here.
bool IsValidDownloadName(const std::string& name);
