"""Pages that abuse the bridge, with the real engine: a forged right-click,
a five-megabyte alert and two hundred frames around one link (a burst of
window.open from one click is among the browsing tests)."""
import os
import urllib.parse

import harness

FORGED_MENU_PAGE = """<p>Nothing to click</p><script>
let calls = 0;
const forge = setInterval(() => {
  wScriptNotify.wMousePosX(10); wScriptNotify.wMousePosY(10);
  wScriptNotify.wContextMenu('file:///etc/hostname');
  if (++calls == 60) { clearInterval(forge); fetch('/report?forged=' + calls); }
}, 50);
</script>"""

HUGE_ALERT_PAGE = """<script>
addEventListener('load', () => setTimeout(() => {
  alert('x'.repeat(5 * 1024 * 1024));
  fetch('/report?after-alert');
}, 1000));
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


class HostilePages(harness.ReturningUserTest):
    PAGES = {
        "/forged": harness.html("Forged", FORGED_MENU_PAGE),
        "/huge": harness.html("Huge", HUGE_ALERT_PAGE),
        "/frames": harness.html("Frames", FRAMES_PAGE),
        "/report": harness.html("ok"),
    }

    def reports(self, key):
        return [urllib.parse.unquote(urllib.parse.urlparse(p).query) for p in self.server.requests
                if p.startswith("/report?" + key)]

    def named(self):
        return (self.browser.state() or {}).get("named", {})

    def test_a_page_cannot_open_the_pop_up_without_a_right_click(self):
        self.browser.start(self.server.url("/forged"))
        self.browser.wait_for("the page's sixty forged calls", lambda: self.reports("forged="))
        self.assertFalse(self.named()["wContextPopup"]["visible"])

    def test_a_five_megabyte_alert_is_cut_and_the_window_goes_on(self):
        self.browser.start(self.server.url("/huge"))
        dialog = self.browser.wait_for("the alert", lambda: (self.browser.state() or {}).get("dialogs"))[0]
        self.assertEqual(dialog["content"], "x" * 10000 + "\u2026")
        self.browser.wait_for("the page going on", lambda: self.reports("after-alert"))
        before = os.path.getmtime(self.browser.state_file)
        self.browser.wait_for("the window's loop to go on",
                              lambda: os.path.getmtime(self.browser.state_file) > before, timeout=5)

    def test_two_hundred_frames_leave_one_listener_per_link(self):
        self.browser.start(self.server.url("/frames"))
        result = self.browser.wait_for("the page's count of its hooks", lambda: self.reports("hooks="), timeout=60)
        self.assertEqual(result, ["hooks=1"])


if __name__ == "__main__":
    harness.main()
