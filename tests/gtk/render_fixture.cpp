#include "tests/gtk/render_fixture.h"

#include <cairo.h>

#include "platform/gtk/element_container.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/ui/layout.h"

namespace gtktest {

void RenderFixture::SetUp()
{
    if (!gtk_is_initialized())
        gtk_init();
}

void RenderFixture::TearDown()
{
    m_renderer.reset();
    if (m_window) {
        if (GdkFrameClock* clock = gtk_widget_get_frame_clock(GTK_WIDGET(m_window)))
            g_signal_handlers_disconnect_by_data(clock, &m_frames);
        gtk_window_destroy(m_window);
    }
    m_root.reset();
    m_window = nullptr;
    PumpUntil([] { return !g_main_context_pending(nullptr); }, 500);
}

void RenderFixture::Show(std::unique_ptr<ui::Element> root, int width, int height)
{
    m_root = std::move(root);
    m_renderer = std::make_unique<gtkui::Renderer>(*m_root);
    m_window = GTK_WINDOW(gtk_window_new());
    gtk_window_set_default_size(m_window, width, height);
    gtk_window_set_child(m_window, m_renderer->RootWidget());
    gtk_window_present(m_window);
    GtkWidget* host = m_renderer->RootWidget();
    ASSERT_TRUE(PumpUntil([&] {
        return gtk_widget_get_mapped(host) && gtk_widget_get_width(host) == width &&
               gtk_widget_get_height(host) == height;
    })) << "the window never reached " << width << "x" << height;
    GdkFrameClock* clock = gtk_widget_get_frame_clock(GTK_WIDGET(m_window));
    g_signal_connect(clock, "after-paint", G_CALLBACK(+[](GdkFrameClock*, int* frames) { ++*frames; }), &m_frames);
    NextFrames();
}

bool RenderFixture::PumpUntil(const std::function<bool()>& done, int timeoutMs)
{
    gint64 end = g_get_monotonic_time() + gint64{timeoutMs} * 1000;
    while (!done()) {
        if (g_get_monotonic_time() > end)
            return false;
        if (!g_main_context_iteration(nullptr, FALSE))
            g_usleep(1000);
    }
    return true;
}

void RenderFixture::NextFrames(int frames)
{
    for (int i = 0; i < frames; ++i) {
        // Ask for a frame even when nothing is dirty, then wait for its paint.
        gtk_widget_queue_draw(m_renderer->RootWidget());
        int target = m_frames + 1;
        PumpUntil([&] { return m_frames >= target; });
    }
}

GtkWidget* RenderFixture::WidgetOf(const ui::Element& element)
{
    return m_renderer->WidgetFor(element);
}

graphene_rect_t RenderFixture::Bounds(const ui::Element& element)
{
    graphene_rect_t bounds = GRAPHENE_RECT_INIT(-1, -1, -1, -1);
    GtkWidget* widget = WidgetOf(element);
    if (widget && !gtk_widget_compute_bounds(widget, m_renderer->RootWidget(), &bounds))
        bounds = GRAPHENE_RECT_INIT(-1, -1, -1, -1);
    return bounds;
}

const ui::Element* RenderFixture::ElementAt(double x, double y)
{
    for (GtkWidget* w = gtk_widget_pick(m_renderer->RootWidget(), x, y, GTK_PICK_DEFAULT); w;
         w = gtk_widget_get_parent(w)) {
        if (const ui::Element* element = gtkui::WidgetElement(w))
            return element;
    }
    return nullptr;
}

uint32_t RenderFixture::PixelAt(int x, int y)
{
    GtkWidget* host = m_renderer->RootWidget();
    int width = gtk_widget_get_width(host);
    int height = gtk_widget_get_height(host);
    auto paintable = gtkui::Adopt(gtk_widget_paintable_new(host));
    GtkSnapshot* snapshot = gtk_snapshot_new();
    gdk_paintable_snapshot(GDK_PAINTABLE(paintable.Get()), snapshot, width, height);
    GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);

    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    if (node)
        gsk_render_node_draw(node, cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    uint32_t pixel = reinterpret_cast<const uint32_t*>(row)[x];
    cairo_surface_destroy(surface);
    if (node)
        gsk_render_node_unref(node);
    return pixel;
}

GtkEventController* FindController(GtkWidget* widget, GType type)
{
    GListModel* controllers = gtk_widget_observe_controllers(widget);
    GtkEventController* found = nullptr;
    for (guint i = 0; i < g_list_model_get_n_items(controllers) && !found; ++i) {
        auto controller = gtkui::Adopt(static_cast<GtkEventController*>(g_list_model_get_item(controllers, i)));
        if (G_TYPE_CHECK_INSTANCE_TYPE(controller.Get(), type))
            found = controller.Get(); // the widget keeps it alive
    }
    g_object_unref(controllers);
    return found;
}

graphene_rect_t LayoutBounds(const ui::Element& element)
{
    ui::Rect r = ui::AbsoluteRect(element);
    return GRAPHENE_RECT_INIT(static_cast<float>(r.X), static_cast<float>(r.Y), static_cast<float>(r.Width),
                              static_cast<float>(r.Height));
}

} // namespace gtktest
