"""The chrome with real keys, clicks and window resizes: per-tab zoom, a
page's full screen, the back key and the title strip across 720 pixels."""

import subprocess
import time

import harness

# The page reports its body's zoom and the inline style it set itself.
STYLED = "text/html; charset=utf-8", """<!DOCTYPE html><html><body style="color: rgb(1, 2, 3)">Styled<script>
setInterval(function () {
  document.title = 'zoom=' + document.body.style.zoom + ';color=' + document.body.style.color;
}, 100);</script></body></html>"""
# One click anywhere asks for full screen.
VIDEO = """<div style="position:fixed;left:0;top:0;width:100%;height:100%;background:#246"
 onclick="document.documentElement.requestFullscreen()">Play</div>"""


class Layout(harness.ReturningUserTest):
    PAGES = {"/b": harness.html("Page B"), "/styled": STYLED, "/video": harness.html("Video", VIDEO)}
    HOME = "/b"

    def state(self):
        return self.browser.state() or {}

    def named(self, name):
        return self.state().get("named", {}).get(name, {})

    def window_id(self):
        ids = subprocess.run(["xdotool", "search", "--name", "Tolvane Browser"], capture_output=True,
                             text=True).stdout.split()
        for window in ids:
            out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], capture_output=True,
                                 text=True).stdout
            if int(dict(line.split("=", 1) for line in out.split() if "=" in line).get("WIDTH", 0)) > 200:
                return window
        raise AssertionError("no browser window")

    def keys(self, *keys):
        # Without a window manager the keyboard follows the pointer.
        origin = harness.window_origin("Tolvane Browser")
        subprocess.run(["xdotool", "mousemove", str(origin[0] + 400), str(origin[1] + 300)], check=True)
        subprocess.run(["xdotool", "key", "--delay", "60", *keys], check=True)

    def click_page(self):
        origin = harness.window_origin("Tolvane Browser")
        host = self.named("WebViewHost")["rect"]
        harness.click(origin[0] + host[0] + 200, origin[1] + host[1] + 200)

    def title(self, tab=None):
        views = self.state().get("webViews", [])
        current = [v for v in views if v["visible"]] if tab is None else [v for v in views if v["tag"] == tab]
        return current[0]["title"] if current else None

    def page_full_screen(self, on):
        host = self.named("WebViewHost")
        window = self.state().get("window") or {}
        return host.get("row") == (0 if on else 2) and window.get("fullScreenRequested") == on

    def start_on(self, *paths):
        self.browser.start(self.server.url(paths[0]))
        self.browser.wait_for("the first page", lambda: any(v["source"] == self.server.url(paths[0])
                                                            for v in self.state().get("webViews", [])))
        for path in paths[1:]:
            self.browser.wait_for("a window", self.window_id)
            self.keys("ctrl+l")
            subprocess.run(["xdotool", "type", "--delay", "20", self.server.url(path)], check=True)
            subprocess.run(["xdotool", "key", "Return"], check=True)
            self.browser.wait_for(path, lambda: any(v["source"] == self.server.url(path)
                                                    for v in self.state().get("webViews", [])))
        self.browser.wait_for("the last page", lambda: any(v["source"] == self.server.url(paths[-1]) and v["title"]
                                                           for v in self.state().get("webViews", [])))

    def test_zoom_sets_only_the_bodys_zoom_and_keeps_it_across_tab_switches(self):
        self.start_on("/styled")
        self.browser.wait_for("the page's report", lambda: (self.title() or "").startswith("zoom="))
        self.keys("ctrl+plus", "ctrl+plus", "ctrl+minus")
        self.browser.wait_for("110 %", lambda: self.named("ZoomText")["text"] == "110%"
                              and self.title() == "zoom=1.1;color=rgb(1, 2, 3)")
        self.keys("ctrl+t")
        self.browser.wait_for("a second tab", lambda: len(self.state().get("webViews", [])) == 2)
        self.browser.wait_for("its label", lambda: self.named("ZoomText")["text"] == "110%")
        self.keys("ctrl+Tab")
        self.browser.wait_for("the first tab again", lambda: self.named("ZoomText")["text"] == "110%"
                              and self.title() == "zoom=1.1;color=rgb(1, 2, 3)")
        time.sleep(0.5)
        self.assertEqual(self.title(), "zoom=1.1;color=rgb(1, 2, 3)")
        self.keys("ctrl+0")
        self.browser.wait_for("back to 100 %", lambda: self.title() == "zoom=1;color=rgb(1, 2, 3)")

    def test_a_click_enters_full_screen_and_alt_left_and_escape_leave_it_without_going_back(self):
        self.start_on("/b", "/video")
        for leave in ("alt+Left", "Escape"):
            self.browser.wait_for("the video page's title", lambda: self.title() == "Video")
            self.click_page()
            self.browser.wait_for("the page in full screen", lambda: self.page_full_screen(True))
            self.browser.screenshot("layout-full-screen.png")
            self.keys(leave)
            self.browser.wait_for("the chrome back after " + leave, lambda: self.page_full_screen(False))
            time.sleep(1.0)
            self.assertEqual(self.title(), "Video")

    def test_ctrl_w_on_a_full_screen_tab_ten_times_leaves_the_browser_up(self):
        self.start_on("/b")
        harness.prepare_config(self.browser, {"wConfig_HomePage": ("wLINK", self.server.url("/video"))})
        for round in range(10):
            self.keys("ctrl+t")
            self.browser.wait_for("the video tab", lambda: self.title() == "Video")
            self.click_page()
            self.browser.wait_for("full screen %d" % round, lambda: self.page_full_screen(True))
            self.keys("ctrl+w")
            self.browser.wait_for("one tab again", lambda: len(self.state().get("webViews", [])) == 1
                                  and self.page_full_screen(False))
        time.sleep(2.5)
        self.assertIsNone(self.browser.process.poll())

    def test_resizes_across_720_flip_the_title_strip_once_per_crossing(self):
        self.start_on("/b")
        window = self.browser.wait_for("a window", self.window_id)
        # The window's frame (its shadow) is outside the content the page gets.
        subprocess.run(["xdotool", "windowsize", window, "1100", "700"], check=True)
        content = self.browser.wait_for("the content width", lambda: (
            (self.state().get("window") or {}).get("width", 1100) < 1100 and self.state()["window"]["width"]))
        frame = 1100 - content

        def arrangement(width, wide):
            state = self.state()
            return (state.get("window") or {}).get("width") == width and \
                state["named"]["TabStripScroller"]["visible"] == wide and \
                state["named"]["SideMenuButton"]["visible"] == (not wide)

        for round in range(4):
            for width, wide in ((1000, True), (900, True), (721, True), (720, False), (500, False)):
                subprocess.run(["xdotool", "windowsize", window, str(width + frame), "700"], check=True)
                self.browser.wait_for("%d wide" % width, lambda: arrangement(width, wide))
                if round == 0 and width in (1000, 720):
                    self.browser.screenshot("layout-%s.png" % ("wide" if wide else "narrow"))
        self.assertIsNone(self.browser.process.poll())

    def test_back_without_history_shows_the_hint_and_a_second_press_exits(self):
        self.start_on("/b")
        link = self.server.url("/b").encode()
        self.browser.wait_for("the open page's row", lambda: self.browser.query(
            "wConfig_database.db", "SELECT wLINK FROM wConfig_PagesOpened") == [(link,)])
        self.keys("alt+Left")
        self.browser.wait_for("the exit hint", lambda: self.named("ExitHintBar").get("visible"))
        self.assertIsNone(self.browser.process.poll())
        self.keys("alt+Left")
        self.assertEqual(self.browser.process.wait(timeout=15), 0)
        self.assertEqual(self.browser.query("wConfig_database.db", "SELECT wLINK FROM wConfig_PagesOpened"),
                         [(link,)])


if __name__ == "__main__":
    harness.main()
