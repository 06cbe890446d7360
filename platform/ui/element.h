#pragma once
// The retained element model: what the page markup builds and the system
// changes. A renderer mirrors it into native widgets by observing changes; the
// layout engine (layout.h) computes where every element goes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui/event.h"
#include "platform/ui/types.h"

namespace ui {

class Element;
class Panel;

enum class ElementKind {
    Grid,
    StackPanel,
    Border,
    ScrollViewer,
    TextBlock,
    Button,
    TextBox,
    ComboBox,
    ToggleSwitch,
    CheckBox,
    ProgressBar,
    ProgressRing,
    WebView,
};

// What changed on an element; a renderer updates only that.
enum class Property {
    Name, Tag, Visibility, Opacity, Margin, Padding, Width, Height, MinWidth, MinHeight, MaxWidth, MaxHeight,
    HorizontalAlignment, VerticalAlignment, Background, Foreground, BorderBrush, BorderThickness, CornerRadius,
    FontSize, FontFamily, FontWeight, GridRow, GridRowSpan, GridColumn, GridColumnSpan, IsEnabled,
    IsHitTestVisible, Children, RowDefinitions, ColumnDefinitions, Orientation, Spacing, ScrollOffset,
    ScrollBarVisibility, Text, Content, PlaceholderText, Header, TextWrapping, TextAlignment, Selection,
    FocusRequest, FocusState, IsChecked, IsOn, Items, SelectedIndex, Value, Range, IsIndeterminate, IsActive,
    ToolTip,
};

// True for properties whose change can move or resize anything.
bool AffectsLayout(Property p);

// The root's observer hears of every change in its tree.
class ElementObserver {
public:
    virtual ~ElementObserver() = default;
    virtual void OnPropertyChanged(Element& element, Property property) = 0;
    virtual void OnChildAdded(Panel& panel, Element& child, size_t index) = 0;
    // Called before the child is detached and destroyed.
    virtual void OnChildRemoving(Panel& panel, Element& child, size_t index) = 0;
};

struct KeyEventArgs {
    int Key = 0; // virtual key code: 13 is Enter
    bool Shift = false;
    bool Handled = false;
};

class Element {
public:
    virtual ~Element() = default;
    Element(const Element&) = delete;
    Element& operator=(const Element&) = delete;

    virtual ElementKind Kind() const = 0;
    virtual Panel* AsPanel() { return nullptr; }

    Element* Parent() const { return m_parent; }
    Element& Root();
    void SetObserver(ElementObserver* observer) { m_observer = observer; }
    ElementObserver* Observer() const { return m_observer; }

    // Identity
    const std::string& Name() const { return m_name; }
    void SetName(std::string v) { Assign(m_name, std::move(v), Property::Name); }
    std::optional<int32_t> Tag() const { return m_tag; }
    void SetTag(std::optional<int32_t> v) { Assign(m_tag, v, Property::Tag); }

    // Layout inputs
    Visibility GetVisibility() const { return m_visibility; }
    void SetVisibility(Visibility v) { Assign(m_visibility, v, Property::Visibility); }
    double Opacity() const { return m_opacity; }
    void SetOpacity(double v) { Assign(m_opacity, v, Property::Opacity); }
    const Thickness& Margin() const { return m_margin; }
    void SetMargin(Thickness v) { Assign(m_margin, v, Property::Margin); }
    const Thickness& Padding() const { return m_padding; }
    void SetPadding(Thickness v) { Assign(m_padding, v, Property::Padding); }
    double Width() const { return m_width; }
    void SetWidth(double v) { AssignDouble(m_width, v, Property::Width); }
    double Height() const { return m_height; }
    void SetHeight(double v) { AssignDouble(m_height, v, Property::Height); }
    double MinWidth() const { return m_minWidth; }
    void SetMinWidth(double v) { AssignDouble(m_minWidth, v, Property::MinWidth); }
    double MinHeight() const { return m_minHeight; }
    void SetMinHeight(double v) { AssignDouble(m_minHeight, v, Property::MinHeight); }
    double MaxWidth() const { return m_maxWidth; }
    void SetMaxWidth(double v) { AssignDouble(m_maxWidth, v, Property::MaxWidth); }
    double MaxHeight() const { return m_maxHeight; }
    void SetMaxHeight(double v) { AssignDouble(m_maxHeight, v, Property::MaxHeight); }
    ui::HorizontalAlignment HorizontalAlignment() const { return m_hAlign; }
    void SetHorizontalAlignment(ui::HorizontalAlignment v) { Assign(m_hAlign, v, Property::HorizontalAlignment); }
    ui::VerticalAlignment VerticalAlignment() const { return m_vAlign; }
    void SetVerticalAlignment(ui::VerticalAlignment v) { Assign(m_vAlign, v, Property::VerticalAlignment); }

