#pragma once
// The home screen shown at start: its own button closes it, and stops it
// showing at start when the user asks.
#include "platform/ui/element.h"

struct PageControls;
class RatingPrompt;

class HomeScreen {
public:
    HomeScreen(const PageControls& controls, RatingPrompt& rating) : m_controls(controls), m_rating(rating) {}

    // The configuration database must be open.
    void ShowIfWanted();
    void CloseHomeScreen_Click(ui::Element& sender);

private:
    const PageControls& m_controls;
    RatingPrompt& m_rating;
};
