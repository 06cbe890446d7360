// The renderer in a real window (under Xvfb).
#include <cairo.h>

#include "platform/gtk/element_container.h"
#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/native_element.h"
#include "platform/gtk/renderer.h"
#include "platform/ui/element.h"
#include "platform/ui/layout.h"
#include "platform/ui/markup.h"
#include "tests/doubles/services.h"
#include "tests/gtk/web_view_fixture.h"

namespace {

using gtktests::WaitUntil;
using ui::Color;
using Texts = std::vector<std::string>;

class RendererTest : public ::testing::Test {
protected:
    void SetUp() override { gtk_init(); }
    void TearDown() override
    {
        m_renderer.reset();
        if (m_window)
            gtk_window_destroy(m_window);
        m_markup.Root.reset();
        WaitUntil([] { return !g_main_context_pending(nullptr); }, 500);
    }

    // Loads the markup, as the page is built, and renders it in a 400 by 300 window.
    void Load(const std::string& xml) { m_markup = ui::LoadMarkup(xml, doubles::FakeResources(), {}); }
    void Show(const std::string& xml = {})
    {
        if (!xml.empty())
            Load(xml);
        m_renderer = std::make_unique<gtkui::Renderer>(*m_markup.Root);
        m_window = GTK_WINDOW(gtk_window_new());
        gtk_window_set_default_size(m_window, 400, 300);
        gtk_window_set_child(m_window, Host());
        gtk_window_present(m_window);
        EXPECT_TRUE(WaitUntil([&] { return gtk_widget_get_mapped(Host()) && HostIs(400, 300); }, 3000));
        NextFrames();
    }
    GtkWidget* Host() { return m_renderer->RootWidget(); }
    bool HostIs(int width, int height)
    {
        return gtk_widget_get_width(Host()) == width && gtk_widget_get_height(Host()) == height;
    }
    // Lets the window lay out and paint at least one whole frame each.
    void NextFrames(int frames = 2)
    {
        GdkFrameClock* clock = gtk_widget_get_frame_clock(Host());
        for (int i = 0; i < frames; ++i) {
            bool painted = false;
            const gulong id = g_signal_connect_swapped(clock, "after-paint", G_CALLBACK(+[](bool* p) { *p = true; }),
                                                       &painted);
            gtk_widget_queue_draw(Host()); // a frame even when nothing is dirty
            WaitUntil([&] { return painted; }, 3000);
            g_signal_handler_disconnect(clock, id);
        }
    }
    GtkWidget* WidgetOf(const ui::Element& element) { return m_renderer->WidgetFor(element); }
    graphene_rect_t Bounds(const ui::Element& element)
    {
        graphene_rect_t bounds = GRAPHENE_RECT_INIT(-1, -1, -1, -1), none = bounds;
        GtkWidget* widget = WidgetOf(element);
        return widget && gtk_widget_compute_bounds(widget, Host(), &bounds) ? bounds : none;
    }
    // The element whose widget takes a click at this point of the root.
    const ui::Element* ElementAt(double x, double y)
    {
        for (GtkWidget* w = gtk_widget_pick(Host(), x, y, GTK_PICK_DEFAULT); w; w = gtk_widget_get_parent(w))
            if (const ui::Element* element = gtkui::WidgetElement(w))
                return element;
        return nullptr;
    }
    // The colour (0xAARRGGBB) drawn at a point of the root, over white.
    uint32_t PixelAt(int x, int y)
    {
        auto paintable = gtkui::Adopt(gtk_widget_paintable_new(Host()));
        GtkSnapshot* snapshot = gtk_snapshot_new();
        gdk_paintable_snapshot(GDK_PAINTABLE(paintable.Get()), snapshot, gtk_widget_get_width(Host()),
                               gtk_widget_get_height(Host()));
        GskRenderNode* node = gtk_snapshot_free_to_node(snapshot);
        uint32_t pixel = 0xFFFFFFFF;
        cairo_surface_t* surface = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(&pixel),
                                                                       CAIRO_FORMAT_ARGB32, 1, 1, 4);
        cairo_t* cr = cairo_create(surface);
        cairo_translate(cr, -x, -y);
        if (node)
            gsk_render_node_draw(node, cr), gsk_render_node_unref(node);
        cairo_destroy(cr);
        cairo_surface_destroy(surface);
        return pixel;
    }
    GtkEventController* Controller(const ui::Element& element, GType type)
    {
        GtkEventController* found = gtktests::FindController(
            WidgetOf(element), [&](GtkEventController* c) { return G_TYPE_CHECK_INSTANCE_TYPE(c, type); });
        EXPECT_NE(found, nullptr);
        return found;
    }
    static std::string LabelText(GtkWidget* widget)
    {
        return gtk_label_get_text(GTK_LABEL(GTK_IS_BUTTON(widget) ? gtk_button_get_child(GTK_BUTTON(widget)) : widget));
    }