    // Attached grid position
    int GridRow() const { return m_row; }
    void SetGridRow(int v) { Assign(m_row, v, Property::GridRow); }
    int GridRowSpan() const { return m_rowSpan; }
    void SetGridRowSpan(int v) { Assign(m_rowSpan, v < 1 ? 1 : v, Property::GridRowSpan); }
    int GridColumn() const { return m_column; }
    void SetGridColumn(int v) { Assign(m_column, v, Property::GridColumn); }
    int GridColumnSpan() const { return m_columnSpan; }
    void SetGridColumnSpan(int v) { Assign(m_columnSpan, v < 1 ? 1 : v, Property::GridColumnSpan); }

    // Appearance
    const Brush& Background() const { return m_background; }
    void SetBackground(Brush v) { Assign(m_background, v, Property::Background); }
    const Brush& Foreground() const { return m_foreground; }
    void SetForeground(Brush v) { Assign(m_foreground, v, Property::Foreground); }
    const Brush& BorderBrush() const { return m_borderBrush; }
    void SetBorderBrush(Brush v) { Assign(m_borderBrush, v, Property::BorderBrush); }
    const Thickness& BorderThickness() const { return m_borderThickness; }
    void SetBorderThickness(Thickness v) { Assign(m_borderThickness, v, Property::BorderThickness); }
    const ui::CornerRadius& CornerRadius() const { return m_cornerRadius; }
    void SetCornerRadius(ui::CornerRadius v) { Assign(m_cornerRadius, v, Property::CornerRadius); }
    double FontSize() const { return m_fontSize; } // NaN: the default (14)
    void SetFontSize(double v) { AssignDouble(m_fontSize, v, Property::FontSize); }
    const std::string& FontFamily() const { return m_fontFamily; } // empty: the default
    void SetFontFamily(std::string v) { Assign(m_fontFamily, std::move(v), Property::FontFamily); }
    ui::FontWeight FontWeight() const { return m_fontWeight; }
    void SetFontWeight(ui::FontWeight v) { Assign(m_fontWeight, v, Property::FontWeight); }

    // Interaction
    bool IsEnabled() const { return m_enabled; }
    void SetIsEnabled(bool v) { Assign(m_enabled, v, Property::IsEnabled); }
    bool IsHitTestVisible() const { return m_hitTestVisible; }
    void SetIsHitTestVisible(bool v) { Assign(m_hitTestVisible, v, Property::IsHitTestVisible); }
    // Shown on hover and read out as the element's name; empty for none.
    const std::string& ToolTip() const { return m_toolTip; }
    void SetToolTip(std::string v) { Assign(m_toolTip, std::move(v), Property::ToolTip); }

    Event<Element&> Tapped;

    // Layout results, written by the layout engine: the desired size
    // (margins included) and the rectangle relative to the parent's origin
    // (margins excluded, so a negative margin moves it over its neighbours).
    Size DesiredSize;
    Rect LayoutRect;

    // Raised by setters; also used by subclasses.
    void Changed(Property property);

protected:
    Element() = default;

