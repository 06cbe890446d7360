#include "platform/gtk/element_container.h"

#include <algorithm>
#include <cmath>

namespace gtkui {
struct ContainerState {
    // For a scroll viewer's content: the part the viewport shows, in the
    // content's coordinates; set by the viewer as it places the content.
    graphene_rect_t Visible = GRAPHENE_RECT_INIT(-1e9f, -1e9f, 2e9f, 2e9f);
    ContainerPaint Paint;
    ContainerScroll Scroll;
    bool TargetsEmptyArea = false;
    std::function<void(int, int)> LayoutHook;
};
} // namespace gtkui

G_DECLARE_FINAL_TYPE(TolvaneElementContainer, tolvane_element_container, TOLVANE, ELEMENT_CONTAINER, GtkWidget)

struct _TolvaneElementContainer {
    GtkWidget parent_instance;
    gtkui::ContainerState* state;
};

G_DEFINE_FINAL_TYPE(TolvaneElementContainer, tolvane_element_container, GTK_TYPE_WIDGET)

namespace gtkui {
namespace {

GQuark ElementQuark()
{
    static GQuark quark = g_quark_from_static_string("tolvane-element");
    return quark;
}

ContainerState& StateOf(GtkWidget* widget)
{
    return *TOLVANE_ELEMENT_CONTAINER(widget)->state;
}

GdkRGBA ToRgba(const ui::Color& c)
{
    return GdkRGBA{c.R / 255.0f, c.G / 255.0f, c.B / 255.0f, c.A / 255.0f};
}

// Edges are rounded separately so that neighbours share pixel boundaries.
GtkAllocation PixelRect(double x, double y, double width, double height)
{
    auto left = static_cast<int>(std::lround(x));
    auto top = static_cast<int>(std::lround(y));
    auto right = static_cast<int>(std::lround(x + std::max(0.0, width)));
    auto bottom = static_cast<int>(std::lround(y + std::max(0.0, height)));
    return GtkAllocation{left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

// A scrolled list's rows outside the viewport can never be seen: they are
// neither allocated nor drawn (unmapped) until scrolled into view, so a long
// list costs only its visible rows.
void PlaceChildren(GtkWidget* container, bool descendants)
{
    const ui::Element* own = WidgetElement(container);
    const bool scrolledList = own && own->Parent() && own->Parent()->Kind() == ui::ElementKind::ScrollViewer;
    const graphene_rect_t visible = StateOf(container).Visible;
    for (GtkWidget* child = gtk_widget_get_first_child(container); child;
         child = gtk_widget_get_next_sibling(child)) {
        if (!gtk_widget_should_layout(child))
            continue;
        GtkAllocation allocation;
        if (const ui::Element* element = WidgetElement(child)) {
            const ui::Rect& r = element->LayoutRect;
            allocation = PixelRect(r.X, r.Y, r.Width, r.Height);
        } else {
            allocation = GtkAllocation{0, 0, gtk_widget_get_width(container), gtk_widget_get_height(container)};
        }
        if (scrolledList) {
            graphene_rect_t bounds = GRAPHENE_RECT_INIT(static_cast<float>(allocation.x), static_cast<float>(allocation.y),
                                                        static_cast<float>(allocation.width),
                                                        static_cast<float>(allocation.height));
            bool inView = graphene_rect_intersection(&visible, &bounds, nullptr);
            if (gtk_widget_get_child_visible(child) != inView)
                gtk_widget_set_child_visible(child, inView);
            if (!inView)
                continue;
        }
        // What of a scroll viewer's content shows: the viewport, in the content's coordinates.
        if (IsElementContainer(child) && own && own->Kind() == ui::ElementKind::ScrollViewer)
            StateOf(child).Visible = GRAPHENE_RECT_INIT(static_cast<float>(-allocation.x), static_cast<float>(-allocation.y),
                                                        static_cast<float>(gtk_widget_get_width(container)),
                                                        static_cast<float>(gtk_widget_get_height(container)));
        // GTK expects a measure before every allocation; the rectangle itself
        // comes from the layout engine, whatever the widget would like.
        int ignored;
        gtk_widget_measure(child, GTK_ORIENTATION_HORIZONTAL, -1, &ignored, &ignored, nullptr, nullptr);
        gtk_widget_measure(child, GTK_ORIENTATION_VERTICAL, -1, &ignored, &ignored, nullptr, nullptr);
        gtk_widget_size_allocate(child, &allocation, -1);
        if (descendants && IsElementContainer(child))
            PlaceChildren(child, true);
    }
}

GskRoundedRect OuterShape(GtkWidget* widget, const ui::CornerRadius& radius)
{
    auto corner = [](double r) { return graphene_size_t{static_cast<float>(r), static_cast<float>(r)}; };
    graphene_size_t tl = corner(radius.TopLeft), tr = corner(radius.TopRight);
    graphene_size_t br = corner(radius.BottomRight), bl = corner(radius.BottomLeft);
    graphene_rect_t bounds = GRAPHENE_RECT_INIT(0, 0, static_cast<float>(gtk_widget_get_width(widget)),
                                                static_cast<float>(gtk_widget_get_height(widget)));
    GskRoundedRect shape;
    gsk_rounded_rect_init(&shape, &bounds, &tl, &tr, &br, &bl);
    gsk_rounded_rect_normalize(&shape);
    return shape;
}

void PaintBackground(GtkWidget* widget, GtkSnapshot* snapshot, const ContainerPaint& paint)
{
    if (!paint.Background || paint.Background->A == 0)
        return;
    GskRoundedRect shape = OuterShape(widget, paint.CornerRadius);
    GdkRGBA color = ToRgba(*paint.Background);
    if (gsk_rounded_rect_is_rectilinear(&shape)) {
        gtk_snapshot_append_color(snapshot, &color, &shape.bounds);
        return;
    }
    gtk_snapshot_push_rounded_clip(snapshot, &shape);
    gtk_snapshot_append_color(snapshot, &color, &shape.bounds);
    gtk_snapshot_pop(snapshot);
}

void PaintBorder(GtkWidget* widget, GtkSnapshot* snapshot, const ContainerPaint& paint)
{
    const ui::Thickness& t = paint.BorderThickness;
    if (!paint.BorderBrush || paint.BorderBrush->A == 0 || (t.Left <= 0 && t.Top <= 0 && t.Right <= 0 && t.Bottom <= 0))
        return;
    GskRoundedRect shape = OuterShape(widget, paint.CornerRadius);
    const float widths[4] = {static_cast<float>(std::max(0.0, t.Top)), static_cast<float>(std::max(0.0, t.Right)),
                             static_cast<float>(std::max(0.0, t.Bottom)), static_cast<float>(std::max(0.0, t.Left))};
    GdkRGBA color = ToRgba(*paint.BorderBrush);
    const GdkRGBA colors[4] = {color, color, color, color};
    gtk_snapshot_append_border(snapshot, &shape, widths, colors);
}

void PaintScrollIndicator(GtkWidget* widget, GtkSnapshot* snapshot, const ContainerScroll& scroll)
{
    double hidden = scroll.Extent.Height - scroll.Viewport.Height;
    if (!scroll.ShowIndicator || hidden < 1 || scroll.Extent.Height <= 0)
        return;
    constexpr float thickness = 4, inset = 2, minimumLength = 16;
    auto height = static_cast<float>(gtk_widget_get_height(widget));
    auto width = static_cast<float>(gtk_widget_get_width(widget));
    float length = std::max(minimumLength, static_cast<float>(height * scroll.Viewport.Height / scroll.Extent.Height));
    float travel = std::max(0.0f, height - length);
    float position = travel * static_cast<float>(std::clamp(scroll.VerticalOffset / hidden, 0.0, 1.0));
    graphene_rect_t thumb = GRAPHENE_RECT_INIT(width - thickness - inset, position, thickness, length);
    GskRoundedRect shape;
    gsk_rounded_rect_init_from_rect(&shape, &thumb, thickness / 2);
    GdkRGBA color{0.5f, 0.5f, 0.5f, 0.6f};
    gtk_snapshot_push_rounded_clip(snapshot, &shape);
    gtk_snapshot_append_color(snapshot, &color, &thumb);
    gtk_snapshot_pop(snapshot);
}

void ContainerMeasure(GtkWidget* widget, GtkOrientation orientation, int, int* minimum, int* natural,
                      int* minimumBaseline, int* naturalBaseline)
{
    *minimum = 0;
    *natural = 0;
    if (const ui::Element* element = WidgetElement(widget)) {
        double wanted = orientation == GTK_ORIENTATION_HORIZONTAL ? element->Width() : element->Height();
        if (!ui::IsAuto(wanted) && wanted > 0)
            *natural = static_cast<int>(std::ceil(wanted));
    }
    *minimumBaseline = -1;
    *naturalBaseline = -1;
}

void ContainerSizeAllocate(GtkWidget* widget, int width, int height, int)
{
    ContainerState& state = StateOf(widget);
    if (state.LayoutHook) {
        // Copy: the hook may change the model, which may replace the hook.
        auto hook = state.LayoutHook;
        hook(width, height);
    }
    PlaceChildren(widget, static_cast<bool>(state.LayoutHook));
}

void ContainerSnapshot(GtkWidget* widget, GtkSnapshot* snapshot)
{
    const ContainerState& state = StateOf(widget);
    PaintBackground(widget, snapshot, state.Paint);
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child; child = gtk_widget_get_next_sibling(child))
        gtk_widget_snapshot_child(widget, child, snapshot);
    PaintScrollIndicator(widget, snapshot, state.Scroll);
    PaintBorder(widget, snapshot, state.Paint);
}

gboolean ContainerContains(GtkWidget* widget, double x, double y)
{
    const ContainerState& state = StateOf(widget);
    if (!state.TargetsEmptyArea && !state.Paint.Background)
        return FALSE;
    return GTK_WIDGET_CLASS(tolvane_element_container_parent_class)->contains(widget, x, y);
}

} // namespace
} // namespace gtkui

static void tolvane_element_container_dispose(GObject* object)
{
    GtkWidget* widget = GTK_WIDGET(object);
    while (GtkWidget* child = gtk_widget_get_first_child(widget))
        gtk_widget_unparent(child);
    G_OBJECT_CLASS(tolvane_element_container_parent_class)->dispose(object);
}

static void tolvane_element_container_finalize(GObject* object)
{
    delete TOLVANE_ELEMENT_CONTAINER(object)->state;
    G_OBJECT_CLASS(tolvane_element_container_parent_class)->finalize(object);
}

static void tolvane_element_container_class_init(TolvaneElementContainerClass* klass)
{
    GObjectClass* objectClass = G_OBJECT_CLASS(klass);
    objectClass->dispose = tolvane_element_container_dispose;
    objectClass->finalize = tolvane_element_container_finalize;
    GtkWidgetClass* widgetClass = GTK_WIDGET_CLASS(klass);
    widgetClass->measure = gtkui::ContainerMeasure;
    widgetClass->size_allocate = gtkui::ContainerSizeAllocate;
    widgetClass->snapshot = gtkui::ContainerSnapshot;
    widgetClass->contains = gtkui::ContainerContains;
    gtk_widget_class_set_css_name(widgetClass, "tolvane-panel");
}

static void tolvane_element_container_init(TolvaneElementContainer* self)
{
    self->state = new gtkui::ContainerState();
    gtk_widget_set_overflow(GTK_WIDGET(self), GTK_OVERFLOW_HIDDEN);
}

namespace gtkui {

GtkWidget* ElementContainerNew()
{
    return GTK_WIDGET(g_object_new(tolvane_element_container_get_type(), nullptr));
}

bool IsElementContainer(GtkWidget* widget)
{
    return widget && TOLVANE_IS_ELEMENT_CONTAINER(widget);
}

void ElementContainerSetPaint(GtkWidget* container, const ContainerPaint& paint)
{
    ContainerState& state = StateOf(container);
    if (state.Paint == paint)
        return;
    state.Paint = paint;
    gtk_widget_queue_draw(container);
}

void ElementContainerSetScroll(GtkWidget* container, const ContainerScroll& scroll)
{
    ContainerState& state = StateOf(container);
    if (state.Scroll == scroll)
        return;
    state.Scroll = scroll;
    gtk_widget_queue_draw(container);
}

void ElementContainerSetTargetsEmptyArea(GtkWidget* container, bool targets)
{
    StateOf(container).TargetsEmptyArea = targets;
}

void ElementContainerSetLayoutHook(GtkWidget* container, std::function<void(int, int)> hook)
{
    StateOf(container).LayoutHook = std::move(hook);
    gtk_widget_queue_allocate(container);
}

void SetWidgetElement(GtkWidget* widget, const ui::Element* element)
{
    g_object_set_qdata(G_OBJECT(widget), ElementQuark(), const_cast<ui::Element*>(element));
}

const ui::Element* WidgetElement(GtkWidget* widget)
{
    return static_cast<const ui::Element*>(g_object_get_qdata(G_OBJECT(widget), ElementQuark()));
}

} // namespace gtkui
