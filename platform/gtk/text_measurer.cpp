#include "platform/gtk/text_measurer.h"

#include <pango/pangocairo.h>

#include <cmath>
#include <functional>
#include <memory>

#include "platform/gtk/display_text.h"

namespace gtkui {
namespace {

struct FontDescriptionDeleter {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;

} // namespace

int CssFontWeight(ui::FontWeight weight)
{
    switch (weight) {
    case ui::FontWeight::SemiBold:
        return 600;
    case ui::FontWeight::Bold:
        return 700;
    case ui::FontWeight::Normal:
        break;
    }
    return 400;
}

PangoTextMeasurer::PangoTextMeasurer(GtkWidget* fontSource)
    : m_context(fontSource ? gtk_widget_create_pango_context(fontSource)
                           : pango_font_map_create_context(pango_cairo_font_map_get_default()))
    , m_layout(pango_layout_new(m_context.Get()))
{
}

size_t PangoTextMeasurer::KeyHash::operator()(const Key& key) const
{
    size_t hash = std::hash<std::string>()(key.Text);
    for (size_t part : {std::hash<std::string>()(key.Family), std::hash<double>()(key.FontSize),
                        static_cast<size_t>(key.Weight), std::hash<double>()(key.MaxWidth)})
        hash ^= part + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    return hash;
}

ui::Size PangoTextMeasurer::MeasureText(const std::string& text, const std::string& fontFamily, double fontSize,
                                        ui::FontWeight weight, double maxWidth) const
{
    Key key{text, fontFamily, fontSize, weight, maxWidth};
    if (auto found = m_remembered.find(key); found != m_remembered.end())
        return found->second;
    if (m_remembered.size() >= MaxRemembered)
        m_remembered.clear();
    ui::Size size = MeasureWithPango(text, fontFamily, fontSize, weight, maxWidth);
    m_remembered.emplace(std::move(key), size);
    return size;
}

ui::Size PangoTextMeasurer::MeasureWithPango(const std::string& text, const std::string& fontFamily, double fontSize,
                                             ui::FontWeight weight, double maxWidth) const
{
    DisplayText shown = ResolveDisplayText(text, fontFamily);
    FontDescriptionPtr font(pango_font_description_new());
    pango_font_description_set_family(font.get(), shown.Family.empty() ? DefaultFontFamily : shown.Family.c_str());
    pango_font_description_set_absolute_size(font.get(), fontSize * PANGO_SCALE);
    pango_font_description_set_weight(font.get(), static_cast<PangoWeight>(CssFontWeight(weight)));

    PangoLayout* layout = m_layout.Get();
    pango_layout_set_font_description(layout, font.get());
    pango_layout_set_text(layout, shown.Text.c_str(), static_cast<int>(shown.Text.size()));
    if (std::isfinite(maxWidth) && maxWidth > 0) {
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
        pango_layout_set_width(layout, static_cast<int>(maxWidth * PANGO_SCALE));
    } else {
        pango_layout_set_width(layout, -1);
    }

    PangoRectangle logical;
    pango_layout_get_extents(layout, nullptr, &logical);
    return {std::ceil(static_cast<double>(logical.width) / PANGO_SCALE),
            std::ceil(static_cast<double>(logical.height) / PANGO_SCALE)};
}

} // namespace gtkui
