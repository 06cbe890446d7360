#include "browser/permission_bar.h"

#include "app/page_controls.h"
#include "browser/over_pages.h"
#include "browser/tab_set.h"
#include "browser/tab_text.h"
#include "settings/theme_painter.h"

namespace {
const char* CloseGlyph = "\xEE\x84\x8A"; // U+E10A

std::unique_ptr<ui::Button> BarButton(const std::string& text, ui::Color background)
{
    auto button = std::make_unique<ui::Button>();
    button->SetContent(text);
    button->SetFontSize(13);
    button->SetHeight(30);
    button->SetMinWidth(72);
    button->SetPadding({12, 0, 12, 0});
    button->SetMargin({8, 0, 0, 0});
    button->SetBorderThickness(0);
    button->SetCornerRadius(ui::CornerRadius{4});
    button->SetBackground(background);
    // Dark text on a light theme colour (white, in the dark theme), light on the rest.
    const int luma = (background.R * 299 + background.G * 587 + background.B * 114) / 1000;
    const bool light = background.A > 0x80 && luma > 150;
    button->SetForeground(light ? ui::Color::FromRgb(32, 32, 32) : ui::Color::White());
    return button;
}
} // namespace

PermissionBar::PermissionBar(const PageControls& controls, platform::PlatformServices& services, TabSet& tabs,
                             const ThemePainter& theme)
    : m_services(services), m_tabs(tabs)
{
    Build(controls, theme);
}

void PermissionBar::Build(const PageControls& controls, const ThemePainter& theme)
{
    auto bar = std::make_unique<ui::StackPanel>();
    bar->SetName("wPermissionBar");
    bar->SetOrientation(ui::Orientation::Horizontal);
    bar->SetGridRow(2);
    bar->SetVerticalAlignment(ui::VerticalAlignment::Top);
    bar->SetHeight(46);
    bar->SetPadding({16, 8, 8, 8});
    bar->SetBackground(theme.wThemeDarkColor());
    bar->SetVisibility(ui::Visibility::Collapsed);

    auto text = std::make_unique<ui::TextBlock>();
    text->SetName("wPermissionText");
    text->SetFontSize(14);
    text->SetForeground(ui::Color::White());
    text->SetVerticalAlignment(ui::VerticalAlignment::Center);
    text->SetMaxWidth(640);
    m_text = &bar->Append(std::move(text));

    auto allow = BarButton(m_services.Strings.GetString("wPermission_Allow"), theme.wThemeColor());
    allow->SetName("wPermissionAllow");
    allow->Click.Subscribe([this](ui::Element& sender) { AllowButton_Click(sender); });
    bar->Append(std::move(allow));
    auto deny = BarButton(m_services.Strings.GetString("wPermission_Deny"), ui::Color::FromArgb(0x33, 0, 0, 0));
    deny->SetName("wPermissionDeny");
    deny->Click.Subscribe([this](ui::Element& sender) { DenyButton_Click(sender); });
    bar->Append(std::move(deny));
    auto close = BarButton(CloseGlyph, ui::Color::Transparent());
    close->SetName("wPermissionClose");
    close->SetFontFamily(GlyphFont);
    close->SetMinWidth(36);
    close->Click.Subscribe([this](ui::Element& sender) { CloseButton_Click(sender); });
    bar->Append(std::move(close));

    m_bar = PlaceOverPages(controls, std::move(bar));
}

void PermissionBar::Subscribe(platform::WebView& view)
{
    view.PermissionRequested.Subscribe(
        [this](platform::WebView& v, platform::PermissionRequestedArgs& a) { WebView_PermissionRequested(v, a); });
    // Leaving the page withdraws what it asked.
    view.NavigationStarting.Subscribe([this](platform::WebView& v, platform::NavigationStartingArgs&) {
        m_queue.Withdraw(&v);
        Show();
    });
}

void PermissionBar::WebView_PermissionRequested(platform::WebView& sender, platform::PermissionRequestedArgs& args)
{
    args.Handled = true;
    if (!m_tabs.TabOf(sender) || args.Origin.empty()) {
        args.Answer(false);
        return;
    }
    m_queue.Ask(&sender, {sender.Name() == PrivateWebViewName, args.Origin, args.Kind}, args.Answer);
    Show();
}

void PermissionBar::CurrentTabChanged()
{
    // A closed tab's questions go with it, before another view can take its place.
    m_queue.WithdrawUnless([this](const void* owner) {
        for (int tab = 0; tab < MaxTabs; ++tab)
            if (m_tabs.Slot(tab).WebView == owner)
                return true;
        return false;
    });
    Show();
}

void PermissionBar::Show()
{
    const PermissionQuestion* question = m_queue.Front(m_tabs.CurrentWebView());
    if (!question) {
        m_bar->SetVisibility(ui::Visibility::Collapsed);
        return;
    }
    // The origin is the page's own text: it goes into a text block, never markup.
    m_text->SetText(question->Origin + " " + KindText(question->Kind));
    m_bar->SetVisibility(ui::Visibility::Visible);
}

void PermissionBar::AllowButton_Click(ui::Element&)
{
    m_queue.Decide(m_tabs.CurrentWebView(), true);
    Show();
}

void PermissionBar::DenyButton_Click(ui::Element&)
{
    m_queue.Decide(m_tabs.CurrentWebView(), false);
    Show();
}

void PermissionBar::CloseButton_Click(ui::Element&)
{
    m_queue.Withdraw(m_tabs.CurrentWebView());
    Show();
}

std::string PermissionBar::KindText(platform::PermissionKind kind) const
{
    using platform::PermissionKind;
    const char* key = "wPermission_Notifications";
    switch (kind) {
    case PermissionKind::Notifications:
        break;
    case PermissionKind::Geolocation:
        key = "wPermission_Geolocation";
        break;
    case PermissionKind::Camera:
        key = "wPermission_Camera";
        break;
    case PermissionKind::Microphone:
        key = "wPermission_Microphone";
        break;
    case PermissionKind::CameraAndMicrophone:
        key = "wPermission_CameraAndMicrophone";
        break;
    case PermissionKind::ClipboardRead:
        key = "wPermission_ClipboardRead";
        break;
    case PermissionKind::PointerLock:
        key = "wPermission_PointerLock";
        break;
    }
    return m_services.Strings.GetString(key);
}
