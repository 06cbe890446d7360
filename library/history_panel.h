#pragma once
// The history panel: a show-list button first (a long history makes
// thousands of rows), then the newest visits with their time and date; a
// click opens one in a new tab; clearing asks first. The rows go when the
// panel slides out.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

struct PageControls;
class ChromeAnimator;
class ProductMessages;
class TabSet;

class HistoryPanel {
public:
    HistoryPanel(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                 ChromeAnimator& chrome, ProductMessages& messages);

    // The menu entry: the show-list button (or the empty text), then the panel shows.
    void OpenHistoryPanel(ui::Element& sender);
    // The show-list button: the newest visits, at most MaxHistoryRows.
    void BuildHistoryList(ui::Element& sender);
    void OpenHistoryEntry_Click(ui::Element& sender);
    void ClearHistory_Click(ui::Element& sender);
    // The panel is leaving: its rows go.
    void ReleaseHistoryRows();

    static constexpr int32_t ShowListTag = 15;

private:
    void ClearHistoryConfirmed();
    // The panel's content leaves; a button clicked among it lives until the next tick.
    void RetireContent();
    std::unique_ptr<ui::StackPanel> BuildRow(int32_t id, const std::string& name, const std::string& link,
                                             const std::string& date, const std::string& time);

    const PageControls& m_controls;
    platform::PlatformServices& m_services;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
    ProductMessages& m_messages;
};
