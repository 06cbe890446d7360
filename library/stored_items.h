#pragma once
// What the favorites, history and suggestions share: a stored entry's message
// form, its id, and opening its stored address.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/platform.h"

class ProductMessages;

// The message about a user's item: its name in double quotes, a space, the text.
std::string ItemMessage(const std::string& name, const std::string& text);

// A stored wID as a number; nullopt for a text that is not one.
std::optional<int32_t> StoredId(const std::string& text);

// The stored address as a URI; one that does not parse opens nothing and is
// told as an invalid link.
std::optional<platform::Uri> StoredLinkTarget(const std::string& link, const platform::Resources& strings,
                                              ProductMessages& messages);
