#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "storage/text_codec.h"

namespace {

struct CodecCase {
    const char* Name;
    std::string Text;   // UTF-8, as the system holds it
    std::string Stored; // bytes as they reach SQLite
};

void PrintTo(const CodecCase& c, std::ostream* out)
{
    *out << c.Name;
}

const std::vector<CodecCase> RoundTripCases = {
    {"ascii", "http://example.com/?q=a&b=c", "http://example.com/?q=a&b=c"},
    {"portuguese", "Sem título: ação", "Sem t\xEDtulo: a\xE7\xE3o"},
    {"latin1 edges", "\x7F\u0080\u00FF", "\x7F\x80\xFF"},
    {"greek", "αβ", "&#x3B1;&#x3B2;"},
    {"cjk", "中文", "&#x4E2D;&#x6587;"},
    {"emoji", "😀", "&#x1F600;"},
    {"first above latin1", "\u0100", "&#x100;"},
    {"last code point", "\U0010FFFF", "&#x10FFFF;"},
    {"typed escape", "&#x3B1;", "&#x26;#x3B1;"},
    {"typed ampersand escape", "&#x26;", "&#x26;#x26;"},
    {"ampersand hash at end", "a&#", "a&#x26;#"},
    {"lone ampersands", "a & b &amp; &", "a & b &amp; &"},
    {"quotes", "it's \"quoted\"", "it's \"quoted\""},
    {"mixed", "ã&#α", "\xE3&#x26;#&#x3B1;"},
};

class CodecRoundTrip : public ::testing::TestWithParam<CodecCase> {};

TEST_P(CodecRoundTrip, StoresTheFormatAndReadsBackTheSameText)
{
    const auto& c = GetParam();
    EXPECT_EQ(NarrowText(c.Text), c.Stored);
    EXPECT_EQ(WidenText(c.Stored), c.Text);
}

INSTANTIATE_TEST_SUITE_P(Texts, CodecRoundTrip, ::testing::ValuesIn(RoundTripCases),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             for (char& ch : name)
                                 if (!isalnum(static_cast<unsigned char>(ch)))
                                     ch = '_';
                             return name;
                         });

TEST(TextCodec, InvalidUtf8BytesAreKeptAsLatin1Characters)
{
    struct Case {
        std::string Input;
        std::string Stored;
        std::string ReadBack;
    };
    const std::vector<Case> cases = {
        {"a\xE3z", "a\xE3z", "a\u00E3z"},                           // a stray Latin-1 byte
        {"\xE2\x82", "\xE2\x82", "\u00E2\u0082"},                   // truncated sequence
        {"\xC0\xAF", "\xC0\xAF", "\u00C0\u00AF"},                   // overlong slash
        {"\xED\xA0\x80", "\xED\xA0\x80", "\u00ED\u00A0\u0080"},     // encoded surrogate
        {"\xF4\x90\x80\x80", "\xF4\x90\x80\x80", "\u00F4\u0090\u0080\u0080"}, // past U+10FFFF
        {"\xFF\xE3\x81\x82", "\xFF&#x3042;", "\u00FF\u3042"},        // bad byte, then valid
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NarrowText(c.Input), c.Stored);
        EXPECT_EQ(WidenText(c.Stored), c.ReadBack);
    }
}

TEST(TextCodec, OlderFilesReadExactlyAsBefore)
{
    // Only escapes this codec writes are decoded; everything else is text a
    // user typed into an earlier release.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"&#xE3;", "&#xE3;"},           // Latin-1 value: never escaped by us
        {"&#x41;", "&#x41;"},
        {"&#x;", "&#x;"},
        {"&#x3B1", "&#x3B1"},           // no semicolon
        {"&#x0003B1;", "\u03B1"},       // six digits
        {"&#x00003B1;", "&#x00003B1;"}, // seven digits
        {"&#x110000;", "&#x110000;"},   // past the last code point
        {"&#xD800;", "&#xD800;"},       // surrogate
        {"&#945;", "&#945;"},           // decimal reference
        {"&#X3B1;", "&#X3B1;"},
        {"\xE3\xE7", "\u00E3\u00E7"},
    };
    for (const auto& [stored, text] : cases)
        EXPECT_EQ(WidenText(stored), text) << stored;
}

TEST(TextCodec, StoredFormOfWideTextHasNoHighBytes)
{
    // An earlier release reads bytes 0x80-0xFF as Latin-1 letters; wide text
    // must reach it as plain ASCII escapes, never as UTF-8 bytes.
    for (const std::string text : {"αβγ", "中文字", "😀🎉", "Ωmega"})
        for (unsigned char byte : NarrowText(text))
            EXPECT_LT(byte, 0x80) << text;
}

TEST(TextCodec, RandomMixturesOfEscapeLookalikesRoundTrip)
{
    const std::vector<std::string> pieces = {"&", "#", "x", "X", "3B1", "26", "FF", ";", "ã", "α", "😀", "'", "a", "\u0100"};
    std::mt19937 random(12345);
    std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
    std::uniform_int_distribution<int> length(0, 12);
    for (int round = 0; round < 5000; ++round) {
        std::string text;
        for (int n = length(random); n > 0; --n)
            text += pieces[pick(random)];
        ASSERT_EQ(WidenText(NarrowText(text)), text) << "round " << round;
    }
}

} // namespace
