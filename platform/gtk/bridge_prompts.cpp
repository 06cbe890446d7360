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
    Hold(dialog, false, handle);
}

void BridgePrompts::ReceivePage(WebKitScriptDialog* dialog, const std::function<void(Reply)>& handle)
{
    Hold(dialog, true, handle);
}

void BridgePrompts::Hold(WebKitScriptDialog* dialog, bool page, const std::function<void(Reply)>& handle)
{
    const uint64_t id = m_nextId++;
    m_held.emplace(id, HeldDialog{DialogPtr(webkit_script_dialog_ref(dialog)), page});
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
    Finish(id, std::move(held.Dialog), held.Page ? result : EncodeBridgeReply(result));
}

void BridgePrompts::CloseAll()
{
    auto held = std::exchange(m_held, {});
    for (auto& [id, entry] : held)
        Finish(id, std::move(entry.Dialog), entry.Page ? std::nullopt : std::optional<std::string>(""));
}

void BridgePrompts::Finish(uint64_t id, DialogPtr dialog, const std::optional<std::string>& promptText)
{
    if (promptText)
        webkit_script_dialog_prompt_set_text(dialog.get(), promptText->c_str());
    if (id != m_receiving)
        webkit_script_dialog_close(dialog.get());
}

} // namespace gtkui
