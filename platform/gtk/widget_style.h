#pragma once
// CSS for native widgets: one stylesheet per display flattens GTK's chrome
// (no bevels or shadows, no minimum sizes: the layout engine decides) and
// gives the dark theme's defaults, and
// each element's colours, font, padding and border become a small rule.
#include <gtk/gtk.h>

#include <string>
#include <unordered_map>

#include "platform/gtk/gobject_ptr.h"
#include "platform/ui/element.h"

namespace gtkui {

// The class every element's widget carries; element rules select it.
inline constexpr const char* ElementCssClass = "tv-el";

// Installs that stylesheet once per display.
void InstallBaseStyles(GdkDisplay* display);

// "rgba(r,g,b,a)".
std::string CssColor(const ui::Color& color);

enum class BackgroundRule { Include, Omit };

// The element's own rule: font, foreground, padding, border and (unless
// omitted) background.
std::string ElementRule(const ui::Element& element, BackgroundRule background);

// Providers shared by widgets whose rules are the same text.
class StyleCache {
public:
    GtkCssProvider* ProviderFor(const std::string& css);

private:
    std::unordered_map<std::string, GObjectPtr<GtkCssProvider>> m_providers;
};

// Adds or swaps a widget's element provider, on the widget and on every
// widget inside it (rules for inner nodes such as a progress bar's need it).
void SetWidgetProvider(GtkWidget* widget, GtkCssProvider* old, GtkCssProvider* provider);

} // namespace gtkui
