"""The page bridge with the real engine: alert and confirm in the browser's dialogs, a huge alert and a flood
leave the window responding, a right-click on an image opens the pop-up (forgeries: adapter and page tests)."""
import os
import subprocess
import time
import urllib.parse

import harness

# Alert and confirm, then a five-megabyte alert and ten thousand more.
DIALOG_PAGE = """<p>Dialogs</p><script>
addEventListener('load', () => setTimeout(() => {
  alert('Hello from the page');
  fetch('/report?after-alert');
  const first = confirm('Sure?');
  const second = confirm('Again?');
  fetch('/report?confirm=' + first + ',' + second);
  alert('x'.repeat(5 * 1024 * 1024));
  const started = Date.now();
  for (let i = 0; i < 10000; i++) alert('flood ' + i);
  fetch('/report?flood=' + (Date.now() - started));
}, 1500));
</script>"""

CONTEXT_PAGE = """<style>body{margin:0}</style>
<img id='image' src='/picture.png?size=2' style='position:absolute;left:400px;top:200px;width:200px;height:120px'>
<script>addEventListener('contextmenu', e => fetch('/report?pointer=' + e.clientX + ',' + e.clientY));</script>"""


# A 1x1 PNG.
PNG = bytes.fromhex("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c4890000000d4944415478da63f8cfc0f01f0005"
                    "0001ff5a0b6a7b0000000049454e44ae426082")


class Bridge(harness.ReturningUserTest):
    PAGES = {
        "/dialogs": harness.html("Dialogs", DIALOG_PAGE),
        "/context": harness.html("Context", CONTEXT_PAGE),
        "/picture.png": ("image/png", PNG),
        "/report": harness.html("ok"),
    }
    HOME = "/context"

    def reports(self, key):
        return [urllib.parse.unquote(urllib.parse.urlparse(p).query) for p in self.server.requests
                if p.startswith("/report?" + key)]

    def dialogs(self):
        return (self.browser.state() or {}).get("dialogs", [])

    def test_alert_and_confirm_reach_the_users_dialogs_and_a_flood_leaves_the_window_responding(self):
        self.browser.start(self.server.url("/dialogs"))
        alert = self.browser.wait_for("the alert dialog", lambda: [d for d in self.dialogs()
                                                                   if d["content"] == "Hello from the page"])
        self.assertEqual(alert[0]["title"], "This page says:")
        # The page went on at once, without waiting for the alert to close.
        self.browser.wait_for("the page going on after alert", lambda: self.reports("after-alert"))
        # One bridge dialog at a time: the confirm waits for the alert to close.
        self.assertEqual(len(self.dialogs()), 1)
        self.browser.answer("OK")
        confirm = self.browser.wait_for("the confirm dialog", lambda: [d for d in self.dialogs()
                                                                       if d["title"] == "Mensagem do site:"])
        self.assertEqual(confirm[0]["content"], "Sure?\n\nDo you want to continue?")
        self.browser.screenshot("bridge-dialogs.png")
        self.browser.answer("No")
        # The second confirm on the same page reuses the first answer, with no dialog.
        self.assertEqual(self.browser.wait_for("the page's report of the answer", lambda: self.reports("confirm=")),
                         ["confirm=false,false"])

        report = self.browser.wait_for("the page's end of the flood", lambda: self.reports("flood="), timeout=60)
        print("\n10,000 alerts ran in the page in %s ms" % report[0].split("=")[1])
        # The state probe is a timer of the window's own loop: it still runs.
        before = os.path.getmtime(self.browser.state_file)
        self.browser.wait_for("the window's loop to go on",
                              lambda: os.path.getmtime(self.browser.state_file) > before, timeout=5)
        self.assertEqual([d["content"] for d in self.dialogs()], ["x" * 10000 + "\u2026"])
        self.browser.answer("OK")  # the next waiting one shows after it closes
        self.browser.wait_for("the next queued alert", lambda: [d for d in self.dialogs() if d["content"] == "flood 0"])

    # The image's hook, injected by the browser itself, reaches the pop-up; the
    # link hook's injection, forged right-clicks and the entries' other actions
    # are proved by the adapter and page tests.
    def test_a_right_click_on_an_image_opens_the_pop_up_at_the_pointer_and_copies_its_address(self):
        self.browser.start(self.server.url("/context"))
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Context")
        time.sleep(2)  # the hooks are injected after the load completes
        origin = self.content_origin()

        def pop_up():
            named = (self.browser.state() or {}).get("named", {})
            popup = named.get("wContextPopup", {})
            return named if popup.get("visible") and popup.get("opacity", 0) >= 1 else None

        harness.click_button(origin[0] + 500, origin[1] + 260, 3)
        named = self.browser.wait_for("the pop-up over the image", pop_up)
        self.assertTrue(named["wContextPopup_SaveImage"]["visible"])
        self.assertEqual(named["wContextPopup"]["margin"][:2], self.pointer())
        self.browser.screenshot("bridge-image-pop-up.png")
        self.browser.click_named("wContextPopup_CopyLink")
        self.browser.wait_for("the image address, without its marker, on the clipboard",
                              lambda: clipboard() == self.server.url("/picture.png?size=2"))

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


def clipboard():
    result = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True, text=True, timeout=5)
    return result.stdout


if __name__ == "__main__":
    harness.main()
