#pragma once
// Page zoom, kept per tab: 10 % to 900 % in steps of 10, the factor the
// running sum of its 0.1 steps. The label shows the current tab's.
namespace ui { class Element; }
struct PageControls;
class ChromeAnimator;
class TabSet;

class PageZoom {
public:
    PageZoom(const PageControls& controls, TabSet& tabs, ChromeAnimator& chrome);

    void ZoomInButton_Click(ui::Element& sender);
    void ZoomOutButton_Click(ui::Element& sender);
    void ZoomIn();
    void ZoomOut();
    // Back to factor 1.0 and 100 %, in the page and on the label.
    void ResetZoom();

private:
    void Step(double factorStep, int percentageStep);
    void Apply(double factor, int percentage);

    const PageControls& m_controls;
    TabSet& m_tabs;
    ChromeAnimator& m_chrome;
};
