// Download names from page-given addresses and names: a proposal is a prefix
// of at most 255 bytes, a name from an address holds no "/".
#include <cstdint>
#include <cstdlib>
#include <string>

#include "downloads/download_names.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    (void)GetFileNameScript(text);
    if (FileNameFromAddress(text).find('/') != std::string::npos)
        std::abort();
    auto proposed = ProposedName(text);
    if (proposed.size() > 255 || text.compare(0, proposed.size(), proposed) != 0)
        std::abort();
    if (IsValidDownloadName(text) && (text.find('/') != std::string::npos || text.size() > 255))
        std::abort();
    return 0;
}
