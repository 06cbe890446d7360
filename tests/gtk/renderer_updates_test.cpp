// Changes made to the model after the widgets exist reach them, and
// children added or removed create or destroy their widgets.
#include "platform/gtk/native_element.h"
#include "tests/gtk/render_fixture.h"

namespace gtktest {
namespace {

using ui::Color;

class RendererUpdatesTest : public RenderFixture {};

GdkRGBA TextColor(GtkWidget* widget)
{
    GdkRGBA color;
    gtk_style_context_get_color(gtk_widget_get_style_context(widget), &color);
    return color;
}

std::string LabelText(GtkWidget* widget)
{
    if (GTK_IS_BUTTON(widget))
        widget = gtk_button_get_child(GTK_BUTTON(widget));
    return gtk_label_get_text(GTK_LABEL(widget));
}

TEST_F(RendererUpdatesTest, PropertyChangesAfterCreationReachTheWidgets)
{
    auto root = std::make_unique<ui::StackPanel>();
    auto& title = root->Append(std::make_unique<ui::TextBlock>());
    title.SetText("Loading");
    auto& below = root->Append(std::make_unique<ui::TextBlock>());
    below.SetText("below");
    auto& swatch = root->Append(std::make_unique<ui::Border>());
    swatch.SetHeight(40);
    swatch.SetBackground(Color::FromRgb(255, 0, 0));
    auto& glyph = root->Append(std::make_unique<ui::Button>());
    glyph.SetContent("\uE103");
    glyph.SetHeight(40);
    glyph.SetWidth(60);
    glyph.SetBackground(Color::FromRgb(0, 128, 0));
    Show(std::move(root));
    float swatchTop = Bounds(swatch).origin.y;
    const GdkRGBA white{1, 1, 1, 1};
    const GdkRGBA red{1, 0, 0, 1};
    GdkRGBA color = TextColor(WidgetOf(title));
    EXPECT_TRUE(gdk_rgba_equal(&color, &white)) << "text without a foreground is light, as in the dark theme";

    title.SetText("Example \"quoted\" \u00e9t\u00e9 \u4e2d\u6587");
    swatch.SetBackground(Color::FromRgb(0, 0, 255));
    glyph.SetFontFamily("Segoe MDL2 Assets");
    glyph.SetBackground(Color::FromRgb(255, 255, 0));
    below.SetVisibility(ui::Visibility::Collapsed);
    title.SetForeground(Color::Red());
    NextFrames();
    color = TextColor(WidgetOf(title));
    EXPECT_TRUE(gdk_rgba_equal(&color, &red));

    EXPECT_EQ(LabelText(WidgetOf(title)), "Example \"quoted\" \u00e9t\u00e9 \u4e2d\u6587");
    EXPECT_EQ(LabelText(WidgetOf(glyph)), "\u2016") << "the pause glyph shows as a symbol once the font says so";
    EXPECT_FALSE(gtk_widget_get_visible(WidgetOf(below)));
    graphene_rect_t s = Bounds(swatch);
    EXPECT_LT(s.origin.y, swatchTop) << "the collapsed text no longer takes space";
    EXPECT_EQ(PixelAt(100, static_cast<int>(s.origin.y) + 20), 0xFF0000FFu);
    graphene_rect_t g = Bounds(glyph);
    EXPECT_EQ(PixelAt(static_cast<int>(g.origin.x) + 3, static_cast<int>(g.origin.y) + 3), 0xFFFFFF00u)
        << "the button is flat in its own background";

    glyph.SetOpacity(0);
    NextFrames();
    EXPECT_EQ(gtk_widget_get_opacity(WidgetOf(glyph)), 0);
    EXPECT_FALSE(gtk_widget_get_can_target(WidgetOf(glyph)));
}

TEST_F(RendererUpdatesTest, ChildrenAddedAndRemovedCreateAndDestroyTheirWidgets)
{
    auto root = std::make_unique<ui::StackPanel>();
    auto& list = root->Append(std::make_unique<ui::StackPanel>());
    auto& last = list.Append(std::make_unique<ui::TextBlock>());
    last.SetText("last");
    Show(std::move(root));

    // A row built in code, inserted first: a panel with a caption and a button.
    auto row = std::make_unique<ui::StackPanel>();
    auto& caption = row->Append(std::make_unique<ui::TextBlock>());
    caption.SetText("first");
    auto& remove = row->Append(std::make_unique<ui::Button>());
    remove.SetContent("x");
    ui::StackPanel& added = static_cast<ui::StackPanel&>(*row);
    list.Insert(0, std::move(row));
    NextFrames();

    GtkWidget* rowWidget = WidgetOf(added);
    ASSERT_NE(rowWidget, nullptr);
    EXPECT_EQ(gtk_widget_get_first_child(WidgetOf(list)), rowWidget) << "widget order follows the children";
    EXPECT_EQ(gtk_widget_get_parent(WidgetOf(remove)), rowWidget);
    EXPECT_EQ(LabelText(WidgetOf(caption)), "first");
    EXPECT_LT(Bounds(caption).origin.y, Bounds(last).origin.y);

    GtkWidget* removeWidget = WidgetOf(remove);
    g_object_add_weak_pointer(G_OBJECT(rowWidget), reinterpret_cast<gpointer*>(&rowWidget));
    g_object_add_weak_pointer(G_OBJECT(removeWidget), reinterpret_cast<gpointer*>(&removeWidget));
    list.RemoveAt(0);
    NextFrames();
    EXPECT_EQ(rowWidget, nullptr) << "the row's widget is destroyed";
    EXPECT_EQ(removeWidget, nullptr) << "and so are its children's";
    EXPECT_NEAR(Bounds(last).origin.y, 0, 1) << "the remaining child moves up";
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

TEST_F(RendererUpdatesTest, NativeWidgetsArePlacedAndGivenBackOnRemoval)
{
    auto root = std::make_unique<ui::Grid>();
    root->SetRowDefinitions({ui::GridLength::Pixels(50), ui::GridLength::Star()});
    auto& host = root->Append(std::make_unique<ui::Grid>());
    host.SetGridRow(1);
    auto& view = host.Append(std::make_unique<FakeNativeElement>());
    Show(std::move(root), 400, 300);

    GtkWidget* native = view.NativeWidget();
    EXPECT_EQ(WidgetOf(view), native);
    graphene_rect_t b = Bounds(view);
    EXPECT_FLOAT_EQ(b.origin.y, 50);
    EXPECT_FLOAT_EQ(b.size.height, 250);

    std::unique_ptr<ui::Element> detached = host.RemoveAt(0);
    NextFrames();
    EXPECT_EQ(gtk_widget_get_parent(native), nullptr);
    EXPECT_TRUE(GTK_IS_LABEL(native)) << "the adapter still owns its widget";
}

} // namespace
} // namespace gtktest
