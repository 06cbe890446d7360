"""The companion services with the desktop's own launching (GIO) and fake handlers that log their argument: a
pinned page stopped and running, the Reelpull hand-over, the support mail with and without a mail handler."""
import contextlib
import glob
import os
import shlex
import signal
import stat
import subprocess

import harness

REELPULL_ID = "10000Quenfield.ReelpullforYouTube_q8k2m4x7z1p3r"


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

    def handler(self, desktop_id, scheme):
        """A fake default handler for the scheme that logs its argument."""
        script = os.path.join(self.browser.root, "handler.sh")
        with open(script, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$1" >> %s\n' % shlex.quote(self.log))
        os.chmod(script, stat.S_IRWXU)
        with open(os.path.join(self.apps, desktop_id), "w") as f:
            f.write("[Desktop Entry]\nType=Application\nName=Fake %s\nExec=%s %%u\nMimeType=x-scheme-handler/%s;\n"
                    % (scheme, script, scheme))
        with open(os.path.join(self.browser.root, "config", "mimeapps.list"), "w") as f:
            f.write("[Default Applications]\nx-scheme-handler/%s=%s\n" % (scheme, desktop_id))

    def handled(self):
        with contextlib.suppress(FileNotFoundError), open(self.log) as f:
            return f.read().splitlines()

    def dialogs(self):
        return (self.browser.state() or {}).get("dialogs") or []

    def sources(self):
        return [v["source"] for v in sorted((self.browser.state() or {}).get("webViews", []), key=lambda v: v["tag"])]

    def start_on(self, title, *args):
        self.browser.start(*args)
        self.browser.wait_for("the page", lambda: title in (self.browser.text("PageTitleText") or ""))

    def gio_launch(self, path):
        """Starts a desktop entry as the desktop does, in the browser's environment."""
        subprocess.run(["gio", "launch", path], env=self.browser.environment(), check=True, timeout=30)

    def launched_browser(self):
        """The browser `gio launch` started on this test's data folder (not our child)."""
        marker = ("XDG_DATA_HOME=%s" % self.browser.data).encode()
        for pid in filter(str.isdigit, os.listdir("/proc")):
            with contextlib.suppress(OSError), open("/proc/%s/environ" % pid, "rb") as env, \
                    open("/proc/%s/cmdline" % pid, "rb") as command:
                if marker in env.read().split(b"\0") and b"--arguments" in command.read():
                    return int(pid)
        return None

    def test_a_pinned_page_opens_from_the_menu_stopped_and_running(self):
        address = self.server.url("/p?q=1&s=a%20b")
        self.start_on("Pinned", address)
        self.browser.open_menu_entry("wButton_PinToStart")
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
        pid = self.browser.wait_for("the started browser", self.launched_browser)
        try:
            self.browser.wait_for("the pinned page at start", lambda: address in self.sources())
        finally:
            os.kill(pid, signal.SIGTERM)

    def test_the_reelpull_bar_hands_the_video_over(self):
        self.handler(REELPULL_ID + ".desktop", "reelpull")
        address = self.server.url("/watch?v=abc&t=1")
        self.start_on("Video", address)
        self.browser.wait_for("the bar", lambda: self.browser.named("wReelpullPromptBar").get("visible"))
        self.browser.screenshot("reelpull-bar.png")
        self.browser.click_named("wReelpullButton_HandOver")
        self.browser.wait_for("the hand-over", lambda: self.handled() == ["reelpull:" + address])
        self.browser.wait_for("the bar gone", lambda: not self.browser.named("wReelpullPromptBar").get("visible"))

    def test_support_mail_reaches_the_mail_handler_or_is_told(self):
        for has_handler in (False, True):
            if has_handler:
                self.handler("fake-mail.desktop", "mailto")
            self.start_on("Home")
            self.browser.open_menu_entry("wMainMenu_About")
            self.browser.wait_for("the About panel", lambda: self.browser.named("wAboutPanel").get("opacity", 0) >= 1)
            self.browser.click_named("wButton_SupportMail")
            if has_handler:
                mail = self.browser.wait_for("the mail handler", self.handled)
                self.assertTrue(mail[0].startswith("mailto:support@tolvane.org?subject="), mail)
            else:
                self.browser.wait_for("no handler: the dialog", self.dialogs)
            self.browser.stop()



if __name__ == "__main__":
    harness.main()
