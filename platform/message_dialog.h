#pragma once
// A non-modal message dialog: shown and not awaited. Its buttons call back
// with the label of the command the user picked.
#include <functional>
#include <string>
#include <vector>

namespace platform {

class MessageDialogs {
public:
    virtual ~MessageDialogs() = default;
    // With no commands the dialog has one plain close button and no callback.
    virtual void Show(const std::string& content, const std::string& title,
                      const std::vector<std::string>& commands = {},
                      std::function<void(const std::string& label)> onCommand = {}) = 0;
};

} // namespace platform
