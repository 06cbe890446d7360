#pragma once
// Text extents from Pango, with the fonts and sizes the renderer draws with.
#include <gtk/gtk.h>

#include <string>
#include <unordered_map>

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
    // when that is finite. Every layout pass measures every text again: a
    // long list (thousands of history rows) must not cost Pango each time,
    // so sizes are remembered.
    ui::Size MeasureText(const std::string& text, const std::string& fontFamily, double fontSize,
                         ui::FontWeight weight, double maxWidth) const override;

private:
    struct Key {
        std::string Text;
        std::string Family;
        double FontSize;
        ui::FontWeight Weight;
        double MaxWidth;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const;
    };
    // Bounded: cleared when it grows past this many texts.
    static constexpr size_t MaxRemembered = 40000;

    ui::Size MeasureWithPango(const std::string& text, const std::string& fontFamily, double fontSize,
                              ui::FontWeight weight, double maxWidth) const;

    mutable std::unordered_map<Key, ui::Size, KeyHash> m_remembered;
    GObjectPtr<PangoContext> m_context;
    GObjectPtr<PangoLayout> m_layout;
};

} // namespace gtkui
