// The open flags, the menus, the exit hint and the loading fade.
#include "bridge/chrome_animator.h"

#include "app/page_controls.h"
#include "bridge/panel_motion.h"

namespace {
constexpr int32_t ExitHintShownTicks = 300;
constexpr double MenuOverlayOpacity = 0.6;
} // namespace

ChromeAnimator::ChromeAnimator(const PageControls& controls, platform::ApplicationView& view)
    : m_controls(controls), m_view(view)
{
}

void ChromeAnimator::CloseAll()
{
    m_flags = {};
}

void ChromeAnimator::OpenPanel(Flag panel)
{
    CloseAll();
    m_flags.*panel = true;
    m_flags.OverlayWanted = true;
}

void ChromeAnimator::ReturnToSideMenu()
{
    OpenPanel(&OpenFlags::SideMenu);
}

void ChromeAnimator::TogglePanel(Flag panel)
{
    bool open = !(m_flags.*panel);
    CloseAll();
    m_flags.*panel = open;
    m_flags.OverlayWanted = open;
}

void ChromeAnimator::ClosePanel(Flag panel)
{
    m_flags.*panel = false;
}

void ChromeAnimator::OpenContextPopup()
{
    m_flags.ContextMenu = true;
}

void ChromeAnimator::DismissContextPopup()
{
    m_flags.ContextMenu = false;
    m_flags.OverlayWanted = false;
}

void ChromeAnimator::CountBackPress()
{
    ++m_backPressCount;
}

void ChromeAnimator::SideMenuButton_Click(ui::Element&)
{
    TogglePanel(&OpenFlags::SideMenu);
}

void ChromeAnimator::MainMenuButton_Click(ui::Element&)
{
    TogglePanel(&OpenFlags::MainMenu);
}

void ChromeAnimator::AboutButton_Click(ui::Element&)
{
    TogglePanel(&OpenFlags::SeventhPanel);
}

void ChromeAnimator::SetPanelOpener(PanelEntry entry, std::function<void(ui::Element&)> open)
{
    m_openers[entry] = std::move(open);
}

void ChromeAnimator::PanelEntry_Click(ui::Element& sender)
{
    if (auto opener = m_openers.find(sender.Tag().value_or(0)); opener != m_openers.end() && opener->second) {
        opener->second(sender);
        return;
    }
    Flag panel = nullptr;
    switch (sender.Tag().value_or(0)) {
    case FavoritesEntry: panel = &OpenFlags::Favorites; break;
    case HistoryEntry: panel = &OpenFlags::History; break;
    case DownloadsEntry: panel = &OpenFlags::Downloads; break;
    case SettingsEntry: panel = &OpenFlags::Settings; break;
    case AboutEntry: panel = &OpenFlags::SeventhPanel; break;
    case ExtensionEntry: panel = &OpenFlags::Extension; break;
    default: CloseAll(); return;
    }
    OpenPanel(panel);
    if (panel == &OpenFlags::Downloads && DownloadsOpening)
        DownloadsOpening();
}

void ChromeAnimator::AnimateExitHint()
{
    auto& hint = *m_controls.ExitHintBar;
    if (m_backPressCount == 1 && m_exitHintTicks < ExitHintShownTicks) {
        if (m_exitHintOpacity < 1.0)
            m_exitHintOpacity = Stepped(m_exitHintOpacity, FadeStep);
        hint.SetOpacity(m_exitHintOpacity);
        hint.SetVisibility(ui::Visibility::Visible);
        ++m_exitHintTicks;
        return;
    }
    // After its 300 ticks the hint fades out; so does a hint whose count went
    // back to 0 before then (a back step in the page), so it never stays up.
    if (m_backPressCount != 1 && m_exitHintTicks == 0 && hint.GetVisibility() == ui::Visibility::Collapsed)
        return;
    m_exitHintOpacity = Stepped(m_exitHintOpacity, -FadeStep);
    hint.SetOpacity(m_exitHintOpacity);
    if (m_exitHintOpacity <= 0) {
        m_backPressCount = 0;
        m_exitHintTicks = 0;
        m_exitHintOpacity = 0;
        hint.SetVisibility(ui::Visibility::Collapsed);
    }
}

void ChromeAnimator::AnimateLoadingFade(bool loading)
{
    double direction;
    if (!loading && m_titleFade < FadedIn)
        direction = 1;
    else if (loading && m_titleFade > FadedOut)
        direction = -1;
    else
        return;
    m_controls.PageTitleText->SetOpacity(m_titleFade);
    m_controls.VersionText->SetOpacity(m_titleFade);
    m_titleFade = Stepped(m_titleFade, direction * FadeStep);
    m_controls.LoadingRing->SetOpacity(m_ringFade);
    m_controls.LoadingText->SetOpacity(m_ringFade);
    m_ringFade = Stepped(m_ringFade, -direction * FadeStep);
}

void ChromeAnimator::AnimateMenus()
{
    // Menus snap open and shut; the overlay comes and goes with them.
    auto menu = [this](bool open, ui::Element& panel) {
        bool collapsed = panel.GetVisibility() == ui::Visibility::Collapsed;
        if (open && collapsed) {
            m_overlayOpacity = MenuOverlayOpacity;
            m_controls.wDimmingOverlay->SetOpacity(MenuOverlayOpacity);
            panel.SetVisibility(ui::Visibility::Visible);
        } else if (!open && !collapsed) {
            m_overlayOpacity = 0;
            m_controls.wDimmingOverlay->SetOpacity(0);
            panel.SetVisibility(ui::Visibility::Collapsed);
        }
    };
    menu(m_flags.MainMenu, *m_controls.wMainMenu);
    menu(m_flags.AddFavorite, *m_controls.wAddFavoritePanel);
}
