#pragma once
// The launcher: GIO's default handler for a URI's scheme, started through the
// display's launch context.
#include <memory>
#include <string>

#include "platform/launcher.h"

namespace gtkui {

class DesktopLauncher : public platform::Launcher {
public:
    // sessionBusAddress: the session bus the browser was started with. The
    // browser may drop it from its own environment (a silent portal); the
    // programs it launches still get it. Empty: nothing is added.
    explicit DesktopLauncher(std::string sessionBusAddress);
    ~DesktopLauncher() override;

    void LaunchUriAsync(const std::string& uri, std::function<void(bool launched)> done) override;
    void QueryUriSupportAsync(const std::string& uri, const std::string& packageFamilyName,
                              std::function<void(platform::LaunchQuerySupportStatus)> done) override;

private:
    std::string m_sessionBusAddress;
    // Answers that come after the launcher has gone are dropped.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

} // namespace gtkui
