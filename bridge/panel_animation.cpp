// The side menu, the seven side panels and the dimming overlay, one tick at a
// time. The side menu and the panels take turns: the menu slides in only once
// every sliding panel is out, a panel only once the menu is nearly out.
#include <algorithm>

#include "app/main_page.h"
#include "app/process_state.h"
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

void MainPage::AnimateSideMenu()
{
    const PanelAnimation* sliding[] = {&Panels.Favorites, &Panels.Settings, &Panels.History,
                                       &Panels.Downloads, &Panels.SeventhPanel, &Panels.Extension};
    bool panelsOut = true;
    for (const auto* panel : sliding)
        panelsOut = panelsOut && panel->Offset <= PanelOffsetOut;
    AnimatePanel(*wSideMenu, Panels.SideMenu, Flags.SideMenu, panelsOut);
}

void MainPage::AnimatePanelsBeforeOverlay()
{
    bool sideMenuOut = Panels.SideMenu.Offset <= SideMenuClearOffset;
    AnimatePanel(*wFavoritesPanel, Panels.Favorites, Flags.Favorites, sideMenuOut);
    // The history panel lets go of its rows as it starts to leave.
    if (!Flags.History && Panels.History.Offset == PanelOffsetIn)
        ReleaseHistoryRows();
    AnimatePanel(*wHistoryPanel, Panels.History, Flags.History, sideMenuOut);
    AnimatePanel(*wDownloadsPanel, Panels.Downloads, Flags.Downloads, sideMenuOut);
    AnimatePanel(*wDownloadDialog, Panels.DownloadDialog, Flags.DownloadDialog, true, PanelMotion::FadeOnly);
    AnimatePanel(*wSettingsPanel, Panels.Settings, Flags.Settings, sideMenuOut, PanelMotion::Slide, SettingsOutStep);
}

void MainPage::AnimatePanelsAfterOverlay()
{
    bool sideMenuOut = Panels.SideMenu.Offset <= SideMenuClearOffset;
    AnimatePanel(*wAboutPanel, Panels.SeventhPanel, Flags.SeventhPanel, sideMenuOut);
    AnimatePanel(*wExtensionPanel, Panels.Extension, Flags.Extension, sideMenuOut);
}

void MainPage::AnimateOverlay()
{
    auto& bridge = Process().Bridge;
    if (bridge.ContextMenuOpen) {
        // The pop-up wins over every panel and menu.
        CloseAll();
        bridge.ContextMenuOpen = true;
        return;
    }
    if (Flags.OverlayWanted) {
        if (OverlayOpacity < OverlayShown)
            OverlayOpacity = std::min(OverlayShown, Stepped(OverlayOpacity, OverlayStep));
        wDimmingOverlay->SetOpacity(OverlayOpacity);
        wDimmingOverlay->SetVisibility(ui::Visibility::Visible);
        return;
    }
    if (OverlayOpacity > OverlayHidden)
        OverlayOpacity = std::max(OverlayHidden, Stepped(OverlayOpacity, -OverlayStep));
    wDimmingOverlay->SetOpacity(OverlayOpacity);
    if (OverlayOpacity <= 0)
        wDimmingOverlay->SetVisibility(ui::Visibility::Collapsed);
}
