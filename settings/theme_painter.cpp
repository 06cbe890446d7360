#include "settings/theme_painter.h"

#include "app/page_controls.h"
#include "browser/layout_adaptation.h"
#include "settings/stored_settings.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {

constexpr const char* ThemeQuery = "SELECT wCOLOR FROM wConfig_ThemeColor";
constexpr ui::Color BarGrey = ui::Color::FromRgb(48, 48, 48);
constexpr ui::Color HomeBlue = ui::Color::FromRgb(0, 112, 227);
constexpr ui::Color LightThemeGrey = ui::Color::FromRgb(47, 47, 47);

// The groups beyond the controls every component knows. Members are named
// in the markup; a markup without one of them fails at start.
constexpr const char* BarPanels[] = {"BarGrid", "TitleStripGrid"};
// Text on the dark side panels and menus: the theme colour reads on them in
// every theme. None of them sits on a bar, which has the theme colour.
constexpr const char* ThemeLabels[] = {
    "wText_FavoritesTitle", "wText_HistoryTitle", "wText_DownloadsTitle", "wText_SettingsTitle",
    "wText_AboutTitle", "wText_ExtensionTitle", "wText_DownloadDialogTitle", "wText_AddFavoriteTitle",
    "wText_Settings_HomePage", "wText_Settings_SaveFavorite", "wText_Settings_Theme", "wText_Settings_HomeScreen",
    "wText_Settings_AdressBarPosition", "wText_Settings_TitleBar", "wText_Settings_Searcher",
    "wText_Settings_Translator", "wText_Settings_PagesOpened", "wSideMenu_Favorites",
    "wSideMenu_History", "wSideMenu_Downloads",
};
constexpr const char* LastThemeLabel = "wSideMenu_Settings";
constexpr const char* ThemeBorders[] = {"wMainMenu", "wAddFavoritePanel"};
constexpr const char* HomeScreenPanels[] = {"wHomeScreenPanel", "wHomeScreenContent"};
// The light theme's bars are near white: their texts and glyphs turn dark.
constexpr const char* LightThemeBlackTexts[] = {
    "CloseAppButton", "NewTabButton",           // the window's own buttons
    "PageTitleText", "LoadingText",             // the title strip's two texts
    "NewPrivateTabButton", "VersionText",
    "BackButton", "ForwardButton", "SideMenuButton", "MainMenuButton",
    "HomeButton", "ZoomInButton", "ZoomOutButton",
};
constexpr const char* LightThemeGreyTexts[] = {"AdressBox", "ZoomText"};
constexpr const char* LightThemeGreyBorders[] = {"AdressBox", "BarGrid"};

} // namespace

ThemePainter::ThemePainter(const PageControls& controls, const ui::LoadedMarkup& markup,
                           const platform::SystemInfo& system, platform::ApplicationView& view,
                           LayoutAdaptation& layout)
    : m_controls(controls), m_markup(markup), m_system(system), m_view(view), m_layout(layout)
{
}

std::string ThemePainter::ThemeName()
{
    return KnownTheme(StoredValue(ThemeQuery));
}

void ThemePainter::ApplyTheme()
{
    OpenDatabase(ConfigDb, ConfigFile);
    // One read: every step paints by the same theme.
    const std::string theme = ThemeName();
    std::optional<ui::Color> accent;
    if (theme == AccentTheme)
        accent = m_system.AccentColor();
    m_colors = PaletteOf(theme, accent);
    m_controls.TitleBarArea->SetBackground(m_colors.Dark);
    PaintBars(theme);
    if (theme == LightTheme)
        PaintLightThemeTexts();
    m_controls.RootGrid->SetBackground(m_colors.Dark);
    m_controls.LoadingRing->SetForeground(theme == LightTheme ? ui::Color::Black() : ui::Color::White());
    PaintThemeLabels();
    PaintHomeScreen(theme);
    m_markup.Get<ui::Element>(LastThemeLabel).SetForeground(m_colors.Theme);
    // Until a page completes, the star shows the markup's light grey, which
    // vanishes on the light theme's bar: it takes the icon rule from the start.
    m_controls.FavoriteStarButton->SetForeground(IconColor(theme));
    m_layout.PlaceBars();
}

void ThemePainter::PaintBars(const std::string& theme)
{
    ui::Color bars = theme == DefaultTheme ? BarGrey : m_colors.Theme;
    for (const char* name : BarPanels)
        m_markup.Get<ui::Element>(name).SetBackground(bars);
}

void ThemePainter::PaintLightThemeTexts()
{
    for (const char* name : LightThemeBlackTexts)
        m_markup.Get<ui::Element>(name).SetForeground(ui::Color::Black());
    for (const char* name : LightThemeGreyTexts)
        m_markup.Get<ui::Element>(name).SetForeground(LightThemeGrey);
    for (const char* name : LightThemeGreyBorders)
        m_markup.Get<ui::Element>(name).SetBorderBrush(LightThemeGrey);
    // The window's own caption buttons sit on the light strip too.
    m_view.SetTitleBarColors({
        .ButtonBackground = ui::Color::Transparent(),
        .ButtonInactiveBackground = ui::Color::Transparent(),
        .ButtonHoverBackground = ui::Color::FromArgb(127, 48, 48, 48),
        .ButtonForeground = ui::Color::Black(),
    });
}

void ThemePainter::PaintThemeLabels()
{
    for (const char* name : ThemeLabels)
        m_markup.Get<ui::Element>(name).SetForeground(m_colors.Theme);
    for (const char* name : ThemeBorders)
        m_markup.Get<ui::Element>(name).SetBorderBrush(m_colors.Theme);
}

void ThemePainter::PaintHomeScreen(const std::string& theme)
{
    ui::Color home = theme == LightTheme || theme == DefaultTheme ? HomeBlue : m_colors.Theme;
    for (const char* name : HomeScreenPanels)
        m_markup.Get<ui::Element>(name).SetBackground(home);
}