    template <typename T = ui::Element>
    T& Get(const std::string& name) { return m_markup.Get<T>(name); }

    ui::LoadedMarkup m_markup;
    GtkWindow* m_window = nullptr;
    std::unique_ptr<gtkui::Renderer> m_renderer;
};

// Widgets sit at the layout engine's rects, nested and pulled over a
// neighbour by a negative margin, paint there, and follow a resize.
TEST_F(RendererTest, WidgetsSitWhereTheLayoutPutsThemBeforeAndAfterAResize)
{
    Show(R"(<Grid><Grid.RowDefinitions><RowDefinition Height="60"/><RowDefinition Height="*"/></Grid.RowDefinitions>
      <Grid.ColumnDefinitions><ColumnDefinition Width="*"/><ColumnDefinition Width="100"/></Grid.ColumnDefinitions>
      <StackPanel x:Name="Header" Margin="10,6,0,0"><TextBlock x:Name="Caption" Text="Example page"/>
        <Button x:Name="Close" Content="&#xE10A;" Margin="0,-20,0,0" HorizontalAlignment="Right"/></StackPanel>
      <Border x:Name="Side" Grid.Row="1" Grid.Column="1" Background="#FFFF0000"/></Grid>)");
    auto expectLaidOut = [&] {
        for (const char* name : {"Header", "Caption", "Close", "Side"}) {
            const ui::Rect r = ui::AbsoluteRect(Get(name));
            const graphene_rect_t b = Bounds(Get(name));
            EXPECT_EQ((std::vector<float>{b.origin.x, b.origin.y, b.size.width, b.size.height}),
                      (std::vector<float>{float(r.X), float(r.Y), float(r.Width), float(r.Height)}));
        }
    };
    expectLaidOut();
    EXPECT_EQ(PixelAt(350, 200), 0xFFFF0000u) << "the border paints its background";

    gtk_window_set_default_size(m_window, 600, 250);
    ASSERT_TRUE(WaitUntil([&] { return HostIs(600, 250); }, 3000)) << "the window did not resize";
    NextFrames();
    expectLaidOut();
    EXPECT_EQ(PixelAt(550, 200), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(350, 200), 0xFFFFFFFFu) << "nothing paints where the column was";
}

