#pragma once
// The resource tables: every visible text is looked up by key.
#include <optional>
#include <string>
#include <vector>

namespace platform {

class Resources {
public:
    virtual ~Resources() = default;
    // The text for a key, or nullopt when the table lacks it.
    virtual std::optional<std::string> TryGetString(const std::string& key) const = 0;
    // The text for a key; a missing key yields the key itself so that the
    // gap is visible rather than blank.
    std::string GetString(const std::string& key) const
    {
        auto text = TryGetString(key);
        return text ? *text : key;
    }
};

} // namespace platform
