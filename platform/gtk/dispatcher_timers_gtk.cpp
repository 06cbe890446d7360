#include "platform/gtk/dispatcher_timers_gtk.h"

#include "platform/gtk/callback_guard.h"

namespace gtkui {

GLibDispatcherTimer::GLibDispatcherTimer(std::function<void()> tick, std::shared_ptr<uint64_t> ticks)
    : m_tick(std::move(tick)), m_ticks(std::move(ticks))
{
}

void GLibDispatcherTimer::Start()
{
    if (m_source)
        return;
    guint id = g_timeout_add(IntervalMs, &GLibDispatcherTimer::TickThunk, this);
    g_source_set_name_by_id(id, "[tolvane] dispatcher timer");
    m_source.Reset(id);
}

void GLibDispatcherTimer::Stop()
{
    m_source.Reset();
}

gboolean GLibDispatcherTimer::TickThunk(gpointer self)
{
    // The tick may stop, restart or even destroy this timer; the source stays
    // registered until Stop or destruction removes it, so `self` is not
    // touched after the call.
    auto* timer = static_cast<GLibDispatcherTimer*>(self);
    if (timer->m_ticks)
        ++*timer->m_ticks;
    auto tick = timer->m_tick;
    Guarded("dispatcher timer tick", [&] {
        if (tick)
            tick();
    });
    return G_SOURCE_CONTINUE;
}

std::unique_ptr<platform::DispatcherTimer> GLibDispatcherTimers::Create(std::function<void()> tick)
{
    m_tickCounts.push_back(std::make_shared<uint64_t>(0));
    return std::make_unique<GLibDispatcherTimer>(std::move(tick), m_tickCounts.back());
}

std::vector<uint64_t> GLibDispatcherTimers::TickCounts() const
{
    std::vector<uint64_t> counts;
    for (const auto& count : m_tickCounts)
        counts.push_back(*count);
    return counts;
}

} // namespace gtkui