// Which of two stacked elements takes a click at their shared point: the
// later child, unless it cannot take input.
TEST_F(RendererTest, OnlyElementsThatTakeInputAreHit)
{
    Show(R"(<Grid><Button x:Name="Under" HorizontalAlignment="Stretch" VerticalAlignment="Stretch"/>
      <Button x:Name="Over" HorizontalAlignment="Stretch" VerticalAlignment="Stretch"/><Grid x:Name="Overlay"/></Grid>)");
    ui::Element &under = Get("Under"), &over = Get("Over"), &overlay = Get("Overlay"); // an empty panel above both
    const std::pair<std::function<void()>, const ui::Element*> cases[] = {
        {[] {}, &over},
        {[&] { over.SetOpacity(0.5); }, &over},
        {[&] { over.SetOpacity(0); }, &under},
        {[&] { over.SetVisibility(ui::Visibility::Collapsed); }, &under},
        {[&] { over.SetIsHitTestVisible(false); }, &under},
        {[&] { over.SetIsEnabled(false); }, &under},
        {[&] { overlay.SetBackground(Color::Transparent()); }, &overlay}, // a background, even transparent
        {[&] { overlay.SetBackground(Color::Transparent()), overlay.SetOpacity(0); }, &over},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        over.SetOpacity(1);
        over.SetVisibility(ui::Visibility::Visible);
        over.SetIsHitTestVisible(true);
        over.SetIsEnabled(true);
        overlay.SetBackground(std::nullopt);
        overlay.SetOpacity(1);
        cases[i].first();
        NextFrames();
        EXPECT_EQ(ElementAt(200, 150), cases[i].second) << "case " << i;
    }
}

TEST_F(RendererTest, WheelScrollsTheViewerThroughTheModelAndStopsAtTheEnd)
{
    Load(R"(<Grid><ScrollViewer x:Name="Viewer" Height="100" VerticalAlignment="Top">
      <StackPanel x:Name="List"/></ScrollViewer></Grid>)");
    auto& viewer = Get<ui::ScrollViewer>("Viewer");
    std::vector<ui::TextBlock*> rows;
    for (int i = 0; i < 10; ++i) {
        rows.push_back(&Get<ui::StackPanel>("List").Append(std::make_unique<ui::TextBlock>()));
        rows.back()->SetText("row " + std::to_string(i));
        rows.back()->SetHeight(30);
    }
    Show();
    EXPECT_FALSE(gtk_widget_get_mapped(WidgetOf(*rows[9]))) << "rows out of view are not drawn";
    GtkEventController* wheel = Controller(viewer, GTK_TYPE_EVENT_CONTROLLER_SCROLL);
    gboolean scrolled = FALSE;
    g_signal_emit_by_name(wheel, "scroll", 0.0, 1.0, &scrolled);
    NextFrames();
    EXPECT_TRUE(scrolled);
    EXPECT_GT(viewer.VerticalOffset(), 0);
    EXPECT_EQ(ElementAt(50, 5), rows[static_cast<size_t>(viewer.VerticalOffset() / 30)]) << "the content moved up";
    for (int i = 0; i < 20; ++i)
        g_signal_emit_by_name(wheel, "scroll", 0.0, 1.0, &scrolled);
    NextFrames();
    EXPECT_DOUBLE_EQ(viewer.VerticalOffset(), 200) << "300 of content in a 100 viewport";
    EXPECT_TRUE(gtk_widget_get_mapped(WidgetOf(*rows[9])));
    EXPECT_EQ(ElementAt(50, 95), rows[9]) << "a row scrolled into view is drawn and placed";
    EXPECT_FALSE(gtk_widget_get_mapped(WidgetOf(*rows[0])));
    g_signal_emit_by_name(wheel, "scroll", 0.0, 1.0, &scrolled);
    EXPECT_FALSE(scrolled) << "at the end the wheel goes to an outer viewer";
    EXPECT_EQ(ElementAt(50, 150), nullptr) << "rows below the viewport are clipped away";
}

