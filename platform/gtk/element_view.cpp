#include "platform/gtk/element_view.h"

#include "platform/gtk/display_text.h"
#include "platform/gtk/element_container.h"
#include "platform/gtk/glib_text.h"

namespace gtkui {

ElementView::ElementView(ui::Element& element, GtkWidget* widget, ViewContext& context, WidgetStyle style)
    : m_element(element)
    , m_context(context)
    , m_widget(RefSink(widget))
    , m_style(style)
{
    SetWidgetElement(widget, &element);
    if (style == WidgetStyle::Css)
        gtk_widget_add_css_class(widget, ElementCssClass);
}

ElementView::~ElementView()
{
    GtkWidget* widget = m_widget.Get();
    for (auto [instance, id] : m_handlers)
        g_signal_handler_disconnect(instance, id);
    for (GtkEventController* controller : m_controllers)
        gtk_widget_remove_controller(widget, controller);
    if (m_provider)
        SetWidgetProvider(widget, m_provider, nullptr);
    if (m_style == WidgetStyle::Css)
        gtk_widget_remove_css_class(widget, ElementCssClass);
    SetWidgetElement(widget, nullptr);
    if (gtk_widget_get_parent(widget))
        gtk_widget_unparent(widget);
}

void ElementView::ApplyAll()
{
    ApplyStyle();
    for (auto p : {ui::Property::Visibility, ui::Property::Opacity, ui::Property::IsEnabled, ui::Property::ToolTip})
        Apply(p);
    // Kind-specific properties; each view ignores the ones it lacks.
    for (auto p : {ui::Property::Text, ui::Property::Content, ui::Property::PlaceholderText, ui::Property::Header,
                   ui::Property::TextWrapping, ui::Property::TextAlignment, ui::Property::Items,
                   ui::Property::SelectedIndex, ui::Property::Selection, ui::Property::IsChecked, ui::Property::IsOn,
                   ui::Property::Value, ui::Property::Range, ui::Property::IsIndeterminate, ui::Property::IsActive,
                   ui::Property::ScrollOffset, ui::Property::ScrollBarVisibility})
        ApplyOwn(p);
}

void ElementView::Apply(ui::Property property)
{
    GtkWidget* widget = m_widget.Get();
    switch (property) {
    case ui::Property::Visibility:
        gtk_widget_set_visible(widget, m_element.GetVisibility() == ui::Visibility::Visible);
        ApplyTargetable();
        break;
    case ui::Property::Opacity:
        gtk_widget_set_opacity(widget, m_element.Opacity());
        ApplyTargetable();
        break;
    case ui::Property::IsEnabled:
        gtk_widget_set_sensitive(widget, m_element.IsEnabled());
        ApplyTargetable();
        break;
    case ui::Property::IsHitTestVisible:
        ApplyTargetable();
        break;
    case ui::Property::ToolTip: {
        const std::string tip = ValidUtf8(m_element.ToolTip());
        gtk_widget_set_tooltip_text(widget, tip.empty() ? nullptr : tip.c_str());
        if (!tip.empty())
            gtk_accessible_update_property(GTK_ACCESSIBLE(widget), GTK_ACCESSIBLE_PROPERTY_LABEL, tip.c_str(), -1);
        break;
    }
    case ui::Property::Background:
    case ui::Property::Foreground:
    case ui::Property::BorderBrush:
    case ui::Property::BorderThickness:
    case ui::Property::CornerRadius:
    case ui::Property::FontSize:
    case ui::Property::FontFamily:
    case ui::Property::FontWeight:
    case ui::Property::Padding:
        ApplyStyle();
        break;
    default:
        break;
    }
    ApplyOwn(property);
}

void ElementView::ApplyStyle()
{
    if (m_style != WidgetStyle::Css)
        return;
    GtkCssProvider* provider = m_context.Styles.ProviderFor(StyleRules());
    SetWidgetProvider(m_widget.Get(), m_provider, provider);
    m_provider = provider;
}

std::string ElementView::StyleRules() const
{
    return ElementRule(m_element, BackgroundRule::Include);
}

// GTK still delivers clicks to a widget drawn at opacity 0; the element
// takes none then, nor when collapsed, disabled or not hit-test visible.
void ElementView::ApplyTargetable()
{
    bool targetable = m_element.GetVisibility() == ui::Visibility::Visible && m_element.Opacity() > 0 &&
                      m_element.IsHitTestVisible() && m_element.IsEnabled();
    gtk_widget_set_can_target(m_widget.Get(), targetable);
}

void ElementView::Connect(gpointer instance, const char* signal, GCallback callback)
{
    m_handlers.emplace_back(instance, g_signal_connect(instance, signal, callback, this));
}

void ElementView::AddController(GtkEventController* controller)
{
    gtk_widget_add_controller(m_widget.Get(), controller);
    m_controllers.push_back(controller);
}

void ElementView::AddTapGesture()
{
    GtkGesture* click = gtk_gesture_click_new();
    gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(click), GDK_BUTTON_PRIMARY);
    Connect(click, "released", G_CALLBACK(+[](GtkGestureClick*, int presses, double, double, ElementView* view) {
        if (presses == 1)
            view->m_element.Tapped(view->m_element); // may destroy the view: nothing after this
    }));
    AddController(GTK_EVENT_CONTROLLER(click));
}

std::string ElementView::Shown(const std::string& text) const
{
    return ResolveDisplayText(text, m_element.FontFamily()).Text;
}

} // namespace gtkui
