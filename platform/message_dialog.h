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
    // As Show, and onClosed runs once when the dialog has gone, however it
    // went: after onCommand when a command was picked, alone when the user
    // closed it otherwise. Lets a caller show one dialog after another. A
    // dialog destroyed with the application calls neither.
    virtual void ShowTracked(const std::string& content, const std::string& title,
                             const std::vector<std::string>& commands,
                             std::function<void(const std::string& label)> onCommand,
                             std::function<void()> onClosed) = 0;
};

} // namespace platform
