#pragma once
// Launches a URI for a component, and tells the user when nothing could
// open it; an answer that comes after the component has gone is dropped.
#include <functional>
#include <memory>
#include <string>

#include "platform/launcher.h"
#include "platform/resources.h"

class ProductMessages;

class ServiceLauncher {
public:
    ServiceLauncher(platform::Launcher& launcher, ProductMessages& messages, const platform::Resources& strings)
        : m_launcher(launcher), m_messages(messages), m_strings(strings)
    {
    }

    // then(launched) runs after the failure message, if any.
    void Launch(const std::string& uri, std::function<void(bool launched)> then = {});
    void QuerySupport(const std::string& uri, const std::string& packageFamilyName,
                      std::function<void(platform::LaunchQuerySupportStatus)> then);

private:
    platform::Launcher& m_launcher;
    ProductMessages& m_messages;
    const platform::Resources& m_strings;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
