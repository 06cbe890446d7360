#pragma once
// The views of each kind of element, created by CreateView (element_view.h).
#include <memory>

#include "platform/gtk/element_view.h"

namespace gtkui {

class NativeElement;

std::unique_ptr<ElementView> CreatePanelView(ui::Panel& panel, ViewContext& context);
std::unique_ptr<ElementView> CreateScrollViewerView(ui::ScrollViewer& viewer, ViewContext& context);
// An element without a native widget of its own (a web view in tests): an empty panel.
std::unique_ptr<ElementView> CreatePlaceholderView(ui::Element& element, ViewContext& context);
std::unique_ptr<ElementView> CreateNativeView(ui::Element& element, NativeElement& native, ViewContext& context);
std::unique_ptr<ElementView> CreateTextBlockView(ui::TextBlock& block, ViewContext& context);
std::unique_ptr<ElementView> CreateButtonView(ui::Button& button, ViewContext& context);
std::unique_ptr<ElementView> CreateTextBoxView(ui::TextBox& box, ViewContext& context);
std::unique_ptr<ElementView> CreateComboBoxView(ui::ComboBox& combo, ViewContext& context);
std::unique_ptr<ElementView> CreateToggleSwitchView(ui::ToggleSwitch& toggle, ViewContext& context);
std::unique_ptr<ElementView> CreateCheckBoxView(ui::CheckBox& check, ViewContext& context);
std::unique_ptr<ElementView> CreateProgressBarView(ui::ProgressBar& bar, ViewContext& context);
std::unique_ptr<ElementView> CreateProgressRingView(ui::ProgressRing& ring, ViewContext& context);

} // namespace gtkui
