#pragma once
// One element's widget: created from the element, kept in step with it
// property by property, and torn down (signals first) when it goes.
#include <gtk/gtk.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/gtk/gobject_ptr.h"
#include "platform/gtk/widget_style.h"
#include "platform/ui/element.h"

namespace gtkui {

// What every view shares with the renderer.
struct ViewContext {
    StyleCache Styles;
};

class ElementView {
public:
    virtual ~ElementView();
    ElementView(const ElementView&) = delete;
    ElementView& operator=(const ElementView&) = delete;

    ui::Element& Element() const { return m_element; }
    GtkWidget* Widget() const { return m_widget.Get(); }
    // Where the widgets of child elements go; nullptr for leaves.
    virtual GtkWidget* ChildHost() const { return nullptr; }
    // After every layout pass (scroll viewers read their extent here).
    virtual void AfterLayout() {}

    // Brings the widget in step with every property (after creation).
    void ApplyAll();
    // Follows one changed property.
    void Apply(ui::Property property);

protected:
    enum class WidgetStyle { Css, None };
    // Keeps a reference to the widget (sinking a new widget's floating one).
    ElementView(ui::Element& element, GtkWidget* widget, ViewContext& context, WidgetStyle style = WidgetStyle::Css);

    virtual void ApplyOwn(ui::Property property) {}
    // Colours, font, padding and border: CSS by default; panels paint them.
    virtual void ApplyStyle();
    // The CSS rules of this widget (ElementRule, plus rules for inner nodes).
    virtual std::string StyleRules() const;

    // Signal handlers and controllers recorded here are disconnected before
    // the widget is released, so nothing calls into a destroyed view.
    void Connect(gpointer instance, const char* signal, GCallback callback);
    void AddController(GtkEventController* controller);
    // Raises the element's Tapped on a click (panels and text blocks).
    void AddTapGesture();

    // The text as drawn in the element's font (symbol glyphs mapped).
    std::string Shown(const std::string& text) const;
    ViewContext& Context() const { return m_context; }
    // Expires when the view is destroyed: a callback that calls into the
    // model (whose handlers may remove the element) checks it before going on.
    std::weak_ptr<void> Life() const { return m_life; }

    // True while the view writes model values into the widget, so that the
    // widget's change signals are not sent back to the model.
    bool m_writingWidget = false;
    class WritingWidget {
    public:
        explicit WritingWidget(ElementView& view) : m_flag(view.m_writingWidget), m_old(std::exchange(m_flag, true)) {}
        ~WritingWidget() { m_flag = m_old; }

    private:
        bool& m_flag;
        bool m_old;
    };

private:
    void ApplyTargetable();

    ui::Element& m_element;
    ViewContext& m_context;
    GObjectPtr<GtkWidget> m_widget;
    WidgetStyle m_style;
    GtkCssProvider* m_provider = nullptr; // owned by the style cache
    std::vector<std::pair<gpointer, gulong>> m_handlers;
    std::vector<GtkEventController*> m_controllers; // owned by the widget
    std::shared_ptr<void> m_life = std::make_shared<int>(0);
};

// The view for an element of any kind.
std::unique_ptr<ElementView> CreateView(ui::Element& element, ViewContext& context);

} // namespace gtkui
