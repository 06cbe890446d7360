#include <cairo.h>
#include "tests/gtk/render_fixture.h"
#include "platform/gtk/gobject_ptr.h"
namespace gtktest {
class DemoTest : public RenderFixture {
protected:
  void Save(const char* path) {
    GtkWidget* host = Renderer().RootWidget();
    int w = gtk_widget_get_width(host), h = gtk_widget_get_height(host);
    auto paintable = gtkui::Adopt(gtk_widget_paintable_new(host));
    GtkSnapshot* s = gtk_snapshot_new();
    gdk_paintable_snapshot(GDK_PAINTABLE(paintable.Get()), s, w, h);
    GskRenderNode* node = gtk_snapshot_free_to_node(s);
    cairo_surface_t* surf = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(surf); cairo_set_source_rgb(cr,1,1,1); cairo_paint(cr);
    gsk_render_node_draw(node, cr); cairo_destroy(cr); cairo_surface_write_to_png(surf, path); cairo_surface_destroy(surf); gsk_render_node_unref(node);
  }
};
TEST_F(DemoTest, Shot) {
  using namespace ui;
  auto root = std::make_unique<Grid>();
  root->SetRowDefinitions({GridLength::Pixels(40), GridLength::Pixels(44), GridLength::Star()});
  root->SetBackground(Color::FromRgb(240,240,240));
  auto& strip = root->Append(std::make_unique<StackPanel>());
  strip.SetOrientation(Orientation::Horizontal);
  strip.SetBackground(Color::FromRgb(32,32,32));
  for (int i = 0; i < 3; ++i) {
    auto& header = strip.Append(std::make_unique<StackPanel>());
    header.SetWidth(180); header.SetMargin({4,6,0,0});
    auto& cap = header.Append(std::make_unique<Button>());
    cap.SetContent(i == 1 ? "Example Domain with a very long title" : "Página inicial"); cap.SetHeight(28); cap.SetHorizontalAlignment(HorizontalAlignment::Stretch);
    cap.SetHorizontalContentAlignment(HorizontalAlignment::Left);
    cap.SetBackground(Color::FromRgb(i==0?80:55,55,55)); cap.SetForeground(Color::White()); cap.SetPadding({8,0,40,0}); cap.SetFontSize(13);
    auto& close = header.Append(std::make_unique<Button>());
    close.SetFontFamily("Segoe MDL2 Assets"); close.SetContent("\uE10A"); close.SetFontSize(15); close.SetWidth(35); close.SetHeight(28);
    close.SetMargin({0,-28,0,0}); close.SetPadding({0,0,0,1}); close.SetBackground(Color::Transparent()); close.SetForeground(Color::Red());
    close.SetHorizontalAlignment(HorizontalAlignment::Right); close.SetBorderThickness(0);
  }
  auto& bar = root->Append(std::make_unique<Grid>());
  bar.SetGridRow(1);
  bar.SetColumnDefinitions({GridLength::Auto(), GridLength::Auto(), GridLength::Star(), GridLength::Auto()});
  const char* glyphs[] = {"\uE72B", "\uE72A"};
  for (int i = 0; i < 2; ++i) { auto& b = bar.Append(std::make_unique<Button>()); b.SetGridColumn(i); b.SetFontFamily("Segoe MDL2 Assets"); b.SetContent(glyphs[i]); b.SetWidth(40); b.SetHeight(36); b.SetBackground(Color::Transparent()); b.SetMargin({2,0,0,0}); }
  auto& addr = bar.Append(std::make_unique<TextBox>()); addr.SetGridColumn(2); addr.SetText("https://example.com/"); addr.SetMargin({6,4,6,4}); addr.SetVerticalAlignment(VerticalAlignment::Center);
  auto& ring = bar.Append(std::make_unique<ProgressRing>()); ring.SetGridColumn(3); ring.SetIsActive(true); ring.SetMargin({0,0,8,0});
  auto& body = root->Append(std::make_unique<Grid>()); body.SetGridRow(2);
  body.SetColumnDefinitions({GridLength::Star(), GridLength::Pixels(300)});
  auto& panel = body.Append(std::make_unique<Border>()); panel.SetGridColumn(1); panel.SetBackground(Color::White()); panel.SetBorderBrush(Color::FromRgb(200,200,200)); panel.SetBorderThickness(1); panel.SetCornerRadius(6); panel.SetMargin({0,8,8,8}); panel.SetPadding({10,10,10,10});
  auto& sv = panel.Append(std::make_unique<ScrollViewer>());
  auto& list = sv.Append(std::make_unique<StackPanel>());
  auto& hdr = list.Append(std::make_unique<TextBlock>()); hdr.SetText("Favorites"); hdr.SetFontWeight(FontWeight::SemiBold); hdr.SetFontSize(16);
  for (int i = 0; i < 12; ++i) {
    auto& g = list.Append(std::make_unique<TextBlock>()); g.SetFontFamily("Segoe MDL2 Assets"); g.SetText(i%2? "\uE1CF":"\uE81C"); g.SetFontSize(15); g.SetForeground(Color::FromRgb(247,203,0)); g.SetMargin({0,9.5,0,-22}); g.SetHorizontalAlignment(HorizontalAlignment::Left);
    auto& e = list.Append(std::make_unique<TextBlock>()); e.SetText("Entry number " + std::to_string(i) + " with a long text that will be ellipsized"); e.SetFontSize(13); e.SetHeight(35); e.SetPadding({20,5,10,5}); e.SetForeground(Color::FromRgb(32,32,32));
  }
  auto& settings = body.Append(std::make_unique<StackPanel>()); settings.SetMargin({20,20,0,0});
  auto& ts = settings.Append(std::make_unique<ToggleSwitch>()); ts.SetHeader("Restore tabs"); ts.SetIsOn(true);
  auto& cb = settings.Append(std::make_unique<CheckBox>()); cb.SetContent("Block pop-ups"); cb.SetIsChecked(true);
  auto& combo = settings.Append(std::make_unique<ComboBox>()); combo.SetItems({"English", "Português"}); combo.SetSelectedIndex(1);
  auto& pb = settings.Append(std::make_unique<ProgressBar>()); pb.SetValue(40); pb.SetWidth(200); pb.SetForeground(Color::FromRgb(0,120,215)); pb.SetMargin({0,10,0,0}); pb.SetHorizontalAlignment(HorizontalAlignment::Left);
  auto& tb = settings.Append(std::make_unique<TextBlock>()); tb.SetText("Wrapped text block that goes over several lines because it is long enough to wrap."); tb.SetTextWrapping(TextWrapping::Wrap); tb.SetWidth(250); tb.SetMargin({0,10,0,0}); tb.SetHorizontalAlignment(HorizontalAlignment::Left);
  Show(std::move(root), 900, 500);
  NextFrames(3);
  Save("/tmp/shot.png");
}
}
