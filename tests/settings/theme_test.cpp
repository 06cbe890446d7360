// Theme application with doubles: the colours each stored theme paints onto
// the page's groups, and a walk over the whole page that fails when a text
// would vanish into the surface under it.
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

TEST(Theme, EachThemePaintsItsPaletteOntoTheGroupsAndAnUnknownOneIsDark)
{
    const Color white = Color::White(), black = Color::Black(), blue = Rgb(0, 112, 227), grey = Rgb(48, 48, 48);
    const Color dark = Rgb(32, 32, 32), accent = Rgb(0, 120, 215), light = Rgb(242, 242, 242);
    struct Case {
        const char* theme;
        std::optional<Color> accent;
        Color themeColor, dark, bars, ring, home, title, address;
    } cases[] = {
        {"Escuro", accent, white, dark, grey, white, blue, white, white},
        {"Azul", accent, blue, Rgb(0, 51, 103), blue, white, blue, white, white},
        {"Verde", accent, Rgb(0, 142, 0), Rgb(0, 82, 0), Rgb(0, 142, 0), white, Rgb(0, 142, 0), white, white},
        {"Vermelho", accent, Rgb(166, 1, 1), Rgb(111, 1, 1), Rgb(166, 1, 1), white, Rgb(166, 1, 1), white, white},
        {"Claro", accent, light, Rgb(169, 169, 169), light, black, blue, black, Rgb(47, 47, 47)},
        {"SystemAccentColor", accent, accent, Rgb(0, 88, 183), accent, white, accent, white, white},
        {"SystemAccentColor", Rgb(20, 40, 31), Rgb(20, 40, 31), Rgb(0, 8, 0), Rgb(20, 40, 31), white, Rgb(20, 40, 31),
         white, white},
        {"SystemAccentColor", std::nullopt, Rgb(53, 132, 228), Rgb(21, 100, 196), Rgb(53, 132, 228), white,
         Rgb(53, 132, 228), white, white},
        {"claro", accent, white, dark, grey, white, blue, white, white},
        {"", accent, white, dark, grey, white, blue, white, white},
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
    }
}

class FixedMeasurer : public ui::TextMeasurer {
public:
    ui::Size MeasureText(const std::string& text, const std::string&, double size, ui::FontWeight, double) const override
    {
        return {size * 0.6 * static_cast<double>(text.size()), size * 1.3};
    }
};

bool ShowsText(const ui::Element& e)
{
    if (auto* t = dynamic_cast<const ui::TextBlock*>(&e)) return !t->Text().empty();
    if (auto* b = dynamic_cast<const ui::Button*>(&e)) return !b->Content().empty();
    return e.Kind() == ui::ElementKind::TextBox || e.Kind() == ui::ElementKind::ProgressRing ||
           e.Kind() == ui::ElementKind::CheckBox;
}

// Every panel, menu and pop-up shown at once and laid out; each text is
// checked against the topmost opaque surface painted under its centre.
std::vector<std::string> IllegibleTexts(PageHarness& h)
{
    std::function<void(ui::Element&, const std::function<void(ui::Element&)>&)> each =
        [&](ui::Element& e, const auto& f) {
            f(e);
            if (auto* panel = e.AsPanel())
                for (size_t i = 0; i < panel->Count(); ++i)
                    each(panel->ChildAt(i), f);
        };
    each(h.Page().Root(), [&](ui::Element& e) {
        if (&e != h.Controls().wDimmingOverlay)
            e.SetVisibility(ui::Visibility::Visible), e.SetOpacity(1.0);
    });
    ui::UpdateLayout(h.Page().Root(), {1024, 768}, FixedMeasurer());
    std::vector<const ui::Element*> painted;
    std::vector<std::string> illegible;
    each(h.Page().Root(), [&](ui::Element& e) {
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
            if (std::abs(fg.R - bg->R) < 24 && std::abs(fg.G - bg->G) < 24 && std::abs(fg.B - bg->B) < 24)
                illegible.push_back(e.Name() + " on " + (*it)->Name());
            break;
        }
    });
    return illegible;
}

TEST(Theme, EveryTextReadsOnItsSurfaceInEveryTheme)
{
    for (const char* theme : {"Escuro", "Azul", "Verde", "Vermelho", "Claro", "SystemAccentColor"}) {
        PageHarness h;
        StartWithTheme(h, theme, Rgb(230, 180, 0));
        EXPECT_EQ(IllegibleTexts(h), std::vector<std::string>{}) << theme;
    }
}

} // namespace
