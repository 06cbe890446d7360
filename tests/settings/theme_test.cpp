// Theme application with doubles: a walk over the whole page that fails when
// a text would vanish into the surface under it, in every theme.
#include <cstdlib>
#include <functional>

#include <gtest/gtest.h>

#include "platform/ui/layout.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;
using ui::Color;

constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b) { return Color::FromRgb(r, g, b); }

void StartWithTheme(PageHarness& h, const std::string& theme, std::optional<Color> accent = Rgb(0, 120, 215))
{
    h.System.Accent = accent;
    h.Start();
    h.Stop();
    h.Execute(ConfigFile, "UPDATE wConfig_ThemeColor SET wCOLOR = '" + theme + "';");
    h.Start();
}

ui::Brush Paint(PageHarness& h, const char* name)
{
    return h.Page().Markup().Get<ui::Element>(name).Background();
}

class FixedMeasurer : public ui::TextMeasurer {
    ui::Size MeasureText(const std::string& t, const std::string&, double size, ui::FontWeight, double) const override
    {
        return {size * 0.6 * static_cast<double>(t.size()), size * 1.3};
    }
};

void Each(ui::Element& e, const std::function<void(ui::Element&)>& f)
{
    f(e);
    for (size_t i = 0; e.AsPanel() && i < e.AsPanel()->Count(); ++i)
        Each(e.AsPanel()->ChildAt(i), f);
}

bool ShowsText(const ui::Element& e)
{
    if (auto* t = dynamic_cast<const ui::TextBlock*>(&e)) return !t->Text().empty();
    if (auto* b = dynamic_cast<const ui::Button*>(&e)) return !b->Content().empty();
    return e.Kind() == ui::ElementKind::TextBox || e.Kind() == ui::ElementKind::ProgressRing ||
           e.Kind() == ui::ElementKind::CheckBox;
}

// Every panel, menu and pop-up shown at once and laid out; each text is
// checked against the topmost opaque surface painted under its centre.
void ExpectEveryTextReads(PageHarness& h)
{
    Each(h.Page().Root(), [&](ui::Element& e) {
        if (&e != h.Controls().wDimmingOverlay) e.SetVisibility(ui::Visibility::Visible), e.SetOpacity(1.0);
    });
    ui::UpdateLayout(h.Page().Root(), {1024, 768}, FixedMeasurer());
    std::vector<const ui::Element*> painted;
    Each(h.Page().Root(), [&](ui::Element& e) {
        painted.push_back(&e);
        auto r = ui::AbsoluteRect(e);
        double x = r.X + r.Width / 2, y = r.Y + r.Height / 2;
        if (!ShowsText(e) || !e.Foreground() || r.Width <= 0)
            return;
        for (auto it = painted.rbegin(); it != painted.rend(); ++it) {
            auto bg = (*it)->Background();
            auto s = ui::AbsoluteRect(**it);
            if (!bg || bg->A != 255 || x < s.X || x >= s.X + s.Width || y < s.Y || y >= s.Y + s.Height)
                continue;
            auto fg = *e.Foreground();
            EXPECT_FALSE(std::abs(fg.R - bg->R) < 24 && std::abs(fg.G - bg->G) < 24 && std::abs(fg.B - bg->B) < 24)
                << e.Name() << " on " << (*it)->Name();
            break;
        }
    });
}

TEST(Theme, EveryTextReadsInEveryThemeAndAnUnknownThemeIsDark)
{
    const Color accent = Rgb(0, 120, 215), low = Rgb(20, 40, 31);
    const std::pair<const char*, std::optional<Color>> cases[] = {
        {"Escuro", accent}, {"claro", accent}, {"Claro", accent},
        {"SystemAccentColor", accent}, {"SystemAccentColor", low}, {"SystemAccentColor", std::nullopt},
    };
    std::pair<Color, Color> dark;
    for (const auto& [theme, desktopAccent] : cases) {
        SCOPED_TRACE(theme);
        PageHarness h;
        StartWithTheme(h, theme, desktopAccent);
        const auto colors = std::pair(h.Page().wThemeColor(), h.Page().wThemeDarkColor());
        if (theme == std::string("Escuro"))
            dark = colors;
        if (theme == std::string("claro")) {
            EXPECT_EQ(colors, dark);
        }
        // The desktop is asked for its accent by the accent theme only.
        EXPECT_EQ(h.System.AccentReads, theme == std::string("SystemAccentColor") ? 1 : 0);
        // What other parts draw later follows the same theme.
        h.Tab(0)->CompleteNavigation("http://a.example/", "A");
        EXPECT_EQ(h.Slot(0).StripCaption->Background(), Paint(h, "BarGrid"));
        ExpectEveryTextReads(h);
    }
}

} // namespace
