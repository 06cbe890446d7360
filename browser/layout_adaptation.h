#pragma once
// The chrome's arrangement: where the bars go (once, at start) and the wide
// or narrow title strip for the window's width (whenever it crosses 720).
#include <string>

#include "platform/application_view.h"
#include "platform/system_info.h"
#include "platform/ui/markup.h"

struct PageControls;
class ThemePainter;

class LayoutAdaptation {
public:
    // The moved elements are found by name in the markup.
    LayoutAdaptation(const PageControls& controls, const ui::LoadedMarkup& markup, platform::ApplicationView& view,
                     const platform::SystemInfo& system);
    // The painter gives the title strip its colour; it is built after this.
    void UseTheme(const ThemePainter& theme) { m_theme = &theme; }

    // The configuration database must be open (the theme's last step).
    void PlaceBars();
    void AdaptLayout();
    void OnWindowSizeChanged();
    // The configuration database must be open.
    void ReadTitleBarStatus();
    bool NarrowLayoutApplied() const { return m_narrowLayoutApplied; }

    // The narrow arrangement holds up to this width, inclusive.
    static constexpr double NarrowWidth = 720;

private:
    enum class Arrangement { Narrow, Wide };
    void Arrange(Arrangement arrangement);
    void PlaceTopWithoutTitle();
    void PlaceBottom(bool phone, bool titleShown);

    const PageControls& m_controls;
    const ui::LoadedMarkup& m_markup;
    platform::ApplicationView& m_view;
    const platform::SystemInfo& m_system;
    const ThemePainter* m_theme = nullptr;
    ui::Element& m_titleStripGrid;
    ui::Element& m_stripControl;
    ui::Element& m_barElement;
    ui::Element& m_leftRowElement;
    ui::Element& m_rightRowElement;
    ui::Element& m_backButton;
    ui::Element& m_forwardButton;
    ui::Element& m_newTabButton;
    ui::Element& m_newPrivateTabButton;
    // True while the narrow arrangement of the title strip is in place; the
    // markup's own is the narrow one.
    bool m_narrowLayoutApplied = true;
    std::string m_titleBarStatusText;
};
