#include "library/stored_items.h"

#include <charconv>

#include "app/product_messages.h"

std::string ItemMessage(const std::string& name, const std::string& text)
{
    return "\"" + name + "\" " + text;
}

std::optional<int32_t> StoredId(const std::string& text)
{
    int32_t id = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return id;
}

std::optional<platform::Uri> StoredLinkTarget(const std::string& link, const platform::Resources& strings,
                                              ProductMessages& messages)
{
    auto uri = platform::Uri::Parse(link);
    if (!uri)
        messages.Show(strings.GetString("wMessageBox_InvalidLink"));
    return uri;
}
