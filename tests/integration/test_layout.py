"""The chrome with real keys and clicks: per-tab zoom, a page's full screen and the back key (resizes across
720 pixels: the layout unit test and the window adapter's)."""

import subprocess
import time

import harness

# The page reports its body's zoom beside the inline style it set itself.
STYLED = ("text/html", "<body style='color: rgb(1, 2, 3)'><script>setInterval(function () { document.title = "
          "'zoom=' + document.body.style.zoom + ';' + document.body.style.color; }, 100);</script></body>")
VIDEO = harness.html("Video", "<div style='position:fixed;inset:0' "
                              "onclick='document.documentElement.requestFullscreen()'>Play</div>")


class Layout(harness.ReturningUserTest):
    PAGES = {"/b": harness.html("Page B"), "/styled": STYLED, "/video": VIDEO}
    HOME = "/b"

    def state(self):
        return self.browser.state() or {}

    def title(self):
        return self.browser.text("PageTitleText")

    def keys(self, *keys):
        # Without a window manager the keyboard follows the pointer.
        x, y = harness.window_origin("Tolvane Browser")
        subprocess.run(["xdotool", "mousemove", str(x + 400), str(y + 300), "key", "--delay", "60", *keys], check=True)

    def full_screen(self, on):
        return self.browser.named("WebViewHost").get("row") == (0 if on else 2) and \
            (self.state().get("window") or {}).get("fullScreenRequested") == on

    def start_on(self, path, title):
        self.browser.start(self.server.url(path))
        # The first start of an engine on a busy machine can take a while.
        self.browser.wait_for(title, lambda: (self.title() or "").startswith(title), timeout=90)

    def enter_full_screen(self):
        self.browser.click_at(self.browser.named("WebViewHost")["rect"])
        self.browser.wait_for("the page in full screen", lambda: self.full_screen(True))

    def test_zoom_sets_only_the_bodys_zoom_and_keeps_it_across_tab_switches(self):
        self.start_on("/styled", "zoom=")
        self.keys("ctrl+plus", "ctrl+plus", "ctrl+minus")
        styled = "zoom=1.1;rgb(1, 2, 3)"
        self.browser.wait_for("110 %", lambda: self.browser.text("ZoomText") == "110%" and self.title() == styled)
        self.keys("ctrl+t")
        self.browser.wait_for("a second tab", lambda: self.title() == "Page B")
        self.keys("ctrl+Tab")
        self.browser.wait_for("the first tab", lambda: self.title() == styled)
        self.keys("ctrl+0")
        self.browser.wait_for("100 %", lambda: self.title() == "zoom=1;rgb(1, 2, 3)")

    def test_a_click_enters_full_screen_and_alt_left_and_escape_leave_it_without_going_back(self):
        self.start_on("/b", "Page B")
        self.keys("ctrl+l")
        subprocess.run(["xdotool", "type", "--delay", "20", self.server.url("/video")], check=True)
        subprocess.run(["xdotool", "key", "Return"], check=True)
        for leave in ("alt+Left", "Escape"):
            self.browser.wait_for("the video page", lambda: self.title() == "Video")
            self.enter_full_screen()
            self.browser.screenshot("layout-full-screen.png")
            self.keys(leave)
            self.browser.wait_for("the chrome back after " + leave, lambda: self.full_screen(False))
            time.sleep(1.0)
            self.assertEqual(self.title(), "Video")

    def test_ctrl_w_on_a_full_screen_tab_ten_times_leaves_the_browser_up(self):
        self.start_on("/b", "Page B")
        harness.prepare_config(self.browser, {"wConfig_HomePage": ("wLINK", self.server.url("/video"))})
        for _ in range(10):
            self.keys("ctrl+t")
            self.browser.wait_for("the video tab", lambda: self.title() == "Video")
            self.enter_full_screen()
            self.keys("ctrl+w")
            self.browser.wait_for("one tab", lambda: len(self.state()["webViews"]) == 1 and self.full_screen(False))
        time.sleep(2.5)
        self.assertIsNone(self.browser.process.poll())

    def test_back_without_history_shows_the_hint_and_a_second_press_exits(self):
        self.start_on("/b", "Page B")
        pages = lambda: self.browser.query("wConfig_database.db", "SELECT wLINK FROM wConfig_PagesOpened")
        self.browser.wait_for("the open page's row", pages)
        self.keys("alt+Left")
        self.browser.wait_for("the exit hint", lambda: self.browser.named("ExitHintBar").get("visible"))
        self.keys("alt+Left")
        self.assertEqual(self.browser.process.wait(timeout=15), 0)
        self.assertEqual(pages(), [(self.server.url("/b").encode(),)])


if __name__ == "__main__":
    harness.main()
