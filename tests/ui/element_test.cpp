#include "platform/ui/element.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using ui::Property;
using Strings = std::vector<std::string>;

std::string Changed(const std::string& name, Property p)
{
    return "changed " + name + " " + std::to_string(static_cast<int>(p));
}

// Records what the root's observer hears, in order, and each child's parent
// at the moment it is heard of.
class RecordingObserver : public ui::ElementObserver {
public:
    void OnPropertyChanged(ui::Element& element, Property p) override { Heard.push_back(Changed(element.Name(), p)); }
    void OnChildAdded(ui::Panel& panel, ui::Element& child, size_t i) override { Child("added ", panel, child, i); }
    void OnChildRemoving(ui::Panel& panel, ui::Element& child, size_t i) override { Child("removing ", panel, child, i); }
    void Child(const char* what, ui::Panel& panel, ui::Element& child, size_t index)
    {
        Heard.push_back(what + child.Name() + " in " + panel.Name() + " at " + std::to_string(index));
        ParentSeen.push_back(child.Parent());
    }
    Strings Heard;
    std::vector<ui::Element*> ParentSeen;
};

template <typename T>
std::unique_ptr<T> Named(const std::string& name)
{
    auto element = std::make_unique<T>();
    element->SetName(name);
    return element;
}

// A root grid holding a stack panel holding a text block and a text box,
// observed at the root.
struct Tree {
    Tree()
    {
        root.SetName("root");
        stack = &root.Append(Named<ui::StackPanel>("stack"));
        text = &stack->Append(Named<ui::TextBlock>("text"));
        box = &stack->Append(Named<ui::TextBox>("box"));
        root.SetObserver(&observer);
    }
    ui::Grid root;
    ui::StackPanel* stack;
    ui::TextBlock* text;
    ui::TextBox* box;
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
}

TEST(ElementModel, PanelsNotifyAddAndRemoveWhileTheChildIsAttached)
{
    Tree tree;
    tree.root.Insert(0, Named<ui::Button>("button"));
    auto removed = tree.root.RemoveAt(0);
    EXPECT_EQ(removed->Parent(), nullptr); // so it no longer reaches the root's observer
    tree.stack->Clear();
    EXPECT_EQ(tree.observer.Heard, (Strings{"added button in root at 0", "removing button in root at 0",
                                            "removing box in stack at 1", "removing text in stack at 0"}));
    EXPECT_EQ(tree.observer.ParentSeen, (std::vector<ui::Element*>{&tree.root, &tree.root, tree.stack, tree.stack}));
    EXPECT_THROW(tree.stack->Insert(1, std::make_unique<ui::TextBlock>()), std::out_of_range);
    EXPECT_THROW(tree.stack->RemoveAt(0), std::out_of_range);
    EXPECT_THROW(tree.stack->Insert(0, nullptr), std::invalid_argument);
}

TEST(ElementModel, TakesInputOnlyWhenItAndEveryAncestorCan)
{
    const std::pair<std::function<void(Tree&)>, bool> cases[] = {
        {[](Tree&) {}, true},
        {[](Tree& t) { t.text->SetOpacity(0.01); }, true},
        {[](Tree& t) { t.text->SetIsEnabled(false); }, false},
        {[](Tree& t) { t.root.SetVisibility(ui::Visibility::Collapsed); }, false},
        {[](Tree& t) { t.stack->SetOpacity(0); }, false},
        {[](Tree& t) { t.stack->SetIsHitTestVisible(false); }, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        Tree tree;
        cases[i].first(tree);
        EXPECT_EQ(tree.text->TakesInput(), cases[i].second) << "case " << i;
    }
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
}

TEST(ElementModel, ValuesAreClampedAndEventsRaisedOnChangeOnly)
{
    ui::TextBox box;
    box.SetText("a\xF0\x9F\x98\x80" "b\xC3\xA9"); // a, an emoji (two UTF-16 units), b, e-acute
    for (auto [start, length, wantStart, wantLength] : {std::tuple(0, 99, 0, 5), {4, 9, 4, 1}, {-3, 2, 0, 2}}) {
        box.Select(start, length);
        EXPECT_EQ(std::pair(box.SelectionStart(), box.SelectionLength()), std::pair(wantStart, wantLength)) << start;
    }
    box.SetText("x");
    EXPECT_EQ(box.SelectionLength(), 1);

    ui::ProgressBar bar;
    bar.SetValue(80);
    bar.SetRange(0, 50);
    EXPECT_EQ(bar.Value(), 50);
    bar.SetRange(10, 5); // a maximum below the minimum collapses onto it
    EXPECT_EQ(std::tuple(bar.Minimum(), bar.Maximum(), bar.Value()), std::tuple(10.0, 10.0, 10.0));
    ui::ScrollViewer viewer;
    viewer.ScrollTo(-5, 12);
    EXPECT_EQ(std::pair(viewer.HorizontalOffset(), viewer.VerticalOffset()), std::pair(0.0, 12.0));

    ui::CheckBox check;
    Strings events;
    check.Checked.Subscribe([&](ui::Element&) { events.push_back("checked"); });
    check.Unchecked.Subscribe([&](ui::Element&) { events.push_back("unchecked"); });
    for (auto value : {std::optional(true), std::optional(true), std::optional<bool>(), std::optional(false)})
        check.SetIsChecked(value);
    EXPECT_EQ(events, (Strings{"checked", "unchecked"}));
}

} // namespace
