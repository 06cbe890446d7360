// Text boxes as entries: text and selection both ways without echoes, keys
// as virtual key codes, focus as the model's focus states.
#include <string>

#include "platform/gtk/display_text.h"
#include "platform/gtk/glib_text.h"
#include "platform/gtk/key_codes.h"
#include "platform/gtk/view_kinds.h"

namespace gtkui {
namespace {

class TextBoxView final : public ElementView {
public:
    TextBoxView(ui::TextBox& box, ViewContext& context) : ElementView(box, gtk_entry_new(), context), m_box(box)
    {
        Connect(Widget(), "changed", G_CALLBACK(+[](GtkEditable*, TextBoxView* view) { view->OnUserEdit(); }));
        Connect(Widget(), "notify::cursor-position",
                G_CALLBACK(+[](GObject*, GParamSpec*, TextBoxView* view) { view->OnUserEdit(); }));
        Connect(Widget(), "notify::selection-bound",
                G_CALLBACK(+[](GObject*, GParamSpec*, TextBoxView* view) { view->OnUserEdit(); }));
        AddKeyController();
        AddFocusController();
        AddPointerTracker();
    }

protected:
    void ApplyOwn(ui::Property property) override
    {
        switch (property) {
        case ui::Property::Text:
            WriteText();
            break;
        case ui::Property::PlaceholderText:
            gtk_entry_set_placeholder_text(Entry(), ValidUtf8(m_box.PlaceholderText()).c_str());
            break;
        case ui::Property::Selection:
            WriteSelection();
            break;
        case ui::Property::FocusRequest:
            GrantFocus();
            break;
        default:
            break;
        }
    }

private:
    GtkEntry* Entry() const { return GTK_ENTRY(Widget()); }
    GtkEditable* Editable() const { return GTK_EDITABLE(Widget()); }

    void WriteText()
    {
        std::string text = ValidUtf8(m_box.Text());
        if (text == gtk_editable_get_text(Editable()))
            return;
        WritingWidget writing(*this);
        gtk_editable_set_text(Editable(), text.c_str());
        WriteSelection();
    }

    void WriteSelection()
    {
        WritingWidget writing(*this);
        const char* text = gtk_editable_get_text(Editable());
        int start = CharOffsetFromUtf16(text, m_box.SelectionStart());
        int end = CharOffsetFromUtf16(text, m_box.SelectionStart() + m_box.SelectionLength());
        gtk_editable_select_region(Editable(), start, end);
    }

    // The entry may report its cursor before its text: each handler brings
    // both to the model.
    void OnUserEdit()
    {
        if (m_writingWidget)
            return;
        auto life = Life();
        m_box.SetTextFromUser(gtk_editable_get_text(Editable()));
        if (!life.expired())
            ReadSelection();
    }

    void ReadSelection()
    {
        int start = 0;
        int end = 0;
        gtk_editable_get_selection_bounds(Editable(), &start, &end);
        const char* text = gtk_editable_get_text(Editable());
        int from = Utf16OffsetFromChars(text, start);
        m_box.SetSelectionFromUser(from, Utf16OffsetFromChars(text, end) - from);
    }

    // Keys reach the model before the entry acts on them, so a handler that
    // marks Enter handled keeps it from the entry.
    void AddKeyController()
    {
        GtkEventController* keys = gtk_event_controller_key_new();
        gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
        Connect(keys, "key-pressed", G_CALLBACK(+[](GtkEventControllerKey*, guint keyval, guint, GdkModifierType state,
                                                    TextBoxView* view) -> gboolean {
                    ui::KeyEventArgs args;
                    args.Key = VirtualKeyFromKeyval(keyval);
                    args.Shift = (state & GDK_SHIFT_MASK) != 0;
                    ui::TextBox& box = view->m_box;
                    box.KeyDown(box, args); // may destroy the view: only the local args after this
                    return args.Handled;
                }));
        AddController(keys);
    }

    void AddFocusController()
    {
        GtkEventController* focus = gtk_event_controller_focus_new();
        m_focus = GTK_EVENT_CONTROLLER_FOCUS(focus);
        Connect(focus, "notify::contains-focus", G_CALLBACK(+[](GtkEventControllerFocus* controller, GParamSpec*,
                                                                 TextBoxView* view) {
                    view->OnFocusChanged(gtk_event_controller_focus_contains_focus(controller));
                }));
        AddController(focus);
    }

    // Tells a click that focuses the box from a Tab that does.
    void AddPointerTracker()
    {
        GtkGesture* press = gtk_gesture_click_new();
        gtk_gesture_single_set_button(GTK_GESTURE_SINGLE(press), 0);
        gtk_event_controller_set_propagation_phase(GTK_EVENT_CONTROLLER(press), GTK_PHASE_CAPTURE);
        Connect(press, "pressed", G_CALLBACK(+[](GtkGestureClick*, int, double, double, TextBoxView* view) {
                    view->m_pointerDown = true;
                    // A click into a box that has the focus already (from a
                    // key, or given at start) makes it the pointer's.
                    if (gtk_event_controller_focus_contains_focus(view->m_focus))
                        view->m_box.SetFocusStateFromUser(ui::FocusState::Pointer);
                }));
        Connect(press, "released", G_CALLBACK(+[](GtkGestureClick*, int, double, double, TextBoxView* view) {
                    view->m_pointerDown = false;
                }));
        Connect(press, "cancel", G_CALLBACK(+[](GtkGesture*, GdkEventSequence*, TextBoxView* view) {
                    view->m_pointerDown = false;
                }));
        AddController(GTK_EVENT_CONTROLLER(press));
    }

    void OnFocusChanged(bool focused)
    {
        ui::FocusState state = ui::FocusState::Unfocused;
        if (focused)
            state = m_grantingFocus ? m_box.RequestedFocus()
                                    : (m_pointerDown ? ui::FocusState::Pointer : ui::FocusState::Keyboard);
        m_box.SetFocusStateFromUser(state); // handlers may destroy the view: nothing after this
    }

    // Focus keeps the model's selection (GTK would select everything). A box
    // that has focus already takes the requested state.
    void GrantFocus()
    {
        auto life = Life();
        if (gtk_event_controller_focus_contains_focus(m_focus)) {
            m_box.SetFocusStateFromUser(m_box.RequestedFocus());
        } else {
            m_grantingFocus = true;
            gtk_entry_grab_focus_without_selecting(Entry());
        }
        if (life.expired())
            return;
        m_grantingFocus = false;
        WriteSelection();
    }

    ui::TextBox& m_box;
    GtkEventControllerFocus* m_focus = nullptr; // owned by the entry
    bool m_pointerDown = false;
    bool m_grantingFocus = false;
};

} // namespace

std::unique_ptr<ElementView> CreateTextBoxView(ui::TextBox& box, ViewContext& context)
{
    auto view = std::make_unique<TextBoxView>(box, context);
    view->ApplyAll();
    return view;
}

} // namespace gtkui
