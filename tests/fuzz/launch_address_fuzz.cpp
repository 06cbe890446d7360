// The launch address decision: any command-line text opens an address,
// launches plainly or is refused with a message; never a script. (A local
// file another program hands over, an HTML file from a file manager, opens.)
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/launch_address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    auto decision = DecideLaunchAddress(std::string_view(reinterpret_cast<const char*>(data), size));
    if (decision.Outcome == LaunchDecision::Open) {
        if (!decision.Address)
            std::abort();
        if (decision.Address->Scheme() == "javascript")
            std::abort();
    }
    if (decision.Outcome == LaunchDecision::Refused && decision.MessageKey.empty())
        std::abort();
    return 0;
}
