#include "browser/layout_adaptation.h"

#include "app/page_controls.h"
#include "settings/stored_settings.h"
#include "settings/theme_painter.h"
#include "storage/database.h"
#include "storage/schema.h"

namespace {
constexpr const char* PositionQuery = "SELECT wPOSITION FROM wConfig_AdressBarPosition";
constexpr const char* TitleBarQuery = "SELECT wSTATUS FROM wConfig_TitleBarStatus";
constexpr const char* StatusBarType = "Windows.UI.ViewManagement.StatusBar";
constexpr const char* PhoneFamily = "Windows.Mobile";

// The markup's names for the groups the bars carry along.
constexpr const char* TitleStripGroup[] = {"TitleBarArea", "TitleStripGrid", "PageTitleText", "VersionText",
                                           "TabStripScroller"};
constexpr const char* ContentAndPanels[] = {
    "WebViewHost", "wReelpullPromptBar", "SaveImagePanel", "wHomeScreenPanel", "wContextPopup", "ExitHintBar",
    "wDimmingOverlay", "wSideMenu", "wFavoritesPanel", "wHistoryPanel", "wDownloadsPanel", "wDownloadDialog",
    "wSettingsPanel", "wAboutPanel", "wExtensionPanel",
};
constexpr const char* Menus[] = {"wMainMenu", "wAddFavoritePanel"};

void Place(ui::Element& element, int row, int span)
{
    element.SetGridRow(row);
    element.SetGridRowSpan(span);
}
} // namespace

LayoutAdaptation::LayoutAdaptation(const PageControls& controls, const ui::LoadedMarkup& markup,
                                   platform::ApplicationView& view, const platform::SystemInfo& system)
    : m_controls(controls), m_markup(markup), m_view(view), m_system(system),
      m_titleStripGrid(markup.Get<ui::Element>("TitleStripGrid")),
      m_stripControl(markup.Get<ui::Element>("TabStripScroller")),
      m_barElement(markup.Get<ui::Element>("BarGrid")),
      m_leftRowElement(markup.Get<ui::Element>("HomeButton")),
      m_rightRowElement(markup.Get<ui::Element>("ZoomButtonsPanel")),
      m_backButton(markup.Get<ui::Element>("BackButton")),
      m_forwardButton(markup.Get<ui::Element>("ForwardButton")),
      m_newTabButton(markup.Get<ui::Element>("NewTabButton")),
      m_newPrivateTabButton(markup.Get<ui::Element>("NewPrivateTabButton"))
{
}

void LayoutAdaptation::PlaceBars()
{
    const bool phone = m_system.IsTypePresent(StatusBarType);
    const bool titleHidden = StoredValue(TitleBarQuery) == "false";
    if (StoredValue(PositionQuery) == "Top" && phone && titleHidden)
        PlaceTopWithoutTitle();
    else if (StoredValue(PositionQuery) == "Bottom")
        PlaceBottom(phone, !titleHidden);
}

// Case T: a phone without the title strip; the bar takes a 48-pixel row 0.
void LayoutAdaptation::PlaceTopWithoutTitle()
{
    for (const char* name : TitleStripGroup)
        m_markup.Get<ui::Element>(name).SetVisibility(ui::Visibility::Collapsed);
    m_controls.RootGrid->SetRowDefinition(0, ui::GridLength::Pixels(48));
    Place(m_barElement, 0, 1);
    Place(*m_controls.LoadingRing, 0, 1);
    for (const char* name : ContentAndPanels)
        Place(m_markup.Get<ui::Element>(name), 1, 4);
    for (const char* name : Menus)
        Place(m_markup.Get<ui::Element>(name), 1, 4);
    Place(*m_controls.SuggestionList, 1, 4);
    m_controls.SuggestionList->SetVerticalAlignment(ui::VerticalAlignment::Top);
}

// Cases B1 (phone, title strip off), B2 (phone, on) and B3 (desktop): the bar
// in row 4, the menus and suggestions opening upwards.
void LayoutAdaptation::PlaceBottom(bool phone, bool titleShown)
{
    const bool b1 = phone && !titleShown;
    const bool b2 = phone && titleShown;
    bool first = true;
    for (const char* name : TitleStripGroup) {
        auto& element = m_markup.Get<ui::Element>(name);
        if (b1)
            element.SetVisibility(ui::Visibility::Collapsed);
        else
            element.SetGridRow(b2 && !first ? 3 : 0);
        first = false;
    }
    Place(m_barElement, 4, 1);
    Place(*m_controls.LoadingRing, 4, 1);
    const int row = phone ? 0 : 1;
    const int span = b1 ? 4 : 3;
    for (const char* name : ContentAndPanels)
        Place(m_markup.Get<ui::Element>(name), row, span);
    for (const char* name : Menus) {
        auto& menu = m_markup.Get<ui::Element>(name);
        Place(menu, row, span);
        menu.SetVerticalAlignment(ui::VerticalAlignment::Bottom);
    }
    Place(*m_controls.SuggestionList, 1, 3);
    m_controls.SuggestionList->SetVerticalAlignment(ui::VerticalAlignment::Bottom);
    m_controls.wMainMenu->SetCornerRadius({5, 0, 0, 0});
    m_controls.wMainMenu->SetBorderThickness({1, 1, 0, 0});
    m_controls.wAddFavoritePanel->SetCornerRadius({0, 5, 0, 0});
    m_controls.wAddFavoritePanel->SetBorderThickness({0, 1, 1, 0});
    m_controls.SuggestionList->SetBorderThickness({1, 1, 1, 0});
}

