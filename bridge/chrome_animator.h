#pragma once
// The chrome's open flags and their animation. Handlers only set the flags;
// the polling tick moves every panel, menu, overlay, the context pop-up, the
// loading fade and the exit hint towards what the flags ask for, one step a
// tick. Each step does nothing once its values are at their bounds.
#include <cstdint>
#include <functional>
#include <map>
#include <tuple>

#include "app/process_state.h"
#include "platform/application_view.h"
#include "platform/ui/element.h"

struct PageControls;

// The open flags: one per menu and panel, the overlay's and the context pop-up's.
struct OpenFlags {
    bool MainMenu = false;
    bool AddFavorite = false;
    bool SideMenu = false;
    bool Favorites = false;
    bool History = false;
    bool Downloads = false;
    bool DownloadDialog = false;
    bool Settings = false;
    bool SeventhPanel = false;
    bool Extension = false;
    bool OverlayWanted = false;
    bool ContextMenu = false;
    bool operator==(const OpenFlags&) const = default;
};

// A panel's place in its animation. Offsets are right margins: -270 out, 0 in
// place; everything starts where a closed panel comes to rest.
struct PanelAnimation {
    double Opacity = -0.05;
    int32_t Offset = -270;
    bool operator==(const PanelAnimation&) const = default;
};

struct PanelTable {
    PanelAnimation SideMenu;
    PanelAnimation Favorites;
    PanelAnimation History;
    PanelAnimation Downloads;
    PanelAnimation DownloadDialog; // fades only
    PanelAnimation Settings;
    PanelAnimation SeventhPanel;
    PanelAnimation Extension;
    bool operator==(const PanelTable&) const = default;
};

class ChromeAnimator {
public:
    using Flag = bool OpenFlags::*;

    ChromeAnimator(const PageControls& controls, platform::ApplicationView& view);

    // Clears every flag, the overlay's and the context pop-up's.
    void CloseAll();
    // Shows one panel: every other flag cleared, the panel's and the overlay's set.
    void OpenPanel(Flag panel);
    // After a panel's confirmed dialog: back to the side menu, over the overlay.
    void ReturnToSideMenu();
    // A menu button: flips its flag and clears every other; the overlay is
    // wanted while the flag is set.
    void TogglePanel(Flag panel);
    void ClosePanel(Flag panel);
    // The bridge accepted a right-click: the pop-up opens on the next tick.
    void OpenContextPopup();
    // The pop-up and its overlay fade out.
    void DismissContextPopup();
    // A back press that would leave the browser: the exit hint shows.
    void CountBackPress();
    // A back step in the page: the next press starts counting again.
    void ResetBackPressCount() { m_backPressCount = 0; }

    void SideMenuButton_Click(ui::Element& sender);
    void MainMenuButton_Click(ui::Element& sender);
    void AboutButton_Click(ui::Element& sender);
    // A menu entry whose Tag names the panel it shows.
    void PanelEntry_Click(ui::Element& sender);
    enum PanelEntry : int32_t {
        FavoritesEntry = 1, HistoryEntry, DownloadsEntry, SettingsEntry, AboutEntry, ExtensionEntry,
    };
    // A panel that fills itself before it shows: its entry runs this instead
    // of opening the panel, and the opener opens it when it is ready.
    void SetPanelOpener(PanelEntry entry, std::function<void(ui::Element&)> open);

    // The tick's animation steps, in the order the tick runs them.
    void AnimateExitHint();
    void AnimateLoadingFade(bool loading);
    void AnimateMenus();
    void AnimateSideMenu();
    // The panels up to the settings panel; the overlay; the rest.
    void AnimatePanelsBeforeOverlay();
    void AnimateOverlay();
    void AnimatePanelsAfterOverlay();
    void AnimateContextPopup(const BridgeState& request);
    // Runs as the history panel starts to slide out: it lets go of its rows.
    std::function<void()> HistoryClosing;
    // A menu's downloads entry: the panel is built as it opens.
    std::function<void()> DownloadsOpening;

    const OpenFlags& Flags() const { return m_flags; }
    const PanelTable& Panels() const { return m_panels; }
    double OverlayOpacity() const { return m_overlayOpacity; }
    double ContextPopupOpacity() const { return m_contextPopupOpacity; }
    double TitleFade() const { return m_titleFade; }
    int32_t BackPressCount() const { return m_backPressCount; }
    // Everything a tick moves or reads here: a tick that leaves it equal has
    // brought every animation to rest.
    auto Motion() const
    {
        return std::make_tuple(m_flags, m_panels, m_overlayOpacity, m_contextPopupOpacity, m_contextPopupPlaced,
                               m_titleFade, m_ringFade, m_backPressCount, m_exitHintTicks, m_exitHintOpacity);
    }

private:
    void PlaceContextPopup(const BridgeState& request);

    const PageControls& m_controls;
    platform::ApplicationView& m_view;
    std::map<int32_t, std::function<void(ui::Element&)>> m_openers;
    OpenFlags m_flags;
    PanelTable m_panels;
    double m_overlayOpacity = -0.06;
    double m_contextPopupOpacity = -0.05;
    bool m_contextPopupPlaced = false;
    // The title shows while nothing loads, the ring and its caption while a page loads.
    double m_titleFade = 1.05;
    double m_ringFade = -0.05;
    // The exit hint shows while the count is 1.
    int32_t m_backPressCount = 0;
    int32_t m_exitHintTicks = 0;
    double m_exitHintOpacity = 0.0;
};
