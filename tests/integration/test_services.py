"""The companion services with the real binary and the desktop's own
launching (GIO): a pinned page opens from its desktop entry with the browser
stopped and running, the Reelpull bar and hand-over, the support mail with
and without a mail handler, and the rating prompt at start. Fake handlers
are desktop entries in the test's data folder that log their argument."""
import glob
import os
import shlex
import stat
import subprocess
import time

import harness

REELPULL_ID = "10000Quenfield.ReelpullforYouTube_q8k2m4x7z1p3r"


class Launched:
    """A browser `gio launch` started (not our child), stopped by its id."""

    def __init__(self, pid):
        self.pid = pid

    def poll(self):
        try:
            with open("/proc/%d/cmdline" % self.pid, "rb") as f:
                return None if f.read() else 0  # a zombie has no command line
        except FileNotFoundError:
            return 0

    def send_signal(self, sig):
        os.kill(self.pid, sig)

    def wait(self, timeout):
        deadline = time.monotonic() + timeout
        while self.poll() is None and time.monotonic() < deadline:
            time.sleep(0.1)


class Services(harness.ReturningUserTest):
    PAGES = {
        "/": harness.html("Home"),
        "/p": harness.html("Pinned \"page\" $HOME `x` 50%"),
        "/watch": harness.html("Video"),
    }

    def setUp(self):
        super().setUp()
        self.log = os.path.join(self.browser.root, "handled.log")
        self.apps = os.path.join(self.browser.data, "applications")
        os.makedirs(self.apps, exist_ok=True)
        os.makedirs(os.path.join(self.browser.root, "config"), exist_ok=True)
        script = os.path.join(self.browser.root, "handler.sh")
        with open(script, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> %s\n' % shlex.quote(self.log))
        os.chmod(script, stat.S_IRWXU)
        self.script = script

    def handler(self, desktop_id, scheme):
        with open(os.path.join(self.apps, desktop_id), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Fake %s\nExec=%s %%u\nMimeType=x-scheme-handler/%s;\n"
                    % (scheme, self.script, scheme))
        mimeapps = os.path.join(self.browser.root, "config", "mimeapps.list")
        existing = "[Default Applications]\n"
        if os.path.exists(mimeapps):
            with open(mimeapps) as f:
                existing = f.read()
        with open(mimeapps, "w") as f:
            f.write(existing + "x-scheme-handler/%s=%s\n" % (scheme, desktop_id))

    def handled(self):
        if not os.path.exists(self.log):
            return []
        with open(self.log) as f:
            return f.read().splitlines()

    def named(self, name):
        return ((self.browser.state() or {}).get("named") or {}).get(name) or {}

    def click(self, name):
        element = self.browser.wait_for(name, lambda: self.named(name).get("visible") and self.named(name)["rect"][2]
                                        and self.named(name))
        ox, oy = harness.window_origin("Tolvane Browser")
        x, y, w, h = element["rect"]
        harness.click(int(ox + x + w / 2), int(oy + y + h / 2))

    def menu(self, entry, about=False):
        self.click("MainMenuButton")
        if about:
            self.browser.wait_for("the main menu", lambda: self.named("wMainMenu").get("visible"))
            self.click("wMainMenu_About")
            self.browser.wait_for("the About panel", lambda: self.named("wAboutPanel").get("opacity", 0) >= 1)
        self.click(entry)

    def dialogs(self):
        return (self.browser.state() or {}).get("dialogs") or []

    def sources(self):
        return [v["source"] for v in sorted((self.browser.state() or {}).get("webViews", []), key=lambda v: v["tag"])]

    def gio_launch(self, path):
        """Starts a desktop entry as the desktop does, in the browser's environment."""
        subprocess.run(["gio", "launch", path], env=self.browser.environment(), check=True, timeout=30)

    def launched_browser(self):
        """The browser `gio launch` started on this test's data folder."""
        marker = ("XDG_DATA_HOME=%s" % self.browser.data).encode()
        for entry in os.listdir("/proc"):
            if not entry.isdigit():
                continue
            try:
                with open("/proc/%s/environ" % entry, "rb") as f:
                    environ = f.read().split(b"\0")
                with open("/proc/%s/cmdline" % entry, "rb") as f:
                    command = f.read()
            except OSError:
                continue
            if marker in environ and b"--arguments" in command:
                return int(entry)
        return None

    def test_a_pinned_page_opens_from_the_menu_stopped_and_running(self):
        address = self.server.url("/p?q=1&s=a%20b")
        self.browser.start(address)
        self.browser.wait_for("the page", lambda: "Pinned" in (self.browser.text("PageTitleText") or ""))
        self.menu("wButton_PinToStart")
        entries = self.browser.wait_for("the desktop entry", lambda: glob.glob(os.path.join(self.apps, "TolvaneTile.*")))
        self.assertEqual(subprocess.run(["desktop-file-validate", entries[0]]).returncode, 0)
        self.browser.wait_for("the success message", self.dialogs)
        # Running: the second instance hands the address to the first, a new tab.
        self.gio_launch(entries[0])
        self.browser.wait_for("a new tab on the pinned page", lambda: self.sources()[-1:] == [address]
                              and len(self.sources()) == 2)
        self.browser.screenshot("pinned-page-running.png")
        self.browser.stop()
        # Stopped: the entry starts the browser on the page.
        self.gio_launch(entries[0])
        self.browser.process = Launched(self.browser.wait_for("the started browser", self.launched_browser))
        self.browser.wait_for("the pinned page at start", lambda: address in self.sources())

    def test_the_reelpull_bar_hands_the_video_over(self):
        self.handler(REELPULL_ID + ".desktop", "reelpull")
        address = self.server.url("/watch?v=abc&t=1")
        self.browser.start(address)
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Video")
        self.browser.wait_for("the bar", lambda: self.named("wReelpullPromptBar").get("visible"))
        self.browser.screenshot("reelpull-bar.png")
        self.click("wReelpullButton_HandOver")
        self.browser.wait_for("the hand-over", lambda: self.handled() == ["reelpull:" + address])
        self.browser.wait_for("the bar gone", lambda: not self.named("wReelpullPromptBar").get("visible"))

    def test_support_mail_reaches_the_mail_handler_or_is_told(self):
        for has_handler in (False, True):
            if has_handler:
                self.handler("fake-mail.desktop", "mailto")
            self.browser.start()
            self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Home")
            self.menu("wButton_SupportMail", about=True)
            if has_handler:
                mail = self.browser.wait_for("the mail handler", self.handled)
                self.assertTrue(mail[0].startswith("mailto:support@tolvane.org?subject="), mail)
            else:
                self.browser.wait_for("no handler: the dialog", self.dialogs)
            self.browser.stop()

    def test_the_rating_prompt_shows_at_start_and_can_be_declined(self):
        harness.prepare_config(self.browser, {"wConfig_ShowRatingAlert": ("wSTATUS", "true")})
        self.browser.start()
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Home")
        self.browser.wait_for("the prompt", lambda: self.named("wRatingPanel").get("visible"))
        self.browser.screenshot("rating-prompt.png")
        self.click("wRatingCheckBox_DoNotAsk")
        self.click("wRatingButton_Close")
        self.browser.wait_for("the setting off", lambda: self.browser.query(
            "wConfig_database.db", "SELECT wSTATUS FROM wConfig_ShowRatingAlert") == [(b"false",)])
        self.browser.wait_for("the prompt gone", lambda: not self.named("wRatingPanel").get("visible"))


if __name__ == "__main__":
    harness.main()
