#include "platform/ui/element.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/ui/markup.h"
#include "tests/doubles/services.h"

namespace {

using ui::Property;
using Strings = std::vector<std::string>;

std::string Changed(const std::string& name, Property p)
{
    return "changed " + name + " " + std::to_string(static_cast<int>(p));
}

// What the root's observer (the renderer) hears, in order.
class RecordingObserver : public ui::ElementObserver {
public:
    void OnPropertyChanged(ui::Element& element, Property p) override { Heard.push_back(Changed(element.Name(), p)); }
    void OnChildAdded(ui::Panel&, ui::Element& child, size_t) override { Heard.push_back("added " + child.Name()); }
    void OnChildRemoving(ui::Panel&, ui::Element& child, size_t) override { Heard.push_back("removing " + child.Name()); }
    Strings Heard;
};

// A root grid holding a stack panel holding a text block and a text box,
// observed at the root.
struct Tree {
    Tree() { markup.Root->SetObserver(&observer); }
    ui::LoadedMarkup markup = ui::LoadMarkup(R"(<Grid x:Name="root"><StackPanel x:Name="stack">
        <TextBlock x:Name="text"/><TextBox x:Name="box"/></StackPanel></Grid>)", doubles::FakeResources(), {});
    ui::Grid& root = markup.Get<ui::Grid>("root");
    ui::StackPanel* stack = &markup.Get<ui::StackPanel>("stack");
    ui::TextBlock* text = &markup.Get<ui::TextBlock>("text");
    ui::TextBox* box = &markup.Get<ui::TextBox>("box");
    RecordingObserver observer;
};

TEST(ElementModel, ChangesDeepInTheTreeReachTheRootObserverOnce)
{
    const std::tuple<std::function<void(Tree&)>, const char*, Property> cases[] = {
        {[](Tree& t) { t.text->SetMargin({0, -28, 0, 0}); }, "text", Property::Margin},
        {[](Tree& t) { t.box->SetText("typed"); }, "box", Property::Text},
        {[](Tree& t) { t.stack->SetVisibility(ui::Visibility::Collapsed); }, "stack", Property::Visibility},
        {[](Tree& t) { t.root.SetRowDefinitions({ui::GridLength::Pixels(48)}); }, "root", Property::RowDefinitions},
    };
    for (const auto& [set, name, property] : cases) {
        Tree tree;
        set(tree);
        set(tree); // the same value again is no change
        EXPECT_EQ(tree.observer.Heard, Strings{Changed(name, property)});
    }
    Tree tree; // the defaults set again, a NaN width among them, are no change either
    tree.text->SetWidth(ui::Auto);
    tree.text->SetBackground(std::nullopt);
    tree.text->SetOpacity(1.0);
    EXPECT_TRUE(tree.observer.Heard.empty());
    // A removed child no longer reaches the root's observer.
    auto removed = tree.stack->RemoveAt(0);
    EXPECT_EQ(removed->Parent(), nullptr);
    removed->SetMargin({1, 1, 1, 1});
    EXPECT_EQ(tree.observer.Heard, Strings{"removing text"});
    EXPECT_THROW(tree.stack->Insert(2, std::make_unique<ui::TextBlock>()), std::out_of_range);
}

// Text set by code raises TextChanged and tells the renderer; focus is only
// asked for. What the user did raises the events but is not echoed back.
TEST(ElementModel, TextBoxEventsFromCodeAndFromTheUser)
{
    Tree tree;
    ui::TextBox& box = *tree.box;
    Strings events;
    box.TextChanged.Subscribe([&](ui::Element&) { events.push_back("text " + box.Text()); });
    box.GotFocus.Subscribe([&](ui::Element&) { events.push_back("got " + ui::ToString(box.FocusState())); });
    box.LostFocus.Subscribe([&](ui::Element&) { events.push_back("lost " + ui::ToString(box.FocusState())); });
    box.SetText("code");
    box.Focus(ui::FocusState::Programmatic);
    box.Focus(ui::FocusState::Programmatic); // asked twice, heard twice
    EXPECT_EQ(box.FocusState(), ui::FocusState::Unfocused);
    EXPECT_EQ(tree.observer.Heard, (Strings{Changed("box", Property::Text), Changed("box", Property::FocusRequest),
                                            Changed("box", Property::FocusRequest)}));
    tree.observer.Heard.clear();

    box.SetFocusStateFromUser(ui::FocusState::Pointer);
    box.SetFocusStateFromUser(ui::FocusState::Keyboard); // still focused: no second GotFocus
    box.SetTextFromUser("abc");
    box.SetTextFromUser("abc");
    box.SetSelectionFromUser(1, 10);
    box.SetFocusStateFromUser(ui::FocusState::Unfocused);
    box.SetFocusStateFromUser(ui::FocusState::Unfocused);
    EXPECT_EQ(events, (Strings{"text code", "got Pointer", "text abc", "lost Unfocused"}));
    EXPECT_EQ(std::pair(box.SelectionStart(), box.SelectionLength()), std::pair(1, 2));
    EXPECT_TRUE(tree.observer.Heard.empty());

    // Selections by code are clamped to the text too, in UTF-16 units.
    box.SetText("a\xF0\x9F\x98\x80" "b\xC3\xA9"); // a, an emoji (two units), b, e-acute
    for (auto [start, length, wantStart, wantLength] : {std::tuple(0, 99, 0, 5), {4, 9, 4, 1}, {-3, 2, 0, 2}}) {
        box.Select(start, length);
        EXPECT_EQ(std::pair(box.SelectionStart(), box.SelectionLength()), std::pair(wantStart, wantLength)) << start;
    }
    box.SetText("x");
    EXPECT_EQ(box.SelectionLength(), 1);
}

} // namespace
