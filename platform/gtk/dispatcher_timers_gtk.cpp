#include "platform/gtk/dispatcher_timers_gtk.h"

#include "platform/gtk/callback_guard.h"

namespace gtkui {

GLibDispatcherTimer::GLibDispatcherTimer(std::function<void()> tick, std::shared_ptr<uint64_t> ticks)
    : m_tick(std::move(tick)), m_ticks(std::move(ticks))
{
}

namespace {

// The sleep source and the timer it wakes.
struct SleepSource {
    GSource Base;
    GLibDispatcherTimer* Timer;
};

} // namespace

void GLibDispatcherTimer::Start()
{
    m_sleep.Reset();
    if (m_source)
        return;
    guint id = g_timeout_add(IntervalMs, &GLibDispatcherTimer::TickThunk, this);
    g_source_set_name_by_id(id, "[tolvane] dispatcher timer");
    m_source.Reset(id);
}

void GLibDispatcherTimer::Stop()
{
    m_sleep.Reset();
    m_source.Reset();
}

void GLibDispatcherTimer::SleepWhile(std::function<bool()> unchanged)
{
    if (!m_source)
        return;
    static GSourceFuncs funcs = {&GLibDispatcherTimer::SleepPrepare, nullptr, &GLibDispatcherTimer::SleepDispatch,
                                 nullptr, nullptr, nullptr};
    m_unchanged = std::move(unchanged);
    GSource* source = g_source_new(&funcs, sizeof(SleepSource));
    reinterpret_cast<SleepSource*>(source)->Timer = this;
    g_source_set_name(source, "[tolvane] sleeping dispatcher timer");
    guint id = g_source_attach(source, nullptr);
    g_source_unref(source);
    // The tick is the timeout source's own dispatch: removing it there is safe.
    m_source.Reset();
    m_sleep.Reset(id);
}

// Runs before every wait of the loop, after whatever it last dispatched:
// ready (so dispatched at once) when that changed something.
gboolean GLibDispatcherTimer::SleepPrepare(GSource* source, gint* timeout)
{
    *timeout = -1;
    auto* timer = reinterpret_cast<SleepSource*>(source)->Timer;
    bool unchanged = true;
    Guarded("sleeping dispatcher timer", [&] { unchanged = !timer->m_unchanged || timer->m_unchanged(); });
    return !unchanged;
}

gboolean GLibDispatcherTimer::SleepDispatch(GSource* source, GSourceFunc, gpointer)
{
    reinterpret_cast<SleepSource*>(source)->Timer->Wake();
    return G_SOURCE_REMOVE;
}

void GLibDispatcherTimer::Wake()
{
    // The sleep source returns G_SOURCE_REMOVE: GLib removes it.
    m_sleep.Forget();
    m_unchanged = {};
    guint id = g_timeout_add(IntervalMs, &GLibDispatcherTimer::TickThunk, this);
    g_source_set_name_by_id(id, "[tolvane] dispatcher timer");
    m_source.Reset(id);
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
