// The bridge object with doubles: what a page's right-click, alert and confirm
// leave in the bridge fields and on screen, and how its dialogs queue.
#include <climits>
#include <memory>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "bridge/bridge_dialogs.h"
#include "bridge/shared_object.h"
#include "tests/doubles/services.h"

namespace {

// What the tab hears of its page's right-clicks.
struct RecordedRequests : ContextRequests {
    void PointerX(int32_t x) override { X = x; }
    void PointerY(int32_t y) override { Y = y; }
    void ContextMenu(const std::string& target, int32_t kind) override { Target = target, Kind = kind, ++Menus; }
    int32_t X = 0, Y = 0, Kind = 0;
    std::string Target;
    int Menus = 0;
};

class Bridge : public ::testing::Test {
protected:
    std::optional<std::string> Call(const std::string& method, std::vector<std::string> arguments = {})
    {
        return Object->Invoke(method, arguments);
    }

    doubles::FakeDialogs Dialogs;
    doubles::FakeResources Strings;
    std::shared_ptr<BridgeDialogQueue> Queue = std::make_shared<BridgeDialogQueue>(Dialogs);
    std::shared_ptr<RecordedRequests> Requests = std::make_shared<RecordedRequests>();
    std::shared_ptr<SharedObject> Object = std::make_shared<SharedObject>(Strings, Queue, Requests);
};

// Pointer positions arrive as page numbers; the target keeps its kind. (The
// pop-up's tests hold the web targets, "&" inside an image address among them.)
TEST_F(Bridge, RightClickReportsArriveAsNumbersAndAKindedTarget)
{
    const std::pair<const char*, int32_t> pointers[] = {
        {"12", 12}, {"12.7", 12}, {"-3", -3}, {"abc", 0}, {"", 0}, {"1e12", INT32_MAX}, {"-1e12", INT32_MIN}, {"nan", 0},
    };
    for (const auto& [sent, stored] : pointers) {
        Call("wMousePosX", {sent});
        Call("wMousePosY", {sent});
        EXPECT_EQ(std::pair(Requests->X, Requests->Y), std::pair(stored, stored)) << sent;
    }
    Call("wMousePosX"); // without its argument: 0 rather than a failure
    EXPECT_EQ(Requests->X, 0);

    const std::tuple<const char*, const char*, int> targets[] = { // sent, target, kind
        {"http://a.example/page", "http://a.example/page", 92},
        {"", "", 92}, // a link without an address still opens the pop-up
        {"http://img.example/a.png&GET_IMG", "http://img.example/a.png", 127},
        {"&GET_IMG", "", 127},
        {"http://a.example/?q=&GET_IMG&tail", "http://a.example/?q=&GET_IMG", 127},
        {"http://a.example/&get_img", "http://a.example/&get_img", 92}, // the marker is case-sensitive
    };
    for (const auto& [sent, target, kind] : targets) {
        EXPECT_EQ(Call("wContextMenu", {sent}), std::nullopt);
        EXPECT_EQ(std::pair(Requests->Target, Requests->Kind), std::pair(std::string(target), kind)) << sent;
    }
    EXPECT_EQ(Requests->Menus, 6);
    Requests.reset(); // a tab that has closed hears nothing, and nothing breaks
    EXPECT_EQ(Call("wContextMenu", {"http://a.example/"}), std::nullopt);
}

TEST_F(Bridge, TextsReachingADialogAreBounded)
{
    const std::pair<std::string, size_t> cases[] = { // sent, bytes shown before the ellipsis (0: whole)
        {std::string(5 * 1024 * 1024, 'x'), 10000},
        {std::string(10000, 'x'), 0},
        {std::string(9999, 'x') + "\xF0\x9F\x99\x82", 9999}, // an emoji counts two
        {std::string(9998, 'x') + "\xF0\x9F\x99\x82", 0},
        {std::string(20000, 'a').replace(0, 2, "\xC3\xA9"), 10001}, // é counts one, two bytes
    };
    for (const auto& [sent, shownBytes] : cases) {
        Call("wAlert", {sent});
        EXPECT_EQ(Dialogs.Shown.back().Content, shownBytes ? sent.substr(0, shownBytes) + "\u2026" : sent);
        Dialogs.Dismiss();
    }
    Call("wConfirm", {std::string(100000, 'q')});
    EXPECT_EQ(Dialogs.Shown.back().Content.size(), 10000 + 3 + 2 + std::string("Do you want to continue?").size());
}

// The page waits for its confirm until the user answers (or closes the
// dialog, which counts as no); later polls on the page read the same answer.
TEST_F(Bridge, ConfirmRepliesOnlyOnceTheUserHasAnswered)
{
    const std::pair<const char*, const char*> cases[] = {{"Yes", "true"}, {"No", "false"}, {nullptr, "false"}};
    for (const auto& [picked, selected] : cases) { // picked nullptr: closed without a pick
        Dialogs.Shown.clear();
        int replies = 0;
        std::optional<std::string> clickedAtReply;
        Object->InvokeWithReply("wConfirm", {"Leave this page?"}, [&](std::optional<std::string> result) {
            ++replies;
            EXPECT_EQ(result, std::nullopt);
            clickedAtReply = Call("wConfirmClicked");
        });
        ASSERT_EQ(Dialogs.Shown.size(), 1u);
        EXPECT_EQ(Dialogs.Shown[0].Content, "Leave this page?\n\nDo you want to continue?");
        EXPECT_EQ(Dialogs.Shown[0].Commands, (std::vector<std::string>{"Yes", "No"}));
        EXPECT_EQ(std::pair(replies, Call("wConfirmClicked")), std::pair(0, std::optional<std::string>("false")));
        picked ? Dialogs.Answer(picked) : Dialogs.Dismiss();
        EXPECT_EQ(replies, 1);
        EXPECT_EQ(clickedAtReply, "true"); // the page's first poll already sees it
        for (int poll = 0; poll < 3; ++poll)
            EXPECT_EQ(Call("wConfirmSelected"), selected);
    }
    // An unknown method does nothing and replies nothing; one with a result replies it.
    EXPECT_EQ(Call("wFormat", {"C:"}), std::nullopt);
    std::vector<std::optional<std::string>> replies;
    Object->InvokeWithReply("nope", {}, [&](auto r) { replies.push_back(r); });
    Object->InvokeWithReply("wConfirmSelected", {}, [&](auto r) { replies.push_back(r); });
    EXPECT_EQ(replies, (std::vector<std::optional<std::string>>{std::nullopt, "false"}));
    EXPECT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Requests->Menus, 0);
}

