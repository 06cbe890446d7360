#pragma once
// The bridge prompts a page is blocked on. Each holds the engine's dialog
// until the web-allowed object replies; the reply then writes the result into
// the prompt and closes it, and the page's script goes on.
//
// A reply may come much later (a confirm waits for the user) and after the
// view is gone: replies hold the registry only weakly, and a registry that
// goes closes every dialog it still holds, so the page's prompt returns
// empty and no dialog is leaked.
#include <webkit/webkit.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace gtkui {

// Create with std::make_shared: replies find the registry through it.
class BridgePrompts : public std::enable_shared_from_this<BridgePrompts> {
public:
    using Reply = std::function<void(std::optional<std::string>)>;

    BridgePrompts() = default;
    ~BridgePrompts();
    BridgePrompts(const BridgePrompts&) = delete;
    BridgePrompts& operator=(const BridgePrompts&) = delete;

    // Runs handle, inside the engine's script-dialog signal, with the reply
    // to the dialog. Until the reply runs the dialog is held open; the reply
    // answers it once, and later calls, or calls after the registry is gone,
    // do nothing. A reply that comes before handle returns only writes the
    // answer: the engine closes the dialog itself when the signal ends, and
    // closing it earlier would pull it from under the engine.
    void Receive(WebKitScriptDialog* dialog, const std::function<void(Reply)>& handle);
    // The same for the page's own prompt(): the reply's text is what prompt()
    // returns as it is, and nullopt (or the registry going) returns null.
    void ReceivePage(WebKitScriptDialog* dialog, const std::function<void(Reply)>& handle);
    // The same for a beforeunload confirmation: any text lets the page go,
    // nullopt (or the registry going) keeps it.
    void ReceiveLeave(WebKitScriptDialog* dialog, const std::function<void(Reply)>& handle);
    // Answers every dialog still held with nothing.
    void CloseAll();
    size_t Held() const { return m_held.size(); }

private:
    struct DialogUnref {
        void operator()(WebKitScriptDialog* dialog) const { webkit_script_dialog_unref(dialog); }
    };
    using DialogPtr = std::unique_ptr<WebKitScriptDialog, DialogUnref>;
    // A bridge call's prompt, the page's own prompt(), or its beforeunload.
    enum class Kind { Bridge, Page, Leave };
    struct HeldDialog {
        DialogPtr Dialog;
        Kind Asked = Kind::Bridge;
    };

    void Hold(WebKitScriptDialog* dialog, Kind kind, const std::function<void(Reply)>& handle);
    void Answer(uint64_t id, const std::optional<std::string>& result);
    // Writes the answer (none leaves the page's null) and closes the dialog
    // (or leaves that to the engine).
    void Finish(uint64_t id, HeldDialog held, const std::optional<std::string>& result);

    std::map<uint64_t, HeldDialog> m_held;
    uint64_t m_nextId = 1;
    // The dialog whose signal is being emitted; 0 for none.
    uint64_t m_receiving = 0;
};

} // namespace gtkui
