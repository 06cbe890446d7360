// The permission questions: a flood makes one question, answers hold per site,
// kind and session, and leaving a page denies without remembering.
#include <gtest/gtest.h>

#include "browser/permission_queue.h"

namespace {

using platform::PermissionKind;

TEST(PermissionQueue, OneQuestionPerSiteAndKindAnswersHeldPerSessionAndWithdrawnOnesForgotten)
{
    PermissionQueue queue;
    std::vector<std::string> replies;
    auto record = [&replies](std::string who) {
        return [&replies, who](bool allow) { replies.push_back(who + (allow ? "+" : "-")); };
    };
    int tab = 0, other = 0, privateTab = 0;
    const PermissionQuestion notify{false, "https://a.example", PermissionKind::Notifications};
    const PermissionQuestion locate{false, "https://a.example", PermissionKind::Geolocation};

    for (int i = 0; i < 1000; ++i)
        queue.Ask(&tab, notify, record("flood"));
    queue.Ask(&tab, locate, record("locate"));
    queue.Ask(&other, notify, record("other"));
    EXPECT_EQ(queue.Waiting(), 3u);
    ASSERT_NE(queue.Front(&tab), nullptr);
    EXPECT_EQ(*queue.Front(&tab), notify);
    EXPECT_EQ(queue.Front(&privateTab), nullptr);

    // Allow answers the whole flood and the other tab's same question, once each.
    queue.Decide(&tab, true);
    EXPECT_EQ(replies.size(), 1001u);
    EXPECT_EQ(replies.back(), "other+");
    EXPECT_EQ(*queue.Front(&tab), locate);
    replies.clear();

    // Remembered for the session; a private tab asks for itself.
    queue.Ask(&other, notify, record("again"));
    queue.Ask(&privateTab, {true, "https://a.example", PermissionKind::Notifications}, record("private"));
    EXPECT_EQ(replies, std::vector<std::string>{"again+"});
    EXPECT_NE(queue.Front(&privateTab), nullptr);

    // Leaving the page denies and forgets; the same question later asks again.
    queue.Withdraw(&tab);
    EXPECT_EQ(replies.back(), "locate-");
    queue.Ask(&tab, locate, record("locate2"));
    EXPECT_EQ(*queue.Front(&tab), locate);
    queue.Decide(&tab, false);
    queue.Ask(&other, locate, record("locate3"));
    EXPECT_EQ(replies.back(), "locate3-");

    // Tabs that are gone are withdrawn; past the room, questions are denied at once.
    queue.WithdrawUnless([&](const void* owner) { return owner != &privateTab; });
    EXPECT_EQ(replies.back(), "private-");
    EXPECT_EQ(queue.Waiting(), 0u);
    for (int i = 0; i < static_cast<int>(PermissionQueue::MaxWaiting) + 1; ++i)
        queue.Ask(&tab, {false, "https://s" + std::to_string(i) + ".example", PermissionKind::Camera}, record("x"));
    EXPECT_EQ(queue.Waiting(), PermissionQueue::MaxWaiting);
    EXPECT_EQ(replies.back(), "x-");
}

} // namespace
