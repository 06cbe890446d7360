// The text codec: any bytes narrow and widen without a fault, and valid UTF-8
// comes back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/text_codec.h"

namespace {

bool IsValidUtf8(std::string_view s)
{
    size_t i = 0;
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i]);
        size_t n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 9;
        if (n == 9 || i + n >= s.size() + (n == 0))
            return false;
        uint32_t cp = n == 0 ? c : c & (0x3f >> n);
        for (size_t k = 1; k <= n; ++k) {
            auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xc0) != 0x80)
                return false;
            cp = (cp << 6) | (t & 0x3f);
        }
        static constexpr uint32_t Least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < Least[n] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
            return false;
        i += n + 1;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    auto narrowed = NarrowText(text);
    auto widened = WidenText(text);
    if (IsValidUtf8(text) && WidenText(narrowed) != text)
        std::abort();
    (void)widened;
    return 0;
}
