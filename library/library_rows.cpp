#include "library/library_rows.h"

std::unique_ptr<ui::TextBlock> GreyNotice(const std::string& text)
{
    auto notice = std::make_unique<ui::TextBlock>();
    notice->SetText(text);
    notice->SetFontSize(13);
    notice->SetForeground(RowGrey);
    notice->SetMargin({5, 18, 0, 0});
    return notice;
}

std::unique_ptr<ui::TextBlock> AddressLine(int32_t id, const std::string& link, ui::Thickness margin)
{
    auto address = std::make_unique<ui::TextBlock>();
    address->SetTag(id);
    address->SetText(link);
    address->SetFontSize(12);
    address->SetForeground(RowGrey);
    address->SetHorizontalAlignment(ui::HorizontalAlignment::Left);
    address->SetMargin(margin);
    return address;
}

std::unique_ptr<ui::Button> NameButton(int32_t id, const std::string& name, ui::Thickness padding)
{
    auto button = std::make_unique<ui::Button>();
    button->SetTag(id);
    button->SetContent(name);
    button->SetFontSize(13);
    button->SetHeight(40);
    button->SetBackground(ui::Color::Transparent());
    button->SetBorderThickness(ui::Thickness(1));
    button->SetHorizontalAlignment(ui::HorizontalAlignment::Stretch);
    button->SetHorizontalContentAlignment(ui::HorizontalAlignment::Left);
    button->SetPadding(padding);
    button->SetMargin({0, -34, 0, 0});
    return button;
}
