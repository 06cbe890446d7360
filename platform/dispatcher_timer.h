#pragma once
// A timer on the user-interface thread. The system asks for "as fast as the
// dispatcher allows"; on this platform that is about 60 ticks a second.
#include <functional>
#include <memory>

namespace platform {

class DispatcherTimer {
public:
    virtual ~DispatcherTimer() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
    virtual bool IsEnabled() const = 0;
    // A running timer whose tick has nothing to do may sleep: no ticks while
    // `unchanged` holds, ticking again at once when it no longer does. It
    // stays enabled; Start and Stop end the sleep. Where the platform cannot
    // ask between its events, the timer simply keeps ticking.
    virtual void SleepWhile(std::function<bool()> unchanged) {}
};

class DispatcherTimers {
public:
    virtual ~DispatcherTimers() = default;
    // Created stopped; the tick runs on the user-interface thread.
    virtual std::unique_ptr<DispatcherTimer> Create(std::function<void()> tick) = 0;
};

} // namespace platform
