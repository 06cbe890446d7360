#pragma once
// The system clipboard, as far as the browser uses it: text put there for the
// user to paste elsewhere.
#include <string>

namespace platform {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Replaces the clipboard's content with the text (UTF-8).
    virtual void SetText(const std::string& text) = 0;
};

} // namespace platform
