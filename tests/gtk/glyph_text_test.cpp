// Symbol-font glyphs become symbols the installed fonts draw, and text is
// measured with the fonts and sizes the renderer draws with.
#include <gtest/gtest.h>
#include <pango/pangocairo.h>

#include <array>
#include <set>
#include <string>

#include "platform/gtk/display_text.h"
#include "platform/gtk/glyph_map.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/text_measurer.h"

namespace gtktest {
namespace {

// The glyphs the chrome uses, each with a symbol of its own.
constexpr char32_t ChromeGlyphs[] = {0xE10A, 0xE102, 0xE103, 0xE1CF, 0xE208, 0xE81C, 0xE727, 0xE72B, 0xE72A, 0xE700,
                                     0xE710, 0xE80F, 0xE71E, 0xE713, 0xE896, 0xE8A7, 0xE8C8, 0xE74E, 0xE72C};

TEST(GlyphMapTest, EveryChromeGlyphBecomesASymbolTheGlyphFontHas)
{
    auto context = gtkui::Adopt(pango_font_map_create_context(pango_cairo_font_map_get_default()));
    auto layout = gtkui::Adopt(pango_layout_new(context.Get()));
    PangoFontDescription* font = pango_font_description_from_string(std::string(gtkui::GlyphFontFamily).c_str());
    pango_layout_set_font_description(layout.Get(), font);
    pango_font_description_free(font);
    std::set<std::string_view> symbols;
    for (char32_t glyph : ChromeGlyphs) {
        SCOPED_TRACE(testing::Message() << std::hex << "U+" << static_cast<unsigned>(glyph));
        std::string_view symbol = gtkui::SymbolForGlyph(glyph);
        ASSERT_FALSE(symbol.empty());
        EXPECT_TRUE(symbols.insert(symbol).second) << "shared with another glyph";
        pango_layout_set_text(layout.Get(), symbol.data(), static_cast<int>(symbol.size()));
        EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout.Get()), 0) << "no missing-glyph box";
        // The face that draws it is the glyph font itself, not a fallback.
        PangoLayoutLine* line = pango_layout_get_line_readonly(layout.Get(), 0);
        ASSERT_TRUE(line && line->runs);
        auto* run = static_cast<PangoLayoutRun*>(line->runs->data);
        PangoFontDescription* used = pango_font_describe(run->item->analysis.font);
        EXPECT_STREQ(pango_font_description_get_family(used), std::string(gtkui::GlyphFontFamily).c_str());
        pango_font_description_free(used);
    }
    // The padlock the glyph font lacks still draws, from the fallback font.
    std::string_view lock = gtkui::SymbolForGlyph(0xE72E);
    ASSERT_FALSE(lock.empty());
    EXPECT_TRUE(symbols.insert(lock).second);
    pango_layout_set_text(layout.Get(), lock.data(), static_cast<int>(lock.size()));
    EXPECT_EQ(pango_layout_get_unknown_glyphs_count(layout.Get()), 0) << "no missing-glyph box for the padlock";
}

TEST(GlyphMapTest, DisplayTextMapsOnlyTheSymbolFontAndRepairsBadText)
{
    const std::array<std::string, 4> cases[] = { // text, family, shown text, shown family
        {"\uE10A", "Segoe MDL2 Assets", "\u2715", "DejaVu Sans"},
        {"a\uE103b", "Segoe MDL2 Assets", "a\u2016b", "DejaVu Sans"},
        {"\uE001", "Segoe MDL2 Assets", "\u25A1", "DejaVu Sans"}, // a private-use glyph without a symbol
        {"\uE10A", "Segoe UI", "\uE10A", "Segoe UI"},             // other fonts keep the character
        {"a\xff" "b", "", "a\uFFFDb", ""}, // invalid UTF-8 is repaired, not dropped
    };
    for (const auto& [text, family, shown, shownFamily] : cases) {
        const gtkui::DisplayText display = gtkui::ResolveDisplayText(text, family);
        EXPECT_EQ((std::pair{display.Text, display.Family}), (std::pair{shown, shownFamily})) << text << " in " << family;
    }
}

TEST(TextMeasurerTest, SizesFollowFontSizeInPixelsWeightWrappingAndTheGlyphFont)
{
    gtkui::PangoTextMeasurer measurer;
    auto measure = [&](const std::string& text, double size, double width = INFINITY, const char* family = "",
                       ui::FontWeight weight = ui::FontWeight::Normal) {
        return measurer.MeasureText(text, family, size, weight, width);
    };
    const std::string text = "Favorites and history";
    const ui::Size normal = measure(text, 14), wrapped = measure(text, 14, normal.Width / 2);
    EXPECT_NEAR(normal.Height, 14 * 1.2, 14 * 0.3) << "14 is pixels: about one 14 px line";
    EXPECT_NEAR(measure(text, 28).Width / normal.Width, 2.0, 0.15);
    EXPECT_GT(measure(text, 14, INFINITY, "", ui::FontWeight::Bold).Width, normal.Width);
    EXPECT_LE(wrapped.Width, normal.Width / 2);
    EXPECT_GE(wrapped.Height, 2 * normal.Height - 1);
    EXPECT_EQ(measure("", 14), (ui::Size{0, normal.Height})) << "an empty text still takes a line";
    EXPECT_EQ(measure("\uE10A", 15, INFINITY, "Segoe MDL2 Assets"), measure("\u2715", 15, INFINITY, "DejaVu Sans"))
        << "the glyph is measured as the symbol drawn";
}

} // namespace
} // namespace gtktest
