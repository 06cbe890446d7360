// The pop-up a right-click on a link or an image opens at the pointer, and
// what its entries do.
#include "app/main_page.h"
#include "app/process_state.h"
#include "bridge/panel_motion.h"
#include "storage/database.h"

namespace {
constexpr double PopupWidth = 180;
// The pop-up keeps this far above the bottom edge, or opens upwards.
constexpr double BottomClearance = 80;
constexpr int32_t LinkKind = 92;
// Invisible, yet it takes the click that closes the pop-up.
constexpr double CatchingOverlayOpacity = 0.002;
constexpr double PopupShown = 1.05;
constexpr double PopupHidden = -0.05;
constexpr double FadeStep = 0.05;
} // namespace

void MainPage::AnimateContextPopup()
{
    auto& bridge = Process().Bridge;
    if (bridge.ContextMenuOpen) {
        CloseAll();
        bridge.ContextMenuOpen = true;
        if (ContextPopupOpacity < PopupShown)
            ContextPopupOpacity = Stepped(ContextPopupOpacity, FadeStep);
        wContextPopup->SetOpacity(ContextPopupOpacity);
        if (!m_contextPopupPlaced)
            PlaceContextPopup();
        // Held every tick: a menu closing under the pop-up must not take the
        // overlay's opacity to 0, where it would stop catching the click.
        OverlayOpacity = CatchingOverlayOpacity;
        wDimmingOverlay->SetOpacity(CatchingOverlayOpacity);
        return;
    }
    m_contextPopupPlaced = false;
    if (ContextPopupOpacity > PopupHidden)
        ContextPopupOpacity = Stepped(ContextPopupOpacity, -FadeStep);
    wContextPopup->SetOpacity(ContextPopupOpacity);
    if (ContextPopupOpacity <= 0 && wContextPopup->GetVisibility() == ui::Visibility::Visible) {
        wDimmingOverlay->SetVisibility(ui::Visibility::Collapsed);
        wDimmingOverlay->SetGridRow(2);
        wDimmingOverlay->SetGridRowSpan(3);
        wContextPopup->SetVisibility(ui::Visibility::Collapsed);
    }
}

// Once per request: at the pointer, kept inside the window, over an overlay
// that catches the click outside it.
void MainPage::PlaceContextPopup()
{
    m_contextPopupPlaced = true;
    const auto& bridge = Process().Bridge;
    wContextPopup_SaveImage->SetVisibility(bridge.ContextKind == LinkKind ? ui::Visibility::Collapsed
                                                                          : ui::Visibility::Visible);
    auto bounds = m_services.View.VisibleBounds();
    double x = bridge.PointerX;
    double y = bridge.PointerY;
    if (x + PopupWidth > bounds.Width)
        x -= PopupWidth;
    if (y + bridge.ContextKind > bounds.Height - BottomClearance)
        y -= bridge.ContextKind;
    wContextPopup->SetMargin({x, y, 0, 0});
    // The kind is the pop-up's height: two entries for a link, three for an image.
    wContextPopup->SetHeight(bridge.ContextKind);
    OverlayOpacity = CatchingOverlayOpacity;
    wDimmingOverlay->SetOpacity(CatchingOverlayOpacity);
    wDimmingOverlay->SetVisibility(ui::Visibility::Visible);
    wDimmingOverlay->SetGridRow(0);
    wDimmingOverlay->SetGridRowSpan(5);
    wContextPopup->SetVisibility(ui::Visibility::Visible);
}

namespace {
// Every entry ends the same way: the pop-up and its overlay fade out.
void CloseContextPopup(MainPage& page)
{
    Process().Bridge.ContextMenuOpen = false;
    page.Flags.OverlayWanted = false;
}
} // namespace

void MainPage::OpenInNewTabEntry_Click(ui::Element&)
{
    // A target the parser rejects (a link without an address) opens nothing.
    if (auto uri = platform::Uri::Parse(Process().Bridge.ContextTarget)) {
        OpenTab(*uri);
        CloseDatabase(ConfigDb);
    }
    CloseContextPopup(*this);
}

void MainPage::CopyLinkEntry_Click(ui::Element&)
{
    m_services.Clip.SetText(Process().Bridge.ContextTarget);
    CloseContextPopup(*this);
}

void MainPage::SaveImageEntry_Click(ui::Element&)
{
    // Saving the image arrives with the download manager.
    CloseContextPopup(*this);
}
