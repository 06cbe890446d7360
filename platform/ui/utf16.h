#pragma once
// The system counts characters as UTF-16 code units; texts here are UTF-8.
// A lead byte of four (a character beyond the basic plane) counts two.
#include <cstddef>
#include <string_view>

namespace ui {

inline size_t Utf16Units(unsigned char leadByte)
{
    return (leadByte & 0xC0) == 0x80 ? 0 : leadByte >= 0xF0 ? 2 : 1;
}

inline int Utf16Length(std::string_view text)
{
    int units = 0;
    for (unsigned char c : text)
        units += static_cast<int>(Utf16Units(c));
    return units;
}

// The bytes of the longest start of text that holds at most maxUnits code
// units; it never ends inside a character.
inline size_t Utf16PrefixBytes(std::string_view text, size_t maxUnits)
{
    size_t units = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        units += Utf16Units(static_cast<unsigned char>(text[i]));
        if (units > maxUnits)
            return i;
    }
    return text.size();
}

} // namespace ui