// Model values reach the widgets, after creation too, without coming back as
// user input; user input reaches the model once; keys arrive as virtual codes.
TEST_F(RendererTest, ModelValuesReachTheWidgetsAndInputReachesTheModelOnce)
{
    Load(R"(<StackPanel><TextBlock x:Name="Title" Text="Loading"/><TextBlock x:Name="Below" Text="below"/>
      <Border x:Name="Swatch" Height="40" Background="#FFFF0000"/><Button x:Name="Glyph" Content="&#xE103;" Height="40" Width="60"/>
      <TextBox x:Name="Box"/><CheckBox x:Name="Check"/><TextBlock x:Name="Suggestion" Text="example.com"/></StackPanel>)");
    ui::Element &below = Get("Below"), &swatch = Get("Swatch"), &glyph = Get("Glyph"), &suggestion = Get("Suggestion");
    auto& title = Get<ui::TextBlock>("Title");
    auto& box = Get<ui::TextBox>("Box");
    auto& check = Get<ui::CheckBox>("Check");
    Texts events;
    box.TextChanged.Subscribe([&](ui::Element&) { events.push_back("text " + box.Text()); });
    suggestion.Tapped.Subscribe([&](ui::Element&) { events.push_back("tapped"); });
    Show();
    GdkRGBA color;
    gtk_style_context_get_color(gtk_widget_get_style_context(WidgetOf(title)), &color);
    EXPECT_EQ(color.red + color.green + color.blue, 3) << "text without a foreground is light, as in the dark theme";
    title.SetText("Example \"quoted\" \u00e9t\u00e9 \u4e2d\u6587");
    title.SetForeground(Color::Red());
    swatch.SetBackground(Color::FromRgb(0, 0, 255));
    glyph.SetFontFamily("Segoe MDL2 Assets");
    glyph.SetBackground(Color::FromRgb(255, 255, 0));
    below.SetVisibility(ui::Visibility::Collapsed);
    NextFrames();
    gtk_style_context_get_color(gtk_widget_get_style_context(WidgetOf(title)), &color);
    EXPECT_EQ(std::make_tuple(color.red, color.green, color.blue), std::make_tuple(1.0f, 0.0f, 0.0f));
    EXPECT_EQ(LabelText(WidgetOf(title)), "Example \"quoted\" \u00e9t\u00e9 \u4e2d\u6587");
    EXPECT_EQ(LabelText(WidgetOf(glyph)), "\u2016") << "the pause glyph shows as a symbol once the font says so";
    EXPECT_FALSE(gtk_widget_get_visible(WidgetOf(below)));
    const graphene_rect_t s = Bounds(swatch), g = Bounds(glyph);
    EXPECT_EQ(PixelAt(100, int(s.origin.y) + 20), 0xFF0000FFu);
    EXPECT_EQ(PixelAt(int(g.origin.x) + 3, int(g.origin.y) + 3), 0xFFFFFF00u) << "the button is flat in its own background";

    GtkEditable* entry = GTK_EDITABLE(WidgetOf(box));

    box.SetText("h\u00e9llo");
    EXPECT_EQ(events, (Texts{"text h\u00e9llo"}));
    EXPECT_STREQ(gtk_editable_get_text(entry), "h\u00e9llo");

    events.clear();
    int position = 5;
    gtk_editable_insert_text(entry, "!", -1, &position); // as typing does
    gtk_check_button_set_active(GTK_CHECK_BUTTON(WidgetOf(check)), TRUE);
    GtkEventController* tap = Controller(suggestion, GTK_TYPE_GESTURE_CLICK);
    g_signal_emit_by_name(tap, "released", 1, 5.0, 5.0);
    g_signal_emit_by_name(tap, "released", 2, 5.0, 5.0); // the second click of a double click
    EXPECT_EQ(events, (Texts{"text h\u00e9llo!", "tapped"}));
    EXPECT_EQ(check.IsChecked(), true);

    // Selections count UTF-16 units in the model and characters in GTK.
    box.SetText("\U0001F600ab");
    box.Select(2, 1);
    int start = 0, end = 0;
    gtk_editable_get_selection_bounds(entry, &start, &end);
    EXPECT_EQ(std::make_pair(start, end), std::make_pair(1, 2));
    gtk_editable_select_region(entry, 0, 3);
    EXPECT_EQ(std::make_pair(box.SelectionStart(), box.SelectionLength()), std::make_pair(0, 4));

    int key = 0;
    box.KeyDown.Subscribe([&](ui::Element&, ui::KeyEventArgs& args) { key = args.Key, args.Handled = key == 13; });
    GtkEventController* controller = Controller(box, GTK_TYPE_EVENT_CONTROLLER_KEY);
    const std::tuple<guint, guint, int> keys[] = { // key, hardware code, virtual code; a handled Enter stops there
        {GDK_KEY_Return, 36, 13}, {GDK_KEY_KP_Enter, 104, 13}, {GDK_KEY_a, 38, 65}, {GDK_KEY_Escape, 9, 27}};
    for (const auto& [keyval, code, virtualKey] : keys) {
        gboolean stopped = FALSE;
        g_signal_emit_by_name(controller, "key-pressed", keyval, code, GdkModifierType(0), &stopped);
        EXPECT_EQ(std::make_pair(key, bool(stopped)), std::make_pair(virtualKey, virtualKey == 13)) << keyval;
    }
}

