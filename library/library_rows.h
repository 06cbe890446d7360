#pragma once
// The pieces the favorites and history rows share.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/element.h"

inline constexpr ui::Color RowGrey = ui::Color::FromRgb(144, 144, 144);
inline constexpr const char* SymbolFont = "Segoe MDL2 Assets";
inline constexpr const char* DeleteGlyph = "\xEE\x84\x8A"; // U+E10A

// The grey line an empty list shows.
std::unique_ptr<ui::TextBlock> GreyNotice(const std::string& text);

// A row's grey address line, left-aligned at the given margin.
std::unique_ptr<ui::TextBlock> AddressLine(int32_t id, const std::string& link, ui::Thickness margin);

// A row's clickable name over its address: 40 high, transparent, pulled up
// over the address line.
std::unique_ptr<ui::Button> NameButton(int32_t id, const std::string& name, ui::Thickness padding);
