#pragma once
// Owns one reference to a GObject: unref on destruction, move-only.
//
//   auto list = gtkui::Adopt(gtk_string_list_new(nullptr));   // takes a full ref
//   auto label = gtkui::RefSink(gtk_label_new("x"));           // sinks a floating ref
//   auto shared = gtkui::AddRef(someWidget);                   // adds a ref of its own
#include <glib-object.h>

#include <utility>

namespace gtkui {

template <typename T>
class GObjectPtr {
public:
    GObjectPtr() = default;
    // Takes over a reference the caller already owns (not a floating one).
    explicit GObjectPtr(T* owned) : m_ptr(owned) {}
    ~GObjectPtr() { Reset(); }

    GObjectPtr(const GObjectPtr&) = delete;
    GObjectPtr& operator=(const GObjectPtr&) = delete;
    GObjectPtr(GObjectPtr&& other) noexcept : m_ptr(other.Release()) {}
    GObjectPtr& operator=(GObjectPtr&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    T* Get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    explicit operator bool() const { return m_ptr != nullptr; }

    // Drops the held reference and takes over `owned` instead.
    void Reset(T* owned = nullptr)
    {
        T* old = std::exchange(m_ptr, owned);
        if (old)
            g_object_unref(old);
    }
    // Hands the reference to the caller.
    [[nodiscard]] T* Release() { return std::exchange(m_ptr, nullptr); }

private:
    T* m_ptr = nullptr;
};

// Takes over a full reference (what *_new of a non-floating type returns).
template <typename T>
GObjectPtr<T> Adopt(T* owned)
{
    return GObjectPtr<T>(owned);
}

// Sinks a floating reference (a new GtkWidget's) so the holder owns it; on an
// object that is not floating it adds a reference.
template <typename T>
GObjectPtr<T> RefSink(T* object)
{
    if (object)
        g_object_ref_sink(object);
    return GObjectPtr<T>(object);
}

// Adds a reference of the holder's own to an object owned elsewhere.
template <typename T>
GObjectPtr<T> AddRef(T* object)
{
    if (object)
        g_object_ref(object);
    return GObjectPtr<T>(object);
}

} // namespace gtkui
