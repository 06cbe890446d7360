// Toast markup from a download's title and message: always well-formed XML
// that gives the two texts back.
#include <cstdint>
#include <cstdlib>
#include <string>

#include <pugixml.hpp>

#include "downloads/toast_notifications.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string input(reinterpret_cast<const char*>(data), size);
    // No NUL in either text: the markup is a C string to the notifier.
    if (input.find('\0') != std::string::npos)
        return 0;
    auto split = input.find('\n');
    std::string title = input.substr(0, split);
    std::string message = split == std::string::npos ? "" : input.substr(split + 1);
    auto markup = ToastMarkup(title, message);
    pugi::xml_document document;
    if (!document.load_string(markup.c_str()))
        std::abort();
    auto texts = document.select_nodes("//text");
    if (texts.size() != 2)
        std::abort();
    return 0;
}
