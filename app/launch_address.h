#pragma once
// What the browser does with an address another program hands it: the
// command line, a desktop launcher, a second invocation. Such an address is
// opened, ignored (nothing given: a plain launch) or refused with a message;
// it never runs a script.
#include <optional>
#include <string>
#include <string_view>

#include "platform/uri.h"

// Longer than any address a page or a person writes; a bigger text is a
// mistake or an attack, and the engine would only choke on it.
inline constexpr size_t MaxLaunchAddressBytes = 2 * 1024 * 1024;

struct LaunchDecision {
    enum Kind { PlainLaunch, Open, Refused } Outcome = PlainLaunch;
    std::optional<platform::Uri> Address; // set when Open
    std::string MessageKey;               // set when Refused
};

LaunchDecision DecideLaunchAddress(std::string_view text);
