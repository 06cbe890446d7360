#include "platform/ui/element.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using ui::Property;

// Records what the root's observer hears, in order.
class RecordingObserver : public ui::ElementObserver {
public:
    void OnPropertyChanged(ui::Element& element, Property property) override
    {
        Heard.push_back("changed " + element.Name() + " " + std::to_string(static_cast<int>(property)));
    }
    void OnChildAdded(ui::Panel& panel, ui::Element& child, size_t index) override
    {
        Heard.push_back("added " + child.Name() + " to " + panel.Name() + " at " + std::to_string(index));
        ParentSeen.push_back(child.Parent());
    }
    void OnChildRemoving(ui::Panel& panel, ui::Element& child, size_t index) override
    {
        Heard.push_back("removing " + child.Name() + " from " + panel.Name() + " at " + std::to_string(index));
        ParentSeen.push_back(child.Parent());
    }
    std::vector<std::string> Heard;
    std::vector<ui::Element*> ParentSeen;
};

std::string Changed(const std::string& name, Property p)
{
    return "changed " + name + " " + std::to_string(static_cast<int>(p));
}

template <typename T>
std::unique_ptr<T> Named(const std::string& name)
{
    auto element = std::make_unique<T>();
    element->SetName(name);
    return element;
}

// A root grid holding a stack panel holding a text block, observed at the root.
struct Tree {
    Tree()
    {
        root.SetName("root");
        stack = &root.Append(Named<ui::StackPanel>("stack"));
        text = &stack->Append(Named<ui::TextBlock>("text"));
        root.SetObserver(&observer);
    }
    ui::Grid root;
    ui::StackPanel* stack;
    ui::TextBlock* text;
    RecordingObserver observer;
};

TEST(ElementModel, ChangesDeepInTheTreeReachTheRootObserverOnce)
{
    struct Case {
        const char* Title;
        std::function<void(Tree&)> Set;
        const char* Name;
        Property Expected;
    };
    const Case cases[] = {
        {"width", [](Tree& t) { t.text->SetWidth(40); }, "text", Property::Width},
        {"margin", [](Tree& t) { t.text->SetMargin({0, -28, 0, 0}); }, "text", Property::Margin},
        {"text", [](Tree& t) { t.text->SetText("Hello"); }, "text", Property::Text},
        {"background", [](Tree& t) { t.stack->SetBackground(ui::Color::Red()); }, "stack", Property::Background},
        {"visibility", [](Tree& t) { t.stack->SetVisibility(ui::Visibility::Collapsed); }, "stack", Property::Visibility},
        {"font size", [](Tree& t) { t.text->SetFontSize(20); }, "text", Property::FontSize},
        {"tag", [](Tree& t) { t.text->SetTag(7); }, "text", Property::Tag},
        {"row definitions", [](Tree& t) { t.root.SetRowDefinitions({ui::GridLength::Pixels(48)}); }, "root",
         Property::RowDefinitions},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        Tree tree;
        c.Set(tree);
        c.Set(tree); // the same value again is no change
        EXPECT_EQ(tree.observer.Heard, std::vector<std::string>{Changed(c.Name, c.Expected)});
    }
}

TEST(ElementModel, SettingWhatIsAlreadyThereIsSilent)
{
    Tree tree;
    tree.text->SetWidth(ui::Auto); // NaN to NaN
    tree.text->SetVisibility(ui::Visibility::Visible);
    tree.text->SetMargin({});
    tree.text->SetText("");
    tree.text->SetBackground(std::nullopt);
    tree.text->SetOpacity(1.0);
    tree.stack->SetOrientation(ui::Orientation::Vertical);
    EXPECT_TRUE(tree.observer.Heard.empty());
}

TEST(ElementModel, PanelsNotifyAddAndRemoveWhileTheChildIsAttached)
{
    Tree tree;
    tree.stack->Insert(0, Named<ui::Button>("button"));
    ui::Element& button = tree.stack->ChildAt(0);
    EXPECT_EQ(button.Parent(), tree.stack);
    EXPECT_EQ(tree.stack->IndexOf(*tree.text), 1u);

    auto removed = tree.stack->RemoveAt(0);
    EXPECT_EQ(removed.get(), &button);
    EXPECT_EQ(removed->Parent(), nullptr);
    EXPECT_FALSE(tree.stack->IndexOf(*removed).has_value());

    tree.stack->Append(Named<ui::TextBlock>("second"));
    tree.stack->Clear();
    EXPECT_EQ(tree.stack->Count(), 0u);

    const std::vector<std::string> expected = {
        "added button to stack at 0",   "removing button from stack at 0", "added second to stack at 1",
        "removing second from stack at 1", "removing text from stack at 0",
    };
    EXPECT_EQ(tree.observer.Heard, expected);
    for (ui::Element* parent : tree.observer.ParentSeen)
        EXPECT_EQ(parent, tree.stack);
}

