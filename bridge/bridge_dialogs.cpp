#include "bridge/bridge_dialogs.h"

#include <utility>

bool BridgeDialogQueue::Show(BridgeDialog dialog)
{
    if (!m_showing) {
        ShowNow(std::move(dialog));
        return true;
    }
    if (m_waiting.size() >= MaxWaiting)
        return false;
    m_waiting.push_back(std::move(dialog));
    return true;
}

void BridgeDialogQueue::ShowNow(BridgeDialog dialog)
{
    m_showing = true;
    // The queue may go with its page while the dialog is still up.
    std::weak_ptr<BridgeDialogQueue> queue = weak_from_this();
    auto onClosed = [queue, closed = std::move(dialog.OnClosed)] {
        if (closed)
            closed();
        if (auto alive = queue.lock())
            alive->ShowNext();
    };
    if (dialog.OnPrompt) {
        auto onAnswer = [onClosed, answered = std::move(dialog.OnPrompt)](std::optional<std::string> answer) {
            answered(std::move(answer));
            onClosed();
        };
        m_dialogs.ShowPrompt(dialog.Content, dialog.Title, dialog.PromptDefault, dialog.Commands, std::move(onAnswer));
        return;
    }
    m_dialogs.ShowTracked(dialog.Content, dialog.Title, dialog.Commands, std::move(dialog.OnCommand),
                          std::move(onClosed));
}

void BridgeDialogQueue::ShowNext()
{
    m_showing = false;
    if (m_waiting.empty())
        return;
    auto next = std::move(m_waiting.front());
    m_waiting.pop_front();
    ShowNow(std::move(next));
}
