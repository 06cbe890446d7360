#pragma once
// The permission requests waiting for the user, and the answers the user gave
// in this run. An answer holds for its site and kind until the browser closes
// and is never written anywhere; private tabs keep answers of their own.
// Requests wait per tab; the same site asking the same thing again while its
// question is up joins that question, so a flood makes one bar.
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/web_view.h"

struct PermissionQuestion {
    bool Private = false;
    std::string Origin;
    platform::PermissionKind Kind = platform::PermissionKind::Notifications;
    auto operator<=>(const PermissionQuestion&) const = default;
};

class PermissionQueue {
public:
    // Past this many waiting questions, new ones are denied at once.
    static constexpr size_t MaxWaiting = 16;
    using Answer = std::function<void(bool allow)>;

    // owner names the asking tab's view; it is only compared, never used.
    // An answered question is answered at once; the rest wait.
    void Ask(const void* owner, const PermissionQuestion& question, Answer answer);
    // The owner's first waiting question; null when it has none.
    const PermissionQuestion* Front(const void* owner) const;
    // The user's Allow or Deny for the owner's first question: remembered.
    void Decide(const void* owner, bool allow);
    // Dismissed, navigated away, closed: denied this time, nothing remembered.
    void Withdraw(const void* owner);
    // Withdraws every owner that keep() rejects (tabs that are gone).
    void WithdrawUnless(const std::function<bool(const void* owner)>& keep);
    size_t Waiting() const { return m_waiting.size(); }

private:
    struct Pending {
        const void* Owner;
        PermissionQuestion Question;
        std::vector<Answer> Answers;
    };
    static void Reply(Pending& pending, bool allow);

    std::deque<Pending> m_waiting;
    std::map<PermissionQuestion, bool> m_answers;
};
