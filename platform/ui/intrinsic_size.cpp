#include "platform/ui/intrinsic_size.h"

#include <algorithm>
#include <limits>

namespace ui {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// Metrics of the platform's standard controls.
constexpr double kTextBoxMinWidth = 64;
constexpr double kTextBoxMinHeight = 32;
constexpr double kComboBoxMinWidth = 120;
constexpr double kComboBoxMinHeight = 32;
constexpr double kComboBoxTextInset = 12;
constexpr double kComboBoxArrowWidth = 38;
constexpr double kComboBoxVerticalInset = 12;
constexpr double kToggleSwitchWidth = 154;
constexpr double kToggleSwitchHeight = 40;
constexpr double kToggleSwitchHeaderGap = 4;
constexpr double kCheckBoxBox = 20;
constexpr double kCheckBoxGap = 8;
constexpr double kCheckBoxMinHeight = 32;
constexpr double kProgressBarHeight = 4;
constexpr double kProgressRingSize = 20;

Size Text(const Element& e, const std::string& text, double maxWidth, const TextMeasurer& measurer)
{
    Size size = measurer.MeasureText(text, e.FontFamily(), ResolvedFontSize(e), e.FontWeight(), maxWidth);
    return {std::max(0.0, size.Width), std::max(0.0, size.Height)};
}

Size TextBlockSize(const TextBlock& block, Size inner, const TextMeasurer& measurer)
{
    double maxWidth = block.TextWrapping() == TextWrapping::Wrap ? inner.Width : kInfinity;
    return Text(block, block.Text(), maxWidth, measurer);
}

// A text longer than the box's place scrolls inside the box: the box never
// asks for more width than it is offered, or a long address would push it
// under the buttons beside it and past the window's edge.
Size TextBoxSize(const TextBox& box, Size inner, const TextMeasurer& measurer)
{
    // The placeholder stands in for an empty text, as on the platform.
    const std::string& shown = box.Text().empty() ? box.PlaceholderText() : box.Text();
    Size text = Text(box, shown, kInfinity, measurer);
    const Thickness chrome = box.Padding();
    double minWidth = kTextBoxMinWidth - chrome.Left - chrome.Right - box.BorderThickness().Left - box.BorderThickness().Right;
    double minHeight = kTextBoxMinHeight - chrome.Top - chrome.Bottom - box.BorderThickness().Top - box.BorderThickness().Bottom;
    return {std::max(std::min(text.Width, inner.Width), minWidth), std::max(text.Height, minHeight)};
}

Size ComboBoxSize(const ComboBox& combo, const TextMeasurer& measurer)
{
    double widest = 0;
    double lineHeight = Text(combo, "", kInfinity, measurer).Height;
    for (const auto& item : combo.Items())
        widest = std::max(widest, Text(combo, item, kInfinity, measurer).Width);
    return {std::max(kComboBoxMinWidth, widest + kComboBoxTextInset + kComboBoxArrowWidth),
            std::max(kComboBoxMinHeight, lineHeight + kComboBoxVerticalInset)};
}

Size ToggleSwitchSize(const ToggleSwitch& toggle, const TextMeasurer& measurer)
{
    if (toggle.Header().empty())
        return {kToggleSwitchWidth, kToggleSwitchHeight};
    Size header = Text(toggle, toggle.Header(), kInfinity, measurer);
    return {std::max(kToggleSwitchWidth, header.Width), kToggleSwitchHeight + header.Height + kToggleSwitchHeaderGap};
}

Size CheckBoxSize(const CheckBox& check, const TextMeasurer& measurer)
{
    if (check.Content().empty())
        return {kCheckBoxBox, kCheckBoxMinHeight};
    Size text = Text(check, check.Content(), kInfinity, measurer);
    return {kCheckBoxBox + kCheckBoxGap + text.Width, std::max(kCheckBoxMinHeight, text.Height)};
}

} // namespace

double ResolvedFontSize(const Element& element)
{
    return IsAuto(element.FontSize()) ? DefaultFontSize : element.FontSize();
}

Size IntrinsicSize(const Element& element, Size inner, const TextMeasurer& measurer)
{
    switch (element.Kind()) {
    case ElementKind::TextBlock:
        return TextBlockSize(static_cast<const TextBlock&>(element), inner, measurer);
    case ElementKind::Button:
        return Text(element, static_cast<const Button&>(element).Content(), kInfinity, measurer);
    case ElementKind::TextBox:
        return TextBoxSize(static_cast<const TextBox&>(element), inner, measurer);
    case ElementKind::ComboBox:
        return ComboBoxSize(static_cast<const ComboBox&>(element), measurer);
    case ElementKind::ToggleSwitch:
        return ToggleSwitchSize(static_cast<const ToggleSwitch&>(element), measurer);
    case ElementKind::CheckBox:
        return CheckBoxSize(static_cast<const CheckBox&>(element), measurer);
    case ElementKind::ProgressBar:
        return {0, kProgressBarHeight};
    case ElementKind::ProgressRing:
        return {kProgressRingSize, kProgressRingSize};
    default:
        return {}; // web views and anything else: no size of their own, they stretch
    }
}

} // namespace ui
