#pragma once
// Owns one signal handler connection: disconnects it on destruction, so a
// callback never reaches an adapter that is gone. Move-only.
//
//   m_connections.emplace_back(G_OBJECT(view), g_signal_connect(view, "load-changed", G_CALLBACK(f), this));
#include <glib-object.h>

#include <utility>

namespace gtkui {

class SignalConnection {
public:
    SignalConnection() = default;
    // The caller keeps `instance` alive for as long as this connection lives.
    SignalConnection(gpointer instance, gulong handlerId) : m_instance(instance), m_id(handlerId) {}
    ~SignalConnection() { Disconnect(); }

    SignalConnection(const SignalConnection&) = delete;
    SignalConnection& operator=(const SignalConnection&) = delete;
    SignalConnection(SignalConnection&& other) noexcept
        : m_instance(std::exchange(other.m_instance, nullptr)), m_id(std::exchange(other.m_id, 0))
    {
    }
    SignalConnection& operator=(SignalConnection&& other) noexcept
    {
        if (this != &other) {
            Disconnect();
            m_instance = std::exchange(other.m_instance, nullptr);
            m_id = std::exchange(other.m_id, 0);
        }
        return *this;
    }

    void Disconnect()
    {
        if (m_instance && m_id && g_signal_handler_is_connected(m_instance, m_id))
            g_signal_handler_disconnect(m_instance, m_id);
        m_instance = nullptr;
        m_id = 0;
    }

private:
    gpointer m_instance = nullptr;
    gulong m_id = 0;
};

} // namespace gtkui
