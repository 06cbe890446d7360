#pragma once
// The widget behind every panel: it places each child at the rectangle the
// layout engine computed for the child's element (scrolled content is
// already offset there), paints the panel's background and border, and clips
// what overflows.
#include <gtk/gtk.h>

#include <functional>

#include "platform/ui/element.h"

namespace gtkui {

// What a container paints under and around its children.
struct ContainerPaint {
    ui::Brush Background;
    ui::Brush BorderBrush;
    ui::Thickness BorderThickness;
    ui::CornerRadius CornerRadius;
    bool operator==(const ContainerPaint&) const = default;
};

// A scroll viewer's indicator: which part of the extent the viewport shows.
struct ContainerScroll {
    double HorizontalOffset = 0;
    double VerticalOffset = 0;
    ui::Size Extent;
    ui::Size Viewport;
    bool ShowIndicator = false;
    bool operator==(const ContainerScroll&) const = default;
};

GtkWidget* ElementContainerNew(); // a floating reference
bool IsElementContainer(GtkWidget* widget);

void ElementContainerSetPaint(GtkWidget* container, const ContainerPaint& paint);
void ElementContainerSetScroll(GtkWidget* container, const ContainerScroll& scroll);
// Clicks on an empty area reach a panel only where it paints a background,
// so a transparent layer never steals clicks; a scroll viewer takes them everywhere.
void ElementContainerSetTargetsEmptyArea(GtkWidget* container, bool targets);
// Runs at the start of every allocation, before the children are placed; the
// root lays out the whole tree here and the container then places every
// descendant (GTK skips containers whose own size did not change).
void ElementContainerSetLayoutHook(GtkWidget* container, std::function<void(int width, int height)> hook);

// The element whose LayoutRect places a widget inside its container.
void SetWidgetElement(GtkWidget* widget, const ui::Element* element);
const ui::Element* WidgetElement(GtkWidget* widget);

} // namespace gtkui
