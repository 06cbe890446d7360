#pragma once
// Dispatcher timers on the GLib main loop: a running timer is a 16 ms timeout
// source (about 60 ticks a second), removed when it stops or dies. A sleeping
// timer is a source that only asks, before the loop waits, whether anything
// the last event handled changed what the tick looks at.
#include <functional>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/dispatcher_timer.h"
#include "platform/gtk/source_holder.h"

namespace gtkui {

class GLibDispatcherTimer : public platform::DispatcherTimer {
public:
    static constexpr unsigned IntervalMs = 16;

    explicit GLibDispatcherTimer(std::function<void()> tick, std::shared_ptr<uint64_t> ticks = {});
    ~GLibDispatcherTimer() override = default;

    // Starting a running timer changes nothing (its period is not restarted).
    void Start() override;
    void Stop() override;
    bool IsEnabled() const override { return m_source || m_sleep; }
    void SleepWhile(std::function<bool()> unchanged) override;

private:
    static gboolean TickThunk(gpointer self);
    static gboolean SleepPrepare(GSource* source, gint* timeout);
    static gboolean SleepDispatch(GSource* source, GSourceFunc, gpointer);
    void Wake();

    std::function<void()> m_tick;
    std::shared_ptr<uint64_t> m_ticks; // counted for the state probe
    SourceHolder m_source;
    std::function<bool()> m_unchanged;
    SourceHolder m_sleep;
};

class GLibDispatcherTimers : public platform::DispatcherTimers {
public:
    std::unique_ptr<platform::DispatcherTimer> Create(std::function<void()> tick) override;
    // How often each timer made so far has ticked, in creation order.
    std::vector<uint64_t> TickCounts() const;

private:
    std::vector<std::shared_ptr<uint64_t>> m_tickCounts;
};

} // namespace gtkui
