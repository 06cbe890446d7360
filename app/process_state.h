#pragma once
// State shared between the application object, the page and its handlers for
// the whole process. One object holds it, so a test can start afresh.
#include <array>
#include <cstdint>
#include <string>

namespace platform { class WebView; }
namespace ui { class StackPanel; class Button; }

inline constexpr int MaxTabs = 20;

template <typename T>
using TabArray = std::array<T, MaxTabs>;

template <typename T>
constexpr TabArray<T> Filled(T value)
{
    TabArray<T> array{};
    array.fill(value);
    return array;
}

struct TabSlots {
    TabArray<platform::WebView*> TabWebViews{};
    TabArray<ui::StackPanel*> TabStripHeaders{};
    TabArray<ui::Button*> TabStripCaptions{};
    TabArray<ui::Button*> TabStripCloseButtons{};
    TabArray<ui::StackPanel*> TabListHeaders{};
    TabArray<ui::Button*> TabListCaptions{};
    TabArray<ui::Button*> TabListCloseButtons{};
    // Every tab starts at 100 %.
    TabArray<double> ZoomFactors = Filled(1.0);
    TabArray<int32_t> ZoomPercentages = Filled<int32_t>(100);
};

// What the page bridge records for the polling timer to act on.
struct BridgeState {
    std::string ContextTarget;
    int32_t PointerX = 0;
    int32_t PointerY = 0;
    int32_t ContextKind = 127; // 92 after a link, 127 after an image
    bool ContextMenuOpen = false;
};

struct ProcessState {
    std::string LaunchAddress;
    bool PendingActivation = false;
    TabSlots Tabs;
    BridgeState Bridge;
};

ProcessState& Process();
// Drops everything the process holds (tests start each case afresh).
void ResetProcessState();
