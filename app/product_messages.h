#pragma once
// Messages the browser itself tells the user. A message already showing is
// not shown again until it has closed, so a burst of the same event (a file
// that cannot be opened at every navigation, twenty-one tabs asked for at
// once) never stacks copies of one dialog. Page dialogs do not come here:
// each of those waits for its own answer.
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>

#include "platform/message_dialog.h"

inline constexpr const char* ProductTitle = "Tolvane Browser";

class ProductMessages : public platform::MessageDialogs {
public:
    explicit ProductMessages(platform::MessageDialogs& dialogs) : m_dialogs(dialogs) {}

    // Titled with the product's name.
    void Show(const std::string& content) { Show(content, ProductTitle); }
    // A yes/no question; onYes runs when the user picks yes.
    void Ask(const std::string& content, const std::string& yes, const std::string& no, std::function<void()> onYes);

    void Show(const std::string& content, const std::string& title, const std::vector<std::string>& commands = {},
              std::function<void(const std::string& label)> onCommand = {}) override;
    void ShowTracked(const std::string& content, const std::string& title, const std::vector<std::string>& commands,
                     std::function<void(const std::string& label)> onCommand,
                     std::function<void()> onClosed) override;
    void ShowPrompt(const std::string& content, const std::string& title, const std::string& defaultText,
                    const std::vector<std::string>& commands,
                    std::function<void(std::optional<std::string>)> onAnswer) override
    {
        m_dialogs.ShowPrompt(content, title, defaultText, commands, std::move(onAnswer));
    }

private:
    using Key = std::pair<std::string, std::string>;

    platform::MessageDialogs& m_dialogs;
    // Shared with the dialogs' close callbacks, which may outlive the page.
    std::shared_ptr<std::set<Key>> m_showing = std::make_shared<std::set<Key>>();
};
