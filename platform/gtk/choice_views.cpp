// Combo boxes, toggle switches and check boxes: the user's choice goes to
// the model, the model's value to the widget, never echoed back.
#include <vector>

#include "platform/gtk/glib_text.h"
#include "platform/gtk/view_kinds.h"

namespace gtkui {
namespace {

class ComboBoxView final : public ElementView {
public:
    ComboBoxView(ui::ComboBox& combo, ViewContext& context)
        : ElementView(combo, gtk_drop_down_new(nullptr, nullptr), context), m_combo(combo)
    {
        Connect(Widget(), "notify::selected", G_CALLBACK(+[](GObject*, GParamSpec*, ComboBoxView* view) {
                    view->OnUserSelected();
                }));
    }

protected:
    void ApplyOwn(ui::Property property) override
    {
        if (property == ui::Property::Items)
            WriteItems();
        else if (property == ui::Property::SelectedIndex)
            WriteSelected();
    }

private:
    GtkDropDown* DropDown() const { return GTK_DROP_DOWN(Widget()); }

    void WriteItems()
    {
        std::vector<std::string> texts;
        for (const auto& item : m_combo.Items())
            texts.push_back(ValidUtf8(item));
        std::vector<const char*> strings;
        for (const auto& text : texts)
            strings.push_back(text.c_str());
        strings.push_back(nullptr);
        auto list = Adopt(gtk_string_list_new(strings.data()));
        WritingWidget writing(*this);
        gtk_drop_down_set_model(DropDown(), G_LIST_MODEL(list.Get()));
        WriteSelected();
    }

    void WriteSelected()
    {
        WritingWidget writing(*this);
        int index = m_combo.SelectedIndex();
        bool inRange = index >= 0 && static_cast<size_t>(index) < m_combo.Items().size();
        gtk_drop_down_set_selected(DropDown(), inRange ? static_cast<guint>(index) : GTK_INVALID_LIST_POSITION);
    }

    void OnUserSelected()
    {
        if (m_writingWidget)
            return;
        guint selected = gtk_drop_down_get_selected(DropDown());
        m_combo.SetSelectedIndex(selected == GTK_INVALID_LIST_POSITION ? -1 : static_cast<int>(selected));
    }

    ui::ComboBox& m_combo;
};

// The header sits above the switch, as the markup lays it out.
class ToggleSwitchView final : public ElementView {
public:
    ToggleSwitchView(ui::ToggleSwitch& toggle, ViewContext& context)
        : ElementView(toggle, gtk_box_new(GTK_ORIENTATION_VERTICAL, 4), context)
        , m_toggle(toggle)
        , m_header(gtk_label_new(nullptr))
        , m_switch(gtk_switch_new())
    {
        gtk_label_set_xalign(GTK_LABEL(m_header), 0.0f);
        gtk_widget_set_halign(m_switch, GTK_ALIGN_START);
        gtk_widget_set_valign(m_switch, GTK_ALIGN_CENTER);
        gtk_widget_set_vexpand(m_switch, TRUE);
        gtk_box_append(GTK_BOX(Widget()), m_header);
        gtk_box_append(GTK_BOX(Widget()), m_switch);
        Connect(m_switch, "notify::active", G_CALLBACK(+[](GObject*, GParamSpec*, ToggleSwitchView* view) {
                    if (!view->m_writingWidget)
                        view->m_toggle.SetIsOn(gtk_switch_get_active(GTK_SWITCH(view->m_switch)));
                }));
    }

protected:
    void ApplyOwn(ui::Property property) override
    {
        if (property == ui::Property::Header || property == ui::Property::FontFamily) {
            gtk_label_set_text(GTK_LABEL(m_header), Shown(m_toggle.Header()).c_str());
            gtk_widget_set_visible(m_header, !m_toggle.Header().empty());
        } else if (property == ui::Property::IsOn) {
            WritingWidget writing(*this);
            gtk_switch_set_active(GTK_SWITCH(m_switch), m_toggle.IsOn());
        }
    }

private:
    ui::ToggleSwitch& m_toggle;
    GtkWidget* m_header; // owned by the box
    GtkWidget* m_switch; // owned by the box
};

class CheckBoxView final : public ElementView {
public:
    CheckBoxView(ui::CheckBox& check, ViewContext& context)
        : ElementView(check, gtk_check_button_new(), context), m_check(check)
    {
        Connect(Widget(), "toggled", G_CALLBACK(+[](GtkCheckButton*, CheckBoxView* view) { view->OnUserToggled(); }));
    }

protected:
    void ApplyOwn(ui::Property property) override
    {
        if (property == ui::Property::Content || property == ui::Property::FontFamily) {
            gtk_check_button_set_label(Check(), Shown(m_check.Content()).c_str());
        } else if (property == ui::Property::IsChecked) {
            WritingWidget writing(*this);
            gtk_check_button_set_inconsistent(Check(), !m_check.IsChecked().has_value());
            gtk_check_button_set_active(Check(), m_check.IsChecked().value_or(false));
        }
    }

private:
    GtkCheckButton* Check() const { return GTK_CHECK_BUTTON(Widget()); }

    // Checked or Unchecked first, then Click: handlers of Click see the new state.
    void OnUserToggled()
    {
        if (m_writingWidget)
            return;
        gtk_check_button_set_inconsistent(Check(), FALSE);
        auto life = Life();
        m_check.SetIsChecked(gtk_check_button_get_active(Check()));
        if (!life.expired())
            m_check.Click(m_check);
    }

    ui::CheckBox& m_check;
};

} // namespace

std::unique_ptr<ElementView> CreateComboBoxView(ui::ComboBox& combo, ViewContext& context)
{
    auto view = std::make_unique<ComboBoxView>(combo, context);
    view->ApplyAll();
    return view;
}

std::unique_ptr<ElementView> CreateToggleSwitchView(ui::ToggleSwitch& toggle, ViewContext& context)
{
    auto view = std::make_unique<ToggleSwitchView>(toggle, context);
    view->ApplyAll();
    return view;
}

std::unique_ptr<ElementView> CreateCheckBoxView(ui::CheckBox& check, ViewContext& context)
{
    auto view = std::make_unique<CheckBoxView>(check, context);
    view->ApplyAll();
    return view;
}

} // namespace gtkui
