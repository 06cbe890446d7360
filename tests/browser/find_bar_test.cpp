// The find bar's state beside the engine: counts for the text now in the box
// only, stepping that wraps both ways, the red border for no match, and a
// close (or a tab switch) that clears the page's highlight.
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

TEST(FindBar, CountsTheCurrentTextStepsAroundAndClearsOnCloseAndTabSwitch)
{
    PageHarness harness;
    auto& page = harness.Start("https://a.example/");
    auto& find = harness.Find();
    auto& box = FindBox(page.Root());
    auto& view = *harness.Tab(0);
    const auto normalBorder = box.BorderBrush();

    find.OpenFindBar();
    ASSERT_TRUE(find.IsOpen());
    box.SetTextFromUser("ap");
    box.SetTextFromUser("apple");
    // The count for the earlier text arrives late: ignored.
    view.FindCounted(view, {"ap", 40});
    EXPECT_EQ(find.StatusText(), "");
    view.FindCounted(view, {"apple", 3});
    EXPECT_EQ(find.StatusText(), "1 wFind_Of 3");

    find.FindNext();
    find.FindNext();
    find.FindNext();
    EXPECT_EQ(find.StatusText(), "1 wFind_Of 3");
    find.FindPrevious();
    EXPECT_EQ(find.StatusText(), "3 wFind_Of 3");

    box.SetTextFromUser(std::string(10000, 'z'));
    view.FindCounted(view, {std::string(10000, 'z'), 0});
    EXPECT_EQ(find.StatusText(), "wFind_NoMatches");
    EXPECT_NE(box.BorderBrush(), normalBorder);
    find.FindNext(); // nothing to step to

    find.CloseFindBar();
    EXPECT_FALSE(find.IsOpen());
    EXPECT_EQ(box.BorderBrush(), normalBorder);
    EXPECT_EQ(view.Found, (std::vector<std::string>{"ap", "apple", "<next>", "<next>", "<next>", "<previous>",
                                                    std::string(10000, 'z'), "<finished>"}));

    // A new tab in front closes the bar and clears the old tab's search.
    find.OpenFindBar();
    box.SetTextFromUser("pear");
    harness.Tabs().OpenTab(*platform::Uri::Parse("https://b.example/"));
    EXPECT_FALSE(find.IsOpen());
    EXPECT_EQ(view.Found.back(), "<finished>");
}

} // namespace
