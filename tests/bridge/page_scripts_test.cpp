// The scripts every page receives and the bridge object every page gets.
#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "app/process_state.h"
#include "bridge/page_scripts.h"
#include "tests/doubles/page_harness.h"

namespace {

using doubles::PageHarness;

#define NBSP "\xC2\xA0"

const std::string ExpectedAlert =
    "window.alert" NBSP "=" NBSP "function" NBSP "(AlertMessage)" NBSP "{ wScriptNotify.wAlert(AlertMessage) }";
const std::string ExpectedConfirm =
    "var wMessageDialog = false; window.confirm" NBSP "=" NBSP "function" NBSP "wConfirmLooping(ConfirmMessage)" NBSP
    "{ if(wMessageDialog == false){ wScriptNotify.wConfirm(ConfirmMessage); wMessageDialog = true; } "
    "if(wScriptNotify.wConfirmClicked() == true){ return wScriptNotify.wConfirmSelected(); }else{ return "
    "wConfirmLooping(); } }";
const std::string ExpectedLink =
    "var Anchors = document.getElementsByTagName(\"a\"); for (var i = 0; i < Anchors.length ; i++) { "
    "Anchors[i].addEventListener(\"contextmenu\", function (event) { wScriptNotify.wMousePosX(window.event.clientX); "
    "wScriptNotify.wMousePosY(window.event.clientY); wScriptNotify.wContextMenu(this.href); }, false); }";
const std::string ExpectedImage =
    "var Anchors = document.getElementsByTagName(\"img\"); for (var i = 0; i < Anchors.length ; i++) { "
    "Anchors[i].addEventListener(\"contextmenu\", function (event) { wScriptNotify.wMousePosX(window.event.clientX); "
    "wScriptNotify.wMousePosY(window.event.clientY); wScriptNotify.wContextMenu(this.src + '&GET_IMG'); }, false); }";

size_t NoBreakSpaces(const std::string& script)
{
    size_t count = 0;
    for (size_t at = script.find(NBSP); at != std::string::npos; at = script.find(NBSP, at + 1))
        ++count;
    return count;
}

TEST(PageScripts, AreTheFourTextsExactlyInInjectionOrder)
{
    struct Case {
        const std::string& expected;
        size_t noBreakSpaces;
    } cases[] = {{ExpectedAlert, 4}, {ExpectedConfirm, 4}, {ExpectedLink, 0}, {ExpectedImage, 0}};
    const auto& scripts = PageScripts();
    ASSERT_EQ(scripts.size(), 4u);
    for (size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(*scripts[k], cases[k].expected) << "script " << k;
        EXPECT_EQ(NoBreakSpaces(*scripts[k]), cases[k].noBreakSpaces) << "script " << k;
        // No other character outside printable ASCII hides in them.
        auto stray = std::count_if(scripts[k]->begin(), scripts[k]->end(),
                                   [](char c) { return static_cast<unsigned char>(c) > 0x7E || c < 0x20; });
        EXPECT_EQ(static_cast<size_t>(stray), 2 * cases[k].noBreakSpaces) << "script " << k;
    }
    EXPECT_EQ(ImageHookFrom(LinkHookScript), ImageHookScript);
}

class PageBridge : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    std::vector<std::string> Evals(const doubles::FakeWebView& view, size_t from = 0)
    {
        std::vector<std::string> evals;
        for (size_t k = from; k < view.Scripts.size(); ++k) {
            EXPECT_EQ(view.Scripts[k].Function, "eval");
            EXPECT_EQ(view.Scripts[k].Arguments.size(), 1u);
            evals.push_back(view.Scripts[k].Arguments.at(0));
        }
        return evals;
    }
    const std::vector<std::string> Four{ExpectedAlert, ExpectedConfirm, ExpectedLink, ExpectedImage};
    PageHarness h;
};

TEST_F(PageBridge, EveryCompletedNavigationReceivesTheFourScriptsInOrder)
{
    auto* tab = h.Tab(0);
    tab->CompleteNavigation("http://a.example/", "A");
    EXPECT_EQ(Evals(*tab), Four);

    size_t before = tab->Scripts.size();
    tab->CompleteNavigation("http://b.example/", "B");
    EXPECT_EQ(Evals(*tab, before), Four);

    // A sub-frame's completion runs the same handler: the page gets them again.
    before = tab->Scripts.size();
    tab->CompleteFrameNavigation("http://ads.example/frame");
    EXPECT_EQ(Evals(*tab, before), Four);

    // A background tab's page gets them too, in its own view only.
    h.Page().OpenTab(*platform::Uri::Parse("http://c.example/"));
    size_t firstTabScripts = tab->Scripts.size();
    tab->CompleteNavigation("http://d.example/", "D");
    EXPECT_EQ(Evals(*tab, firstTabScripts), Four);
    EXPECT_TRUE(h.Tab(1)->Scripts.empty());
}

TEST_F(PageBridge, EachNavigationStartAddsAFreshBridgeObject)
{
    auto* tab = h.Tab(0);
    EXPECT_EQ(tab->AllowedObjectAdds, 0);
    tab->StartNavigation("http://a.example/");
    ASSERT_EQ(tab->AllowedObjectAdds, 1);
    auto first = tab->AllowedObjects.at("wScriptNotify");
    ASSERT_NE(first, nullptr);

    // The page answers a confirm; the next page starts unanswered.
    tab->CallAllowedObject("wScriptNotify", "wConfirm", {"Sure?"});
    h.Dialogs.Answer("Yes");
    EXPECT_EQ(tab->CallAllowedObject("wScriptNotify", "wConfirmClicked", {}), "true");

    tab->StartNavigation("http://b.example/");
    EXPECT_EQ(tab->AllowedObjectAdds, 2);
    EXPECT_NE(tab->AllowedObjects.at("wScriptNotify"), first);
    EXPECT_EQ(tab->CallAllowedObject("wScriptNotify", "wConfirmClicked", {}), "false");
    EXPECT_EQ(tab->CallAllowedObject("wScriptNotify", "wConfirmSelected", {}), "false");
}

TEST_F(PageBridge, ATabKeepsItsDialogQueueFromPageToPageAndTabsDoNotWaitForEachOther)
{
    auto* first = h.Tab(0);
    first->CompleteNavigation("http://a.example/", "A");
    first->CallAllowedObject("wScriptNotify", "wAlert", {"from A"});
    // A new page of the same tab waits for the dialog of the old one.
    first->CompleteNavigation("http://b.example/", "B");
    first->CallAllowedObject("wScriptNotify", "wAlert", {"from B"});
    EXPECT_EQ(h.Dialogs.OpenCount(), 1u);

    h.Page().OpenTab(*platform::Uri::Parse("http://c.example/"));
    auto* second = h.Tab(1);
    second->CompleteNavigation("http://c.example/", "C");
    second->CallAllowedObject("wScriptNotify", "wAlert", {"from C"});
    EXPECT_EQ(h.Dialogs.OpenCount(), 2u);
    EXPECT_EQ(h.Dialogs.Shown.back().Content, "from C");

    h.Dialogs.Dismiss(0);
    EXPECT_EQ(h.Dialogs.Shown.back().Content, "from B");
    EXPECT_EQ(h.Dialogs.OpenCount(), 2u);
}

} // namespace
