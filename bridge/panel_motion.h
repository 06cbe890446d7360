#pragma once
// One tick of a panel's slide and fade, shared by the side menu and the side
// panels.
#include <cstdint>

#include "bridge/chrome_animator.h"

// value + step, kept on a grid of thousandths so that a value reaches its
// bound (1.05, -0.05, 0.6) exactly, however many steps it took.
double Stepped(double value, double step);

// Every fade of the chrome (panels, title and ring, context pop-up, exit
// hint) moves by the same step between the same bounds.
inline constexpr double FadedIn = 1.05;
inline constexpr double FadedOut = -0.05;
inline constexpr double FadeStep = 0.05;
inline constexpr int32_t PanelOffsetIn = 0;
inline constexpr int32_t PanelOffsetOut = -270;
inline constexpr int32_t PanelSlideStep = 10;

enum class PanelMotion { Slide, FadeOnly };

// Open: when allowed to move in, opacity up to 1.05 and offset up to 0, and
// visible once the opacity is above 0. Closed: opacity down to -0.05, offset
// down by outStep to -270, collapsed at opacity 0 or below. The element
// takes the opacity and, when it slides, the offset as its right margin.
void AnimatePanel(ui::Element& panel, PanelAnimation& state, bool open, bool mayMoveIn,
                  PanelMotion motion = PanelMotion::Slide, int32_t outStep = PanelSlideStep);
