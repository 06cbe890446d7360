// Find in the real engine: every answer names the text it was asked for, a
// search overtaken before it was made never answers, steps answer nothing,
// the page's own scripts cannot change the count, a changed page is counted
// afresh, and on a big page the search stops early and says so.
#include <set>
#include <string>

#include "tests/gtk/web_view_fixture.h"

namespace {

using namespace gtktests;

class FindTest : public WebViewFixture {
protected:
    static void SetUpTestSuite()
    {
        StartServer({
            {"/fruit", {"<html><body><p>apple apple apple APPLE&nbsp;pie pear</p><script>"
                        "String.prototype.indexOf = () => -1; String.prototype.toLowerCase = () => 'apple';"
                        "</script></body></html>"}},
            // About a megabyte of text, which the engine walks per match.
            {"/big", {[] {
                 std::string page;
                 for (int i = 0; i < 60000; ++i)
                     page += "<p>apple pie " + std::to_string(i) + "</p>";
                 return page;
             }()}},
        });
    }
    static void TearDownTestSuite() { StopServer(); }

    gtkui::WebKitWebView& Open(const std::string& path)
    {
        auto& view = NewView(m_log);
        for (auto* event : {&view.TextFound, &view.FindCounted}) {
            const std::string kind = event == &view.TextFound ? "found " : "counted ";
            event->Subscribe([this, kind](platform::WebView&, const platform::FindResultArgs& a) {
                m_answers.push_back(kind + a.Text + " " + std::to_string(a.Matches) + (a.MoreThanMatches ? "+" : ""));
            });
        }
        m_log.All.clear();
        Go(view, Url(path));
        EXPECT_TRUE(WaitForLine(m_log, "Completed "));
        return view;
    }
    bool WaitForAnswers(size_t count)
    {
        return WaitUntil([&] { return m_answers.size() >= count; });
    }

    EventLog m_log;
    Lines m_answers;
};

TEST_F(FindTest, AnswersNameTheirTextTheNewestWinsAndABigPageStopsEarly)
{
    auto& view = Open("/fruit");
    view.CountMatches("ap");
    view.FindText("ap");
    view.CountMatches("Apple pie");
    view.FindText("Apple pie");
    view.FindNext(false);
    view.CountMatches("zz");
    view.FindText("zz");
    ASSERT_TRUE(WaitForAnswers(5));
    Settle(300);
    // The page's counts and the engine's answers come each in their order,
    // not in one order between them.
    EXPECT_EQ(std::multiset<std::string>(m_answers.begin(), m_answers.end()),
              (std::multiset<std::string>{"counted ap 4", "counted Apple pie 1", "found Apple pie 1",
                                          "counted zz 0", "found zz 0"}));

    m_answers.clear();
    Eval(view, "document.body.insertAdjacentHTML('beforeend', '<p>apple</p>'); 1");
    view.CountMatches("apple");
    ASSERT_TRUE(WaitForAnswers(1));
    EXPECT_EQ(m_answers, (Lines{"counted apple 5"}));

    m_answers.clear();
    auto& big = Open("/big");
    big.CountMatches("APPLE");
    big.FindText("APPLE");
    ASSERT_TRUE(WaitForAnswers(2));
    EXPECT_EQ(m_answers.front(), "counted APPLE 60000");
    // How far it counts depends on the page's length; that it stopped does not.
    EXPECT_EQ(m_answers.back().substr(0, 12) + m_answers.back().back(), "found APPLE +");
}

} // namespace
