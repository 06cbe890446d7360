#include "browser/find_bar.h"

#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "browser/over_pages.h"
#include "browser/tab_set.h"
#include "browser/tab_text.h"
#include "settings/theme_painter.h"

namespace {
const char* PreviousGlyph = "\xEE\x9C\x8E"; // U+E70E
const char* NextGlyph = "\xEE\x9C\x8D";     // U+E70D
const char* CloseGlyph = "\xEE\x84\x8A";    // U+E10A
constexpr int EnterKey = 13;
const ui::Color NoMatchBorder = ui::Color::FromRgb(232, 17, 35);

std::unique_ptr<ui::Button> GlyphButton(const char* glyph, const std::string& name)
{
    auto button = std::make_unique<ui::Button>();
    button->SetName(name);
    button->SetFontFamily(GlyphFont);
    button->SetContent(glyph);
    button->SetFontSize(12);
    button->SetWidth(34);
    button->SetHeight(30);
    button->SetBorderThickness(0);
    button->SetBackground(ui::Color::Transparent());
    button->SetForeground(ui::Color::White());
    return button;
}
} // namespace

FindBar::FindBar(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                 ChromeAnimator& chrome, const ThemePainter& theme)
    : m_services(services), m_tabs(tabs), m_chrome(chrome)
{
    Build(controls, theme);
    m_search.Changed = [this] { ShowStatus(); };
}

void FindBar::Build(const PageControls& controls, const ThemePainter& theme)
{
    auto bar = std::make_unique<ui::StackPanel>();
    bar->SetName("wFindBar");
    bar->SetOrientation(ui::Orientation::Horizontal);
    bar->SetGridRow(2);
    bar->SetHorizontalAlignment(ui::HorizontalAlignment::Right);
    bar->SetVerticalAlignment(ui::VerticalAlignment::Top);
    bar->SetMargin({0, 0, 24, 0});
    bar->SetPadding({8, 6, 4, 6});
    bar->SetCornerRadius(ui::CornerRadius{0, 0, 5, 5});
    bar->SetBackground(theme.wThemeDarkColor());
    bar->SetVisibility(ui::Visibility::Collapsed);

    auto box = std::make_unique<ui::TextBox>();
    box->SetName("wFindBox");
    box->SetWidth(220);
    box->SetHeight(30);
    box->SetFontSize(13);
    box->SetPadding({8, 0, 8, 0});
    box->SetPlaceholderText(m_services.Strings.GetString("wFind_Placeholder"));
    box->SetBackground(ui::Color::FromArgb(0x33, 0, 0, 0));
    box->SetForeground(ui::Color::White());
    m_border = theme.wThemeColor();
    box->SetBorderBrush(m_border);
    box->SetBorderThickness(1);
    box->TextChanged.Subscribe([this](ui::Element& sender) { FindBox_TextChanged(sender); });
    box->KeyDown.Subscribe([this](ui::Element& sender, ui::KeyEventArgs& args) { FindBox_KeyDown(sender, args); });
    m_box = &bar->Append(std::move(box));

    auto status = std::make_unique<ui::TextBlock>();
    status->SetName("wFindStatus");
    status->SetFontSize(13);
    status->SetMinWidth(90);
    status->SetMargin({10, 0, 6, 0});
    status->SetForeground(ui::Color::White());
    status->SetVerticalAlignment(ui::VerticalAlignment::Center);
    m_status = &bar->Append(std::move(status));

    auto previous = GlyphButton(PreviousGlyph, "wFindPrevious");
    previous->Click.Subscribe([this](ui::Element&) { FindPrevious(); });
    bar->Append(std::move(previous));
    auto next = GlyphButton(NextGlyph, "wFindNext");
    next->Click.Subscribe([this](ui::Element&) { FindNext(); });
    bar->Append(std::move(next));
    auto close = GlyphButton(CloseGlyph, "wFindClose");
    close->Click.Subscribe([this](ui::Element&) { CloseFindBar(); });
    bar->Append(std::move(close));

    m_bar = PlaceOverPages(controls, std::move(bar));
}

void FindBar::Subscribe(platform::WebView& view)
{
    m_search.Subscribe(view);
}

void FindBar::OpenFindBar()
{
    if (!m_tabs.CurrentWebView())
        return;
    m_chrome.CloseAll();
    m_bar->SetVisibility(ui::Visibility::Visible);
    m_box->Focus(ui::FocusState::Keyboard);
    m_box->SelectAll();
}

bool FindBar::IsOpen() const
{
    return m_bar->GetVisibility() == ui::Visibility::Visible;
}

const std::string& FindBar::StatusText() const
{
    return m_status->Text();
}

void FindBar::FindBox_TextChanged(ui::Element&)
{
    auto* view = m_tabs.CurrentWebView();
    if (!view || !IsOpen())
        return;
    m_search.Start(*view, m_box->Text());
}

void FindBar::FindBox_KeyDown(ui::Element&, ui::KeyEventArgs& args)
{
    if (args.Key != EnterKey)
        return;
    args.Handled = true;
    if (args.Shift)
        FindPrevious();
    else
        FindNext();
}

void FindBar::FindNext()
{
    if (auto* view = m_tabs.CurrentWebView(); view && IsOpen())
        m_search.Step(*view, false);
}

void FindBar::FindPrevious()
{
    if (auto* view = m_tabs.CurrentWebView(); view && IsOpen())
        m_search.Step(*view, true);
}

void FindBar::CloseFindBar()
{
    if (!IsOpen())
        return;
    m_bar->SetVisibility(ui::Visibility::Collapsed);
    // The view searched may be gone (its tab closed): only a tab's view is told.
    for (int tab = 0; tab < MaxTabs; ++tab)
        if (auto* view = m_tabs.Slot(tab).WebView; view && view == m_search.View())
            view->FindFinished();
    m_search.Reset();
    m_box->SetText("");
    ShowStatus();
}

void FindBar::ShowStatus()
{
    const auto& shown = m_search.Shown();
    std::string status;
    if (shown.NoMatch())
        status = m_services.Strings.GetString("wFind_NoMatches");
    else if (shown.Known)
        status = std::to_string(shown.Current) + " " + m_services.Strings.GetString("wFind_Of") + " " +
                 std::to_string(shown.Matches);
    if (shown.AtLeast)
        status += " " + m_services.Strings.GetString("wFind_OrMore");
    m_status->SetText(status);
    m_box->SetBorderBrush(shown.NoMatch() ? NoMatchBorder : m_border);
}
