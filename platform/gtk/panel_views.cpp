// Panels (Grid, StackPanel, Border, ScrollViewer), placeholders and widgets
// that adapters own.
#include <algorithm>
#include <cmath>

#include "platform/gtk/element_container.h"
#include "platform/gtk/native_element.h"
#include "platform/gtk/view_kinds.h"

namespace gtkui {
namespace {

class PanelView : public ElementView {
public:
    PanelView(ui::Element& element, ViewContext& context) : ElementView(element, ElementContainerNew(), context, WidgetStyle::None)
    {
        AddTapGesture();
    }
    GtkWidget* ChildHost() const override { return Element().AsPanel() ? Widget() : nullptr; }

protected:
    // The container paints what CSS would: background, border, corners.
    void ApplyStyle() override
    {
        const ui::Element& e = Element();
        ElementContainerSetPaint(Widget(), {e.Background(), e.BorderBrush(), e.BorderThickness(), e.CornerRadius()});
    }
};

class ScrollViewerView final : public PanelView {
public:
    ScrollViewerView(ui::ScrollViewer& viewer, ViewContext& context) : PanelView(viewer, context), m_viewer(viewer)
    {
        ElementContainerSetTargetsEmptyArea(Widget(), true);
        GtkEventController* scroll = gtk_event_controller_scroll_new(GTK_EVENT_CONTROLLER_SCROLL_BOTH_AXES);
        Connect(scroll, "scroll", G_CALLBACK(+[](GtkEventControllerScroll* controller, double dx, double dy,
                                                 ScrollViewerView* view) -> gboolean {
                    return view->Scroll(gtk_event_controller_scroll_get_unit(controller), dx, dy);
                }));
        AddController(scroll);
    }

    void AfterLayout() override { ShowIndicator(); }

protected:
    void ApplyOwn(ui::Property property) override
    {
        if (property == ui::Property::ScrollOffset || property == ui::Property::ScrollBarVisibility)
            ShowIndicator();
    }

private:
    // One wheel notch moves three lines of text.
    static constexpr double PixelsPerNotch = 48;

    gboolean Scroll(GdkScrollUnit unit, double dx, double dy)
    {
        double step = unit == GDK_SCROLL_UNIT_WHEEL ? PixelsPerNotch : 1;
        double maxX = std::max(0.0, m_viewer.ExtentSize.Width - m_viewer.ViewportSize.Width);
        double maxY = std::max(0.0, m_viewer.ExtentSize.Height - m_viewer.ViewportSize.Height);
        bool horizontal = m_viewer.HorizontalScrollBarVisibility() != ui::ScrollBarVisibility::Disabled;
        bool vertical = m_viewer.VerticalScrollBarVisibility() != ui::ScrollBarVisibility::Disabled;
        double x = horizontal ? std::clamp(m_viewer.HorizontalOffset() + dx * step, 0.0, maxX) : m_viewer.HorizontalOffset();
        double y = vertical ? std::clamp(m_viewer.VerticalOffset() + dy * step, 0.0, maxY) : m_viewer.VerticalOffset();
        if (x == m_viewer.HorizontalOffset() && y == m_viewer.VerticalOffset())
            return FALSE; // at the end: let an outer viewer scroll
        m_viewer.ScrollTo(x, y);
        return TRUE;
    }

    void ShowIndicator()
    {
        auto bar = m_viewer.VerticalScrollBarVisibility();
        bool shown = bar == ui::ScrollBarVisibility::Auto || bar == ui::ScrollBarVisibility::Visible;
        ElementContainerSetScroll(Widget(), {m_viewer.HorizontalOffset(), m_viewer.VerticalOffset(),
                                             m_viewer.ExtentSize, m_viewer.ViewportSize, shown});
    }

    ui::ScrollViewer& m_viewer;
};

class NativeView final : public ElementView {
public:
    NativeView(ui::Element& element, GtkWidget* widget, ViewContext& context)
        : ElementView(element, widget, context, WidgetStyle::None)
    {
    }
};

} // namespace

std::unique_ptr<ElementView> CreatePanelView(ui::Panel& panel, ViewContext& context)
{
    auto view = std::make_unique<PanelView>(panel, context);
    view->ApplyAll();
    return view;
}

std::unique_ptr<ElementView> CreateScrollViewerView(ui::ScrollViewer& viewer, ViewContext& context)
{
    auto view = std::make_unique<ScrollViewerView>(viewer, context);
    view->ApplyAll();
    return view;
}

std::unique_ptr<ElementView> CreatePlaceholderView(ui::Element& element, ViewContext& context)
{
    auto view = std::make_unique<PanelView>(element, context);
    view->ApplyAll();
    return view;
}

std::unique_ptr<ElementView> CreateNativeView(ui::Element& element, NativeElement& native, ViewContext& context)
{
    auto view = std::make_unique<NativeView>(element, native.NativeWidget(), context);
    view->ApplyAll();
    return view;
}

} // namespace gtkui
