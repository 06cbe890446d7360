#pragma once
// One search in one page, as the find bar runs it. Each text asks the page
// for its total and the engine for the first match; whichever answers first
// shows, and the engine's own count (when it finished counting) wins over the
// page's total. Answers for an earlier text or another page are dropped: they
// can arrive after the newest text's, and must never overwrite it.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/web_view.h"

class FindSearch {
public:
    // What the bar shows for the text searched.
    struct Status {
        // Nothing is known yet for this text.
        bool Known = false;
        // 1-based; 0 while there is no match.
        uint32_t Current = 0;
        uint32_t Matches = 0;
        // The total is not known yet: there are at least Matches.
        bool AtLeast = false;
        bool NoMatch() const { return Known && Matches == 0; }
    };

    // Raised whenever Shown changes.
    std::function<void()> Changed;

    // The view's answers reach the search only through these.
    void Subscribe(platform::WebView& view);

    void Start(platform::WebView& view, const std::string& text);
    // A step to the next (or previous) match in the view searched; nothing
    // while there is none, or for another view.
    void Step(platform::WebView& view, bool backwards);
    // Forgets the search; the caller clears the view's highlight when the view
    // is still there.
    void Reset();

    const platform::WebView* View() const { return m_view; }
    const std::string& Text() const { return m_text; }
    const Status& Shown() const { return m_shown; }

private:
    void Forget();
    bool IsCurrent(const platform::WebView& sender, const std::string& text) const;
    void OnFound(platform::WebView& sender, const platform::FindResultArgs& args);
    void OnCounted(platform::WebView& sender, const platform::FindResultArgs& args);
    void Update();

    // The view searched, compared only.
    const platform::WebView* m_view = nullptr;
    std::string m_text;
    std::optional<platform::FindResultArgs> m_found;
    std::optional<uint32_t> m_total;
    // Steps taken from the first match, backwards negative: the match shown is
    // this modulo the total, whenever the total becomes known.
    int64_t m_steps = 0;
    Status m_shown;
};
