// The bridge's message decoding: any prompt text a page sends decodes to a
// call or to nothing, never past the token check without the token.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include <gtk/gtk.h>

#include "platform/gtk/bridge_channel.h"

// The engine's script context needs the toolkit set up, as in the browser.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    gtk_init();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string_view message(reinterpret_cast<const char*>(data), size);
    static constexpr std::string_view Token = "0123456789abcdef";
    auto call = gtkui::ParseBridgePrompt(message, Token);
    if (call && message.find(Token) == std::string_view::npos)
        std::abort();
    (void)gtkui::IsAwaitedBridgeMethod(message);
    (void)gtkui::JsonQuote(message);
    return 0;
}
