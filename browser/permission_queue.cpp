#include "browser/permission_queue.h"

#include <utility>

void PermissionQueue::Ask(const void* owner, const PermissionQuestion& question, Answer answer)
{
    if (auto known = m_answers.find(question); known != m_answers.end()) {
        answer(known->second);
        return;
    }
    for (auto& pending : m_waiting) {
        if (pending.Owner == owner && pending.Question == question) {
            pending.Answers.push_back(std::move(answer));
            return;
        }
    }
    if (m_waiting.size() >= MaxWaiting) {
        answer(false);
        return;
    }
    m_waiting.push_back(Pending{owner, question, {}});
    m_waiting.back().Answers.push_back(std::move(answer));
}

const PermissionQuestion* PermissionQueue::Front(const void* owner) const
{
    for (const auto& pending : m_waiting)
        if (pending.Owner == owner)
            return &pending.Question;
    return nullptr;
}

void PermissionQueue::Decide(const void* owner, bool allow)
{
    const PermissionQuestion* front = Front(owner);
    if (!front)
        return;
    const PermissionQuestion question = *front;
    m_answers[question] = allow;
    // The same question waiting in other tabs of the session has its answer too.
    std::vector<Pending> answered;
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (it->Question == question) {
            answered.push_back(std::move(*it));
            it = m_waiting.erase(it);
        } else {
            ++it;
        }
    }
    // Replies after the queue is consistent: a reply may ask again.
    for (auto& pending : answered)
        Reply(pending, allow);
}

void PermissionQueue::Withdraw(const void* owner)
{
    WithdrawUnless([owner](const void* other) { return other != owner; });
}

void PermissionQueue::WithdrawUnless(const std::function<bool(const void*)>& keep)
{
    std::vector<Pending> gone;
    for (auto it = m_waiting.begin(); it != m_waiting.end();) {
        if (keep(it->Owner)) {
            ++it;
        } else {
            gone.push_back(std::move(*it));
            it = m_waiting.erase(it);
        }
    }
    // Replies after the queue is consistent: a reply may ask again.
    for (auto& pending : gone)
        Reply(pending, false);
}

void PermissionQueue::Reply(Pending& pending, bool allow)
{
    for (auto& answer : pending.Answers)
        if (answer)
            answer(allow);
}
