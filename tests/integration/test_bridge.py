"""The page bridge with the real engine: alert and confirm reach the
browser's own dialogs, right-clicks on links and images open its pop-up; and
pages that abuse it: a flood of alerts, a five-megabyte alert, a forged
right-click, two hundred frames around one link."""
import os
import subprocess
import time
import urllib.parse

import harness

DIALOG_PAGE = """<p>Dialogs</p><script>
addEventListener('load', () => setTimeout(() => {
  alert('Hello from the page');
  fetch('/report?after-alert');
  const first = confirm('Sure?');
  const second = confirm('Again?');
  fetch('/report?confirm=' + first + ',' + second);
}, 1500));
</script>"""

# A five-megabyte alert, then ten thousand more.
FLOOD_PAGE = """<p>Flood</p><script>
addEventListener('load', () => setTimeout(() => {
  alert('x'.repeat(5 * 1024 * 1024));
  const started = Date.now();
  for (let i = 0; i < 10000; i++) alert('flood ' + i);
  fetch('/report?flood=' + (Date.now() - started));
}, 1500));
</script>"""

FORGED_MENU_PAGE = """<p>Nothing to click</p><script>
let calls = 0;
const forge = setInterval(() => {
  wScriptNotify.wMousePosX(10); wScriptNotify.wMousePosY(10);
  wScriptNotify.wContextMenu('file:///etc/hostname');
  if (++calls == 60) { clearInterval(forge); fetch('/report?forged=' + calls); }
}, 50);
</script>"""

# The page counts the right-click listeners the browser's scripts add to its link.
FRAMES_PAGE = ("""<script>
let hooks = 0;
const add = EventTarget.prototype.addEventListener;
EventTarget.prototype.addEventListener = function (type, listener, options) {
  if (type === 'contextmenu' && this.id === 'link') hooks++;
  return add.call(this, type, listener, options);
};
addEventListener('load', () => setTimeout(() => fetch('/report?hooks=' + hooks), 3000));
</script><a id='link' href='/target'>link</a>""" + "<iframe srcdoc='<p>frame</p>'></iframe>" * 200)

CONTEXT_PAGE = """<style>body{margin:0}</style>
<a id='link' href='/target?q=1' style='position:absolute;left:40px;top:40px;font-size:40px'>A link</a>
<img id='image' src='/picture.png?size=2' style='position:absolute;left:400px;top:200px;width:200px;height:120px'>
<script>addEventListener('contextmenu', e => fetch('/report?pointer=' + e.clientX + ',' + e.clientY));</script>"""

# A 1x1 PNG.
PNG = bytes.fromhex("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c4890000000d4944415478da63f8cfc0f01f0005"
                    "0001ff5a0b6a7b0000000049454e44ae426082")


