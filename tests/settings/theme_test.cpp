// Theme application with doubles: the colours a stored theme paints onto the
// page's groups, and a walk over the whole page that fails when a text would
// vanish into the surface under it.
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

ui::Brush Paint(PageHarness& h, const char* name, bool foreground = false)
{
    auto& e = h.Page().Markup().Get<ui::Element>(name);
    return foreground ? e.Foreground() : e.Background();
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

TEST(Theme, PaintsThePaletteOntoTheGroupsAndAnUnknownThemeIsDark)
{
    const Color white = Color::White(), blue = Rgb(0, 112, 227), dark = Rgb(32, 32, 32), accent = Rgb(0, 120, 215);
    const Color light = Rgb(242, 242, 242), fallback = Rgb(53, 132, 228), low = Rgb(20, 40, 31);
    // Theme colour, dark colour, bars, ring, home screen, title texts, address text.
    struct Case {
        const char* theme;
        std::optional<Color> accent;
        Color themeColor, dark, bars, ring, home, title, address;
    } cases[] = {
        {"Escuro", accent, white, dark, Rgb(48, 48, 48), white, blue, white, white},
        {"claro", accent, white, dark, Rgb(48, 48, 48), white, blue, white, white},
        {"Claro", accent, light, Rgb(169, 169, 169), light, Color::Black(), blue, Color::Black(), Rgb(47, 47, 47)},
        {"SystemAccentColor", accent, accent, Rgb(0, 88, 183), accent, white, accent, white, white},
        {"SystemAccentColor", low, low, Rgb(0, 8, 0), low, white, low, white, white},
        {"SystemAccentColor", std::nullopt, fallback, Rgb(21, 100, 196), fallback, white, fallback, white, white},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.theme);
        PageHarness h;
        StartWithTheme(h, c.theme, c.accent);
        EXPECT_EQ(std::pair(h.Page().wThemeColor(), h.Page().wThemeDarkColor()), std::pair(c.themeColor, c.dark));
        EXPECT_EQ(h.View.Colors->ButtonForeground, c.title); // the window's caption buttons
        std::vector<ui::Brush> painted;
        for (auto* name : {"TitleBarArea", "RootGrid", "BarGrid", "TitleStripGrid", "wHomeScreenPanel", "wHomeScreenContent"})
            painted.push_back(Paint(h, name));
        for (auto* name : {"LoadingRing", "wText_SettingsTitle", "wSideMenu_Settings", "PageTitleText", "AdressBox"})
            painted.push_back(Paint(h, name, true));
        EXPECT_EQ(painted, (std::vector<ui::Brush>{c.dark, c.dark, c.bars, c.bars, c.home, c.home, c.ring, c.themeColor,
                                                   c.themeColor, c.title, c.address}));
        // The desktop is asked for its accent by the accent theme only.
        EXPECT_EQ(h.System.AccentReads, c.theme == std::string("SystemAccentColor") ? 1 : 0);
        // What other parts draw later follows the same theme.
        h.Tab(0)->CompleteNavigation("http://a.example/", "A");
        EXPECT_EQ(h.Slot(0).StripCaption->Background(), c.bars);
        ExpectEveryTextReads(h);
    }
}

} // namespace
