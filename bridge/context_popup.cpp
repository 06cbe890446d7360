// The pop-up a right-click on a link or an image opens at the pointer.
#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "bridge/panel_motion.h"

namespace {
constexpr double PopupWidth = 180;
// The pop-up keeps this far above the bottom edge, or opens upwards.
constexpr double BottomClearance = 80;
constexpr int32_t LinkKind = 92;
// Invisible, yet it takes the click that closes the pop-up.
constexpr double CatchingOverlayOpacity = 0.002;
} // namespace

void ChromeAnimator::AnimateContextPopup(const BridgeState& request)
{
    auto& popup = *m_controls.wContextPopup;
    auto& overlay = *m_controls.wDimmingOverlay;
    if (m_flags.ContextMenu) {
        CloseAll();
        m_flags.ContextMenu = true;
        if (m_contextPopupOpacity < FadedIn)
            m_contextPopupOpacity = Stepped(m_contextPopupOpacity, FadeStep);
        popup.SetOpacity(m_contextPopupOpacity);
        if (!m_contextPopupPlaced)
            PlaceContextPopup(request);
        // Held every tick: a menu closing under the pop-up must not take the
        // overlay's opacity to 0, where it would stop catching the click.
        m_overlayOpacity = CatchingOverlayOpacity;
        overlay.SetOpacity(CatchingOverlayOpacity);
        return;
    }
    m_contextPopupPlaced = false;
    if (m_contextPopupOpacity > FadedOut)
        m_contextPopupOpacity = Stepped(m_contextPopupOpacity, -FadeStep);
    popup.SetOpacity(m_contextPopupOpacity);
    if (m_contextPopupOpacity <= 0 && popup.GetVisibility() == ui::Visibility::Visible) {
        overlay.SetVisibility(ui::Visibility::Collapsed);
        overlay.SetGridRow(2);
        overlay.SetGridRowSpan(3);
        popup.SetVisibility(ui::Visibility::Collapsed);
    }
}

// Once per request: at the pointer, kept inside the window, over an overlay
// that catches the click outside it.
void ChromeAnimator::PlaceContextPopup(const BridgeState& request)
{
    m_contextPopupPlaced = true;
    auto& popup = *m_controls.wContextPopup;
    auto& overlay = *m_controls.wDimmingOverlay;
    m_controls.wContextPopup_SaveImage->SetVisibility(request.ContextKind == LinkKind ? ui::Visibility::Collapsed
                                                                                      : ui::Visibility::Visible);
    auto bounds = m_view.VisibleBounds();
    double x = request.PointerX;
    double y = request.PointerY;
    if (x + PopupWidth > bounds.Width)
        x -= PopupWidth;
    if (y + request.ContextKind > bounds.Height - BottomClearance)
        y -= request.ContextKind;
    popup.SetMargin({x, y, 0, 0});
    // The kind is the pop-up's height: two entries for a link, three for an image.
    popup.SetHeight(request.ContextKind);
    m_overlayOpacity = CatchingOverlayOpacity;
    overlay.SetOpacity(CatchingOverlayOpacity);
    overlay.SetVisibility(ui::Visibility::Visible);
    overlay.SetGridRow(0);
    overlay.SetGridRowSpan(5);
    popup.SetVisibility(ui::Visibility::Visible);
}
