#pragma once
// Text extents from Pango, with the fonts and sizes the renderer draws with.
#include <gtk/gtk.h>

#include "platform/gtk/gobject_ptr.h"
#include "platform/ui/layout.h"

namespace gtkui {

// The family drawn when an element names none.
inline constexpr const char* DefaultFontFamily = "Sans";

// Pango weight for the element model's weights (CSS numbers).
int CssFontWeight(ui::FontWeight weight);

class PangoTextMeasurer final : public ui::TextMeasurer {
public:
    // Measures with the widget's font options when one is given, else with the
    // default font map's.
    explicit PangoTextMeasurer(GtkWidget* fontSource = nullptr);

    // Sizes are in pixels (font size 14 is 14 px); text wraps at maxWidth
    // when that is finite.
    ui::Size MeasureText(const std::string& text, const std::string& fontFamily, double fontSize,
                         ui::FontWeight weight, double maxWidth) const override;

private:
    GObjectPtr<PangoContext> m_context;
    GObjectPtr<PangoLayout> m_layout;
};

} // namespace gtkui
