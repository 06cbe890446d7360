#pragma once
// The system clipboard through GdkClipboard of the default display.
#include "platform/clipboard.h"

namespace gtkui {

class DisplayClipboard : public platform::Clipboard {
public:
    // Without a display the text is dropped with a warning.
    void SetText(const std::string& text) override;
};

} // namespace gtkui
