#pragma once
// The dialogs a page asks for through the bridge. At most one shows per web
// view at a time; a few more wait their turn and the rest are dropped, so a
// page that calls alert in a loop cannot bury the browser in dialogs.
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/message_dialog.h"

struct BridgeDialog {
    std::string Content;
    std::string Title;
    std::vector<std::string> Commands;
    std::function<void(const std::string& label)> OnCommand;
    // Runs once the dialog has gone, however it went (after OnCommand).
    std::function<void()> OnClosed;
    // Set for the page's prompt(): a text field holding PromptDefault, and
    // the answer (nullopt when refused or closed) in place of OnCommand.
    std::function<void(std::optional<std::string>)> OnPrompt = {};
    std::string PromptDefault = {};
};

class BridgeDialogQueue : public std::enable_shared_from_this<BridgeDialogQueue> {
public:
    static constexpr size_t MaxWaiting = 8;

    explicit BridgeDialogQueue(platform::MessageDialogs& dialogs) : m_dialogs(dialogs) {}

    // Shows the dialog now, or after the ones before it have closed. False
    // when the queue is full: the dialog is dropped and none of its
    // callbacks ever runs.
    bool Show(BridgeDialog dialog);

    bool Showing() const { return m_showing; }
    size_t Waiting() const { return m_waiting.size(); }

private:
    void ShowNow(BridgeDialog dialog);
    void ShowNext();

    platform::MessageDialogs& m_dialogs;
    bool m_showing = false;
    std::deque<BridgeDialog> m_waiting;
};
