#pragma once
// Owns one GLib main-loop source by its id: removed on Reset and on
// destruction, so its callback never outlives the object it calls. Move-only.
#include <glib.h>

#include <utility>

namespace gtkui {

class SourceHolder {
public:
    SourceHolder() = default;
    explicit SourceHolder(guint id) : m_id(id) {}
    ~SourceHolder() { Reset(); }

    SourceHolder(const SourceHolder&) = delete;
    SourceHolder& operator=(const SourceHolder&) = delete;
    SourceHolder(SourceHolder&& other) noexcept : m_id(std::exchange(other.m_id, 0)) {}
    SourceHolder& operator=(SourceHolder&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_id = std::exchange(other.m_id, 0);
        }
        return *this;
    }

    explicit operator bool() const { return m_id != 0; }

    // Removes the source, if any, and holds `id` instead.
    void Reset(guint id = 0)
    {
        guint old = std::exchange(m_id, id);
        if (old)
            g_source_remove(old);
    }
    // For a source whose callback returned G_SOURCE_REMOVE: GLib has already
    // removed it, so only the id is forgotten.
    void Forget() { m_id = 0; }

private:
    guint m_id = 0;
};

} // namespace gtkui
