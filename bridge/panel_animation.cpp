// The side menu, the seven side panels and the dimming overlay, one tick at a
// time. The side menu and the panels take turns: the menu slides in only once
// every sliding panel is out, a panel only once the menu is nearly out.
#include <algorithm>

#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "bridge/panel_motion.h"

namespace {
// A panel may start in while the side menu is this far out.
constexpr int32_t SideMenuClearOffset = -240;
// The settings panel slides out at half speed.
constexpr int32_t SettingsOutStep = 5;
constexpr double OverlayShown = 0.6;
constexpr double OverlayHidden = -0.06;
constexpr double OverlayStep = 0.06;
} // namespace

void ChromeAnimator::AnimateSideMenu()
{
    const PanelAnimation* sliding[] = {&m_panels.Favorites, &m_panels.Settings, &m_panels.History,
                                       &m_panels.Downloads, &m_panels.SeventhPanel, &m_panels.Extension};
    bool panelsOut = true;
    for (const auto* panel : sliding)
        panelsOut = panelsOut && panel->Offset <= PanelOffsetOut;
    AnimatePanel(*m_controls.wSideMenu, m_panels.SideMenu, m_flags.SideMenu, panelsOut);
}

void ChromeAnimator::AnimatePanelsBeforeOverlay()
{
    bool sideMenuOut = m_panels.SideMenu.Offset <= SideMenuClearOffset;
    AnimatePanel(*m_controls.wFavoritesPanel, m_panels.Favorites, m_flags.Favorites, sideMenuOut);
    // The history panel lets go of its rows as it starts to leave.
    if (!m_flags.History && m_panels.History.Offset == PanelOffsetIn)
        if (HistoryClosing)
            HistoryClosing();
    AnimatePanel(*m_controls.wHistoryPanel, m_panels.History, m_flags.History, sideMenuOut);
    AnimatePanel(*m_controls.wDownloadsPanel, m_panels.Downloads, m_flags.Downloads, sideMenuOut);
    AnimatePanel(*m_controls.wDownloadDialog, m_panels.DownloadDialog, m_flags.DownloadDialog, true, PanelMotion::FadeOnly);
    AnimatePanel(*m_controls.wSettingsPanel, m_panels.Settings, m_flags.Settings, sideMenuOut, PanelMotion::Slide, SettingsOutStep);
}

void ChromeAnimator::AnimatePanelsAfterOverlay()
{
    bool sideMenuOut = m_panels.SideMenu.Offset <= SideMenuClearOffset;
    AnimatePanel(*m_controls.wAboutPanel, m_panels.SeventhPanel, m_flags.SeventhPanel, sideMenuOut);
    AnimatePanel(*m_controls.wExtensionPanel, m_panels.Extension, m_flags.Extension, sideMenuOut);
}

void ChromeAnimator::AnimateOverlay()
{
    if (m_flags.ContextMenu) {
        // The pop-up wins over every panel and menu.
        CloseAll();
        m_flags.ContextMenu = true;
        return;
    }
    if (m_flags.OverlayWanted) {
        if (m_overlayOpacity < OverlayShown)
            m_overlayOpacity = std::min(OverlayShown, Stepped(m_overlayOpacity, OverlayStep));
        m_controls.wDimmingOverlay->SetOpacity(m_overlayOpacity);
        m_controls.wDimmingOverlay->SetVisibility(ui::Visibility::Visible);
        return;
    }
    if (m_overlayOpacity > OverlayHidden)
        m_overlayOpacity = std::max(OverlayHidden, Stepped(m_overlayOpacity, -OverlayStep));
    m_controls.wDimmingOverlay->SetOpacity(m_overlayOpacity);
    if (m_overlayOpacity <= 0)
        m_controls.wDimmingOverlay->SetVisibility(ui::Visibility::Collapsed);
}
