#include "bridge/page_bridge.h"

namespace {
constexpr auto GestureWindow = std::chrono::seconds(1);
}

PageBridge::PageBridge(platform::MessageDialogs& dialogs, Clock now, std::function<void(const BridgeState&)> accepted)
    : m_dialogs(std::make_shared<BridgeDialogQueue>(dialogs)), m_now(std::move(now)), m_accepted(std::move(accepted))
{
}

bool PageBridge::Recent(std::chrono::steady_clock::time_point at) const
{
    return m_now() - at <= GestureWindow;
}

void PageBridge::ContextMenuGesture()
{
    if (m_requestAt && Recent(*m_requestAt)) {
        Accept();
        return;
    }
    m_gestureAt = m_now();
}

void PageBridge::ContextMenu(const std::string& target, int32_t kind)
{
    if (target.size() > MaxTargetBytes)
        return;
    m_request.ContextTarget = target;
    m_request.ContextKind = kind;
    if (m_gestureAt && Recent(*m_gestureAt)) {
        Accept();
        return;
    }
    m_requestAt = m_now();
}

// One gesture, one pop-up: both halves are used up.
void PageBridge::Accept()
{
    m_gestureAt.reset();
    m_requestAt.reset();
    m_accepted(m_request);
}
