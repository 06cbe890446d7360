#pragma once
// The bridge of one tab's pages: the queue its dialogs wait in and the
// right-clicks its pages report. A page's report opens the context pop-up
// only when the engine saw a real context-menu gesture on the view within a
// second of it (the page's listener runs just before the engine's event), so
// a page cannot open the pop-up, or hold the chrome's panels shut, alone.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/process_state.h"
#include "bridge/bridge_dialogs.h"
#include "bridge/shared_object.h"

class PageBridge : public ContextRequests {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    // Longer targets are no address a user right-clicked: they are ignored.
    static constexpr size_t MaxTargetBytes = 32 * 1024;

    PageBridge(platform::MessageDialogs& dialogs, Clock now, std::function<void(const BridgeState&)> accepted);

    const std::shared_ptr<BridgeDialogQueue>& Dialogs() const { return m_dialogs; }

    // The engine's own context-menu event on the tab's view.
    void ContextMenuGesture();
    void PointerX(int32_t x) override { m_request.PointerX = x; }
    void PointerY(int32_t y) override { m_request.PointerY = y; }
    void ContextMenu(const std::string& target, int32_t kind) override;

    // The page scripts go into each document once: true the first time a
    // document asks, until the next document starts.
    bool TakeScriptInjection() { return !std::exchange(m_scriptsInjected, true); }
    void NewDocument() { m_scriptsInjected = false; }

private:
    bool Recent(std::chrono::steady_clock::time_point at) const;
    void Accept();

    std::shared_ptr<BridgeDialogQueue> m_dialogs;
    Clock m_now;
    std::function<void(const BridgeState&)> m_accepted;
    BridgeState m_request;
    std::optional<std::chrono::steady_clock::time_point> m_gestureAt;
    std::optional<std::chrono::steady_clock::time_point> m_requestAt;
    bool m_scriptsInjected = false;
};
