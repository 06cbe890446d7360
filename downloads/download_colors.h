#pragma once
// The colours and glyphs of the download rows.
#include "platform/ui/types.h"

inline constexpr ui::Color RunningColor = ui::Color::FromArgb(255, 0, 112, 227);
inline constexpr ui::Color PausedColor = ui::Color::FromRgb(154, 205, 50); // YellowGreen
inline constexpr ui::Color FinishedColor = ui::Color::FromRgb(0, 128, 0);  // Green
inline constexpr ui::Color DarkRed = ui::Color::FromRgb(139, 0, 0);
inline constexpr const char* PauseGlyph = "\xEE\x84\x83";  // U+E103
inline constexpr const char* ResumeGlyph = "\xEE\x84\x82"; // U+E102