TEST_F(Bridge, AnAlertFloodShowsOneDialogAndKeepsOnlyAFewWaiting)
{
    for (int i = 0; i < 10000; ++i)
        Call("wAlert", {"alert " + std::to_string(i)});
    ASSERT_EQ(Dialogs.Shown.size(), 1u);
    EXPECT_EQ(Queue->Waiting(), BridgeDialogQueue::MaxWaiting);
    // A confirm that finds no room is answered no at once: the page never waits for ever.
    int replies = 0;
    Object->InvokeWithReply("wConfirm", {"Sure?"}, [&](auto) { ++replies; });
    EXPECT_EQ(replies, 1);
    EXPECT_EQ(Call("wConfirmSelected"), "false");

    // Closing them one by one shows the waiting ones in order, then nothing.
    for (size_t k = 1; k <= BridgeDialogQueue::MaxWaiting + 1; ++k) {
        Dialogs.Dismiss();
        ASSERT_EQ(Dialogs.Shown.size(), std::min(k + 1, BridgeDialogQueue::MaxWaiting + 1));
        EXPECT_EQ(Dialogs.Shown.back().Content, "alert " + std::to_string(std::min(k, BridgeDialogQueue::MaxWaiting)));
    }
    EXPECT_EQ(Dialogs.OpenCount(), 0u);
    Call("wAlert", {"after"}); // the queue is usable again
    EXPECT_EQ(Dialogs.Shown.back().Content, "after");
}

TEST_F(Bridge, ADialogOutlivingItsPageAnswersNothingAndBreaksNothing)
{
    Call("wConfirm", {"Still there?"});
    std::weak_ptr<SharedObject> weak = Object;
    Object.reset();
    Queue.reset();
    // The dialog's continuation kept the object; answering it is harmless.
    EXPECT_FALSE(weak.expired());
    Dialogs.Answer("Yes");
    EXPECT_TRUE(weak.lock()->wConfirmSelected());
}

} // namespace
