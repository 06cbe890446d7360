#include "platform/ui/element.h"

#include <algorithm>
#include <stdexcept>

#include "platform/ui/utf16.h"

namespace ui {

namespace {

ElementObserver* RootObserver(Element& element)
{
    Element& root = element.Root();
    return root.Observer();
}

} // namespace

Element& Element::Root()
{
    Element* e = this;
    while (e->m_parent)
        e = e->m_parent;
    return *e;
}

void Element::Changed(Property property)
{
    if (auto* observer = RootObserver(*this))
        observer->OnPropertyChanged(*this, property);
}

bool AffectsLayout(Property p)
{
    switch (p) {
    case Property::Visibility:
    case Property::Margin:
    case Property::Padding:
    case Property::Width:
    case Property::Height:
    case Property::MinWidth:
    case Property::MinHeight:
    case Property::MaxWidth:
    case Property::MaxHeight:
    case Property::HorizontalAlignment:
    case Property::VerticalAlignment:
    case Property::BorderThickness:
    case Property::FontSize:
    case Property::FontFamily:
    case Property::FontWeight:
    case Property::GridRow:
    case Property::GridRowSpan:
    case Property::GridColumn:
    case Property::GridColumnSpan:
    case Property::Children:
    case Property::RowDefinitions:
    case Property::ColumnDefinitions:
    case Property::Orientation:
    case Property::Spacing:
    case Property::ScrollOffset:
    case Property::ScrollBarVisibility:
    case Property::Text:
    case Property::Content:
    case Property::PlaceholderText:
    case Property::Header:
    case Property::TextWrapping:
    case Property::Items:
        return true;
    default:
        return false;
    }
}

// --- Panel ---------------------------------------------------------------

std::optional<size_t> Panel::IndexOf(const Element& child) const
{
    for (size_t i = 0; i < m_children.size(); ++i) {
        if (m_children[i].get() == &child)
            return i;
    }
    return std::nullopt;
}

void Panel::Insert(size_t index, std::unique_ptr<Element> child)
{
    if (!child)
        throw std::invalid_argument("Panel::Insert: no element to insert");
    if (index > m_children.size())
        throw std::out_of_range("Panel::Insert: index " + std::to_string(index) + " beyond " +
                                std::to_string(m_children.size()) + " children");
    Element& added = *child;
    added.m_parent = this;
    m_children.insert(m_children.begin() + static_cast<std::ptrdiff_t>(index), std::move(child));
    if (auto* observer = RootObserver(*this))
        observer->OnChildAdded(*this, added, index);
}

std::unique_ptr<Element> Panel::RemoveAt(size_t index)
{
    if (index >= m_children.size())
        throw std::out_of_range("Panel::RemoveAt: index " + std::to_string(index) + " beyond " +
                                std::to_string(m_children.size()) + " children");
    if (auto* observer = RootObserver(*this))
        observer->OnChildRemoving(*this, *m_children[index], index);
    auto child = std::move(m_children[index]);
    m_children.erase(m_children.begin() + static_cast<std::ptrdiff_t>(index));
    child->m_parent = nullptr;
    return child;
}

void Panel::Clear()
{
    // From the last: the indices the observer hears stay valid.
    while (!m_children.empty())
        RemoveAt(m_children.size() - 1);
}

// --- Grid and ScrollViewer ---------------------------------------------------

void Grid::SetRowDefinition(size_t index, GridLength length)
{
    if (index >= m_rows.size())
        throw std::out_of_range("Grid::SetRowDefinition: row " + std::to_string(index) + " of " +
                                std::to_string(m_rows.size()) + " rows");
    if (m_rows[index] == length)
        return;
    m_rows[index] = length;
    Changed(Property::RowDefinitions);
}

void ScrollViewer::ScrollTo(double horizontal, double vertical)
{
    horizontal = std::isnan(horizontal) ? 0 : std::max(0.0, horizontal);
    vertical = std::isnan(vertical) ? 0 : std::max(0.0, vertical);
    if (horizontal == m_hOffset && vertical == m_vOffset)
        return;
    m_hOffset = horizontal;
    m_vOffset = vertical;
    Changed(Property::ScrollOffset);
}

// --- Controls with their platform defaults -------------------------------------

Button::Button()
{
    SetPadding(Thickness(8, 5, 8, 6));
    SetHorizontalAlignment(ui::HorizontalAlignment::Left);
    SetVerticalAlignment(ui::VerticalAlignment::Center);
}

TextBox::TextBox()
{
    SetPadding(Thickness(10, 5, 6, 6));
}

ComboBox::ComboBox()
{
    SetHorizontalAlignment(ui::HorizontalAlignment::Left);
    SetVerticalAlignment(ui::VerticalAlignment::Top);
}

ToggleSwitch::ToggleSwitch()
{
    SetHorizontalAlignment(ui::HorizontalAlignment::Left);
    SetVerticalAlignment(ui::VerticalAlignment::Center);
}

CheckBox::CheckBox()
{
    SetHorizontalAlignment(ui::HorizontalAlignment::Left);
    SetVerticalAlignment(ui::VerticalAlignment::Center);
}

ProgressRing::ProgressRing()
{
    SetHorizontalAlignment(ui::HorizontalAlignment::Center);
    SetVerticalAlignment(ui::VerticalAlignment::Center);
}

// --- TextBox ---------------------------------------------------------------

void TextBox::SetText(std::string v)
{
    if (v == m_text)
        return;
    m_text = std::move(v);
    Changed(Property::Text);
    Select(m_selectionStart, m_selectionLength); // keeps the selection inside the new text
    TextChanged(*this);
}

void TextBox::Select(int start, int length)
{
    int size = Utf16Length(m_text);
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (start == m_selectionStart && length == m_selectionLength)
        return;
    m_selectionStart = start;
    m_selectionLength = length;
    Changed(Property::Selection);
}

void TextBox::SelectAll()
{
    Select(0, Utf16Length(m_text));
}

void TextBox::Focus(ui::FocusState how)
{
    if (how == ui::FocusState::Unfocused)
        return; // nothing to ask for
    m_requestedFocus = how;
    // Always raised: a request is an action, not a state.
    Changed(Property::FocusRequest);
}

void TextBox::SetTextFromUser(std::string text)
{
    if (text == m_text)
        return;
    m_text = std::move(text);
    int size = Utf16Length(m_text);
    m_selectionStart = std::min(m_selectionStart, size);
    m_selectionLength = std::min(m_selectionLength, size - m_selectionStart);
    TextChanged(*this);
}

void TextBox::SetSelectionFromUser(int start, int length)
{
    int size = Utf16Length(m_text);
    m_selectionStart = std::clamp(start, 0, size);
    m_selectionLength = std::clamp(length, 0, size - m_selectionStart);
}

void TextBox::SetFocusStateFromUser(ui::FocusState state)
{
    if (state == m_focusState)
        return;
    bool wasFocused = m_focusState != ui::FocusState::Unfocused;
    m_focusState = state;
    bool isFocused = state != ui::FocusState::Unfocused;
    if (!wasFocused && isFocused)
        GotFocus(*this);
    else if (wasFocused && !isFocused)
        LostFocus(*this);
}

// --- CheckBox and ProgressBar ----------------------------------------------------

void CheckBox::SetIsChecked(std::optional<bool> v)
{
    if (v == m_checked)
        return;
    m_checked = v;
    Changed(Property::IsChecked);
    if (v == true)
        Checked(*this);
    else if (v == false)
        Unchecked(*this);
}

void ProgressBar::SetRange(double minimum, double maximum)
{
    if (maximum < minimum)
        maximum = minimum;
    if (minimum != m_min || maximum != m_max) {
        m_min = minimum;
        m_max = maximum;
        Changed(Property::Range);
    }
    SetValue(std::clamp(m_value, m_min, m_max));
}

// --- Creation by tag -----------------------------------------------------------

std::unique_ptr<Element> CreateElement(std::string_view tag)
{
    if (tag == "Grid") return std::make_unique<Grid>();
    if (tag == "StackPanel") return std::make_unique<StackPanel>();
    if (tag == "Border") return std::make_unique<Border>();
    if (tag == "ScrollViewer") return std::make_unique<ScrollViewer>();
    if (tag == "TextBlock") return std::make_unique<TextBlock>();
    if (tag == "Button") return std::make_unique<Button>();
    if (tag == "TextBox") return std::make_unique<TextBox>();
    if (tag == "ComboBox") return std::make_unique<ComboBox>();
    if (tag == "ToggleSwitch") return std::make_unique<ToggleSwitch>();
    if (tag == "CheckBox") return std::make_unique<CheckBox>();
    if (tag == "ProgressBar") return std::make_unique<ProgressBar>();
    if (tag == "ProgressRing") return std::make_unique<ProgressRing>();
    return nullptr;
}

} // namespace ui
