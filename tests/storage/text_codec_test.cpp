#include <gtest/gtest.h>

#include <string>

#include "storage/text_codec.h"

namespace {

// UTF-8 text as the system holds it, the bytes that reach SQLite, and what is
// read back: the same text, or invalid bytes kept as Latin-1 characters. (Any
// valid text coming back unchanged is the fuzz target's property.)
TEST(TextCodec, StoresTheFormatAndReadsBackTheSameText)
{
    const std::tuple<std::string, std::string, std::string> cases[] = { // text, stored, read back ("": the text)
        {"http://e.com/?q=a&b=c &amp; it's \"quoted\" &", "http://e.com/?q=a&b=c &amp; it's \"quoted\" &", ""},
        {"Sem título: ação", "Sem t\xEDtulo: a\xE7\xE3o", ""},
        {"\x7F\u0080\u00FF", "\x7F\x80\xFF", ""},
        {"αβ 中文 😀", "&#x3B1;&#x3B2; &#x4E2D;&#x6587; &#x1F600;", ""}, // ASCII only: an earlier release reads it
        {"\u0100", "&#x100;", ""},
        {"\U0010FFFF", "&#x10FFFF;", ""},
        {"&#x3B1;", "&#x26;#x3B1;", ""}, // escapes typed by a user
        {"ã&#α", "\xE3&#x26;#&#x3B1;", ""},
        {"a\xE3z", "a\xE3z", "a\u00E3z"},                                     // a stray Latin-1 byte
        {"\xE2\x82", "\xE2\x82", "\u00E2\u0082"},                             // truncated sequence
        {"\xC0\xAF", "\xC0\xAF", "\u00C0\u00AF"},                             // overlong slash
        {"\xED\xA0\x80", "\xED\xA0\x80", "\u00ED\u00A0\u0080"},               // encoded surrogate
        {"\xF4\x90\x80\x80", "\xF4\x90\x80\x80", "\u00F4\u0090\u0080\u0080"}, // past U+10FFFF
        {"\xFF\xE3\x81\x82", "\xFF&#x3042;", "\u00FF\u3042"},                  // bad byte, then valid
    };
    for (const auto& [text, stored, readBack] : cases) {
        EXPECT_EQ(NarrowText(text), stored) << text;
        EXPECT_EQ(WidenText(stored), readBack.empty() ? text : readBack) << text;
    }
}

// Only escapes this codec writes are decoded; everything else is text a user
// typed into an earlier release.
TEST(TextCodec, OlderFilesReadExactlyAsBefore)
{
    const std::pair<std::string, std::string> cases[] = {
        {"&#xE3;", "&#xE3;"}, // a Latin-1 value: never escaped by us
        {"&#x3B1", "&#x3B1"},
        {"&#x0003B1;", "\u03B1"},       // six digits
        {"&#x00003B1;", "&#x00003B1;"}, // seven
        {"&#x110000;", "&#x110000;"},
        {"&#xD800;", "&#xD800;"},
        {"&#945;", "&#945;"},
        {"\xE3\xE7", "\u00E3\u00E7"},
    };
    for (const auto& [stored, text] : cases)
        EXPECT_EQ(WidenText(stored), text) << stored;
}

} // namespace
