// The address bar's decision and URI handling: whatever is typed classifies,
// becomes a target and a query, and parses or is refused, without a fault.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "browser/address_resolution.h"
#include "platform/uri.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    if (ClassifyAddressText(text) == AddressKind::Address) {
        if (auto uri = platform::Uri::Parse(AddressTarget(text))) {
            // A parsed address parses again to itself.
            auto again = platform::Uri::Parse(uri->AbsoluteUri());
            if (!again || again->AbsoluteUri() != uri->AbsoluteUri())
                std::abort();
            (void)uri->Extension();
        }
    } else {
        auto query = EncodeQueryText(text);
        if (query.find_first_of(" &#?") != std::string::npos)
            std::abort();
    }
    (void)SearchPrefix(text);
    return 0;
}
