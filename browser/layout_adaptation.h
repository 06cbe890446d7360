#pragma once
// The chrome's arrangement: where the bars go and the wide or narrow title
// strip for the window's width.
#include <string>

struct PageControls;

class LayoutAdaptation {
public:
    explicit LayoutAdaptation(const PageControls& controls) : m_controls(controls) {}

    void PlaceBars();
    void AdaptLayout();
    void OnWindowSizeChanged();
    // The configuration database must be open.
    void ReadTitleBarStatus();

private:
    [[maybe_unused]] const PageControls& m_controls;
    // True while the narrow arrangement of the title strip is in place.
    bool m_narrowLayoutApplied = true;
    std::string m_titleBarStatusText;
};
