#pragma once
// The stored home page as an address; nullopt when it does not parse. The
// configuration database must be open; when it could not be, the default.
#include <optional>

#include "platform/uri.h"

std::optional<platform::Uri> ReadHomePage();
