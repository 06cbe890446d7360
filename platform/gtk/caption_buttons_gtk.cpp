#include "platform/gtk/caption_buttons_gtk.h"

#include <string>

#include "platform/gtk/gobject_ptr.h"

namespace gtkui {

namespace {

constexpr const char* CaptionClass = "tolvane-caption";

std::string Css(const ui::Color& c)
{
    return "rgba(" + std::to_string(c.R) + "," + std::to_string(c.G) + "," + std::to_string(c.B) + "," +
           std::to_string(c.A / 255.0) + ")";
}

std::string CaptionCss(const platform::TitleBarColors& colors)
{
    const std::string controls = std::string("windowcontrols.") + CaptionClass;
    return controls + " button { min-height: 32px; min-width: 46px; padding: 0; margin: 0; border-radius: 0;"
                      " border: none; box-shadow: none; background: " + Css(colors.ButtonBackground) +
           "; color: " + Css(colors.ButtonForeground) + "; }" +
           controls + " button image { background: none; box-shadow: none; }" +
           controls + " button:hover { background: " + Css(colors.ButtonHoverBackground) + "; }" +
           controls + ":backdrop button { background: " + Css(colors.ButtonInactiveBackground) + "; }";
}

} // namespace

GtkWidget* CreateCaptionButtons(const platform::TitleBarColors& colors)
{
    GtkWidget* controls = gtk_window_controls_new(GTK_PACK_END);
    gtk_window_controls_set_decoration_layout(GTK_WINDOW_CONTROLS(controls), ":minimize,maximize");
    gtk_widget_set_halign(controls, GTK_ALIGN_END);
    gtk_widget_set_valign(controls, GTK_ALIGN_START);
    gtk_widget_add_css_class(controls, CaptionClass);
    // GTK makes the buttons itself, so the style goes by class, for the display.
    auto provider = Adopt(gtk_css_provider_new());
    auto css = CaptionCss(colors);
    gtk_css_provider_load_from_data(provider.Get(), css.c_str(), -1);
    gtk_style_context_add_provider_for_display(gtk_widget_get_display(controls), GTK_STYLE_PROVIDER(provider.Get()),
                                               GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    return controls;
}

} // namespace gtkui
