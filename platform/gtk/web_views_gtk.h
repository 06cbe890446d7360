#pragma once
// Creates the system's web views on WebKitGTK. One engine context serves the
// whole application (with the application pages under "ms-appx-web:///"); normal
// views share one session that keeps its data on disk, private views share one
// ephemeral session that keeps nothing.
#include <webkit/webkit.h>

#include <map>
#include <memory>
#include <string>

#include "platform/gtk/freed_memory_gtk.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/spelling_gtk.h"
#include "platform/web_view.h"

namespace gtkui {

// Where the normal session keeps cookies, storage and cache.
struct WebDataFolders {
    std::string Data;
    std::string Cache;
    // $XDG_DATA_HOME/tolvane-browser/web and $XDG_CACHE_HOME/tolvane-browser.
    static WebDataFolders FromUserDirectories();
};

class WebKitWebViews : public platform::WebViews {
public:
    WebKitWebViews();
    explicit WebKitWebViews(const WebDataFolders& folders);

    std::unique_ptr<platform::WebView> Create(platform::BrowsingSession session) override;
    void ClearTemporaryWebData() override;
    std::string PublishPage(const std::string& html) override;
    // A published page by its path ("/generated/3"); null when not (or no longer) served.
    const std::string* PublishedPage(const std::string& path) const;

    WebKitWebContext* Context() const { return m_context.Get(); }
    // The private session is made with the first private view.
    WebKitNetworkSession* Session(platform::BrowsingSession session);

    // The scheme of the application pages bundled in the binary.
    static constexpr const char* ApplicationScheme = "ms-appx-web";

private:
    GObjectPtr<WebKitWebContext> m_context;
    GObjectPtr<WebKitNetworkSession> m_normalSession;
    GObjectPtr<WebKitNetworkSession> m_privateSession;
    // Shared with every view: a view may outlive this factory at shutdown.
    std::shared_ptr<FreedMemoryReturn> m_freedMemory = std::make_shared<FreedMemoryReturn>();
    std::shared_ptr<SpellingOnDemand> m_spelling;
    // Pages the browser made, by number, the newest few; the scheme's handler
    // reads them (it holds this object, which outlives every view).
    std::map<uint64_t, std::string> m_published;
    uint64_t m_lastPublished = 0;
    static constexpr size_t MaxPublished = 8;
};

} // namespace gtkui
