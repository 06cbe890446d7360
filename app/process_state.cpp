#include "app/process_state.h"

#include <memory>

namespace {
std::unique_ptr<ProcessState> g_state;

TabSlots FreshTabSlots()
{
    TabSlots slots;
    slots.ZoomFactors.fill(1.0);
    slots.ZoomPercentages.fill(100);
    return slots;
}
} // namespace

ProcessState& Process()
{
    if (!g_state)
        ResetProcessState();
    return *g_state;
}

void ResetProcessState()
{
    g_state = std::make_unique<ProcessState>();
    g_state->Tabs = FreshTabSlots();
}