void LayoutAdaptation::OnWindowSizeChanged()
{
    AdaptLayout();
}

// Only a crossing of 720 does any work; with the title strip not "true" the
// arrangement never changes.
void LayoutAdaptation::AdaptLayout()
{
    if (m_titleBarStatusText != "true")
        return;
    const double width = m_view.VisibleBounds().Width;
    if (width <= NarrowWidth && !m_narrowLayoutApplied)
        Arrange(Arrangement::Narrow);
    else if (width > NarrowWidth && m_narrowLayoutApplied)
        Arrange(Arrangement::Wide);
}

void LayoutAdaptation::Arrange(Arrangement arrangement)
{
    const bool narrow = arrangement == Arrangement::Narrow;
    const auto shownIfNarrow = narrow ? ui::Visibility::Visible : ui::Visibility::Collapsed;
    const auto shownIfWide = narrow ? ui::Visibility::Collapsed : ui::Visibility::Visible;
    const double inset = narrow ? 133 : 92; // the address row's right end: with or without the side-menu button
    m_narrowLayoutApplied = narrow;
    m_stripControl.SetVisibility(shownIfWide);
    m_controls.SideMenuButton->SetVisibility(shownIfNarrow);
    m_controls.AdressBox->SetMargin({92, -48, inset, 0});
    m_leftRowElement.SetMargin({92, -48, 0, 0});
    m_rightRowElement.SetMargin({0, -48, inset, 0});

    OpenDatabase(ConfigDb, ConfigFile);
    m_titleStripGrid.SetHeight(narrow ? 32 : 48);
    m_titleStripGrid.SetMargin(narrow ? ui::Thickness{0, 0, 0, 0} : ui::Thickness{0, 32, 0, 0});
    m_backButton.SetFontSize(narrow ? 15 : 20);
    m_forwardButton.SetFontSize(narrow ? 15 : 20);
    m_barElement.SetMargin({narrow ? 0.0 : 82.0, 0, 0, 0});
    if (narrow)
        m_stripControl.SetMargin({10, 0, 0, 0});
    m_controls.LoadingRing->SetMargin({narrow ? 52.0 : 134.0, 0, 0, 0});
    const bool phone = m_system.DeviceFamily() == PhoneFamily;
    if (phone && StoredValue(PositionQuery) == "Bottom") {
        if (narrow) {
            m_titleStripGrid.SetGridRow(0);
        } else {
            m_titleStripGrid.SetMargin({0, 0, 0, 0});
            m_titleStripGrid.SetGridRow(4);
        }
    }
    m_controls.PageTitleText->SetVisibility(shownIfNarrow);
    m_controls.VersionText->SetVisibility(shownIfNarrow);
    const auto theme = ThemePainter::ThemeName();
    m_titleStripGrid.SetBackground(m_theme ? m_theme->SurfaceColor(theme) : SurfaceColor(theme, {}));
    CloseDatabase(ConfigDb);

    if (narrow)
        m_controls.PageTitleText->SetMargin({90, 5, phone ? 10.0 : 140.0, 5});
    else
        m_stripControl.SetMargin({10, 0, phone ? 0.0 : 190.0, 0});
    m_forwardButton.SetBorderThickness(narrow ? ui::Thickness{0, 0, 1, 0} : ui::Thickness{0});
    m_stripControl.SetBorderThickness(narrow ? ui::Thickness{0} : ui::Thickness{1, 0, 0, 0});
    // The new-tab buttons: at the strip's end, level with its captions, or
    // clear of the window's caption buttons.
    const double lift = narrow ? 0.0 : 8.0;
    m_newTabButton.SetMargin({0, 0, narrow ? 186.0 : 96.0, lift});
    m_newPrivateTabButton.SetMargin({0, 0, narrow ? 142.0 : 52.0, lift});
}

void LayoutAdaptation::ReadTitleBarStatus()
{
    m_titleBarStatusText = QueryText(ConfigDb, TitleBarQuery);
}
