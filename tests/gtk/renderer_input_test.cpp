// What the user does in native widgets reaches the model once, and what the
// model sets reaches the widgets without coming back as user input.
#include "tests/gtk/render_fixture.h"

namespace gtktest {
namespace {

class RendererInputTest : public RenderFixture {};

TEST_F(RendererInputTest, TextBoxTypingReachesTheModelOnceAndModelTextIsNotEchoed)
{
    auto root = std::make_unique<ui::StackPanel>();
    auto& box = root->Append(std::make_unique<ui::TextBox>());
    int changes = 0;
    box.TextChanged.Subscribe([&](ui::Element&) { ++changes; });
    Show(std::move(root));
    GtkEditable* entry = GTK_EDITABLE(WidgetOf(box));

    box.SetText("h\u00e9llo");
    NextFrames(1);
    EXPECT_STREQ(gtk_editable_get_text(entry), "h\u00e9llo");
    EXPECT_EQ(changes, 1) << "the model's own change, and no echo from the entry";

    int position = 5;
    gtk_editable_insert_text(entry, "!", -1, &position); // as typing does
    EXPECT_EQ(box.Text(), "h\u00e9llo!");
    EXPECT_EQ(changes, 2);

    // Selections count UTF-16 units in the model and characters in GTK.
    box.SetText("\U0001F600ab");
    box.Select(2, 1);
    int start = 0, end = 0;
    gtk_editable_get_selection_bounds(entry, &start, &end);
    EXPECT_EQ(start, 1);
    EXPECT_EQ(end, 2);
    gtk_editable_select_region(entry, 0, 3);
    EXPECT_EQ(box.SelectionStart(), 0);
    EXPECT_EQ(box.SelectionLength(), 4);
}

TEST_F(RendererInputTest, KeysReachKeyDownAsVirtualCodesAndHandledKeysStop)
{
    auto root = std::make_unique<ui::StackPanel>();
    auto& box = root->Append(std::make_unique<ui::TextBox>());
    std::vector<int> keys;
    box.KeyDown.Subscribe([&](ui::Element&, ui::KeyEventArgs& args) {
        keys.push_back(args.Key);
        args.Handled = args.Key == 13;
    });
    Show(std::move(root));
    GtkEventController* controller = FindController(WidgetOf(box), GTK_TYPE_EVENT_CONTROLLER_KEY);
    ASSERT_NE(controller, nullptr);

    gboolean stopped = FALSE;
    g_signal_emit_by_name(controller, "key-pressed", GDK_KEY_Return, 36u, GdkModifierType(0), &stopped);
    EXPECT_TRUE(stopped) << "a handled Enter does not reach the entry";
    g_signal_emit_by_name(controller, "key-pressed", GDK_KEY_KP_Enter, 104u, GdkModifierType(0), &stopped);
    g_signal_emit_by_name(controller, "key-pressed", GDK_KEY_a, 38u, GdkModifierType(0), &stopped);
    EXPECT_FALSE(stopped);
    g_signal_emit_by_name(controller, "key-pressed", GDK_KEY_Escape, 9u, GdkModifierType(0), &stopped);
    EXPECT_EQ(keys, (std::vector<int>{13, 13, 65, 27}));
}

TEST_F(RendererInputTest, FocusRequestsAreGrantedWithTheRequestedState)
{
    auto root = std::make_unique<ui::StackPanel>();
    auto& address = root->Append(std::make_unique<ui::TextBox>());
    auto& search = root->Append(std::make_unique<ui::TextBox>());
    std::vector<std::string> events;
    address.GotFocus.Subscribe([&](ui::Element&) { events.push_back("address got"); });
    address.LostFocus.Subscribe([&](ui::Element&) { events.push_back("address lost"); });
    search.GotFocus.Subscribe([&](ui::Element&) { events.push_back("search got"); });
    Show(std::move(root));
    ASSERT_TRUE(PumpUntil([&] { return gtk_window_is_active(Window()); })) << "the window never became active";
    // GTK focuses the first entry of a new window: start from no focus.
    gtk_window_set_focus(Window(), nullptr);
    events.clear();

    address.SetText("example.com");
    address.SelectAll();
    address.Focus(ui::FocusState::Programmatic);
    ASSERT_TRUE(PumpUntil([&] { return address.FocusState() == ui::FocusState::Programmatic; }));
    int start = 0, end = 0;
    gtk_editable_get_selection_bounds(GTK_EDITABLE(WidgetOf(address)), &start, &end);
    EXPECT_EQ(end - start, 11) << "focus keeps the model's selection";

    search.Focus(ui::FocusState::Keyboard);
    ASSERT_TRUE(PumpUntil([&] { return search.FocusState() == ui::FocusState::Keyboard; }));
    EXPECT_EQ(address.FocusState(), ui::FocusState::Unfocused);
    EXPECT_EQ(events, (std::vector<std::string>{"address got", "address lost", "search got"}));

    search.Focus(ui::FocusState::Programmatic);
    EXPECT_EQ(search.FocusState(), ui::FocusState::Programmatic) << "a focused box takes the requested state";
    EXPECT_EQ(events.size(), 3u);
}

TEST_F(RendererInputTest, ChoicesReachTheModelOnceAndModelValuesAreNotEchoed)
{
    auto root = std::make_unique<ui::StackPanel>();
    auto& button = root->Append(std::make_unique<ui::Button>());
    auto& toggle = root->Append(std::make_unique<ui::ToggleSwitch>());
    toggle.SetHeader("Restore tabs");
    auto& check = root->Append(std::make_unique<ui::CheckBox>());
    auto& combo = root->Append(std::make_unique<ui::ComboBox>());
    combo.SetItems({"English", "Portugu\u00eas"});
    auto& suggestion = root->Append(std::make_unique<ui::TextBlock>());
    suggestion.SetText("example.com");
    std::vector<std::string> events;
    suggestion.Tapped.Subscribe([&](ui::Element&) { events.push_back("tapped"); });
    button.Click.Subscribe([&](ui::Element&) { events.push_back("click"); });
    toggle.Toggled.Subscribe([&](ui::Element&) { events.push_back(toggle.IsOn() ? "on" : "off"); });
    check.Checked.Subscribe([&](ui::Element&) { events.push_back("checked"); });
    check.Click.Subscribe([&](ui::Element&) { events.push_back("check click"); });
    combo.SelectionChanged.Subscribe([&](ui::Element&) { events.push_back("item " + std::to_string(combo.SelectedIndex())); });
    Show(std::move(root));

    // The user's actions.
    g_signal_emit_by_name(WidgetOf(button), "clicked");
    GtkWidget* switchWidget = gtk_widget_get_last_child(WidgetOf(toggle));
    gtk_switch_set_active(GTK_SWITCH(switchWidget), TRUE);
    gtk_check_button_set_active(GTK_CHECK_BUTTON(WidgetOf(check)), TRUE);
    gtk_drop_down_set_selected(GTK_DROP_DOWN(WidgetOf(combo)), 1);
    GtkEventController* tap = FindController(WidgetOf(suggestion), GTK_TYPE_GESTURE_CLICK);
    ASSERT_NE(tap, nullptr);
    g_signal_emit_by_name(tap, "released", 1, 5.0, 5.0);
    g_signal_emit_by_name(tap, "released", 2, 5.0, 5.0); // the second click of a double click
    EXPECT_EQ(events, (std::vector<std::string>{"click", "on", "checked", "check click", "item 1", "tapped"}));
    EXPECT_TRUE(toggle.IsOn());
    EXPECT_EQ(check.IsChecked(), true);

    // The model's changes: each raises its own event once, and no click.
    events.clear();
    toggle.SetIsOn(false);
    check.SetIsChecked(std::nullopt);
    combo.SetSelectedIndex(0);
    EXPECT_EQ(events, (std::vector<std::string>{"off", "item 0"}));
    EXPECT_FALSE(gtk_switch_get_active(GTK_SWITCH(switchWidget)));
    EXPECT_TRUE(gtk_check_button_get_inconsistent(GTK_CHECK_BUTTON(WidgetOf(check))));
    EXPECT_EQ(gtk_drop_down_get_selected(GTK_DROP_DOWN(WidgetOf(combo))), 0u);
    combo.SetItems({"a", "b", "c"});
    EXPECT_EQ(g_list_model_get_n_items(gtk_drop_down_get_model(GTK_DROP_DOWN(WidgetOf(combo)))), 3u);
    EXPECT_EQ(events.size(), 2u) << "replacing the items does not look like a user's choice";
}

} // namespace
} // namespace gtktest