class Bridge(harness.ReturningUserTest):
    PAGES = {
        "/dialogs": harness.html("Dialogs", DIALOG_PAGE),
        "/context": harness.html("Context", CONTEXT_PAGE),
        "/flood": harness.html("Flood", FLOOD_PAGE),
        "/forged": harness.html("Forged", FORGED_MENU_PAGE),
        "/frames": harness.html("Frames", FRAMES_PAGE),
        "/picture.png": ("image/png", PNG),
        "/report": harness.html("ok"),
    }
    HOME = "/context"

    def reports(self, key):
        return [urllib.parse.unquote(urllib.parse.urlparse(p).query) for p in self.server.requests
                if p.startswith("/report?" + key)]

    def dialogs(self):
        return (self.browser.state() or {}).get("dialogs", [])

    def answer(self, label):
        with open(self.browser.state_file + ".cmd", "w") as f:
            f.write("answer %s\n" % label)

    def test_alert_shows_one_dialog_and_confirm_returns_the_users_answer(self):
        self.browser.start(self.server.url("/dialogs"))
        alert = self.browser.wait_for("the alert dialog", lambda: [d for d in self.dialogs()
                                                                   if d["content"] == "Hello from the page"])
        self.assertEqual(alert[0]["title"], "This page says:")
        # The page went on at once, without waiting for the alert to close.
        self.browser.wait_for("the page going on after alert", lambda: self.reports("after-alert"))
        # One bridge dialog at a time: the confirm waits for the alert to close.
        self.assertEqual(len(self.dialogs()), 1)
        self.answer("OK")
        confirm = self.browser.wait_for("the confirm dialog", lambda: [d for d in self.dialogs()
                                                                       if d["title"] == "Mensagem do site:"])
        self.assertEqual(confirm[0]["content"], "Sure?\n\nDo you want to continue?")
        self.browser.screenshot("bridge-dialogs.png")
        self.answer("No")
        result = self.browser.wait_for("the page's report of the answer", lambda: self.reports("confirm="))
        # The second confirm on the same page reuses the first answer, with no dialog.
        self.assertEqual(result, ["confirm=false,false"])
        self.assertEqual([d for d in self.dialogs() if d["title"] == "Mensagem do site:"], [])

    def test_a_huge_alert_and_a_flood_show_one_cut_dialog_and_the_window_keeps_responding(self):
        self.browser.start(self.server.url("/flood"))
        report = self.browser.wait_for("the page's end of the flood", lambda: self.reports("flood="), timeout=60)
        print("\n10,000 alerts ran in the page in %s ms" % report[0].split("=")[1])
        # The state probe is a timer of the window's own loop: it still runs.
        before = os.path.getmtime(self.browser.state_file)
        self.browser.wait_for("the window's loop to go on",
                              lambda: os.path.getmtime(self.browser.state_file) > before, timeout=5)
        dialogs = self.dialogs()
        self.assertEqual(len(dialogs), 1)
        self.assertEqual(dialogs[0]["content"], "x" * 10000 + "\u2026")
        self.browser.screenshot("bridge-flood.png")
        # The next waiting one shows after it closes.
        self.answer("OK")
        self.browser.wait_for("the next queued alert", lambda: [d for d in self.dialogs() if d["content"] == "flood 0"])

    def test_a_page_cannot_open_the_pop_up_without_a_right_click(self):
        self.browser.start(self.server.url("/forged"))
        self.browser.wait_for("the page's sixty forged calls", lambda: self.reports("forged="))
        self.assertFalse(self.browser.state()["named"]["wContextPopup"]["visible"])

    def test_two_hundred_frames_leave_one_listener_per_link(self):
        self.browser.start(self.server.url("/frames"))
        result = self.browser.wait_for("the page's count of its hooks", lambda: self.reports("hooks="), timeout=60)
        self.assertEqual(result, ["hooks=1"])

    def test_right_clicks_open_the_pop_up_with_the_target(self):
        self.browser.start(self.server.url("/context"))
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Context")
        time.sleep(2)  # the hooks are injected after the load completes
        origin = self.content_origin()

        def pop_up():
            named = (self.browser.state() or {}).get("named", {})
            popup = named.get("wContextPopup", {})
            return named if popup.get("visible") and popup.get("opacity", 0) >= 1 else None

        # A link: the pop-up at the pointer, without the save-image entry.
        harness.click_button(origin[0] + 60, origin[1] + 60, 3)
        named = self.browser.wait_for("the pop-up over the link", pop_up)
        self.assertFalse(named["wContextPopup_SaveImage"]["visible"])
        self.assertEqual(named["wContextPopup"]["margin"][:2], self.pointer())
        self.browser.screenshot("bridge-link-pop-up.png")
        self.click_element("wContextPopup_CopyLink")
        self.browser.wait_for("the link on the clipboard",
                              lambda: clipboard() == self.server.url("/target?q=1"))

        # An image: the save-image entry shows, and the target loses its marker.
        time.sleep(1)
        harness.click_button(origin[0] + 500, origin[1] + 260, 3)
        named = self.browser.wait_for("the pop-up over the image", pop_up)
        self.assertTrue(named["wContextPopup_SaveImage"]["visible"])
        self.assertEqual(named["wContextPopup"]["margin"][:2], self.pointer())
        self.click_element("wContextPopup_CopyLink")
        self.browser.wait_for("the image address on the clipboard",
                              lambda: clipboard() == self.server.url("/picture.png?size=2"))

        # Open in new tab on the image's address.
        time.sleep(1)
        harness.click_button(origin[0] + 500, origin[1] + 260, 3)
        self.browser.wait_for("the pop-up again", pop_up)
        self.click_element("wContextPopup_OpenInNewTab")
        self.browser.wait_for("a second tab on the image", lambda: [
            v for v in (self.browser.state() or {}).get("webViews", [])
            if v["source"] == self.server.url("/picture.png?size=2")])

    def pointer(self):
        """The client position of the newest right-click, as the page saw it."""
        reports = self.browser.wait_for("the page's pointer report", lambda: self.reports("pointer="))
        return [int(v) for v in reports[-1].split("=")[1].split(",")]

    def content_origin(self):
        """Where the page's (0, 0) is on the screen."""
        named = self.browser.state()["named"]
        host = named["WebViewHost"]["rect"]
        window = harness.window_origin("Tolvane Browser")
        return (window[0] + host[0], window[1] + host[1])

    def click_element(self, name):
        rect = self.browser.state()["named"][name]["rect"]
        window = harness.window_origin("Tolvane Browser")
        harness.click_button(window[0] + rect[0] + rect[2] / 2, window[1] + rect[1] + rect[3] / 2, 1)


def clipboard():
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, text=True, timeout=5)
    return result.stdout


if __name__ == "__main__":
    harness.main()
