#include "platform/gtk/dispatcher_timers_gtk.h"

#include "platform/gtk/callback_guard.h"

namespace gtkui {

GLibDispatcherTimer::GLibDispatcherTimer(std::function<void()> tick) : m_tick(std::move(tick)) {}

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
    auto tick = static_cast<GLibDispatcherTimer*>(self)->m_tick;
    Guarded("dispatcher timer tick", [&] {
        if (tick)
            tick();
    });
    return G_SOURCE_CONTINUE;
}

std::unique_ptr<platform::DispatcherTimer> GLibDispatcherTimers::Create(std::function<void()> tick)
{
    return std::make_unique<GLibDispatcherTimer>(std::move(tick));
}

} // namespace gtkui
