#pragma once
// The home screen shown at start: its own button closes it, and stops it
// showing at start when the user asks; the main menu shows it again.
#include "platform/ui/element.h"

struct PageControls;
class ChromeAnimator;
class RatingPrompt;

class HomeScreen {
public:
    HomeScreen(const PageControls& controls, ChromeAnimator& chrome, RatingPrompt& rating)
        : m_controls(controls), m_chrome(chrome), m_rating(rating)
    {
    }

    // The configuration database must be open.
    void ShowIfWanted();
    // From the main menu: every panel closes; shown this way the home screen
    // offers no choice to stop showing it.
    void ShowHomeScreen_Click(ui::Element& sender);
    void CloseHomeScreen_Click(ui::Element& sender);

private:
    const PageControls& m_controls;
    ChromeAnimator& m_chrome;
    RatingPrompt& m_rating;
};
