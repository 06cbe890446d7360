#pragma once
// State the whole process shares: the address a launch or activation carried,
// the twenty tab slots and the last right-click the bridge accepted. The
// application owns the one object; a test creates it afresh.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform { class WebView; }
namespace ui { class StackPanel; class Button; }
class PageBridge;

inline constexpr int MaxTabs = 20;

// One tab: its web view, its two headers, its zoom, whether it loads and the
// bridge of its pages. Slots 0 … LastTabIndex are occupied, without gaps.
struct TabSlot {
    platform::WebView* WebView = nullptr;
    ui::StackPanel* StripHeader = nullptr;
    ui::Button* StripCaption = nullptr;
    ui::Button* StripCloseButton = nullptr;
    ui::StackPanel* ListHeader = nullptr;
    ui::Button* ListCaption = nullptr;
    ui::Button* ListCloseButton = nullptr;
    double ZoomFactor = 1.0;
    int32_t ZoomPercentage = 100;
    bool Loading = false;
    // The user input that last opened a tab from this one (one input, one tab).
    std::optional<uint64_t> LastPopupGesture;
    std::shared_ptr<PageBridge> Bridge;
};

using TabSlots = std::array<TabSlot, MaxTabs>;

// The right-click the context pop-up shows.
struct BridgeState {
    std::string ContextTarget;
    int32_t PointerX = 0;
    int32_t PointerY = 0;
    int32_t ContextKind = 127; // 92 after a link, 127 after an image
};

struct ProcessState {
    std::string LaunchAddress;
    bool PendingActivation = false;
    TabSlots Tabs;
    BridgeState Bridge;
};
