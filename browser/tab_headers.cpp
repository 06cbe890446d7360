// A tab's two headers: the strip header over the page and the list header in
// the side menu, each a caption button and a close button.
#include "app/page_controls.h"
#include "browser/tab_set.h"
#include "browser/tab_text.h"
#include "settings/theme_painter.h"

namespace {
const ui::Color HeaderBorderColor = ui::Color::FromRgb(60, 60, 60);
const char* CloseGlyph = "\xEE\x84\x8A";   // U+E10A
const char* PrivateGlyph = "\xEE\x9C\xA7"; // U+E727

std::unique_ptr<ui::Button> MakeButton(int tag)
{
    auto button = std::make_unique<ui::Button>();
    button->SetTag(tag);
    button->SetBorderThickness(0);
    button->SetBackground(ui::Color::Transparent());
    return button;
}
} // namespace

void TabSet::BuildStripHeader(int n, bool lightTheme)
{
    auto header = std::make_unique<ui::StackPanel>();
    header->SetTag(n);
    header->SetWidth(228);
    header->SetHeight(30);
    header->SetBackground(StripHeaderColor);
    header->SetBorderBrush(HeaderBorderColor);
    header->SetBorderThickness(1);
    header->SetMargin({10, 0, 10, 3});

    auto caption = MakeButton(n);
    caption->SetContent(m_services.Strings.GetString("wAdress/Text"));
    caption->SetFontSize(12);
    caption->SetWidth(228);
    caption->SetHeight(28);
    caption->SetPadding({5, 0, 36, 2});
    if (lightTheme)
        caption->SetForeground(ui::Color::FromRgb(120, 120, 120));
    caption->Click.Subscribe([this](ui::Element& sender) { SelectTab(sender); });
    caption->MiddleClick.Subscribe([this](ui::Element& sender) { CloseTab(sender); });

    auto close = MakeButton(n);
    close->SetFontFamily(GlyphFont);
    close->SetContent(CloseGlyph);
    close->SetFontSize(15);
    close->SetWidth(35);
    close->SetHeight(28);
    close->SetMargin({0, -28, 0, 0});
    close->SetPadding({0, 0, 0, 1});
    close->SetForeground(ui::Color::Red());
    close->SetHorizontalAlignment(ui::HorizontalAlignment::Right);
    close->Click.Subscribe([this](ui::Element& sender) { CloseTab(sender); });

    auto& slot = m_slots[n];
    slot.StripCaption = &header->Append(std::move(caption));
    slot.StripCloseButton = &header->Append(std::move(close));
    slot.StripHeader = &m_controls.TabStripPanel->Append(std::move(header));
}

void TabSet::BuildListHeader(int n, bool lightTheme)
{
    auto header = std::make_unique<ui::StackPanel>();
    header->SetTag(n);
    header->SetWidth(190);
    header->SetBackground(m_theme.wThemeDarkColor());
    header->SetVerticalAlignment(ui::VerticalAlignment::Stretch);
    header->SetBorderBrush(HeaderBorderColor);
    header->SetBorderThickness({0, 0, 1, 0});

    auto caption = MakeButton(n);
    caption->SetContent(m_services.Strings.GetString("wAdress/Text"));
    caption->SetFontSize(12);
    caption->SetWidth(190);
    caption->SetHeight(32);
    caption->SetPadding({10, 0, 28, 0});
    caption->SetVerticalAlignment(ui::VerticalAlignment::Stretch);
    if (lightTheme)
        caption->SetForeground(ui::Color::Black());
    caption->Click.Subscribe([this](ui::Element& sender) { SelectTab(sender); });
    caption->MiddleClick.Subscribe([this](ui::Element& sender) { CloseTab(sender); });

    auto close = MakeButton(n);
    close->SetFontFamily(GlyphFont);
    close->SetContent(CloseGlyph);
    close->SetFontSize(10);
    close->SetWidth(23);
    close->SetHeight(32);
    close->SetMargin({0, -32, 0, 0});
    close->SetPadding(0);
    if (lightTheme)
        close->SetForeground(ui::Color::Black());
    close->SetHorizontalAlignment(ui::HorizontalAlignment::Right);
    close->Click.Subscribe([this](ui::Element& sender) { CloseTab(sender); });

    auto& slot = m_slots[n];
    slot.ListCaption = &header->Append(std::move(caption));
    slot.ListCloseButton = &header->Append(std::move(close));
    slot.ListHeader = &m_controls.TabListPanel->Append(std::move(header));
}


void TabSet::HighlightCaptions(int tab, const std::string& theme)
{
    auto color = m_theme.SurfaceColor(theme);
    for (auto* caption : {m_slots.at(tab).StripCaption, m_slots.at(tab).ListCaption})
        if (caption)
            caption->SetBackground(color);
}

void TabSet::ClearCaptionHighlight(int tab)
{
    for (auto* caption : {m_slots.at(tab).StripCaption, m_slots.at(tab).ListCaption})
        if (caption)
            caption->SetBackground(ui::Color::Transparent());
}

void TabSet::SetCaptions(int tab, const std::string& text)
{
    for (auto* caption : {m_slots.at(tab).StripCaption, m_slots.at(tab).ListCaption})
        if (caption)
            caption->SetContent(text);
}

void TabSet::MarkPrivate(int tab, bool lightTheme)
{
    auto& slot = m_slots.at(tab);
    if (!slot.StripHeader || !slot.ListHeader || slot.StripHeader->Name() == PrivateHeaderName)
        return;
    slot.StripHeader->SetName(PrivateHeaderName);
    auto glyph = [](ui::Thickness margin, ui::Color color) {
        auto mark = std::make_unique<ui::TextBlock>();
        mark->SetFontFamily(GlyphFont);
        mark->SetText(PrivateGlyph);
        mark->SetFontSize(15);
        mark->SetOpacity(0.8);
        mark->SetMargin(margin);
        mark->SetHorizontalAlignment(ui::HorizontalAlignment::Right);
        mark->SetIsHitTestVisible(false);
        mark->SetForeground(color);
        return mark;
    };
    slot.StripHeader->Append(glyph({0, -21, 37, 0}, lightTheme ? ui::Color::FromRgb(120, 120, 120) : ui::Color::White()));
    slot.ListHeader->Append(glyph({0, -23, 27, 0}, lightTheme ? ui::Color::Black() : ui::Color::White()));
    // Room for the mark beside the close button, so the title never runs under it.
    slot.StripCaption->SetPadding({5, 0, 57, 2});
    slot.ListCaption->SetPadding({10, 0, 47, 0});
}
