"""Leaving pages with the real engine: the address row marks a plain http
page "Not secure" and the browser's own page not at all, following the tab in
front; a page with a beforeunload handler is asked before Ctrl+W closes it
(Stay keeps it, Leave lets it go), a page without one closes at once, and a
middle-click on a caption closes that tab."""
import subprocess
import time

import harness

# Asks before it goes; the engine asks only once the user has used the page.
GUARDED_PAGE = """<button id='use' style='position:fixed;left:0;top:0;width:100%;height:100%'
 onclick="this.textContent = 'used'">Use me</button>
<script>addEventListener('beforeunload', e => { e.preventDefault(); e.returnValue = ''; });</script>"""


class Leaving(harness.ReturningUserTest):
    PAGES = {"/guarded": harness.html("Guarded", GUARDED_PAGE)}

    def setUp(self):
        super().setUp()
        # New tabs open on an address where nothing listens: the browser's own error page.
        harness.prepare_config(self.browser, {"wConfig_HomePage": ("wLINK", harness.refused_url())})

    def test_the_mark_follows_the_tab_and_a_guarded_page_is_asked_before_it_closes(self):
        browser = self.browser
        state = lambda key: (browser.state() or {}).get(key, [])
        self.views = lambda: state("webViews")
        self.mark = lambda: browser.named("wSecurityMark").get("visible") and browser.named("wSecurityMark")["toolTip"]
        self.leave_dialog = lambda: [d for d in state("dialogs") if d["title"] == "Leave this page?"]
        self.keys = lambda keys: subprocess.run(["xdotool", "key", keys], check=True)
        browser.start(self.server.url("/guarded"))
        browser.wait_for("the guarded page", lambda: browser.text("PageTitleText") == "Guarded")
        self.assertEqual(browser.wait_for("the http mark", self.mark), "Not secure")
        browser.screenshot("leaving-not-secure.png")

        self.keys("ctrl+t")
        browser.wait_for("the error page in a second tab",
                         lambda: len(self.views()) == 2 and "wPageError" in self.views()[1]["source"])
        browser.wait_for("no mark on the browser's own page", lambda: not self.mark())
        self.keys("ctrl+Tab")
        self.assertEqual(browser.wait_for("the mark back with its tab", self.mark), "Not secure")
        self.keys("ctrl+Tab")
        browser.wait_for("no mark again", lambda: not self.mark())
        # No handler: the error page's tab goes at once.
        self.keys("ctrl+w")
        browser.wait_for("one tab left", lambda: len(self.views()) == 1)
        self.assertEqual(browser.wait_for("the guarded page in front", self.mark), "Not secure")
        # A middle-click on a caption closes that tab, not the one in front.
        self.keys("ctrl+t")
        browser.wait_for("a second tab again", lambda: len(self.views()) == 2)
        self.keys("ctrl+Tab")
        browser.wait_for("the guarded page in front again", lambda: self.views()[0]["visible"])
        strip = browser.named("TabStripPanel")["rect"]  # captions 228 wide, 10 apart from each side
        browser.click_at([strip[0] + 10 + 248, strip[1], 228 - 35, strip[3]], button=2)
        browser.wait_for("the second tab gone", lambda: len(self.views()) == 1)
        self.assertTrue(self.views()[0]["visible"])

        browser.click_at(browser.named("WebViewHost")["rect"])
        time.sleep(0.5)
        self.keys("ctrl+w")
        dialog = browser.wait_for("the page's question", self.leave_dialog)
        self.assertEqual(dialog[0]["content"], "Changes you made may not be saved.")
        browser.screenshot("leaving-asked.png")
        browser.answer("Stay")
        time.sleep(2.5)  # past the time a page has to answer: staying is not undone
        self.assertEqual(len(self.views()), 1)
        self.assertEqual(self.leave_dialog(), [])

        self.keys("ctrl+w")
        browser.wait_for("the question again", self.leave_dialog)
        browser.answer("Leave")
        browser.wait_for("the guarded tab gone", lambda: self.views() == [])


if __name__ == "__main__":
    harness.main()
