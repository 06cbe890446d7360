// Widgets sit where the layout engine puts them, take clicks as the
// elements would, and follow window resizes and scrolling.
#include <cmath>

#include "tests/gtk/render_fixture.h"

namespace gtktest {
namespace {

using ui::Color;
using ui::GridLength;

void ExpectPlacedAsLaidOut(RenderFixture& fixture, const ui::Element& element, graphene_rect_t bounds)
{
    graphene_rect_t laidOut = LayoutBounds(element);
    EXPECT_NEAR(bounds.origin.x, laidOut.origin.x, 1) << element.Name();
    EXPECT_NEAR(bounds.origin.y, laidOut.origin.y, 1) << element.Name();
    EXPECT_NEAR(bounds.size.width, laidOut.size.width, 1) << element.Name();
    EXPECT_NEAR(bounds.size.height, laidOut.size.height, 1) << element.Name();
}

class RendererLayoutTest : public RenderFixture {};

// A tab header as the strip builds it: a caption button, and a close glyph
// pulled up over the caption's right end by a negative top margin.
TEST_F(RendererLayoutTest, NegativeMarginPutsTheCloseButtonOverTheCaption)
{
    auto root = std::make_unique<ui::Grid>();
    root->SetRowDefinitions({GridLength::Pixels(40), GridLength::Star()});
    auto& strip = root->Append(std::make_unique<ui::StackPanel>());
    strip.SetOrientation(ui::Orientation::Horizontal);
    auto& header = strip.Append(std::make_unique<ui::StackPanel>());
    header.SetName("header");
    header.SetWidth(200);
    header.SetMargin({10, 6, 0, 0});
    auto& caption = header.Append(std::make_unique<ui::Button>());
    caption.SetName("caption");
    caption.SetContent("Example page");
    caption.SetHeight(28);
    caption.SetHorizontalAlignment(ui::HorizontalAlignment::Stretch);
    auto& close = header.Append(std::make_unique<ui::Button>());
    close.SetName("close");
    close.SetFontFamily("Segoe MDL2 Assets");
    close.SetContent("\uE10A");
    close.SetWidth(35);
    close.SetHeight(28);
    close.SetMargin({0, -28, 0, 0});
    close.SetHorizontalAlignment(ui::HorizontalAlignment::Right);
    auto& body = root->Append(std::make_unique<ui::Border>());
    body.SetName("body");
    body.SetGridRow(1);
    body.SetBackground(Color::FromRgb(0, 0, 255));
    Show(std::move(root));

    for (const ui::Element* e : {static_cast<ui::Element*>(&header), static_cast<ui::Element*>(&caption),
                                 static_cast<ui::Element*>(&close), static_cast<ui::Element*>(&body)})
        ExpectPlacedAsLaidOut(*this, *e, Bounds(*e));

    graphene_rect_t c = Bounds(caption);
    graphene_rect_t x = Bounds(close);
    EXPECT_FLOAT_EQ(c.origin.x, 10);
    EXPECT_FLOAT_EQ(c.size.width, 200);
    EXPECT_FLOAT_EQ(x.origin.y, c.origin.y) << "the close button shares the caption's line";
    EXPECT_FLOAT_EQ(x.origin.x + x.size.width, c.origin.x + c.size.width) << "at the caption's right end";
    // Later children are on top: the glyph takes the click, the rest of the caption its own.
    EXPECT_EQ(ElementAt(x.origin.x + 10, x.origin.y + 10), &close);
    EXPECT_EQ(ElementAt(c.origin.x + 20, c.origin.y + 10), &caption);
    EXPECT_EQ(PixelAt(200, 200), 0xFF0000FFu) << "the body border paints its background";
}

// Which of two stacked elements takes a click at their shared point.
TEST_F(RendererLayoutTest, OnlyElementsThatTakeInputAreHit)
{
    auto root = std::make_unique<ui::Grid>();
    auto& under = root->Append(std::make_unique<ui::Button>());
    under.SetContent("under");
    under.SetHorizontalAlignment(ui::HorizontalAlignment::Stretch);
    under.SetVerticalAlignment(ui::VerticalAlignment::Stretch);
    auto& over = root->Append(std::make_unique<ui::Button>());
    over.SetContent("over");
    over.SetHorizontalAlignment(ui::HorizontalAlignment::Stretch);
    over.SetVerticalAlignment(ui::VerticalAlignment::Stretch);
    auto& overlay = root->Append(std::make_unique<ui::Grid>()); // an empty panel above both
    Show(std::move(root));

    struct Case {
        const char* name;
        std::function<void()> change;
        const ui::Element* hit;
    };
    const Case cases[] = {
        {"as built", [] {}, &over},
        {"half transparent", [&] { over.SetOpacity(0.5); }, &over},
        {"fully transparent", [&] { over.SetOpacity(0); }, &under},
        {"collapsed", [&] { over.SetVisibility(ui::Visibility::Collapsed); }, &under},
        {"not hit-test visible", [&] { over.SetIsHitTestVisible(false); }, &under},
        {"disabled", [&] { over.SetIsEnabled(false); }, &under},
        {"overlay with a transparent background", [&] { overlay.SetBackground(Color::Transparent()); }, &overlay},
        {"overlay with a background, at opacity 0", [&] {
             overlay.SetBackground(Color::Transparent());
             overlay.SetOpacity(0);
         }, &over},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        over.SetOpacity(1);
        over.SetVisibility(ui::Visibility::Visible);
        over.SetIsHitTestVisible(true);
        over.SetIsEnabled(true);
        overlay.SetBackground(std::nullopt);
        overlay.SetOpacity(1);
        c.change();
        NextFrames();
        EXPECT_EQ(ElementAt(200, 150), c.hit);
    }
    over.SetVisibility(ui::Visibility::Collapsed);
    NextFrames();
    EXPECT_FALSE(gtk_widget_get_visible(WidgetOf(over)));
}

TEST_F(RendererLayoutTest, WindowResizeLaysTheTreeOutAgain)
{
    auto root = std::make_unique<ui::Grid>();
    root->SetColumnDefinitions({GridLength::Star(), GridLength::Pixels(100)});
    auto& side = root->Append(std::make_unique<ui::Border>());
    side.SetGridColumn(1);
    side.SetBackground(Color::FromRgb(255, 0, 0));
    Show(std::move(root), 400, 300);
    EXPECT_FLOAT_EQ(Bounds(side).origin.x, 300);

    gtk_window_set_default_size(Window(), 600, 250);
    GtkWidget* host = Renderer().RootWidget();
    ASSERT_TRUE(PumpUntil([&] { return gtk_widget_get_width(host) == 600; })) << "the window did not resize";
    NextFrames();
    graphene_rect_t bounds = Bounds(side);
    EXPECT_FLOAT_EQ(bounds.origin.x, 500);
    EXPECT_FLOAT_EQ(bounds.size.height, 250);
    EXPECT_EQ(PixelAt(550, 200), 0xFFFF0000u);
    EXPECT_EQ(PixelAt(450, 200), 0xFFFFFFFFu) << "nothing paints where the column was";
}

TEST_F(RendererLayoutTest, WheelScrollsTheViewerThroughTheModelAndStopsAtTheEnd)
{
    auto root = std::make_unique<ui::Grid>();
    auto& viewer = root->Append(std::make_unique<ui::ScrollViewer>());
    viewer.SetHeight(100);
    viewer.SetVerticalAlignment(ui::VerticalAlignment::Top);
    auto& list = viewer.Append(std::make_unique<ui::StackPanel>());
    std::vector<ui::TextBlock*> rows;
    for (int i = 0; i < 10; ++i) {
        auto& row = list.Append(std::make_unique<ui::TextBlock>());
        row.SetText("row " + std::to_string(i));
        row.SetHeight(30);
        rows.push_back(&row);
    }
    Show(std::move(root));
    GtkEventController* wheel = FindController(WidgetOf(viewer), GTK_TYPE_EVENT_CONTROLLER_SCROLL);
    ASSERT_NE(wheel, nullptr);

    gboolean scrolled = FALSE;
    g_signal_emit_by_name(wheel, "scroll", 0.0, 1.0, &scrolled);
    NextFrames();
    EXPECT_TRUE(scrolled);
    EXPECT_GT(viewer.VerticalOffset(), 0);
    EXPECT_NEAR(Bounds(*rows[0]).origin.y, -viewer.VerticalOffset(), 1) << "the content moved up";
    EXPECT_EQ(ElementAt(50, 5), rows[static_cast<size_t>(viewer.VerticalOffset() / 30)]);

    for (int i = 0; i < 20; ++i)
        g_signal_emit_by_name(wheel, "scroll", 0.0, 1.0, &scrolled);
    NextFrames();
    EXPECT_DOUBLE_EQ(viewer.VerticalOffset(), 200) << "300 of content in a 100 viewport";
    g_signal_emit_by_name(wheel, "scroll", 0.0, 1.0, &scrolled);
    EXPECT_FALSE(scrolled) << "at the end the wheel goes to an outer viewer";
    EXPECT_NEAR(Bounds(*rows[9]).origin.y, 70, 1);
    EXPECT_EQ(ElementAt(50, 150), nullptr) << "rows below the viewport are clipped away";
}

} // namespace
} // namespace gtktest
