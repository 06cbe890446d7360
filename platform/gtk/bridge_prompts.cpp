#include "platform/gtk/bridge_prompts.h"

#include <utility>

#include "platform/gtk/bridge_channel.h"

namespace gtkui {

BridgePrompts::~BridgePrompts()
{
    CloseAll();
}

void BridgePrompts::Receive(WebKitScriptDialog* dialog, const std::function<void(Reply)>& handle)
{
    Hold(dialog, Kind::Bridge, handle);
}

void BridgePrompts::ReceivePage(WebKitScriptDialog* dialog, const std::function<void(Reply)>& handle)
{
    Hold(dialog, Kind::Page, handle);
}

void BridgePrompts::ReceiveLeave(WebKitScriptDialog* dialog, const std::function<void(Reply)>& handle)
{
    Hold(dialog, Kind::Leave, handle);
}

void BridgePrompts::Hold(WebKitScriptDialog* dialog, Kind kind, const std::function<void(Reply)>& handle)
{
    const uint64_t id = m_nextId++;
    m_held.emplace(id, HeldDialog{DialogPtr(webkit_script_dialog_ref(dialog)), kind});
    struct Restore {
        uint64_t& Field;
        const uint64_t Value;
        ~Restore() { Field = Value; }
    } restore{m_receiving, std::exchange(m_receiving, id)};
    handle([registry = weak_from_this(), id](std::optional<std::string> result) {
        if (auto alive = registry.lock())
            alive->Answer(id, result);
    });
}

void BridgePrompts::Answer(uint64_t id, const std::optional<std::string>& result)
{
    auto found = m_held.find(id);
    if (found == m_held.end())
        return;
    // Out of the map before the engine hears of it, so an answer that leads
    // back here finds nothing to answer twice.
    HeldDialog held = std::move(found->second);
    m_held.erase(found);
    const bool bridge = held.Asked == Kind::Bridge;
    Finish(id, std::move(held), bridge ? EncodeBridgeReply(result) : result);
}

void BridgePrompts::CloseAll()
{
    auto held = std::exchange(m_held, {});
    for (auto& [id, entry] : held) {
        // A bridge call gets an empty reply; a page's prompt its null; a
        // beforeunload keeps the page, which is going anyway.
        auto result = entry.Asked == Kind::Bridge ? std::optional<std::string>("") : std::nullopt;
        Finish(id, std::move(entry), result);
    }
}

// result is the prompt's text (a bridge reply already encoded), or for a
// beforeunload whether the page may go.
void BridgePrompts::Finish(uint64_t id, HeldDialog held, const std::optional<std::string>& result)
{
    WebKitScriptDialog* dialog = held.Dialog.get();
    if (held.Asked == Kind::Leave)
        webkit_script_dialog_confirm_set_confirmed(dialog, result.has_value());
    else if (result)
        webkit_script_dialog_prompt_set_text(dialog, result->c_str());
    if (id != m_receiving)
        webkit_script_dialog_close(dialog);
}

} // namespace gtkui
