"""Real browsing: the error page for a refused load (a launch's history and open pages: the kill -9 rounds, the
first start and the library run; pop-ups: the adapter's real clicks and the page test)."""

import harness


class Browsing(harness.ReturningUserTest):
    PAGES = {"/b": harness.html("Page B")}
    HOME = "/b"

    def history(self):
        return self.browser.query("wHistoric_database.db", "SELECT wNAME, wLINK FROM wHistoric_PagesOpened")

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