    template <typename T, typename U>
    void Assign(T& field, U&& value, Property property)
    {
        if (field == value)
            return;
        field = std::forward<U>(value);
        Changed(property);
    }
    void AssignDouble(double& field, double value, Property property)
    {
        if (field == value || (IsAuto(field) && IsAuto(value)))
            return;
        field = value;
        Changed(property);
    }

private:
    friend class Panel;
    Element* m_parent = nullptr;
    ElementObserver* m_observer = nullptr;

    std::string m_name;
    std::optional<int32_t> m_tag;
    Visibility m_visibility = Visibility::Visible;
    double m_opacity = 1.0;
    Thickness m_margin;
    Thickness m_padding;
    double m_width = ui::Auto;
    double m_height = ui::Auto;
    double m_minWidth = 0;
    double m_minHeight = 0;
    double m_maxWidth = std::numeric_limits<double>::infinity();
    double m_maxHeight = std::numeric_limits<double>::infinity();
    ui::HorizontalAlignment m_hAlign = ui::HorizontalAlignment::Stretch;
    ui::VerticalAlignment m_vAlign = ui::VerticalAlignment::Stretch;
    int m_row = 0;
    int m_rowSpan = 1;
    int m_column = 0;
    int m_columnSpan = 1;
    Brush m_background;
    Brush m_foreground;
    Brush m_borderBrush;
    Thickness m_borderThickness;
    ui::CornerRadius m_cornerRadius;
    double m_fontSize = ui::Auto;
    std::string m_fontFamily;
    ui::FontWeight m_fontWeight = ui::FontWeight::Normal;
    bool m_enabled = true;
    bool m_hitTestVisible = true;
    std::string m_toolTip;
};

// An element with children; later children draw above earlier ones.
class Panel : public Element {
public:
    Panel* AsPanel() override { return this; }

    size_t Count() const { return m_children.size(); }
    Element& ChildAt(size_t index) const { return *m_children.at(index); }
    std::optional<size_t> IndexOf(const Element& child) const;

    template <typename T>
    T& Append(std::unique_ptr<T> child)
    {
        T& ref = *child;
        Insert(m_children.size(), std::move(child));
        return ref;
    }
    void Insert(size_t index, std::unique_ptr<Element> child);
    // Detaches the child and hands it back (dropping it destroys it).
    std::unique_ptr<Element> RemoveAt(size_t index);
    void Clear();

protected:
    Panel() = default;

private:
    std::vector<std::unique_ptr<Element>> m_children;
};

class Grid : public Panel {
public:
    ElementKind Kind() const override { return ElementKind::Grid; }
    const std::vector<GridLength>& RowDefinitions() const { return m_rows; }
    void SetRowDefinitions(std::vector<GridLength> v) { Assign(m_rows, std::move(v), Property::RowDefinitions); }
    // Replaces one row's height, as when a layout swaps a row definition.
    void SetRowDefinition(size_t index, GridLength length);
    const std::vector<GridLength>& ColumnDefinitions() const { return m_columns; }
    void SetColumnDefinitions(std::vector<GridLength> v) { Assign(m_columns, std::move(v), Property::ColumnDefinitions); }

private:
    std::vector<GridLength> m_rows;
    std::vector<GridLength> m_columns;
};

class StackPanel : public Panel {
public:
    ElementKind Kind() const override { return ElementKind::StackPanel; }
    ui::Orientation Orientation() const { return m_orientation; }
    void SetOrientation(ui::Orientation v) { Assign(m_orientation, v, Property::Orientation); }
    double Spacing() const { return m_spacing; }
    void SetSpacing(double v) { AssignDouble(m_spacing, v, Property::Spacing); }

private:
    ui::Orientation m_orientation = ui::Orientation::Vertical;
    double m_spacing = 0;
};

// Draws background, border and rounded corners around at most one child.
class Border : public Panel {
public:
    ElementKind Kind() const override { return ElementKind::Border; }
};

// Clips its one child and scrolls it; the child is measured with unbounded
// height (and width when horizontal scrolling is on).
class ScrollViewer : public Panel {
public:
    ElementKind Kind() const override { return ElementKind::ScrollViewer; }
    double VerticalOffset() const { return m_vOffset; }
    double HorizontalOffset() const { return m_hOffset; }
    // Negative offsets read as 0; the layout engine clamps them to the extent.
    void ScrollTo(double horizontal, double vertical);
    ScrollBarVisibility VerticalScrollBarVisibility() const { return m_vBar; }
    void SetVerticalScrollBarVisibility(ScrollBarVisibility v) { Assign(m_vBar, v, Property::ScrollBarVisibility); }
    ScrollBarVisibility HorizontalScrollBarVisibility() const { return m_hBar; }
    void SetHorizontalScrollBarVisibility(ScrollBarVisibility v) { Assign(m_hBar, v, Property::ScrollBarVisibility); }

