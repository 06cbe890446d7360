#include "tests/doubles/fake_web_view.h"

#include <stdexcept>

namespace doubles {

FakeWebView::~FakeWebView()
{
    *Alive = false;
}

void FakeWebView::Navigate(const platform::Uri& uri)
{
    Navigations.push_back(uri.AbsoluteUri());
}

void FakeWebView::InvokeScriptAsync(const std::string& functionName, const std::vector<std::string>& arguments,
                                    std::function<void(std::optional<std::string>)> done)
{
    Scripts.push_back({functionName, arguments, std::move(done)});
}

void FakeWebView::AddWebAllowedObject(const std::string& name, std::shared_ptr<platform::WebAllowedObject> object)
{
    AllowedObjects[name] = std::move(object);
}

void FakeWebView::Focus(ui::FocusState how)
{
    ++FocusCalls;
}

bool FakeWebView::StartNavigation(const std::string& uri)
{
    SourceUri = uri; // the engine's active URI is the requested one from the start
    platform::NavigationStartingArgs args{uri};
    NavigationStarting(*this, args);
    if (args.Cancel)
        SourceUri = m_committedUri;
    return args.Cancel;
}

void FakeWebView::TryClose()
{
    ++TryCloseCalls;
    platform::LeaveRequestedArgs args{[this, alive = Alive](bool leave) {
        if (leave && *alive)
            CloseRequested(*this);
    }};
    if (OnUnload == Unload::GoesAtOnce)
        args.Answer(true);
    else if (OnUnload == Unload::Asks)
        LeaveRequested(*this, args);
}

void FakeWebView::LoadContent(const std::string& uri)
{
    const auto scheme = uri.substr(0, uri.find(':'));
    CommittedSecurity = scheme == "https" ? HttpsSecurity
                 : scheme == "http"  ? platform::PageSecurity::NotSecure
                                     : platform::PageSecurity::None;
    SourceUri = uri;
    m_committedUri = uri;
    Title.clear();
    ContentLoading(*this, platform::ContentLoadingArgs{uri});
}

void FakeWebView::ChangeTitle(const std::string& title)
{
    Title = title;
    DocumentTitleChanged(*this);
}

void FakeWebView::FinishNavigation(bool isSuccess, int webErrorStatus)
{
    NavigationCompleted(*this, platform::NavigationCompletedArgs{SourceUri, isSuccess, webErrorStatus});
}

void FakeWebView::CompleteNavigation(const std::string& uri, const std::string& title)
{
    if (StartNavigation(uri))
        return;
    LoadContent(uri);
    ChangeTitle(title);
    FinishNavigation();
}

void FakeWebView::FailNavigation(const std::string& uri, int webErrorStatus)
{
    if (StartNavigation(uri))
        return;
    // Nothing was committed: the engine reports the page that is still shown.
    SourceUri = m_committedUri;
    CommittedSecurity = platform::PageSecurity::None;
    NavigationFailed(*this, platform::NavigationFailedArgs{uri, webErrorStatus});
    NavigationCompleted(*this, platform::NavigationCompletedArgs{uri, false, webErrorStatus});
}

void FakeWebView::CompleteFrameNavigation(const std::string& frameUri)
{
    FrameNavigationCompleted(*this, platform::NavigationCompletedArgs{frameUri, true, 0});
}

bool FakeWebView::RequestNewWindow(const std::string& uri, const std::string& referrer)
{
    platform::NewWindowRequestedArgs args{uri, referrer.empty() ? SourceUri : referrer};
    NewWindowRequested(*this, args);
    return args.Handled;
}

void FakeWebView::IdentifyUnviewableContent(const std::string& uri, const std::string& mediaType)
{
    UnviewableContentIdentified(*this, platform::UnviewableContentArgs{uri, mediaType});
}

std::optional<std::string> FakeWebView::CallAllowedObject(const std::string& name, const std::string& method,
                                                          const std::vector<std::string>& arguments)
{
    auto found = AllowedObjects.find(name);
    if (found == AllowedObjects.end() || !found->second)
        return std::nullopt;
    auto object = found->second;
    return object->Invoke(method, arguments);
}

std::unique_ptr<platform::WebView> FakeWebViews::Create(platform::BrowsingSession session)
{
    auto view = std::make_unique<FakeWebView>(session);
    Created.push_back({view.get(), session, view->Alive});
    return view;
}

FakeWebView& FakeWebViews::Last() const
{
    if (Created.empty() || !*Created.back().Alive)
        throw std::logic_error("no live web view was created last");
    return *Created.back().View;
}

} // namespace doubles
