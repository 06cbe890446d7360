// Theme application with doubles: the colours each stored theme paints onto
// the page's groups, and a walk over the whole page that fails when any text
// would vanish into the surface under it.
#include <cstdlib>
#include <functional>
#include <optional>

#include <gtest/gtest.h>

#include "platform/ui/layout.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;
using ui::Color;

constexpr Color Rgb(uint8_t r, uint8_t g, uint8_t b) { return Color::FromRgb(r, g, b); }

void StartWithTheme(PageHarness& h, const std::string& theme)
{
    h.Start();
    h.Stop();
    h.Execute(ConfigFile, "DELETE FROM wConfig_ThemeColor; INSERT INTO wConfig_ThemeColor VALUES ('" + theme + "');");
    h.Start();
}

ui::Brush Background(PageHarness& h, const char* name) { return h.Page().Markup().Get<ui::Element>(name).Background(); }
ui::Brush Foreground(PageHarness& h, const char* name) { return h.Page().Markup().Get<ui::Element>(name).Foreground(); }

TEST(Theme, EachThemePaintsItsPaletteOntoTheGroups)
{
    const Color white = Color::White(), black = Color::Black(), homeBlue = Rgb(0, 112, 227);
    struct Case {
        const char* theme;
        Color themeColor, dark, bars, ring, home;
    } cases[] = {
        {"Escuro", white, Rgb(32, 32, 32), Rgb(48, 48, 48), white, homeBlue},
        {"Azul", homeBlue, Rgb(0, 51, 103), homeBlue, white, homeBlue},
        {"Verde", Rgb(0, 142, 0), Rgb(0, 82, 0), Rgb(0, 142, 0), white, Rgb(0, 142, 0)},
        {"Vermelho", Rgb(166, 1, 1), Rgb(111, 1, 1), Rgb(166, 1, 1), white, Rgb(166, 1, 1)},
        {"Claro", Rgb(242, 242, 242), Rgb(169, 169, 169), Rgb(242, 242, 242), black, homeBlue},
        {"SystemAccentColor", Rgb(0, 120, 215), Rgb(0, 88, 183), Rgb(0, 120, 215), white, Rgb(0, 120, 215)},
    };
    for (const auto& c : cases) {
        PageHarness h;
        h.System.Accent = Rgb(0, 120, 215);
        StartWithTheme(h, c.theme);
        EXPECT_EQ(h.Theme().wThemeColor(), c.themeColor) << c.theme;
        EXPECT_EQ(h.Theme().wThemeDarkColor(), c.dark) << c.theme;
        EXPECT_EQ(Background(h, "TitleBarArea"), c.dark) << c.theme;
        EXPECT_EQ(Background(h, "RootGrid"), c.dark) << c.theme;
        EXPECT_EQ(Background(h, "BarGrid"), c.bars) << c.theme;
        EXPECT_EQ(Background(h, "TitleStripGrid"), c.bars) << c.theme;
        EXPECT_EQ(Foreground(h, "LoadingRing"), c.ring) << c.theme;
        EXPECT_EQ(Background(h, "wHomeScreenPanel"), c.home) << c.theme;
        EXPECT_EQ(Background(h, "wHomeScreenContent"), c.home) << c.theme;
        EXPECT_EQ(Foreground(h, "wText_SettingsTitle"), c.themeColor) << c.theme;
        EXPECT_EQ(Foreground(h, "wSideMenuEntry_Settings"), c.themeColor) << c.theme;
        bool light = c.theme == std::string("Claro");
        EXPECT_EQ(Foreground(h, "PageTitleText"), light ? black : white) << c.theme;
        EXPECT_EQ(Foreground(h, "AdressBox"), light ? Rgb(47, 47, 47) : white) << c.theme;
        // The desktop is asked for its accent by the accent theme only.
        EXPECT_EQ(h.System.AccentReads, c.theme == std::string("SystemAccentColor") ? 1 : 0) << c.theme;
    }
}

TEST(Theme, TheAccentThemeDarkensEachComponentAndFallsBackToBlue)
{
    struct Case {
        std::optional<Color> accent;
        Color themeColor, dark;
    } cases[] = {
        {Rgb(20, 40, 31), Rgb(20, 40, 31), Rgb(0, 8, 0)},
        {Color::FromArgb(0, 255, 31, 32), Rgb(255, 31, 32), Rgb(223, 0, 0)}, // alpha ignored
        {std::nullopt, Rgb(53, 132, 228), Rgb(21, 100, 196)},
    };
    for (const auto& c : cases) {
        PageHarness h;
        h.System.Accent = c.accent;
        StartWithTheme(h, "SystemAccentColor");
        EXPECT_EQ(h.Theme().wThemeColor(), c.themeColor);
        EXPECT_EQ(h.Theme().wThemeDarkColor(), c.dark);
        EXPECT_EQ(Background(h, "TitleBarArea"), c.dark);
    }
}

