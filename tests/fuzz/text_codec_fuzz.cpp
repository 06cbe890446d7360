// The text codec: any bytes narrow and widen without a fault, and valid UTF-8
// comes back unchanged.
#include <glib.h>

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "storage/text_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)WidenText(text);
    if (g_utf8_validate_len(text.data(), text.size(), nullptr) && WidenText(NarrowText(text)) != text)
        std::abort();
    return 0;
}
