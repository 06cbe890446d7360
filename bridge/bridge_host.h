#pragma once
// The page bridge's side in the browser: a fresh wScriptNotify in every page,
// the page scripts once per document, the right-clicks a tab's pages report
// and what the context pop-up's entries do with them.
#include <chrono>
#include <functional>
#include <memory>

#include "app/process_state.h"
#include "platform/platform.h"

class ChromeAnimator;
class TabSet;

class BridgeHost {
public:
    BridgeHost(platform::PlatformServices& services, BridgeState& request, ChromeAnimator& chrome, TabSet& tabs);

    // At every navigation start: a new bridge object on the tab's view; the
    // tab keeps its dialog queue from page to page.
    void InstallBridge(int tab);
    // At a document's own completion: the four page scripts, once.
    void InjectPageScripts(int tab);
    // The engine's context-menu event on a tab's view.
    void ContextMenuGesture(int tab);
    // The page's own prompt(), in the browser's dialog and in the tab's
    // dialog queue: one at a time, and a page past the queue's room gets null.
    void PagePrompt(int tab, platform::PromptRequestedArgs& args);

    void OpenInNewTabEntry_Click(ui::Element& sender);
    void CopyLinkEntry_Click(ui::Element& sender);
    void SaveImageEntry_Click(ui::Element& sender);

    const BridgeState& Request() const { return m_request; }
    // Save image hands the image's address to the download preparation.
    std::function<void(const std::string& address)> SaveImageRequested;
    // Tests move time on.
    std::function<std::chrono::steady_clock::time_point()> Now = [] { return std::chrono::steady_clock::now(); };

private:
    // The tab's bridge, made on the first page the tab loads.
    const std::shared_ptr<PageBridge>& BridgeOf(int tab);
    // Only web addresses leave the pop-up: never a local file a page named.
    std::optional<platform::Uri> WebTarget() const;

    platform::PlatformServices& m_services;
    BridgeState& m_request;
    ChromeAnimator& m_chrome;
    TabSet& m_tabs;
};
