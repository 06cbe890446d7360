// The polling timer's tick: hands bridge requests and activations to the page
// and animates the chrome from the open flags. Each step skips its work once
// its values are at their bounds, so an idle tick changes nothing.
#include "app/main_page.h"
#include "app/process_state.h"
#include "bridge/panel_motion.h"
#include "browser/tab_text.h"
#include "storage/database.h"

namespace {
constexpr int32_t ExitHintShownTicks = 300;
constexpr double FadeStep = 0.05;
constexpr double TitleFadeShown = 1.05;
constexpr double TitleFadeHidden = -0.05;
constexpr double MenuOverlayOpacity = 0.6;
constexpr const char* VideoPageMarker = "watch?v=";
} // namespace

void MainPage::PollingTimer_Tick()
{
    ReleaseRetiredElements();
    HandOverActivation();         // 1
    AnimateExitHint();            // 2
    AnimateLoadingFade();         // 3
    AnimateMenus();               // 4
    AnimateSideMenu();            // 5
    AnimatePanelsBeforeOverlay(); // 6, up to the settings panel
    AnimateOverlay();             // 7
    AnimatePanelsAfterOverlay();  // 6, the rest
    AnimateContextPopup();        // 8
    CheckCompanionPage();         // 9
}

void MainPage::HandOverActivation()
{
    auto& process = Process();
    if (!process.PendingActivation)
        return;
    process.PendingActivation = false;
    // An address the parser rejects opens nothing.
    if (auto uri = platform::Uri::Parse(process.LaunchAddress)) {
        OpenTab(*uri);
        CloseDatabase(ConfigDb);
    }
}

void MainPage::AnimateExitHint()
{
    if (BackPressCount == 1 && ExitHintTicks < ExitHintShownTicks) {
        if (ExitHintOpacity < 1.0)
            ExitHintOpacity = Stepped(ExitHintOpacity, FadeStep);
        ExitHintBar->SetOpacity(ExitHintOpacity);
        ExitHintBar->SetVisibility(ui::Visibility::Visible);
        ++ExitHintTicks;
        return;
    }
    // After its 300 ticks the hint fades out; so does a hint whose count went
    // back to 0 before then (a back step in the page), so it never stays up.
    if (BackPressCount != 1 && ExitHintTicks == 0 && ExitHintBar->GetVisibility() == ui::Visibility::Collapsed)
        return;
    ExitHintOpacity = Stepped(ExitHintOpacity, -FadeStep);
    ExitHintBar->SetOpacity(ExitHintOpacity);
    if (ExitHintOpacity <= 0) {
        BackPressCount = 0;
        ExitHintTicks = 0;
        ExitHintOpacity = 0;
        ExitHintBar->SetVisibility(ui::Visibility::Collapsed);
    }
}

void MainPage::AnimateLoadingFade()
{
    double direction;
    if (LoadingState == 0.0 && TitleFade < TitleFadeShown)
        direction = 1;
    else if (LoadingState != 0.0 && TitleFade > TitleFadeHidden)
        direction = -1;
    else
        return;
    PageTitleText->SetOpacity(TitleFade);
    VersionText->SetOpacity(TitleFade);
    TitleFade = Stepped(TitleFade, direction * FadeStep);
    LoadingRing->SetOpacity(RingFade);
    LoadingText->SetOpacity(RingFade);
    RingFade = Stepped(RingFade, -direction * FadeStep);
}

void MainPage::AnimateMenus()
{
    // Menus snap open and shut; the overlay comes and goes with them.
    auto menu = [this](bool open, ui::Element& panel) {
        bool collapsed = panel.GetVisibility() == ui::Visibility::Collapsed;
        if (open && collapsed) {
            OverlayOpacity = MenuOverlayOpacity;
            wDimmingOverlay->SetOpacity(MenuOverlayOpacity);
            panel.SetVisibility(ui::Visibility::Visible);
        } else if (!open && !collapsed) {
            OverlayOpacity = 0;
            wDimmingOverlay->SetOpacity(0);
            panel.SetVisibility(ui::Visibility::Collapsed);
        }
    };
    menu(Flags.MainMenu, *wMainMenu);
    menu(Flags.AddFavorite, *wAddFavoritePanel);
}

void MainPage::CheckCompanionPage()
{
    if (BridgePromptShown)
        return;
    auto* view = CurrentWebView();
    if (!view || !Contains(view->Source(), VideoPageMarker))
        return;
    CheckCompanionApp();
    BridgePromptShown = true;
}

void MainPage::ReleaseHistoryRows()
{
    // The history panel's rows arrive with the history panel.
}

void MainPage::CheckCompanionApp()
{
    // The companion app's check arrives with the companion extension.
}
