#pragma once
// The text format at the SQLite boundary, shared by all three database files.
//
// Files written by earlier releases hold one byte per character: Latin-1, not
// UTF-8. We keep that format so those files read exactly as before, and store
// characters above U+00FF as an ASCII escape "&#x" + upper-case hex + ";" so
// that text of any script survives the round trip.
#include <string>
#include <string_view>

// UTF-8 text to the stored bytes. Characters up to U+00FF become the one byte
// of their value; characters above become the escape; an "&" directly followed
// by "#" is escaped too ("&#x26;") so that reading back is exact. Bytes that
// are not valid UTF-8 are taken as Latin-1 characters.
std::string NarrowText(std::string_view utf8);

// Stored bytes back to UTF-8: each byte is the character of that value, and an
// escape is decoded only when its value is above 0xFF or is the "&" escape.
std::string WidenText(std::string_view bytes);