TEST(ElementModel, DetachedElementsNoLongerReachTheirFormerRoot)
{
    Tree tree;
    auto detached = tree.root.RemoveAt(0);
    tree.observer.Heard.clear();
    tree.text->SetText("changed while detached");
    EXPECT_TRUE(tree.observer.Heard.empty());
    EXPECT_EQ(&tree.text->Root(), detached.get());
}

TEST(ElementModel, PanelIndicesOutOfRangeAreRefused)
{
    ui::StackPanel panel;
    EXPECT_THROW(panel.Insert(1, std::make_unique<ui::TextBlock>()), std::out_of_range);
    EXPECT_THROW(panel.RemoveAt(0), std::out_of_range);
    EXPECT_THROW(panel.Insert(0, nullptr), std::invalid_argument);
    ui::Grid grid;
    EXPECT_THROW(grid.SetRowDefinition(0, ui::GridLength::Auto()), std::out_of_range);
}

TEST(ElementModel, GridRowDefinitionIsReplacedInPlace)
{
    Tree tree;
    tree.root.SetRowDefinitions({ui::GridLength::Auto(), ui::GridLength::Star()});
    tree.observer.Heard.clear();
    tree.root.SetRowDefinition(0, ui::GridLength::Pixels(48));
    tree.root.SetRowDefinition(0, ui::GridLength::Pixels(48));
    EXPECT_EQ(tree.root.RowDefinitions()[0], ui::GridLength::Pixels(48));
    EXPECT_EQ(tree.observer.Heard, std::vector<std::string>{Changed("root", Property::RowDefinitions)});
}

