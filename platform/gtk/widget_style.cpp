#include "platform/gtk/widget_style.h"

#include <cmath>
#include <cstdio>

#include "platform/gtk/glyph_map.h"
#include "platform/gtk/text_measurer.h"

namespace gtkui {
namespace {

// The dark theme the chrome is drawn for: light
// text, translucent light buttons, dark text boxes. Elements that set their
// own colours override these.
constexpr const char* BaseStyles = R"css(
.tv-el { min-width: 0; min-height: 0; color: white; }
button.tv-el {
  background: none; background-color: rgba(255,255,255,0.2); border: none; border-radius: 0;
  box-shadow: none; text-shadow: none; padding: 0; outline-offset: -2px;
}
button.tv-el:hover { background-image: image(alpha(currentColor, 0.1)); }
button.tv-el:active { background-image: image(alpha(currentColor, 0.2)); }
button.tv-el > label { padding: 0; min-width: 0; min-height: 0; }
label.tv-el { padding: 0; }
entry.tv-el {
  min-height: 0; border-radius: 2px; box-shadow: none; outline: none; caret-color: currentColor;
  background-color: rgba(0,0,0,0.4); border: 2px solid rgba(255,255,255,0.4);
}
entry.tv-el:focus-within { background-color: black; border-color: rgb(0,120,215); }
entry.tv-el placeholder { color: alpha(currentColor, 0.6); }
dropdown.tv-el > button {
  min-height: 0; padding-top: 0; padding-bottom: 0; color: inherit; box-shadow: none; background-image: none;
  background-color: rgba(0,0,0,0.4); border: 2px solid rgba(255,255,255,0.4); border-radius: 2px;
}
checkbutton.tv-el { padding: 0; min-height: 0; }
progressbar.tv-el > trough { min-width: 0; min-height: 0; border-radius: 0; background-color: rgba(255,255,255,0.2); }
progressbar.tv-el > trough > progress { min-width: 0; min-height: 0; border-radius: 0; }
)css";

// Priorities: the base sheet above GTK's theme, element rules above both.
constexpr guint BasePriority = GTK_STYLE_PROVIDER_PRIORITY_APPLICATION;
constexpr guint ElementPriority = GTK_STYLE_PROVIDER_PRIORITY_APPLICATION + 1;

std::string Number(double v)
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%g", std::isfinite(v) ? v : 0.0);
    return buffer;
}

std::string Edges(double top, double right, double bottom, double left)
{
    return Number(top) + "px " + Number(right) + "px " + Number(bottom) + "px " + Number(left) + "px";
}

// Family names go inside a CSS string: keep them from closing it.
std::string QuotedFamily(const std::string& family)
{
    std::string quoted = "\"";
    for (char c : family) {
        if (c != '"' && c != '\\' && c != '\n' && c != '\r')
            quoted += c;
    }
    return quoted + "\"";
}

void AddProviderToTree(GtkWidget* widget, GtkCssProvider* old, GtkCssProvider* provider)
{
    GtkStyleContext* context = gtk_widget_get_style_context(widget);
    if (old)
        gtk_style_context_remove_provider(context, GTK_STYLE_PROVIDER(old));
    if (provider)
        gtk_style_context_add_provider(context, GTK_STYLE_PROVIDER(provider), ElementPriority);
    for (GtkWidget* child = gtk_widget_get_first_child(widget); child; child = gtk_widget_get_next_sibling(child))
        AddProviderToTree(child, old, provider);
}

void ReportCssError(GtkCssProvider*, GtkCssSection* section, const GError* error, gpointer)
{
    char* where = gtk_css_section_to_string(section);
    g_warning("element style %s: %s", where, error->message);
    g_free(where);
}

GtkCssProvider* NewProvider(const char* css, gssize length)
{
    GtkCssProvider* provider = gtk_css_provider_new();
    g_signal_connect(provider, "parsing-error", G_CALLBACK(ReportCssError), nullptr);
    gtk_css_provider_load_from_data(provider, css, length);
    return provider;
}

} // namespace

void InstallBaseStyles(GdkDisplay* display)
{
    static const char* installedKey = "tolvane-base-styles";
    if (!display || g_object_get_data(G_OBJECT(display), installedKey))
        return;
    GtkCssProvider* provider = NewProvider(BaseStyles, -1);
    gtk_style_context_add_provider_for_display(display, GTK_STYLE_PROVIDER(provider), BasePriority);
    // The display keeps the provider for as long as it lives.
    g_object_set_data_full(G_OBJECT(display), installedKey, provider, g_object_unref);
}

std::string CssColor(const ui::Color& color)
{
    return "rgba(" + std::to_string(color.R) + "," + std::to_string(color.G) + "," + std::to_string(color.B) + "," +
           Number(color.A / 255.0) + ")";
}

std::string ElementRule(const ui::Element& element, BackgroundRule background)
{
    double size = ui::IsAuto(element.FontSize()) ? ui::DefaultFontSize : element.FontSize();
    std::string family = IsSymbolFont(element.FontFamily()) ? std::string(GlyphFontFamily) : element.FontFamily();
    if (family.empty())
        family = DefaultFontFamily;

    std::string rule = ".tv-el {";
    rule += " font-family: " + QuotedFamily(family) + ";";
    rule += " font-size: " + Number(size) + "px;";
    rule += " font-weight: " + std::to_string(CssFontWeight(element.FontWeight())) + ";";
    const ui::Thickness& p = element.Padding();
    rule += " padding: " + Edges(p.Top, p.Right, p.Bottom, p.Left) + ";";
    if (element.Foreground())
        rule += " color: " + CssColor(*element.Foreground()) + ";";
    if (background == BackgroundRule::Include && element.Background())
        rule += " background-color: " + CssColor(*element.Background()) + ";";
    const ui::Thickness& t = element.BorderThickness();
    if (t.Left > 0 || t.Top > 0 || t.Right > 0 || t.Bottom > 0) {
        rule += " border-style: solid; border-width: " + Edges(t.Top, t.Right, t.Bottom, t.Left) + ";";
        rule += " border-color: " + CssColor(element.BorderBrush().value_or(ui::Color::Transparent())) + ";";
    }
    const ui::CornerRadius& r = element.CornerRadius();
    if (r.TopLeft > 0 || r.TopRight > 0 || r.BottomRight > 0 || r.BottomLeft > 0)
        rule += " border-radius: " + Edges(r.TopLeft, r.TopRight, r.BottomRight, r.BottomLeft) + ";";
    return rule + " }\n";
}

GtkCssProvider* StyleCache::ProviderFor(const std::string& css)
{
    auto found = m_providers.find(css);
    if (found != m_providers.end())
        return found->second.Get();
    GtkCssProvider* provider = NewProvider(css.c_str(), static_cast<gssize>(css.size()));
    m_providers.emplace(css, Adopt(provider));
    return provider;
}

void SetWidgetProvider(GtkWidget* widget, GtkCssProvider* old, GtkCssProvider* provider)
{
    if (old == provider)
        return;
    AddProviderToTree(widget, old, provider);
}

} // namespace gtkui
