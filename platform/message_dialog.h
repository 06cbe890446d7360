#pragma once
// A non-modal message dialog: shown and not awaited. Its buttons call back
// with the label of the command the user picked.
#include <functional>
#include <optional>
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
    // A question with a text field holding defaultText; commands are the
    // accepting label, then the refusing one. onAnswer runs once when the
    // dialog has gone: the typed text when the first command was picked (or
    // Enter pressed), nullopt for the other, Escape or closing. A dialog
    // destroyed with the application does not call it. Where there is no
    // way to ask, the answer is nullopt at once.
    virtual void ShowPrompt(const std::string& content, const std::string& title, const std::string& defaultText,
                            const std::vector<std::string>& commands,
                            std::function<void(std::optional<std::string>)> onAnswer)
    {
        (void)content, (void)title, (void)defaultText, (void)commands;
        if (onAnswer)
            onAnswer(std::nullopt);
    }
};

} // namespace platform