TEST(ElementModel, TakesInputOnlyWhenItAndEveryAncestorCan)
{
    struct Case {
        const char* Title;
        std::function<void(Tree&)> Set;
        bool Expected;
    };
    const Case cases[] = {
        {"as built", [](Tree&) {}, true},
        {"collapsed", [](Tree& t) { t.text->SetVisibility(ui::Visibility::Collapsed); }, false},
        {"transparent", [](Tree& t) { t.text->SetOpacity(0); }, false},
        {"faint", [](Tree& t) { t.text->SetOpacity(0.01); }, true},
        {"not hit-test visible", [](Tree& t) { t.text->SetIsHitTestVisible(false); }, false},
        {"disabled", [](Tree& t) { t.text->SetIsEnabled(false); }, false},
        {"collapsed ancestor", [](Tree& t) { t.root.SetVisibility(ui::Visibility::Collapsed); }, false},
        {"transparent ancestor", [](Tree& t) { t.stack->SetOpacity(0); }, false},
        {"ancestor off for hits", [](Tree& t) { t.stack->SetIsHitTestVisible(false); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Title);
        Tree tree;
        c.Set(tree);
        EXPECT_EQ(tree.text->TakesInput(), c.Expected);
    }
}

TEST(ElementModel, TextBoxTextFromCodeRaisesTextChangedAndNotifies)
{
    Tree tree;
    auto& box = tree.stack->Append(Named<ui::TextBox>("box"));
    int textChanged = 0;
    box.TextChanged.Subscribe([&](ui::Element& sender) {
        EXPECT_EQ(&sender, &box);
        EXPECT_EQ(box.Text(), "typed");
        ++textChanged;
    });
    tree.observer.Heard.clear();
    box.SetText("typed");
    box.SetText("typed");
    EXPECT_EQ(textChanged, 1);
    EXPECT_EQ(tree.observer.Heard, std::vector<std::string>{Changed("box", Property::Text)});
}

TEST(ElementModel, WhatTheUserDidIsNotEchoedBackToTheRenderer)
{
    Tree tree;
    auto& box = tree.stack->Append(Named<ui::TextBox>("box"));
    std::vector<std::string> events;
    box.TextChanged.Subscribe([&](ui::Element&) { events.push_back("text " + box.Text()); });
    box.GotFocus.Subscribe([&](ui::Element&) { events.push_back("got " + ui::ToString(box.FocusState())); });
    box.LostFocus.Subscribe([&](ui::Element&) { events.push_back("lost " + ui::ToString(box.FocusState())); });
    tree.observer.Heard.clear();

    box.SetFocusStateFromUser(ui::FocusState::Pointer);
    box.SetFocusStateFromUser(ui::FocusState::Keyboard); // still focused: no second GotFocus
    box.SetTextFromUser("abc");
    box.SetTextFromUser("abc");
    box.SetSelectionFromUser(1, 10);
    box.SetFocusStateFromUser(ui::FocusState::Unfocused);
    box.SetFocusStateFromUser(ui::FocusState::Unfocused);

    const std::vector<std::string> expected = {"got Pointer", "text abc", "lost Unfocused"};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(box.SelectionStart(), 1);
    EXPECT_EQ(box.SelectionLength(), 2);
    EXPECT_TRUE(tree.observer.Heard.empty());
}

TEST(ElementModel, TextBoxSelectionCountsUtf16UnitsAndStaysInsideTheText)
{
    ui::TextBox box;
    box.SetText("a\xF0\x9F\x98\x80" "b\xC3\xA9"); // a, an emoji (two units), b, e-acute
    box.SelectAll();
    EXPECT_EQ(box.SelectionStart(), 0);
    EXPECT_EQ(box.SelectionLength(), 5);
    box.Select(4, 9);
    EXPECT_EQ(box.SelectionStart(), 4);
    EXPECT_EQ(box.SelectionLength(), 1);
    box.Select(-3, 2);
    EXPECT_EQ(box.SelectionStart(), 0);
    EXPECT_EQ(box.SelectionLength(), 2);
    box.SetText("x");
    EXPECT_EQ(box.SelectionLength(), 1);
}

TEST(ElementModel, FocusIsARequestTheRendererGrants)
{
    Tree tree;
    auto& box = tree.stack->Append(Named<ui::TextBox>("box"));
    tree.observer.Heard.clear();
    box.Focus(ui::FocusState::Programmatic);
    box.Focus(ui::FocusState::Programmatic); // asked twice, heard twice
    EXPECT_EQ(box.RequestedFocus(), ui::FocusState::Programmatic);
    EXPECT_EQ(box.FocusState(), ui::FocusState::Unfocused);
    EXPECT_EQ(tree.observer.Heard,
              (std::vector<std::string>{Changed("box", Property::FocusRequest), Changed("box", Property::FocusRequest)}));
}

TEST(ElementModel, CheckBoxRaisesCheckedAndUncheckedOnChangeOnly)
{
    ui::CheckBox check;
    std::vector<std::string> events;
    check.Checked.Subscribe([&](ui::Element&) { events.push_back("checked"); });
    check.Unchecked.Subscribe([&](ui::Element&) { events.push_back("unchecked"); });
    check.SetIsChecked(true);
    check.SetIsChecked(true);
    check.SetIsChecked(std::nullopt);
    check.SetIsChecked(false);
    EXPECT_EQ(events, (std::vector<std::string>{"checked", "unchecked"}));
}

TEST(ElementModel, ProgressBarRangeHoldsTheValue)
{
    ui::ProgressBar bar;
    bar.SetValue(80);
    bar.SetRange(0, 50);
    EXPECT_EQ(bar.Value(), 50);
    bar.SetRange(10, 5); // a maximum below the minimum collapses onto it
    EXPECT_EQ(bar.Minimum(), 10);
    EXPECT_EQ(bar.Maximum(), 10);
    EXPECT_EQ(bar.Value(), 10);
}

TEST(ElementModel, ScrollOffsetsAreNeverNegative)
{
    ui::ScrollViewer viewer;
    viewer.ScrollTo(-5, 12);
    EXPECT_EQ(viewer.HorizontalOffset(), 0);
    EXPECT_EQ(viewer.VerticalOffset(), 12);
}

TEST(ElementModel, CreatesEveryMarkupTagAndNothingElse)
{
    const std::pair<const char*, ui::ElementKind> tags[] = {
        {"Grid", ui::ElementKind::Grid},           {"StackPanel", ui::ElementKind::StackPanel},
        {"Border", ui::ElementKind::Border},       {"ScrollViewer", ui::ElementKind::ScrollViewer},
        {"TextBlock", ui::ElementKind::TextBlock}, {"Button", ui::ElementKind::Button},
        {"TextBox", ui::ElementKind::TextBox},     {"ComboBox", ui::ElementKind::ComboBox},
        {"ToggleSwitch", ui::ElementKind::ToggleSwitch}, {"CheckBox", ui::ElementKind::CheckBox},
        {"ProgressBar", ui::ElementKind::ProgressBar},   {"ProgressRing", ui::ElementKind::ProgressRing},
    };
    for (const auto& [tag, kind] : tags) {
        auto element = ui::CreateElement(tag);
        ASSERT_NE(element, nullptr) << tag;
        EXPECT_EQ(element->Kind(), kind) << tag;
    }
    EXPECT_EQ(ui::CreateElement("WebView"), nullptr);
    EXPECT_EQ(ui::CreateElement("grid"), nullptr);
    EXPECT_EQ(ui::CreateElement(""), nullptr);
}

TEST(ElementModel, LayoutInputsAffectLayoutAndPaintDoesNot)
{
    for (Property p : {Property::Margin, Property::Visibility, Property::Text, Property::GridRow, Property::FontSize,
                       Property::RowDefinitions, Property::ScrollOffset})
        EXPECT_TRUE(ui::AffectsLayout(p)) << static_cast<int>(p);
    for (Property p : {Property::Background, Property::Opacity, Property::Foreground, Property::IsEnabled,
                       Property::FocusState, Property::Selection, Property::Value})
        EXPECT_FALSE(ui::AffectsLayout(p)) << static_cast<int>(p);
}

} // namespace
