#include "services/service_launcher.h"

#include "app/product_messages.h"

void ServiceLauncher::Launch(const std::string& uri, std::function<void(bool launched)> then)
{
    std::weak_ptr<bool> alive = m_alive;
    m_launcher.LaunchUriAsync(uri, [this, alive, then = std::move(then)](bool launched) {
        if (!alive.lock())
            return;
        if (!launched)
            m_messages.Show(m_strings.GetString("wMessageBox_LaunchFailed"));
        if (then)
            then(launched);
    });
}

void ServiceLauncher::QuerySupport(const std::string& uri, const std::string& packageFamilyName,
                                   std::function<void(platform::LaunchQuerySupportStatus)> then)
{
    std::weak_ptr<bool> alive = m_alive;
    m_launcher.QueryUriSupportAsync(uri, packageFamilyName,
                                    [alive, then = std::move(then)](platform::LaunchQuerySupportStatus status) {
                                        if (alive.lock())
                                            then(status);
                                    });
}
