#pragma once
// The bar over the page that asks the user about a page's permission request:
// the site, what it asks, Allow, Deny and a close button. It shows the current
// tab's first waiting question; switching tabs shows that tab's, closing the
// bar or leaving the page denies. The answers themselves live in the queue.
#include <memory>

#include "browser/permission_queue.h"
#include "platform/platform.h"

struct PageControls;
class TabSet;
class ThemePainter;

class PermissionBar {
public:
    PermissionBar(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                  const ThemePainter& theme);

    // Hears the view's requests and its navigations.
    void Subscribe(platform::WebView& view);
    // The current tab changed (or one closed): its question, if any, shows.
    void CurrentTabChanged();

    void AllowButton_Click(ui::Element& sender);
    void DenyButton_Click(ui::Element& sender);
    void CloseButton_Click(ui::Element& sender);

    const PermissionQueue& Queue() const { return m_queue; }

private:
    void Build(const PageControls& controls, const ThemePainter& theme);
    void WebView_PermissionRequested(platform::WebView& sender, platform::PermissionRequestedArgs& args);
    void Show();
    std::string KindText(platform::PermissionKind kind) const;

    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    PermissionQueue m_queue;
    ui::Element* m_bar = nullptr;
    ui::TextBlock* m_text = nullptr;
};