    // Layout results: the content's size and the visible part of it.
    Size ExtentSize;
    Size ViewportSize;

private:
    double m_vOffset = 0;
    double m_hOffset = 0;
    ScrollBarVisibility m_vBar = ScrollBarVisibility::Auto;
    ScrollBarVisibility m_hBar = ScrollBarVisibility::Disabled;
};

class TextBlock : public Element {
public:
    ElementKind Kind() const override { return ElementKind::TextBlock; }
    const std::string& Text() const { return m_text; }
    void SetText(std::string v) { Assign(m_text, std::move(v), Property::Text); }
    ui::TextWrapping TextWrapping() const { return m_wrapping; }
    void SetTextWrapping(ui::TextWrapping v) { Assign(m_wrapping, v, Property::TextWrapping); }
    ui::TextAlignment TextAlignment() const { return m_alignment; }
    void SetTextAlignment(ui::TextAlignment v) { Assign(m_alignment, v, Property::TextAlignment); }

private:
    std::string m_text;
    ui::TextWrapping m_wrapping = ui::TextWrapping::NoWrap;
    ui::TextAlignment m_alignment = ui::TextAlignment::Left;
};

// A button whose content is text (or one glyph in a symbol font).
class Button : public Element {
public:
    Button();
    ElementKind Kind() const override { return ElementKind::Button; }
    const std::string& Content() const { return m_content; }
    void SetContent(std::string v) { Assign(m_content, std::move(v), Property::Content); }
    ui::HorizontalAlignment HorizontalContentAlignment() const { return m_contentAlign; }
    void SetHorizontalContentAlignment(ui::HorizontalAlignment v) { Assign(m_contentAlign, v, Property::Content); }

    Event<Element&> Click;
    // A click with the middle button (never raises Click).
    Event<Element&> MiddleClick;
    // Called by the renderer when the user clicks.
    void RaiseClick() { Click(*this); }
    void RaiseMiddleClick() { MiddleClick(*this); }

private:
    std::string m_content;
    ui::HorizontalAlignment m_contentAlign = ui::HorizontalAlignment::Center;
};

class TextBox : public Element {
public:
    TextBox();
    ElementKind Kind() const override { return ElementKind::TextBox; }
    const std::string& Text() const { return m_text; }
    // Raises TextChanged as well: handlers that care tell a change made by
    // code from typing by FocusState.
    void SetText(std::string v);
    const std::string& PlaceholderText() const { return m_placeholder; }
    void SetPlaceholderText(std::string v) { Assign(m_placeholder, std::move(v), Property::PlaceholderText); }

    // Selection in characters (UTF-16 code units, as the system counts).
    int SelectionStart() const { return m_selectionStart; }
    int SelectionLength() const { return m_selectionLength; }
    void Select(int start, int length);
    void SelectAll();
    void SetSelectionLength(int length) { Select(m_selectionStart, length); }

