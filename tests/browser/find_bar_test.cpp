// The find bar's state beside the engine: the newest text's answers only, in
// either order, a provisional count until the total arrives, steps that wrap,
// the red border for no match, and a close (or a tab switch) that clears the
// page's highlight.
#include <gtest/gtest.h>

#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

ui::TextBox& FindBox(ui::Element& root)
{
    std::function<ui::Element*(ui::Element&)> search = [&](ui::Element& e) -> ui::Element* {
        if (e.Name() == "wFindBox")
            return &e;
        if (auto* panel = e.AsPanel())
            for (size_t i = 0; i < panel->Count(); ++i)
                if (auto* found = search(panel->ChildAt(i)))
                    return found;
        return nullptr;
    };
    return dynamic_cast<ui::TextBox&>(*search(root));
}

// One thing happening to the bar, and what it shows after it.
enum class Do { Type, Found, FoundMore, Counted, Next, Previous };
struct Step {
    Do what;
    std::string text;
    uint32_t matches;
    std::string shown;
};
struct Case {
    const char* name;
    std::vector<Step> steps;
};

const Case Cases[] = {
    {"the newest text wins over late answers for an earlier one",
     {{Do::Type, "ap", 0, ""}, {Do::Type, "apple", 0, ""}, {Do::Counted, "ap", 40, ""}, {Do::FoundMore, "ap", 3, ""},
      {Do::Counted, "apple", 3, "1 wFind_Of 3"}, {Do::Found, "ap", 0, "1 wFind_Of 3"}}},
    {"the engine's early stop is provisional until the total arrives",
     {{Do::Type, "w", 0, ""}, {Do::FoundMore, "w", 3, "1 wFind_Of 4 wFind_OrMore"},
      {Do::Next, "", 0, "2 wFind_Of 4 wFind_OrMore"}, {Do::Counted, "w", 900, "2 wFind_Of 900"},
      {Do::Previous, "", 0, "1 wFind_Of 900"}, {Do::Previous, "", 0, "900 wFind_Of 900"}}},
    {"a total short of what the engine saw stays provisional",
     {{Do::Type, "w", 0, ""}, {Do::FoundMore, "w", 3, "1 wFind_Of 4 wFind_OrMore"},
      {Do::Counted, "w", 2, "1 wFind_Of 4 wFind_OrMore"}}},
    {"the engine's full count wins over the page's total, and steps wrap both ways",
     {{Do::Type, "pear", 0, ""}, {Do::Counted, "pear", 5, "1 wFind_Of 5"}, {Do::Found, "pear", 3, "1 wFind_Of 3"},
      {Do::Next, "", 0, "2 wFind_Of 3"}, {Do::Next, "", 0, "3 wFind_Of 3"}, {Do::Next, "", 0, "1 wFind_Of 3"},
      {Do::Previous, "", 0, "3 wFind_Of 3"}}},
    {"no match from the total, corrected by the engine",
     {{Do::Type, "zz", 0, ""}, {Do::Counted, "zz", 0, "wFind_NoMatches"},
      {Do::FoundMore, "zz", 3, "1 wFind_Of 4 wFind_OrMore"}}},
    {"no match from the engine stands until the text changes",
     {{Do::Type, "qq", 0, ""}, {Do::Found, "qq", 0, "wFind_NoMatches"}, {Do::Counted, "qq", 2, "wFind_NoMatches"},
      {Do::Next, "", 0, "wFind_NoMatches"}, {Do::Type, "q", 0, ""}}},
};

TEST(FindBar, ShowsTheNewestTextsCountProvisionalThenFinal)
{
    for (const auto& c : Cases) {
        SCOPED_TRACE(c.name);
        PageHarness harness;
        auto& page = harness.Start("https://a.example/");
        auto& find = harness.Find();
        auto& box = FindBox(page.Root());
        auto& view = *harness.Tab(0);
        const auto normalBorder = box.BorderBrush();
        find.OpenFindBar();
        for (const auto& step : c.steps) {
            switch (step.what) {
            case Do::Type: box.SetTextFromUser(step.text); break;
            case Do::Found: view.TextFound(view, {step.text, step.matches}); break;
            case Do::FoundMore: view.TextFound(view, {step.text, step.matches, true}); break;
            case Do::Counted: view.FindCounted(view, {step.text, step.matches}); break;
            case Do::Next: find.FindNext(); break;
            case Do::Previous: find.FindPrevious(); break;
            }
            EXPECT_EQ(find.StatusText(), step.shown);
            EXPECT_EQ(box.BorderBrush() != normalBorder, step.shown == "wFind_NoMatches") << step.shown;
        }
    }
}

TEST(FindBar, AsksTheTotalBeforeTheSearchAndClearsOnCloseAndTabSwitch)
{
    PageHarness harness;
    auto& page = harness.Start("https://a.example/");
    auto& find = harness.Find();
    auto& box = FindBox(page.Root());
    auto& view = *harness.Tab(0);

    find.OpenFindBar();
    box.SetTextFromUser("ap");
    view.TextFound(view, {"ap", 3});
    for (bool shift : {false, true}) { // Enter steps on, Shift+Enter back
        ui::KeyEventArgs enter{13, shift};
        box.KeyDown(box, enter);
        EXPECT_TRUE(enter.Handled);
    }
    box.SetTextFromUser("");
    find.CloseFindBar();
    EXPECT_FALSE(find.IsOpen());
    EXPECT_EQ(view.Found, (std::vector<std::string>{"<count>ap", "ap", "<next>", "<previous>", "", "<finished>"}));

    // A new tab in front closes the bar and clears the old tab's search; its
    // late answer changes nothing.
    find.OpenFindBar();
    box.SetTextFromUser("pear");
    harness.Tabs().OpenTab(*platform::Uri::Parse("https://b.example/"));
    EXPECT_FALSE(find.IsOpen());
    EXPECT_EQ(view.Found.back(), "<finished>");
    view.TextFound(view, {"pear", 2});
    EXPECT_EQ(find.StatusText(), "");
}

} // namespace
