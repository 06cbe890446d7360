#include "bridge/panel_motion.h"

#include <algorithm>
#include <cmath>

double Stepped(double value, double step)
{
    return std::round((value + step) * 1000.0) / 1000.0;
}

void AnimatePanel(ui::Element& panel, PanelAnimation& state, bool open, bool mayMoveIn,
                  PanelMotion motion, int32_t outStep)
{
    bool slides = motion == PanelMotion::Slide;
    if (open) {
        if (!mayMoveIn)
            return;
        if (state.Opacity < FadedIn)
            state.Opacity = Stepped(state.Opacity, FadeStep);
        if (slides && state.Offset < PanelOffsetIn)
            state.Offset = std::min(PanelOffsetIn, state.Offset + PanelSlideStep);
        if (state.Opacity > 0)
            panel.SetVisibility(ui::Visibility::Visible);
    } else {
        if (state.Opacity > FadedOut)
            state.Opacity = Stepped(state.Opacity, -FadeStep);
        if (slides && state.Offset > PanelOffsetOut)
            state.Offset = std::max(PanelOffsetOut, state.Offset - outStep);
        if (state.Opacity <= 0)
            panel.SetVisibility(ui::Visibility::Collapsed);
    }
    // Setters skip equal values: a panel at rest changes nothing.
    panel.SetOpacity(state.Opacity);
    if (slides) {
        auto margin = panel.Margin();
        margin.Right = state.Offset;
        panel.SetMargin(margin);
    }
}
