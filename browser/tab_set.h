#pragma once
// The tab set: up to twenty tabs, each a web view with a strip header and a
// list header, numbered by slot without gaps. It alone changes the slots and
// which tab is current; the others ask it.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/process_state.h"
#include "platform/platform.h"

struct PageControls;
class ChromeAnimator;
class ProductMessages;
class TabClosing;
class ThemePainter;

enum class TabPrivacy { FollowCurrent, Private };

class TabSet {
public:
    TabSet(const PageControls& controls, platform::PlatformServices& services, TabSlots& slots,
           ChromeAnimator& chrome, const ThemePainter& theme, ProductMessages& messages);
    ~TabSet();

    // The page subscribes its handlers to every new tab's view.
    std::function<void(platform::WebView&)> WebViewCreated;
    // The user brought another tab to the front.
    std::function<void()> CurrentTabSelected;
    // Runs before a tab is opened, selected or closed: the current tab is
    // about to change or go (a page's full screen ends first).
    std::function<void()> CurrentTabChanging;
    // Another tab is in front, or none is (a tab opened, selected or closed).
    std::function<void()> CurrentTabChanged;

    // A new tab, current, navigating to uri; private when asked, or when
    // opened from a private tab.
    void OpenTab(const platform::Uri& uri, TabPrivacy privacy = TabPrivacy::FollowCurrent);
    // As OpenTab, with the tab that was current staying in front.
    void OpenBackgroundTab(const platform::Uri& uri, TabPrivacy privacy = TabPrivacy::FollowCurrent);
    void NewTab_Click(ui::Element& sender);
    void NewPrivateTab_Click(ui::Element& sender);
    void SelectTab(ui::Element& sender);
    // Asks the tab's page first (its beforeunload); the tab goes once the
    // page agrees, or once it has had its time to answer.
    void CloseTab(ui::Element& sender);
    void BackButton_Click(ui::Element& sender);
    // Stops the current tab's load; the ring and the title settle at once.
    void StopLoading();
    void LoadingRing_Tapped(ui::Element& sender) { StopLoading(); }
    void ForwardButton_Click(ui::Element& sender);

    TabClosing& Closing() { return *m_closing; }
    int32_t CurrentTabIndex() const { return m_current; }
    int32_t PreviousTabIndex() const { return m_previous; }
    int32_t LastTabIndex() const { return m_last; }
    platform::WebView* CurrentWebView() const;
    bool IsCurrent(const platform::WebView& view) const;
    // The occupied tab a view, or an element of a tab, names by its Tag.
    std::optional<int> TabOf(const ui::Element& element) const;
    const TabSlot& Slot(int tab) const { return m_slots.at(tab); }

    // What a tab's navigation changes in it.
    void SetCaptions(int tab, const std::string& text);
    void HighlightCaptions(int tab, const std::string& theme);
    void ClearCaptionHighlight(int tab);
    void MarkPrivate(int tab, bool lightTheme);
    // Loading is each tab's own; the ring shows the current tab's.
    void SetLoading(int tab, bool loading);
    bool CurrentTabLoading() const;
    void AttachBridge(int tab, std::shared_ptr<PageBridge> bridge);
    // One input, one new tab: false when this input already opened one.
    bool TakePopupGesture(int tab, uint64_t gesture);
    void ResetZoomState();
    void SetZoom(int tab, double factor, int32_t percentage);

    // Closed tabs' elements, and any element removed inside its own handler
    // (a list's button, a tapped suggestion), live until the next tick, so
    // none is destroyed inside its own click.
    void Retire(std::unique_ptr<ui::Element> element) { m_retired.push_back(std::move(element)); }
    void ReleaseRetiredElements();

private:
    static constexpr ui::Color StripHeaderColor = ui::Color::FromRgb(32, 32, 32);

    void BuildStripHeader(int n, bool lightTheme);
    void BuildListHeader(int n, bool lightTheme);
    void RemoveTab(int t);
    void MoveSlot(int from, int to);
    void ShowCurrentTab();
    void ShowCurrentLoading();
    void AnnounceTabChange();

    const PageControls& m_controls;
    platform::PlatformServices& m_services;
    TabSlots& m_slots;
    ChromeAnimator& m_chrome;
    const ThemePainter& m_theme;
    ProductMessages& m_messages;
    int32_t m_current = 0;
    int32_t m_previous = 0;
    int32_t m_last = 0;
    std::vector<std::unique_ptr<ui::Element>> m_retired;
    std::unique_ptr<TabClosing> m_closing;
};
