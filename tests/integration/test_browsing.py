"""Real browsing with the real engine: history and open pages from a launch,
restored tabs, the error page and pop-ups becoming tabs."""

import time

import harness

# One click, thirty requests: one tab.
POPUP_PAGE = """<button id='go' style='position:fixed;left:0;top:0;width:100%;height:100%;font-size:40px'
 onclick="for (let i = 0; i < 30; i++) window.open('/b')">Open windows</button>"""


class Browsing(harness.ReturningUserTest):
    PAGES = {
        "/a": harness.html("Página A"),
        "/b": harness.html("Page B"),
        "/c": harness.html("Page C"),
        "/popup": harness.html("Pop-up maker", POPUP_PAGE),
    }
    HOME = "/b"

    def history(self):
        return self.browser.query("wHistoric_database.db", "SELECT wNAME, wLINK FROM wHistoric_PagesOpened")

    def open_pages(self):
        return self.browser.query("wConfig_database.db", "SELECT wID, wLINK FROM wConfig_PagesOpened ORDER BY wID")

    def test_a_launch_address_loads_and_is_recorded_once(self):
        url = self.server.url("/a")
        self.browser.start(url)
        self.browser.wait_for("the page title", lambda: self.browser.text("PageTitleText") == "Página A")
        self.browser.wait_for("the history row", self.history)
        self.browser.wait_for("the open-pages row", self.open_pages)
        self.browser.screenshot("launch-address.png")
        # Latin-1 in the file: "á" is the one byte 0xE1.
        self.assertEqual(self.history(), [("P\xe1gina A".encode("latin-1"), url.encode())])
        self.assertEqual(self.open_pages(), [(0, url.encode())])
        self.assertEqual(self.browser.text("AdressBox"), url)

    def test_restoring_reopens_the_saved_tabs_in_id_order(self):
        self.browser.start(self.server.url("/a"))
        self.browser.wait_for("the first run's open page", self.open_pages)
        self.browser.stop()
        links = [self.server.url(p) for p in ("/c", "/a", "/b")]
        self.browser.write("wConfig_database.db", """
            DELETE FROM wConfig_PagesOpenedStatus; INSERT INTO wConfig_PagesOpenedStatus VALUES ('true');
            DELETE FROM wConfig_PagesOpened;
            INSERT INTO wConfig_PagesOpened VALUES (2, '%s');
            INSERT INTO wConfig_PagesOpened VALUES (0, '%s');
            INSERT INTO wConfig_PagesOpened VALUES (1, '%s');""" % (links[2], links[0], links[1]))
        self.browser.start()

        def loaded_tabs():
            views = (self.browser.state() or {}).get("webViews", [])
            sources = [v["source"] for v in sorted(views, key=lambda v: v["tag"])]
            return sources if sources == links else None

        self.browser.wait_for("three restored tabs", loaded_tabs)
        self.browser.wait_for("rows updated in place", lambda: self.open_pages() == [
            (i, link.encode()) for i, link in enumerate(links)])

    def test_a_refused_load_shows_the_error_page_with_the_failed_address(self):
        # Nothing listens on the first; the engine refuses the second (a port
        # of another protocol) without connecting.
        for url in (harness.refused_url(), "http://127.0.0.1:25/"):
            with self.subTest(url=url):
                self.browser.start(url)

                def error_page():
                    views = (self.browser.state() or {}).get("webViews", [])
                    return views and views[0]["source"] == "ms-appx-web:///Assets/wPageError_EN.htm"

                self.browser.wait_for("the error page", error_page)
                self.browser.wait_for("the failed address in the box", lambda: self.browser.text("AdressBox") == url)
                self.browser.screenshot("error-page.png")
                self.assertEqual(self.history(), [])
                self.browser.stop()

    def test_a_page_opening_a_window_gets_a_second_tab(self):
        self.browser.start(self.server.url("/popup"))
        self.browser.wait_for("the pop-up page", lambda: self.browser.text("PageTitleText") == "Pop-up maker")
        harness.click(640, 450)

        def two_tabs():
            views = (self.browser.state() or {}).get("webViews", [])
            return len(views) == 2 and views[1]["source"] == self.server.url("/b")

        self.browser.wait_for("a second tab on the opened address", two_tabs)
        self.browser.wait_for("both tabs' rows", lambda: len(self.open_pages()) == 2)
        time.sleep(2)
        state = self.browser.state()
        self.assertEqual(len(state["webViews"]), 2)
        self.assertEqual(state["dialogs"], [])
        self.browser.screenshot("pop-up-tab.png")


if __name__ == "__main__":
    harness.main()
