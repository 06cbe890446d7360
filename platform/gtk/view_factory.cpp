#include "platform/gtk/native_element.h"
#include "platform/gtk/view_kinds.h"

namespace gtkui {

std::unique_ptr<ElementView> CreateView(ui::Element& element, ViewContext& context)
{
    if (auto* native = dynamic_cast<NativeElement*>(&element); native && native->NativeWidget())
        return CreateNativeView(element, *native, context);
    switch (element.Kind()) {
    case ui::ElementKind::Grid:
    case ui::ElementKind::StackPanel:
    case ui::ElementKind::Border:
        return CreatePanelView(*element.AsPanel(), context);
    case ui::ElementKind::ScrollViewer:
        return CreateScrollViewerView(static_cast<ui::ScrollViewer&>(element), context);
    case ui::ElementKind::TextBlock:
        return CreateTextBlockView(static_cast<ui::TextBlock&>(element), context);
    case ui::ElementKind::Button:
        return CreateButtonView(static_cast<ui::Button&>(element), context);
    case ui::ElementKind::TextBox:
        return CreateTextBoxView(static_cast<ui::TextBox&>(element), context);
    case ui::ElementKind::ComboBox:
        return CreateComboBoxView(static_cast<ui::ComboBox&>(element), context);
    case ui::ElementKind::ToggleSwitch:
        return CreateToggleSwitchView(static_cast<ui::ToggleSwitch&>(element), context);
    case ui::ElementKind::CheckBox:
        return CreateCheckBoxView(static_cast<ui::CheckBox&>(element), context);
    case ui::ElementKind::ProgressBar:
        return CreateProgressBarView(static_cast<ui::ProgressBar&>(element), context);
    case ui::ElementKind::ProgressRing:
        return CreateProgressRingView(static_cast<ui::ProgressRing&>(element), context);
    case ui::ElementKind::WebView:
        break;
    }
    // A panel of another kind lays out as a panel; anything else is a placeholder.
    if (ui::Panel* panel = element.AsPanel())
        return CreatePanelView(*panel, context);
    return CreatePlaceholderView(element, context);
}

} // namespace gtkui
