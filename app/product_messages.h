#pragma once
// Messages the browser itself tells the user, titled with its name. A message
// already showing is not shown again until it has closed, so a burst of the
// same event never stacks copies of one dialog.
#include <functional>
#include <memory>
#include <set>
#include <string>

#include "platform/message_dialog.h"

inline constexpr const char* ProductTitle = "Tolvane Browser";

class ProductMessages {
public:
    explicit ProductMessages(platform::MessageDialogs& dialogs) : m_dialogs(dialogs) {}

    void Show(const std::string& content);
    // A yes/no question; onYes runs when the user picks yes.
    void Ask(const std::string& content, const std::string& yes, const std::string& no, std::function<void()> onYes);

private:
    bool Begin(const std::string& content);

    platform::MessageDialogs& m_dialogs;
    // Shared with the dialogs' close callbacks, which may outlive the page.
    std::shared_ptr<std::set<std::string>> m_showing = std::make_shared<std::set<std::string>>();
};
