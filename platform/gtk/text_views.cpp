// Text blocks as labels and buttons as flat buttons around a label.
#include "platform/gtk/view_kinds.h"

namespace gtkui {
namespace {

float AlignmentX(ui::TextAlignment alignment)
{
    switch (alignment) {
    case ui::TextAlignment::Center:
        return 0.5f;
    case ui::TextAlignment::Right:
        return 1.0f;
    case ui::TextAlignment::Left:
        break;
    }
    return 0.0f;
}

GtkJustification Justification(ui::TextAlignment alignment)
{
    switch (alignment) {
    case ui::TextAlignment::Center:
        return GTK_JUSTIFY_CENTER;
    case ui::TextAlignment::Right:
        return GTK_JUSTIFY_RIGHT;
    case ui::TextAlignment::Left:
        break;
    }
    return GTK_JUSTIFY_LEFT;
}

class TextBlockView final : public ElementView {
public:
    TextBlockView(ui::TextBlock& block, ViewContext& context)
        : ElementView(block, gtk_label_new(nullptr), context), m_block(block)
    {
        gtk_label_set_yalign(Label(), 0.0f);
        AddTapGesture();
    }

protected:
    void ApplyOwn(ui::Property property) override
    {
        switch (property) {
        case ui::Property::Text:
        case ui::Property::FontFamily:
            gtk_label_set_text(Label(), Shown(m_block.Text()).c_str());
            break;
        case ui::Property::TextWrapping: {
            // Measured unwrapped, so a line that does not fit ends in an ellipsis.
            bool wrap = m_block.TextWrapping() == ui::TextWrapping::Wrap;
            gtk_label_set_wrap(Label(), wrap);
            gtk_label_set_wrap_mode(Label(), PANGO_WRAP_WORD_CHAR);
            gtk_label_set_ellipsize(Label(), wrap ? PANGO_ELLIPSIZE_NONE : PANGO_ELLIPSIZE_END);
            break;
        }
        case ui::Property::TextAlignment:
            gtk_label_set_xalign(Label(), AlignmentX(m_block.TextAlignment()));
            gtk_label_set_justify(Label(), Justification(m_block.TextAlignment()));
            break;
        default:
            break;
        }
    }

private:
    GtkLabel* Label() const { return GTK_LABEL(Widget()); }
    ui::TextBlock& m_block;
};

float ContentAlignmentX(ui::HorizontalAlignment alignment)
{
    switch (alignment) {
    case ui::HorizontalAlignment::Center:
        return 0.5f;
    case ui::HorizontalAlignment::Right:
        return 1.0f;
    case ui::HorizontalAlignment::Left:
    case ui::HorizontalAlignment::Stretch:
        break;
    }
    return 0.0f;
}

class ButtonView final : public ElementView {
public:
    ButtonView(ui::Button& button, ViewContext& context)
        : ElementView(button, gtk_button_new(), context), m_button(button), m_label(gtk_label_new(nullptr))
    {
        gtk_button_set_child(GTK_BUTTON(Widget()), m_label);
        // GTK never allocates a widget less than its minimum: an ellipsis
        // keeps the label's small, so the button keeps the laid-out width
        // (a tab caption narrower than its title); nothing spills over the edges.
        gtk_label_set_ellipsize(GTK_LABEL(m_label), PANGO_ELLIPSIZE_END);
        gtk_widget_set_overflow(Widget(), GTK_OVERFLOW_HIDDEN);
        gtk_widget_set_overflow(m_label, GTK_OVERFLOW_HIDDEN);
        Connect(Widget(), "clicked", G_CALLBACK(+[](GtkButton*, ButtonView* view) {
                    view->m_button.RaiseClick(); // may destroy the view: nothing after this
                }));
        GtkGesture* middle = gtk_gesture_click_new();
        gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(middle), GDK_BUTTON_MIDDLE);
        Connect(middle, "released", G_CALLBACK(+[](GtkGestureClick*, int, double, double, ButtonView* view) {
                    view->m_button.RaiseMiddleClick(); // may destroy the view: nothing after this
                }));
        AddController(GTK_EVENT_CONTROLLER(middle));
    }

protected:
    void ApplyOwn(ui::Property property) override
    {
        if (property == ui::Property::Content || property == ui::Property::FontFamily) {
            gtk_label_set_text(GTK_LABEL(m_label), Shown(m_button.Content()).c_str());
            gtk_label_set_xalign(GTK_LABEL(m_label), ContentAlignmentX(m_button.HorizontalContentAlignment()));
        }
    }

private:
    ui::Button& m_button;
    GtkWidget* m_label; // owned by the button
};

} // namespace

std::unique_ptr<ElementView> CreateTextBlockView(ui::TextBlock& block, ViewContext& context)
{
    auto view = std::make_unique<TextBlockView>(block, context);
    view->ApplyAll();
    return view;
}

std::unique_ptr<ElementView> CreateButtonView(ui::Button& button, ViewContext& context)
{
    auto view = std::make_unique<ButtonView>(button, context);
    view->ApplyAll();
    return view;
}

} // namespace gtkui
