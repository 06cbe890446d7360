#include "storage/text_codec.h"

#include <cstdint>
#include <optional>

namespace {

constexpr char32_t Ampersand = 0x26;
constexpr char32_t LastLatin1 = 0xFF;
constexpr char32_t LastCodePoint = 0x10FFFF;
constexpr size_t MaxEscapeDigits = 6;

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

bool IsSurrogate(char32_t codePoint)
{
    return codePoint >= 0xD800 && codePoint <= 0xDFFF;
}

struct Decoded {
    char32_t CodePoint;
    size_t Length;
};

// One well-formed UTF-8 sequence at the start of text; nothing for overlong
// forms, surrogates, values past U+10FFFF or truncated sequences.
std::optional<Decoded> DecodeUtf8(std::string_view text)
{
    auto lead = static_cast<unsigned char>(text[0]);
    if (lead < 0x80)
        return Decoded{lead, 1};
    size_t length;
    char32_t codePoint;
    char32_t smallest;
    if ((lead & 0xE0) == 0xC0) {
        length = 2; codePoint = lead & 0x1F; smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3; codePoint = lead & 0x0F; smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4; codePoint = lead & 0x07; smallest = 0x10000;
    } else {
        return std::nullopt;
    }
    if (text.size() < length)
        return std::nullopt;
    for (size_t i = 1; i < length; ++i) {
        auto byte = static_cast<unsigned char>(text[i]);
        if (!IsContinuation(byte))
            return std::nullopt;
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    if (codePoint < smallest || codePoint > LastCodePoint || IsSurrogate(codePoint))
        return std::nullopt;
    return Decoded{codePoint, length};
}

void AppendUtf8(std::string& out, char32_t codePoint)
{
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

void AppendEscape(std::string& out, char32_t codePoint)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    char hex[8];
    size_t count = 0;
    do {
        hex[count++] = Digits[codePoint & 0xF];
        codePoint >>= 4;
    } while (codePoint != 0);
    out += "&#x";
    while (count > 0)
        out += hex[--count];
    out += ';';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// An escape this codec writes, at the start of text. Anything else, including
// escapes of Latin-1 values, is literal text from the user or an older file.
std::optional<Decoded> DecodeEscape(std::string_view text)
{
    if (text.substr(0, 3) != "&#x")
        return std::nullopt;
    char32_t value = 0;
    size_t digits = 0;
    while (digits < MaxEscapeDigits && 3 + digits < text.size()) {
        int digit = HexValue(text[3 + digits]);
        if (digit < 0)
            break;
        value = (value << 4) | static_cast<char32_t>(digit);
        ++digits;
    }
    size_t end = 3 + digits;
    if (digits == 0 || end >= text.size() || text[end] != ';')
        return std::nullopt;
    bool escapedByUs = value == Ampersand
        || (value > LastLatin1 && value <= LastCodePoint && !IsSurrogate(value));
    if (!escapedByUs)
        return std::nullopt;
    return Decoded{value, end + 1};
}

} // namespace

std::string NarrowText(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        auto decoded = DecodeUtf8(utf8.substr(i));
        if (!decoded) {
            // Not UTF-8: keep the byte as the Latin-1 character it would be.
            out += utf8[i];
            ++i;
            continue;
        }
        char32_t codePoint = decoded->CodePoint;
        bool ampersandEscape = codePoint == Ampersand && i + 1 < utf8.size() && utf8[i + 1] == '#';
        if (codePoint > LastLatin1 || ampersandEscape)
            AppendEscape(out, codePoint);
        else
            out += static_cast<char>(codePoint);
        i += decoded->Length;
    }
    return out;
}

std::string WidenText(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    size_t i = 0;
    while (i < bytes.size()) {
        if (bytes[i] == '&') {
            if (auto escape = DecodeEscape(bytes.substr(i))) {
                AppendUtf8(out, escape->CodePoint);
                i += escape->Length;
                continue;
            }
        }
        AppendUtf8(out, static_cast<unsigned char>(bytes[i]));
        ++i;
    }
    return out;
}
