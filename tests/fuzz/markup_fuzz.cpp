// The page markup loader: any document loads or throws MarkupError.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/resources.h"
#include "platform/ui/markup.h"

namespace {

class NoTexts : public platform::Resources {
public:
    std::optional<std::string> TryGetString(const std::string&) const override { return std::nullopt; }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const NoTexts texts;
    static const ui::MarkupHandlers handlers{{{"Clicked", [](ui::Element&) {}}}, {}};
    try {
        auto loaded = ui::LoadMarkup(std::string_view(reinterpret_cast<const char*>(data), size), texts, handlers);
    } catch (const ui::MarkupError&) {
    }
    return 0;
}