TEST(Theme, AThemeOutsideTheSixPaintsAndRulesAsTheDarkTheme)
{
    for (const char* stored : {"azul", "", "Escuro ", "CLARO"}) {
        PageHarness h;
        StartWithTheme(h, stored);
        EXPECT_EQ(Background(h, "BarGrid"), Rgb(48, 48, 48)) << stored;
        EXPECT_EQ(Background(h, "RootGrid"), Rgb(32, 32, 32)) << stored;
        EXPECT_EQ(Foreground(h, "LoadingRing"), Color::White()) << stored;
        // Drawn later by other parts through the shared rules.
        h.Tab(0)->CompleteNavigation("http://a.example/", "A");
        EXPECT_EQ(h.Slot(0).StripCaption->Background(), Rgb(48, 48, 48)) << stored;
        EXPECT_EQ(h.Controls().FavoriteStarButton->Foreground(), Rgb(224, 224, 224)) << stored;
    }
}

class FixedMeasurer : public ui::TextMeasurer {
public:
    ui::Size MeasureText(const std::string& text, const std::string&, double fontSize, ui::FontWeight,
                         double) const override
    {
        return {fontSize * 0.6 * static_cast<double>(text.size()), fontSize * 1.3};
    }
};

bool ShowsText(const ui::Element& e)
{
    if (auto* t = dynamic_cast<const ui::TextBlock*>(&e)) return !t->Text().empty();
    if (auto* b = dynamic_cast<const ui::Button*>(&e)) return !b->Content().empty();
    return e.Kind() == ui::ElementKind::TextBox || e.Kind() == ui::ElementKind::ProgressRing ||
           e.Kind() == ui::ElementKind::CheckBox;
}

bool Contains(const ui::Rect& r, double x, double y)
{
    return x >= r.X && x < r.X + r.Width && y >= r.Y && y < r.Y + r.Height;
}

bool Indistinct(Color a, Color b)
{
    return std::abs(a.R - b.R) < 24 && std::abs(a.G - b.G) < 24 && std::abs(a.B - b.B) < 24;
}

// Everything shown at once (every panel, menu and pop-up, each over its
// own background), laid out, then each text against the topmost opaque
// surface painted under its centre.
std::vector<std::string> IllegibleTexts(PageHarness& h)
{
    auto& root = h.Page().Root();
    std::function<void(ui::Element&)> showAll = [&](ui::Element& e) {
        if (&e != h.Controls().wDimmingOverlay) {
            e.SetVisibility(ui::Visibility::Visible);
            e.SetOpacity(1.0);
        }
        if (auto* panel = e.AsPanel())
            for (size_t i = 0; i < panel->Count(); ++i)
                showAll(panel->ChildAt(i));
    };
    showAll(root);
    ui::UpdateLayout(root, {1024, 768}, FixedMeasurer());

    std::vector<const ui::Element*> painted;
    std::vector<std::string> illegible;
    std::function<void(ui::Element&)> walk = [&](ui::Element& e) {
        if (e.GetVisibility() == ui::Visibility::Collapsed)
            return;
        painted.push_back(&e);
        auto r = ui::AbsoluteRect(e);
        if (ShowsText(e) && e.Foreground() && r.Width > 0 && r.Height > 0) {
            for (auto it = painted.rbegin(); it != painted.rend(); ++it) {
                auto bg = (*it)->Background();
                if (!bg || bg->A != 255 || !Contains(ui::AbsoluteRect(**it), r.X + r.Width / 2, r.Y + r.Height / 2))
                    continue;
                if (Indistinct(*e.Foreground(), *bg))
                    illegible.push_back((e.Name().empty() ? "(unnamed)" : e.Name()) + " on " +
                                        ((*it)->Name().empty() ? "(unnamed)" : (*it)->Name()));
                break;
            }
        }
        if (auto* panel = e.AsPanel())
            for (size_t i = 0; i < panel->Count(); ++i)
                walk(panel->ChildAt(i));
    };
    walk(root);
    return illegible;
}

TEST(Theme, EveryTextReadsOnItsSurfaceInEveryTheme)
{
    for (const char* theme : {"Escuro", "Azul", "Verde", "Vermelho", "Claro", "SystemAccentColor"}) {
        for (auto accent : {Rgb(0, 120, 215), Rgb(230, 180, 0)}) {
            PageHarness h;
            h.System.Accent = accent;
            StartWithTheme(h, theme);
            EXPECT_EQ(IllegibleTexts(h), std::vector<std::string>{}) << theme;
        }
    }
}

} // namespace
