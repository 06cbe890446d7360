"""Real browsing: history and open pages from a launch, and the error page (restored tabs: the kill -9 rounds
and the start-up unit test; pop-ups: the adapter's real clicks and the page test)."""

import harness


class Browsing(harness.ReturningUserTest):
    PAGES = {
        "/a": harness.html("Página A"),
        "/b": harness.html("Page B"),
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



if __name__ == "__main__":
    harness.main()