    ui::FocusState FocusState() const { return m_focusState; }
    // Asks the platform for keyboard focus (Property::FocusRequest); the
    // renderer grants it through SetFocusStateFromUser(RequestedFocus()).
    void Focus(ui::FocusState how);
    ui::FocusState RequestedFocus() const { return m_requestedFocus; }

    Event<Element&, KeyEventArgs&> KeyDown;
    Event<Element&> GotFocus;
    Event<Element&> LostFocus;
    Event<Element&> TextChanged;

    // Called by the renderer: what the user did, without echoing it back.
    void SetTextFromUser(std::string text);
    void SetSelectionFromUser(int start, int length);
    void SetFocusStateFromUser(ui::FocusState state);

private:
    std::string m_text;
    std::string m_placeholder;
    int m_selectionStart = 0;
    int m_selectionLength = 0;
    ui::FocusState m_focusState = ui::FocusState::Unfocused;
    ui::FocusState m_requestedFocus = ui::FocusState::Unfocused;
};

class ComboBox : public Element {
public:
    ComboBox();
    ElementKind Kind() const override { return ElementKind::ComboBox; }
    const std::vector<std::string>& Items() const { return m_items; }
    void SetItems(std::vector<std::string> v) { Assign(m_items, std::move(v), Property::Items); }
    int SelectedIndex() const { return m_selectedIndex; } // -1: nothing selected
    void SetSelectedIndex(int v) { if (v != m_selectedIndex) { m_selectedIndex = v; Changed(Property::SelectedIndex); SelectionChanged(*this); } }
    Event<Element&> SelectionChanged;

private:
    std::vector<std::string> m_items;
    int m_selectedIndex = -1;
};

class ToggleSwitch : public Element {
public:
    ToggleSwitch();
    ElementKind Kind() const override { return ElementKind::ToggleSwitch; }
    bool IsOn() const { return m_on; }
    void SetIsOn(bool v) { if (v != m_on) { m_on = v; Changed(Property::IsOn); Toggled(*this); } }
    const std::string& Header() const { return m_header; }
    void SetHeader(std::string v) { Assign(m_header, std::move(v), Property::Header); }
    Event<Element&> Toggled;

private:
    bool m_on = false;
    std::string m_header;
};

class CheckBox : public Element {
public:
    CheckBox();
    ElementKind Kind() const override { return ElementKind::CheckBox; }
    std::optional<bool> IsChecked() const { return m_checked; }
    void SetIsChecked(std::optional<bool> v);
    const std::string& Content() const { return m_content; }
    void SetContent(std::string v) { Assign(m_content, std::move(v), Property::Content); }
    Event<Element&> Checked;
    Event<Element&> Unchecked;
    Event<Element&> Click;

private:
    std::optional<bool> m_checked = false;
    std::string m_content;
};

class ProgressBar : public Element {
public:
    ElementKind Kind() const override { return ElementKind::ProgressBar; }
    double Value() const { return m_value; }
    void SetValue(double v) { AssignDouble(m_value, v, Property::Value); }
    double Minimum() const { return m_min; }
    double Maximum() const { return m_max; }
    void SetRange(double minimum, double maximum);
    bool IsIndeterminate() const { return m_indeterminate; }
    void SetIsIndeterminate(bool v) { Assign(m_indeterminate, v, Property::IsIndeterminate); }

private:
    double m_value = 0;
    double m_min = 0;
    double m_max = 100;
    bool m_indeterminate = false;
};

class ProgressRing : public Element {
public:
    ProgressRing();
    ElementKind Kind() const override { return ElementKind::ProgressRing; }
    bool IsActive() const { return m_active; }
    void SetIsActive(bool v) { Assign(m_active, v, Property::IsActive); }

private:
    bool m_active = false;
};

// Creates an element by its markup tag ("Grid", "Button", ...); nullptr for
// an unknown tag. Web views are not created from markup.
std::unique_ptr<Element> CreateElement(std::string_view tag);

} // namespace ui
