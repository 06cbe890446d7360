"""Downloads with the real binary, into the folder a user-dirs.dirs names: an attachment through the dialog to a
new file and a toast, then a folder that is gone. The adapter and unit tests prove the other failures."""
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
        self.downloads = os.path.join(tempfile.mkdtemp(prefix="tolvane-dl-"), "Downloads")
        os.mkdir(self.downloads)
        harness.prepare_config(self.browser, {"wConfig_HomeScreenStatus": ("wSTATUS", "false")})
        os.makedirs(os.path.join(self.browser.root, "config"))
        with open(os.path.join(self.browser.root, "config", "user-dirs.dirs"), "w") as f:
            f.write('XDG_DOWNLOAD_DIR="%s"\n' % self.downloads)

    def tearDown(self):
        self.browser.cleanup()
        self.server.shutdown()
        self.server.server_close()
        shutil.rmtree(os.path.dirname(self.downloads), ignore_errors=True)

    def download(self):
        """Download in the dialog up for report.bin; the message it brings is answered and returned."""
        self.browser.wait_for("the dialog", lambda: self.browser.named("wDownloadDialog").get("opacity", 0) >= 1)
        self.assertEqual(self.browser.text("wDownloadNameBox"), "report.bin")
        self.browser.screenshot("downloads-dialog.png")
        self.browser.click_named("wDownloadStartButton")
        said = self.browser.wait_for("a message", lambda: self.browser.state()["dialogs"])[-1]["content"]
        self.browser.answer("OK")
        return said

    def test_an_attachment_lands_as_a_new_file_and_a_gone_folder_is_told(self):
        with open(os.path.join(self.downloads, "report.bin"), "wb") as f:
            f.write(b"older")
        address = "http://127.0.0.1:%d/report.bin?size=%d" % (self.server.server_address[1], SIZE)
        self.browser.start(address)
        self.assertEqual(self.download(), "Downloading \"report.bin\".")
        toast = self.browser.wait_for("the toast", lambda: self.browser.state()["toasts"])[0]
        print("toast path:", toast["path"], self.browser.screenshot("downloads-toast.png"))
        self.assertEqual(toast["body"], "\"report (2).bin\" has been downloaded.")
        with open(os.path.join(self.downloads, "report (2).bin"), "rb") as f:
            self.assertEqual(f.read(), download_server.pattern(0, SIZE))
        with open(os.path.join(self.downloads, "report.bin"), "rb") as f:
            self.assertEqual(f.read(), b"older")

        # The folder replaced by a file: nothing can be made in it, as root or not.
        shutil.rmtree(self.downloads)
        open(self.downloads, "w").close()
        subprocess.run([harness.BINARY, address], env=self.browser.environment(), check=False)
        self.assertEqual(self.download(), "The file could not be created in the folder \"%s\": Not a directory"
                         % self.downloads)
        self.assertEqual(len(self.browser.state()["toasts"]), 1)


if __name__ == "__main__":
    harness.main()
