"""Real browsing: the error page for a failed load (a launch's history and open pages: the kill -9 rounds, the
first start and the library run; pop-ups: the adapter's real clicks and the page test)."""

import contextlib
import os
import signal
import socket
import time

import harness


# A server that takes connections and never answers.
SILENT = socket.create_server(("127.0.0.1", 0))
HANGING = "http://127.0.0.1:%d/" % SILENT.getsockname()[1]


class Browsing(harness.ReturningUserTest):
    PAGES = {"/b": harness.html("Page B")}
    HOME = "/b"

    def history(self):
        return self.browser.query("wHistoric_database.db", "SELECT wNAME, wLINK FROM wHistoric_PagesOpened")

    def test_a_failed_load_shows_the_error_page_with_the_failed_address(self):
        # Nothing listens on the first; the engine refuses the second (a port
        # of another protocol) without connecting; the third never answers,
        # and the page's process is killed while it waits.
        views = lambda: (self.browser.state() or {}).get("webViews", [])
        for url in (harness.refused_url(), "http://127.0.0.1:25/", HANGING):
            with self.subTest(url=url), contextlib.ExitStack() as case:
                case.callback(self.browser.stop)  # a failed case must not take the next one's address
                self.browser.start(url)
                if url == HANGING:
                    # Killed once it has long started: the engine cannot bear
                    # a page's process dying in its first moment.
                    self.browser.wait_for("the page's process", lambda: views() and views()[0]["source"] == url
                                         and self.browser.processes().count("WebKitWebProces"))
                    time.sleep(2)
                    for entry in self.browser.processes().split(", "):
                        pid, name = entry.split(" ", 1)
                        if name.startswith("WebKitWebProces"):
                            os.kill(int(pid), signal.SIGKILL)
                self.browser.wait_for("the error page", lambda: views() and
                                      views()[0]["source"] == "ms-appx-web:///Assets/wPageError_EN.htm")
                self.browser.wait_for("the failed address in the box", lambda: self.browser.text("AdressBox") == url)
                self.browser.screenshot("error-page.png")
                self.assertEqual(self.history(), [])


if __name__ == "__main__":
    harness.main()
