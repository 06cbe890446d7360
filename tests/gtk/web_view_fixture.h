#pragma once
// What tests of the real adapters share: views in windows of their own
// against a local HTTP server on the main loop the tests turn, and real input.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/gtk/web_view_gtk.h"

namespace gtktests {

using Lines = std::vector<std::string>;

bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 15000);
// Lets the main loop run for a while, to see that nothing more happens.
void Settle(int ms);
GtkEventController* FindController(GtkWidget* widget, const std::function<bool(GtkEventController*)>& matches);

// What the local server answers on one path; any other path is a 404.
struct Route {
    std::string Body;
    std::string ContentType = "text/html; charset=utf-8";
    bool Hangs = false; // the answer never comes (until the server goes)
};

// One line per event: what a load-tracking test compares.
struct EventLog {
    Lines All;
    bool Has(const std::string& prefix) const;
    // The lines without title changes, whose timing the engine does not fix.
    Lines Loads() const;
    void Attach(platform::WebView& view);
};

class WebViewFixture : public ::testing::Test {
protected:
    // Each suite serves its own pages: call from its SetUpTestSuite.
    static void StartServer(std::map<std::string, Route> routes);
    static void StopServer();
    // "http://127.0.0.1:PORT" + path
    static std::string Url(const std::string& path);

    void TearDown() override { CloseViews(); }
    // A view shown in a window of its own, with its events logged. The views
    // come from one factory for the process, as in the browser.
    gtkui::WebKitWebView& NewView(EventLog& log, platform::BrowsingSession session = platform::BrowsingSession::Normal);
    void CloseViews();

    static void Go(platform::WebView& view, const std::string& address);
    static bool WaitForLine(const EventLog& log, const std::string& prefix)
    {
        return WaitUntil([&] { return log.Has(prefix); });
    }
    static std::optional<std::string> Eval(platform::WebView& view, const std::string& script);

    // Real input as a user makes it (xdotool): a click a few pixels inside
    // the element, which returns that point of the page, or a key press.
    static std::pair<int, int> RealClick(gtkui::WebKitWebView& view, const std::string& elementId, int button = 1);
    static void RealKey(gtkui::WebKitWebView& view, const std::string& key);

    std::vector<std::unique_ptr<platform::WebView>> m_views;
    std::vector<GtkWidget*> m_windows;
};

} // namespace gtktests