// An adapter's element (a web view) brings its own widget, which outlives
// the element's place in the tree.
class FakeNativeElement : public ui::Element, public gtkui::NativeElement {
public:
    FakeNativeElement() : m_widget(gtkui::RefSink(gtk_label_new("engine"))) {}
    ui::ElementKind Kind() const override { return ui::ElementKind::WebView; }
    GtkWidget* NativeWidget() override { return m_widget.Get(); }

private:
    gtkui::GObjectPtr<GtkWidget> m_widget;
};

TEST_F(RendererTest, ChildrenAddedAndRemovedMakeAndDropTheirWidgetsButNotNativeOnes)
{
    Load(R"(<Grid><Grid.RowDefinitions><RowDefinition Height="50"/><RowDefinition Height="*"/></Grid.RowDefinitions>
      <StackPanel x:Name="List"><TextBlock x:Name="Last" Text="last"/></StackPanel><Grid x:Name="Host" Grid.Row="1"/></Grid>)");
    ui::Panel &list = Get<ui::Panel>("List"), &host = Get<ui::Panel>("Host");
    auto& last = Get("Last");
    auto& view = host.Append(std::make_unique<FakeNativeElement>());
    Show();
    GtkWidget* native = view.NativeWidget();
    EXPECT_EQ(WidgetOf(view), native);
    EXPECT_EQ(Bounds(view).origin.y + Bounds(view).size.height, 300);

    auto row = std::make_unique<ui::StackPanel>();
    ui::Element& added = *row;
    auto& caption = row->Append(std::make_unique<ui::TextBlock>());
    caption.SetText("first");
    list.Insert(0, std::move(row));
    NextFrames();
    GtkWidget* rowWidget = WidgetOf(added);
    GtkWidget* captionWidget = WidgetOf(caption);
    ASSERT_NE(rowWidget, nullptr);
    EXPECT_EQ(gtk_widget_get_first_child(WidgetOf(list)), rowWidget) << "widget order follows the children";
    EXPECT_EQ(gtk_widget_get_parent(captionWidget), rowWidget);
    EXPECT_LT(Bounds(caption).origin.y, Bounds(last).origin.y);

    g_object_add_weak_pointer(G_OBJECT(rowWidget), reinterpret_cast<gpointer*>(&rowWidget));
    g_object_add_weak_pointer(G_OBJECT(captionWidget), reinterpret_cast<gpointer*>(&captionWidget));
    list.RemoveAt(0);
    std::unique_ptr<ui::Element> detached = host.RemoveAt(0);
    NextFrames();
    EXPECT_EQ(rowWidget, nullptr) << "the row's widget is destroyed";
    EXPECT_EQ(captionWidget, nullptr) << "and so are its children's";
    EXPECT_NEAR(Bounds(last).origin.y, 0, 1) << "the remaining child moves up";
    EXPECT_EQ(gtk_widget_get_parent(native), nullptr);
    EXPECT_TRUE(GTK_IS_LABEL(native)) << "the adapter still owns its widget";
}

} // namespace
