#include "browser/find_search.h"

void FindSearch::Subscribe(platform::WebView& view)
{
    view.TextFound.Subscribe([this](platform::WebView& v, const platform::FindResultArgs& a) { OnFound(v, a); });
    view.FindCounted.Subscribe([this](platform::WebView& v, const platform::FindResultArgs& a) { OnCounted(v, a); });
}

void FindSearch::Start(platform::WebView& view, const std::string& text)
{
    Forget();
    m_view = &view;
    m_text = text;
    // The total first: the page answers it from text it keeps, long before
    // the engine has walked to its first match on a big page.
    if (!text.empty())
        view.CountMatches(text);
    view.FindText(text);
    Update();
}

void FindSearch::Step(platform::WebView& view, bool backwards)
{
    if (&view != m_view || m_shown.Matches == 0)
        return;
    m_steps += backwards ? -1 : 1;
    view.FindNext(backwards);
    Update();
}

void FindSearch::Reset()
{
    Forget();
    Update();
}

void FindSearch::Forget()
{
    m_view = nullptr;
    m_text.clear();
    m_found.reset();
    m_total.reset();
    m_steps = 0;
}

bool FindSearch::IsCurrent(const platform::WebView& sender, const std::string& text) const
{
    return &sender == m_view && text == m_text && !m_text.empty();
}

void FindSearch::OnFound(platform::WebView& sender, const platform::FindResultArgs& args)
{
    if (!IsCurrent(sender, args.Text))
        return;
    m_found = args;
    Update();
}

void FindSearch::OnCounted(platform::WebView& sender, const platform::FindResultArgs& args)
{
    if (!IsCurrent(sender, args.Text))
        return;
    m_total = args.Matches;
    Update();
}

void FindSearch::Update()
{
    Status next;
    if (m_found && (m_found->Matches == 0 || !m_found->MoreThanMatches)) {
        // The engine counted to the end: its count is the one stepping walks.
        next = {true, 0, m_found->Matches, false};
    } else if (m_total && (!m_found || *m_total > m_found->Matches)) {
        next = {true, 0, *m_total, false};
    } else if (m_found) {
        // The page's total is late (or short of what the engine saw).
        next = {true, 0, m_found->Matches + 1, true};
    }
    if (next.Matches > 0) {
        const int64_t total = next.Matches;
        next.Current = static_cast<uint32_t>((m_steps % total + total) % total + 1);
    }
    const bool same = next.Known == m_shown.Known && next.Current == m_shown.Current &&
                      next.Matches == m_shown.Matches && next.AtLeast == m_shown.AtLeast;
    m_shown = next;
    if (!same && Changed)
        Changed();
}
