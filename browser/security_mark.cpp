#include "browser/security_mark.h"

#include "app/page_controls.h"
#include "browser/tab_set.h"
#include "browser/tab_text.h"

namespace {
const char* LockGlyph = "\xEE\x9C\xAE";    // U+E72E
const char* WarningGlyph = "\xEE\x9E\xBA"; // U+E7BA
constexpr double MarkLeft = 134;           // just past the home button
constexpr double MarkWidth = 24;
// The box's text starts past the home button, and past the mark when one shows.
constexpr ui::Thickness PlainPadding{46, 0, 116, 0};
constexpr ui::Thickness MarkedPadding{46 + MarkWidth, 0, 116, 0};
constexpr const char* BlankPagePrefix = "about:";
} // namespace

SecurityMark::SecurityMark(const PageControls& controls, const ui::LoadedMarkup& markup,
                           platform::Resources& strings, TabSet& tabs)
    : m_controls(controls), m_strings(strings), m_tabs(tabs)
{
    Build(markup);
}

void SecurityMark::Build(const ui::LoadedMarkup& markup)
{
    auto& bar = markup.Get<ui::Grid>("BarGrid");
    const auto& home = markup.Get<ui::Element>("HomeButton");
    m_homeButton = &home;
    auto mark = std::make_unique<ui::TextBlock>();
    mark->SetName("wSecurityMark");
    mark->SetFontFamily(GlyphFont);
    mark->SetFontSize(15);
    mark->SetWidth(MarkWidth);
    mark->SetMargin({MarkLeft, 0, 0, 0});
    mark->SetHorizontalAlignment(ui::HorizontalAlignment::Left);
    mark->SetVerticalAlignment(ui::VerticalAlignment::Center);
    mark->SetTextAlignment(ui::TextAlignment::Center);
    mark->SetVisibility(ui::Visibility::Collapsed);
    // Over the box, beside the button.
    m_mark = mark.get();
    auto at = bar.IndexOf(home);
    bar.Insert(at ? *at + 1 : bar.Count(), std::move(mark));
}

void SecurityMark::Subscribe(platform::WebView& view)
{
    view.ContentLoading.Subscribe([this](platform::WebView& v, const auto&) { WebView_Changed(v); });
    view.NavigationFailed.Subscribe([this](platform::WebView& v, const auto&) { WebView_Changed(v); });
    view.NavigationCompleted.Subscribe([this](platform::WebView& v, const auto&) { WebView_Changed(v); });
}

SecurityMarkKind SecurityMark::MarkFor(platform::PageSecurity security, const std::string& source)
{
    // The browser's own pages say nothing, whatever they were reached over:
    // the certificate page stands for a refused site and must never look safe.
    if (source.empty() || Contains(source, AppPagePrefix) || source.rfind(BlankPagePrefix, 0) == 0)
        return SecurityMarkKind::None;
    switch (security) {
    case platform::PageSecurity::Secure: return SecurityMarkKind::Secure;
    case platform::PageSecurity::NotSecure: return SecurityMarkKind::NotSecure;
    default: return SecurityMarkKind::None;
    }
}

void SecurityMark::WebView_Changed(platform::WebView& sender)
{
    if (m_tabs.TabOf(sender) && m_tabs.IsCurrent(sender))
        ShowCurrent();
}

void SecurityMark::ShowCurrent()
{
    const auto* view = m_tabs.CurrentWebView();
    m_shown = view ? MarkFor(view->Security(), view->Source()) : SecurityMarkKind::None;
    const bool shown = m_shown != SecurityMarkKind::None;
    m_mark->SetVisibility(shown ? ui::Visibility::Visible : ui::Visibility::Collapsed);
    m_controls.AdressBox->SetPadding(shown ? MarkedPadding : PlainPadding);
    if (!shown) {
        m_mark->SetText("");
        m_mark->SetToolTip("");
        return;
    }
    const bool secure = m_shown == SecurityMarkKind::Secure;
    m_mark->SetText(secure ? LockGlyph : WarningGlyph);
    m_mark->SetToolTip(m_strings.GetString(secure ? "wSecurity_Secure" : "wSecurity_NotSecure"));
    m_mark->SetForeground(m_homeButton->Foreground());
    m_mark->SetOpacity(secure ? 0.85 : 0.7);
}
