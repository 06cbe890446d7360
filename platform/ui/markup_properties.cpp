#include "platform/ui/markup_properties.h"

#include <algorithm>
#include <array>

#include "platform/ui/markup_values.h"

namespace ui::markup {

namespace {

// Runs set on the element when it is a T.
template <typename T, typename F>
bool On(Element& e, F set)
{
    if (auto* typed = dynamic_cast<T*>(&e)) {
        set(*typed);
        return true;
    }
    return false;
}

struct PropertySetter {
    std::string_view Name;
    bool (*Apply)(Element&, std::string_view);
};

HorizontalAlignment HorizontalValue(std::string_view v)
{
    return EnumValue<HorizontalAlignment>(v, {{"Left", HorizontalAlignment::Left},
                                              {"Center", HorizontalAlignment::Center},
                                              {"Right", HorizontalAlignment::Right},
                                              {"Stretch", HorizontalAlignment::Stretch}});
}

VerticalAlignment VerticalValue(std::string_view v)
{
    return EnumValue<VerticalAlignment>(v, {{"Top", VerticalAlignment::Top},
                                            {"Center", VerticalAlignment::Center},
                                            {"Bottom", VerticalAlignment::Bottom},
                                            {"Stretch", VerticalAlignment::Stretch}});
}

ScrollBarVisibility ScrollBarValue(std::string_view v)
{
    return EnumValue<ScrollBarVisibility>(v, {{"Disabled", ScrollBarVisibility::Disabled},
                                              {"Auto", ScrollBarVisibility::Auto},
                                              {"Hidden", ScrollBarVisibility::Hidden},
                                              {"Visible", ScrollBarVisibility::Visible}});
}

// The platform's finer weights fold onto the three the model keeps.
FontWeight FontWeightValue(std::string_view v)
{
    return EnumValue<FontWeight>(v, {{"Thin", FontWeight::Normal},      {"ExtraLight", FontWeight::Normal},
                                     {"Light", FontWeight::Normal},     {"SemiLight", FontWeight::Normal},
                                     {"Normal", FontWeight::Normal},    {"Medium", FontWeight::Normal},
                                     {"SemiBold", FontWeight::SemiBold}, {"Bold", FontWeight::Bold},
                                     {"ExtraBold", FontWeight::Bold},   {"Black", FontWeight::Bold},
                                     {"ExtraBlack", FontWeight::Bold}});
}

int GridIndex(std::string_view v)
{
    int32_t value = Integer(v);
    if (value < 0)
        throw BadValue(Quoted(v) + " is negative");
    return value;
}

int GridSpan(std::string_view v)
{
    int32_t value = Integer(v);
    if (value < 1)
        throw BadValue(Quoted(v) + " is not a span of at least 1");
    return value;
}

double PositiveFontSize(std::string_view v)
{
    double value = Number(v);
    if (value <= 0)
        throw BadValue(Quoted(v) + " is not a font size above 0");
    return value;
}

// Properties every element has.
const std::array kCommonSetters{
    PropertySetter{"Visibility", [](Element& e, std::string_view v) {
        e.SetVisibility(EnumValue<Visibility>(v, {{"Visible", Visibility::Visible}, {"Collapsed", Visibility::Collapsed}}));
        return true; }},
    PropertySetter{"Opacity", [](Element& e, std::string_view v) { e.SetOpacity(std::clamp(Number(v), 0.0, 1.0)); return true; }},
    PropertySetter{"Margin", [](Element& e, std::string_view v) { e.SetMargin(ThicknessValue(v)); return true; }},
    PropertySetter{"Padding", [](Element& e, std::string_view v) { e.SetPadding(ThicknessValue(v)); return true; }},
    PropertySetter{"Width", [](Element& e, std::string_view v) { e.SetWidth(Length(v)); return true; }},
    PropertySetter{"Height", [](Element& e, std::string_view v) { e.SetHeight(Length(v)); return true; }},
    PropertySetter{"MinWidth", [](Element& e, std::string_view v) { e.SetMinWidth(NonNegative(v)); return true; }},
    PropertySetter{"MinHeight", [](Element& e, std::string_view v) { e.SetMinHeight(NonNegative(v)); return true; }},
    PropertySetter{"MaxWidth", [](Element& e, std::string_view v) { e.SetMaxWidth(NonNegative(v)); return true; }},
    PropertySetter{"MaxHeight", [](Element& e, std::string_view v) { e.SetMaxHeight(NonNegative(v)); return true; }},
    PropertySetter{"HorizontalAlignment", [](Element& e, std::string_view v) { e.SetHorizontalAlignment(HorizontalValue(v)); return true; }},
    PropertySetter{"VerticalAlignment", [](Element& e, std::string_view v) { e.SetVerticalAlignment(VerticalValue(v)); return true; }},
    PropertySetter{"Background", [](Element& e, std::string_view v) { e.SetBackground(BrushValue(v)); return true; }},
    PropertySetter{"Foreground", [](Element& e, std::string_view v) { e.SetForeground(BrushValue(v)); return true; }},
    PropertySetter{"BorderBrush", [](Element& e, std::string_view v) { e.SetBorderBrush(BrushValue(v)); return true; }},
    PropertySetter{"BorderThickness", [](Element& e, std::string_view v) { e.SetBorderThickness(ThicknessValue(v)); return true; }},
    PropertySetter{"CornerRadius", [](Element& e, std::string_view v) { e.SetCornerRadius(CornerRadiusValue(v)); return true; }},
    PropertySetter{"FontSize", [](Element& e, std::string_view v) { e.SetFontSize(PositiveFontSize(v)); return true; }},
    PropertySetter{"FontFamily", [](Element& e, std::string_view v) { e.SetFontFamily(std::string(Trim(v))); return true; }},
    PropertySetter{"FontWeight", [](Element& e, std::string_view v) { e.SetFontWeight(FontWeightValue(v)); return true; }},
    PropertySetter{"IsEnabled", [](Element& e, std::string_view v) { e.SetIsEnabled(Boolean(v)); return true; }},
    PropertySetter{"IsHitTestVisible", [](Element& e, std::string_view v) { e.SetIsHitTestVisible(Boolean(v)); return true; }},
    PropertySetter{"Tag", [](Element& e, std::string_view v) { e.SetTag(Integer(v)); return true; }},
    PropertySetter{"Grid.Row", [](Element& e, std::string_view v) { e.SetGridRow(GridIndex(v)); return true; }},
    PropertySetter{"Grid.RowSpan", [](Element& e, std::string_view v) { e.SetGridRowSpan(GridSpan(v)); return true; }},
    PropertySetter{"Grid.Column", [](Element& e, std::string_view v) { e.SetGridColumn(GridIndex(v)); return true; }},
    PropertySetter{"Grid.ColumnSpan", [](Element& e, std::string_view v) { e.SetGridColumnSpan(GridSpan(v)); return true; }},
};

// Properties of some kinds only: each answers false for the others.
const std::array kKindSetters{
    PropertySetter{"Text", [](Element& e, std::string_view v) {
        return On<TextBlock>(e, [&](TextBlock& t) { t.SetText(std::string(v)); }) ||
               On<TextBox>(e, [&](TextBox& t) { t.SetText(std::string(v)); }); }},
    PropertySetter{"Content", [](Element& e, std::string_view v) {
        return On<Button>(e, [&](Button& b) { b.SetContent(std::string(v)); }) ||
               On<CheckBox>(e, [&](CheckBox& c) { c.SetContent(std::string(v)); }); }},
    PropertySetter{"PlaceholderText", [](Element& e, std::string_view v) {
        return On<TextBox>(e, [&](TextBox& t) { t.SetPlaceholderText(std::string(v)); }); }},
    PropertySetter{"Header", [](Element& e, std::string_view v) {
        return On<ToggleSwitch>(e, [&](ToggleSwitch& t) { t.SetHeader(std::string(v)); }); }},
    PropertySetter{"TextWrapping", [](Element& e, std::string_view v) {
        auto wrapping = EnumValue<TextWrapping>(v, {{"NoWrap", TextWrapping::NoWrap}, {"Wrap", TextWrapping::Wrap},
                                                    {"WrapWholeWords", TextWrapping::Wrap}});
        return On<TextBlock>(e, [&](TextBlock& t) { t.SetTextWrapping(wrapping); }); }},
    PropertySetter{"TextAlignment", [](Element& e, std::string_view v) {
        auto alignment = EnumValue<TextAlignment>(v, {{"Left", TextAlignment::Left}, {"Center", TextAlignment::Center},
                                                      {"Right", TextAlignment::Right}});
        return On<TextBlock>(e, [&](TextBlock& t) { t.SetTextAlignment(alignment); }); }},
    PropertySetter{"HorizontalContentAlignment", [](Element& e, std::string_view v) {
        return On<Button>(e, [&](Button& b) { b.SetHorizontalContentAlignment(HorizontalValue(v)); }); }},
    PropertySetter{"Orientation", [](Element& e, std::string_view v) {
        auto orientation = EnumValue<Orientation>(v, {{"Vertical", Orientation::Vertical}, {"Horizontal", Orientation::Horizontal}});
        return On<StackPanel>(e, [&](StackPanel& s) { s.SetOrientation(orientation); }); }},
    PropertySetter{"Spacing", [](Element& e, std::string_view v) {
        return On<StackPanel>(e, [&](StackPanel& s) { s.SetSpacing(Number(v)); }); }},
    PropertySetter{"IsChecked", [](Element& e, std::string_view v) {
        return On<CheckBox>(e, [&](CheckBox& c) { c.SetIsChecked(NullableBoolean(v)); }); }},
    PropertySetter{"IsOn", [](Element& e, std::string_view v) {
        return On<ToggleSwitch>(e, [&](ToggleSwitch& t) { t.SetIsOn(Boolean(v)); }); }},
    PropertySetter{"SelectedIndex", [](Element& e, std::string_view v) {
        return On<ComboBox>(e, [&](ComboBox& c) {
            int32_t index = Integer(v);
            if (index < -1 || index >= static_cast<int32_t>(c.Items().size()))
                throw BadValue(Quoted(v) + " is not -1 or the index of one of its " + std::to_string(c.Items().size()) + " items");
            c.SetSelectedIndex(index);
        }); }},
    PropertySetter{"IsActive", [](Element& e, std::string_view v) {
        return On<ProgressRing>(e, [&](ProgressRing& r) { r.SetIsActive(Boolean(v)); }); }},
    PropertySetter{"IsIndeterminate", [](Element& e, std::string_view v) {
        return On<ProgressBar>(e, [&](ProgressBar& p) { p.SetIsIndeterminate(Boolean(v)); }); }},
    PropertySetter{"Value", [](Element& e, std::string_view v) {
        return On<ProgressBar>(e, [&](ProgressBar& p) { p.SetValue(Number(v)); }); }},
    PropertySetter{"Minimum", [](Element& e, std::string_view v) {
        return On<ProgressBar>(e, [&](ProgressBar& p) { p.SetRange(Number(v), std::max(Number(v), p.Maximum())); }); }},
    PropertySetter{"Maximum", [](Element& e, std::string_view v) {
        return On<ProgressBar>(e, [&](ProgressBar& p) { p.SetRange(std::min(Number(v), p.Minimum()), Number(v)); }); }},
    PropertySetter{"VerticalScrollBarVisibility", [](Element& e, std::string_view v) {
        return On<ScrollViewer>(e, [&](ScrollViewer& s) { s.SetVerticalScrollBarVisibility(ScrollBarValue(v)); }); }},
    PropertySetter{"HorizontalScrollBarVisibility", [](Element& e, std::string_view v) {
        return On<ScrollViewer>(e, [&](ScrollViewer& s) { s.SetHorizontalScrollBarVisibility(ScrollBarValue(v)); }); }},
};

using RoutedHandler = std::function<void(Element&)>;

// The routed event an attribute names on this element, or nullptr.
Event<Element&>* RoutedEvent(Element& e, std::string_view name)
{
    if (name == "Tapped")
        return &e.Tapped;
    if (auto* button = dynamic_cast<Button*>(&e); button && name == "Click")
        return &button->Click;
    if (auto* box = dynamic_cast<TextBox*>(&e)) {
        if (name == "GotFocus") return &box->GotFocus;
        if (name == "LostFocus") return &box->LostFocus;
        if (name == "TextChanged") return &box->TextChanged;
    }
    if (auto* check = dynamic_cast<CheckBox*>(&e)) {
        if (name == "Click") return &check->Click;
        if (name == "Checked") return &check->Checked;
        if (name == "Unchecked") return &check->Unchecked;
    }
    if (auto* toggle = dynamic_cast<ToggleSwitch*>(&e); toggle && name == "Toggled")
        return &toggle->Toggled;
    if (auto* combo = dynamic_cast<ComboBox*>(&e); combo && name == "SelectionChanged")
        return &combo->SelectionChanged;
    return nullptr;
}

template <typename Map>
typename Map::mapped_type FindHandler(const Map& table, std::string_view event, const std::string& handlerName)
{
    auto found = table.find(handlerName);
    if (found == table.end() || !found->second)
        throw BadValue("the page has no handler " + Quoted(handlerName) + " for " + std::string(event));
    return found->second;
}

} // namespace

bool ApplyProperty(Element& element, std::string_view name, std::string_view value)
{
    for (const auto& setter : kCommonSetters) {
        if (setter.Name == name)
            return setter.Apply(element, value);
    }
    for (const auto& setter : kKindSetters) {
        if (setter.Name == name)
            return setter.Apply(element, value);
    }
    return false;
}

std::function<void()> EventSubscription(Element& element, std::string_view event, const std::string& handlerName,
                                        const MarkupHandlers& handlers)
{
    if (auto* routed = RoutedEvent(element, event)) {
        auto handler = FindHandler(handlers.Routed, event, handlerName);
        return [routed, handler] { routed->Subscribe(handler); };
    }
    if (auto* box = dynamic_cast<TextBox*>(&element); box && event == "KeyDown") {
        auto handler = FindHandler(handlers.Key, event, handlerName);
        return [box, handler] { box->KeyDown.Subscribe(handler); };
    }
    return {};
}

void ApplyResources(Element& element, const std::string& uid, const platform::Resources& resources)
{
    for (std::string_view property : {"Text", "Content", "PlaceholderText", "Header"}) {
        if (auto text = resources.TryGetString(uid + "/" + std::string(property)))
            ApplyProperty(element, property, *text);
    }
}

} // namespace ui::markup
