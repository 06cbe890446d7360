#pragma once
// A multicast event: handlers are plain std::function values, called in the
// order they were added.
#include <functional>
#include <utility>
#include <vector>

namespace ui {

template <typename... Args>
class Event {
public:
    using Handler = std::function<void(Args...)>;

    void Subscribe(Handler handler) { m_handlers.push_back(std::move(handler)); }
    void Clear() { m_handlers.clear(); }
    bool HasHandlers() const { return !m_handlers.empty(); }

    void operator()(Args... args) const
    {
        // Copy first: a handler may subscribe or clear while we iterate.
        auto handlers = m_handlers;
        for (auto& handler : handlers)
            handler(args...);
    }

private:
    std::vector<Handler> m_handlers;
};

} // namespace ui
