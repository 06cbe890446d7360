#pragma once
// A web view in the system's terms: an element of the page that shows one
// web page, with its navigation events raised in the engine's real order.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/element.h"
#include "platform/uri.h"

namespace platform {

class WebView;

struct NavigationStartingArgs {
    std::string Uri;
    bool Cancel = false;
};
struct ContentLoadingArgs {
    std::string Uri;
};
struct NavigationCompletedArgs {
    std::string Uri;
    bool IsSuccess = true;
    int WebErrorStatus = 0;
};
struct NavigationFailedArgs {
    std::string Uri;
    int WebErrorStatus = 0;
};
struct NewWindowRequestedArgs {
    std::string Uri;
    std::string Referrer;
    bool Handled = false;
};
struct UnviewableContentArgs {
    std::string Uri;
    std::string MediaType;
};

// An object page script may call by name (the bridge). Calls arrive on the
// user-interface thread; a method that returns nothing yields nullopt.
class WebAllowedObject {
public:
    virtual ~WebAllowedObject() = default;
    virtual std::optional<std::string> Invoke(const std::string& method, const std::vector<std::string>& arguments) = 0;
};

class WebView : public ui::Element {
public:
    ui::ElementKind Kind() const override { return ui::ElementKind::WebView; }

    virtual void Navigate(const Uri& uri) = 0;
    // The absolute URI text of the page shown or loading; empty before any.
    virtual std::string Source() const = 0;
    virtual std::string DocumentTitle() const = 0;
    virtual bool CanGoBack() const = 0;
    virtual void GoBack() = 0;
    virtual bool CanGoForward() const = 0;
    virtual void GoForward() = 0;
    virtual bool ContainsFullScreenElement() const = 0;

    // "eval" with one argument runs that script; any other name calls that
    // page function with the arguments as strings. done gets the result as
    // text, or nullopt when the script failed.
    virtual void InvokeScriptAsync(const std::string& functionName, const std::vector<std::string>& arguments,
                                   std::function<void(std::optional<std::string>)> done = {}) = 0;
    virtual void AddWebAllowedObject(const std::string& name, std::shared_ptr<WebAllowedObject> object) = 0;
    virtual void Focus(ui::FocusState how) = 0;

    ui::Event<WebView&, NavigationStartingArgs&> NavigationStarting;
    ui::Event<WebView&, const ContentLoadingArgs&> ContentLoading;
    ui::Event<WebView&, const NavigationCompletedArgs&> NavigationCompleted;
    ui::Event<WebView&, const NavigationCompletedArgs&> FrameNavigationCompleted;
    ui::Event<WebView&, const NavigationFailedArgs&> NavigationFailed;
    ui::Event<WebView&, NewWindowRequestedArgs&> NewWindowRequested;
    ui::Event<WebView&, const UnviewableContentArgs&> UnviewableContentIdentified;
    ui::Event<WebView&> ContainsFullScreenElementChanged;
    // The title can arrive after the load finished.
    ui::Event<WebView&> DocumentTitleChanged;
};

enum class BrowsingSession { Normal, Private };

class WebViews {
public:
    virtual ~WebViews() = default;
    // Private views share one ephemeral session: nothing reaches the disk.
    virtual std::unique_ptr<WebView> Create(BrowsingSession session) = 0;
};

} // namespace platform
