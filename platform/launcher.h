#pragma once
// Hands a URI to whatever the desktop has for its scheme: a mail client, the
// companion application, a store. Answers come later, on the UI thread.
#include <functional>
#include <string>

namespace platform {

enum class LaunchQuerySupportStatus { Available, AppNotInstalled, NotSupported };

class Launcher {
public:
    virtual ~Launcher() = default;
    // done(true) once a handler has started with the URI; false when none
    // could (no handler, a malformed URI, the handler failed to start).
    virtual void LaunchUriAsync(const std::string& uri, std::function<void(bool launched)> done) = 0;
    // Available only when the scheme's default handler is the package of
    // that family name.
    virtual void QueryUriSupportAsync(const std::string& uri, const std::string& packageFamilyName,
                                      std::function<void(LaunchQuerySupportStatus)> done) = 0;
};

} // namespace platform
