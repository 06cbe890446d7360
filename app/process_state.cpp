#include "app/process_state.h"

#include <memory>

namespace {
std::unique_ptr<ProcessState> g_state;
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
}
