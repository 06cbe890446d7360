"""Downloads with the real binary, into the folder a user-dirs.dirs names: an
attachment through the dialog, save image's proposed name, a 404, a dropped
answer, a folder nothing can write to and a full disk."""
import os
import shutil
import subprocess
import sys
import tempfile

import harness

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "gtk"))
import download_server  # noqa: E402

SIZE = 1000003


class DownloadsTest(harness.unittest.TestCase):
    def setUp(self):
        self.server = download_server.start()
        self.browser = harness.Browser()
        self.downloads = tempfile.mkdtemp(prefix="tolvane-dl-")
        harness.prepare_config(self.browser, {"wConfig_HomeScreenStatus": ("wSTATUS", "false")})

    def tearDown(self):
        self.browser.cleanup()
        self.server.shutdown()
        self.server.server_close()
        shutil.rmtree(self.downloads, ignore_errors=True)

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.server.server_address[1], path)

    def start(self, folder, path):
        os.makedirs(os.path.join(self.browser.root, "config"), exist_ok=True)
        with open(os.path.join(self.browser.root, "config", "user-dirs.dirs"), "w") as f:
            f.write('XDG_DOWNLOAD_DIR="%s"\n' % folder)
        self.browser.start(self.url(path))

    def named(self, name):
        return (self.browser.state() or {}).get("named", {}).get(name) or {}

    def click(self, name):
        rect = self.browser.wait_for(name, lambda: self.named(name).get("visible") and self.named(name)["rect"])
        x, y = harness.window_origin("Tolvane Browser")
        harness.click_button(x + rect[0] + rect[2] / 2, y + rect[1] + rect[3] / 2, 1)

    def open_tab(self, path, then):
        """The address in a new tab, as a second start hands it over; `then` is the button that opens the dialog."""
        subprocess.run([harness.BINARY, self.url(path)], env=self.browser.environment(), check=False)
        if then:
            self.browser.wait_for(path, lambda: path.split("?")[0] in self.named("AdressBox").get("text", ""))
            self.click(then)

    def download(self, name, toast_says, saved_as=None):
        """The dialog is up with `name`: Download, then the toast that tells how it went."""
        self.browser.wait_for("the dialog", lambda: self.named("wDownloadDialog").get("opacity", 0) >= 1)
        self.assertEqual(self.named("wDownloadNameBox")["text"], name)
        self.click("wDownloadStartButton")
        saved_as = saved_as or name
        toasts = lambda: [t for t in (self.browser.state() or {}).get("toasts", []) if saved_as in t["body"]]
        toast = self.browser.wait_for("the toast of " + saved_as, toasts)[0]
        self.assertIn(toast_says, toast["body"])
        with open(self.browser.state_file + ".cmd", "w") as f:
            f.write("answer OK\n")  # the start message
        return toast

    def test_attachment_image_404_and_drop(self):
        with open(os.path.join(self.downloads, "report.bin"), "wb") as f:
            f.write(b"older")
        self.start(self.downloads, "/report.bin?size=%d" % SIZE)
        self.browser.wait_for("the dialog", lambda: self.named("wDownloadFolderBox").get("text") == self.downloads)
        toast = self.download("report.bin", "downloaded", saved_as="report (2).bin")
        print("toast path:", toast["path"])
        with open(os.path.join(self.downloads, "report (2).bin"), "rb") as f:
            self.assertEqual(f.read(), download_server.pattern(0, SIZE))
        with open(os.path.join(self.downloads, "report.bin"), "rb") as f:
            self.assertEqual(f.read(), b"older")

        self.open_tab("/p.png?a=1#f", "SaveImageButton")
        self.browser.screenshot("downloads-dialog.png")
        self.download("p.png", "downloaded")
        with open(os.path.join(self.downloads, "p.png"), "rb") as f:
            self.assertEqual(f.read(), download_server.PNG)

        self.open_tab("/gone.png", "SaveImageButton")
        self.download("gone.png", "404")
        self.assertEqual(os.path.getsize(os.path.join(self.downloads, "gone.png")), 0)

        self.open_tab("/broken.bin?size=%d&drop=1000" % SIZE, None)
        self.download("broken.bin", "connection")

    def test_a_folder_nothing_can_write_to_and_a_full_disk(self):
        # Not even root writes under /proc.
        unwritable = "/proc/tolvane-downloads" if os.geteuid() == 0 else os.path.join(self.downloads, "ro")
        if os.geteuid() != 0:
            os.mkdir(unwritable, 0o555)
        self.start(unwritable, "/report.bin?size=%d" % SIZE)
        self.browser.wait_for("the dialog", lambda: self.named("wDownloadDialog").get("opacity", 0) >= 1)
        self.click("wDownloadStartButton")
        said = self.browser.wait_for("the folder's message", lambda: [
            d["content"] for d in self.browser.state()["dialogs"] if unwritable in d["content"]])
        self.assertNotIn("Downloading", said[0])
        self.assertFalse(self.browser.state()["toasts"])
        self.browser.stop()

        small = os.path.join(self.downloads, "small")
        os.mkdir(small)
        if os.geteuid() != 0 or subprocess.run(["mount", "-t", "tmpfs", "-o", "size=256k", "tmpfs", small]).returncode:
            self.skipTest("a full disk needs root to mount a small tmpfs")
        try:
            self.start(small, "/report.bin?size=%d" % SIZE)
            self.assertEqual(self.download("report.bin", "disk is full")["title"], "Download interrupted")
        finally:
            self.browser.stop()
            subprocess.run(["umount", small], check=False)


if __name__ == "__main__":
    harness.main()
