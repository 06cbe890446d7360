#pragma once
// The About panel's support mail: a new message to the developers.
#include <string>

#include "platform/platform.h"
#include "services/service_launcher.h"

class ChromeAnimator;
class ProductMessages;

std::string SupportMailUri(const platform::Resources& strings);

class SupportMail {
public:
    SupportMail(platform::PlatformServices& services, ChromeAnimator& chrome, ProductMessages& messages)
        : m_services(services), m_chrome(chrome), m_launcher(services.Launch, messages, services.Strings)
    {
    }

    void SupportMail_Click(ui::Element& sender);

private:
    platform::PlatformServices& m_services;
    ChromeAnimator& m_chrome;
    ServiceLauncher m_launcher;
};
