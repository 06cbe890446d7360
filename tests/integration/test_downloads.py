"""Downloads with the real binary: an attachment through the dialog into the
XDG Downloads folder a user-dirs.dirs names, save image's proposed name, a
404, a dropped connection, and a folder nothing can be written to."""
import hashlib
import http.server
import os
import shutil
import subprocess
import tempfile
import threading

import harness

PAYLOAD = bytes((i * 7) % 256 for i in range(251)) * 4000  # about 1 MB
PNG = bytes.fromhex("89504e470d0a1a0a0000000d49484452000000010000000108060000001f15c4890000000d4944415478da63f8cfc0f01f0005"
                    "0001ff5a0b6a7b0000000049454e44ae426082")


def read(path):
    with open(path, "rb") as f:
        return f.read()


class QuietServer(http.server.ThreadingHTTPServer):
    def handle_error(self, request, client_address):
        pass  # the engine hangs up on content it hands to the downloader


class FileServer:
    """Attachments, an image, a 404 image and an answer that drops half way."""

    def __init__(self):
        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def log_message(self, *args):
                pass

            def do_GET(self):
                path = self.path.split("?")[0]
                if path == "/":
                    return self.send(200, "text/html", b"<title>Files</title><p>Files</p>")
                if path == "/report.bin":
                    return self.send(200, "application/octet-stream", PAYLOAD, attachment=True)
                if path == "/p.png":
                    return self.send(200, "image/png", PNG)
                if path == "/broken.bin":
                    self.send_response(200)
                    self.send_header("Content-Type", "application/octet-stream")
                    self.send_header("Content-Length", str(len(PAYLOAD)))
                    self.end_headers()
                    self.wfile.write(PAYLOAD[:1000])
                    self.wfile.flush()
                    self.connection.shutdown(2)
                    self.close_connection = True
                    return
                return self.send(404, "text/html", b"<title>Not here</title><p>404</p>")

            def send(self, code, content_type, body, attachment=False):
                self.send_response(code)
                self.send_header("Content-Type", content_type)
                if attachment:
                    self.send_header("Content-Disposition", "attachment")
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                self.wfile.write(body)

        self.httpd = QuietServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.httpd.serve_forever, daemon=True).start()

    def url(self, path):
        return "http://127.0.0.1:%d%s" % (self.httpd.server_address[1], path)

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


class DownloadsTest(harness.unittest.TestCase):
    def setUp(self):
        self.server = FileServer()
        self.browser = harness.Browser()
        self.downloads = tempfile.mkdtemp(prefix="tolvane-dl-")
        harness.prepare_config(self.browser, {"wConfig_HomeScreenStatus": ("wSTATUS", "false")})

    def tearDown(self):
        self.browser.cleanup()
        self.server.close()
        shutil.rmtree(self.downloads, ignore_errors=True)

    def name_downloads_folder(self, folder):
        config = os.path.join(self.browser.root, "config")
        os.makedirs(config, exist_ok=True)
        with open(os.path.join(config, "user-dirs.dirs"), "w") as f:
            f.write('XDG_DOWNLOAD_DIR="%s"\n' % folder)

    def named(self, name):
        return (self.browser.state() or {}).get("named", {}).get(name)

    def click(self, name):
        rect = self.browser.wait_for(name, lambda: (self.named(name) or {}).get("visible") and self.named(name)["rect"])
        window = harness.window_origin("Tolvane Browser")
        harness.click_button(window[0] + rect[0] + rect[2] / 2, window[1] + rect[1] + rect[3] / 2, 1)

    def answer(self, label):
        with open(self.browser.state_file + ".cmd", "w") as f:
            f.write("answer %s\n" % label)

    def open_tab(self, path):
        """The address in a new tab, as a second start of the browser hands it over."""
        subprocess.run([harness.BINARY, self.server.url(path)], env=self.browser.environment(), check=False)
        self.browser.wait_for(path, lambda: path.split("?")[0] in ((self.named("AdressBox") or {}).get("text") or "")
                              or path.endswith(".bin"))

    def toasts(self):
        return (self.browser.state() or {}).get("toasts", [])

    def dialog_open(self):
        return self.browser.wait_for("the download dialog", lambda: (self.named("wDownloadDialog") or {}).get("opacity", 0) >= 1)

    def test_attachment_image_404_and_drop(self):
        self.name_downloads_folder(self.downloads)
        with open(os.path.join(self.downloads, "report.bin"), "wb") as f:
            f.write(b"older")
        self.browser.start(self.server.url("/report.bin"))
        self.dialog_open()
        self.assertEqual(self.named("wDownloadNameBox")["text"], "report.bin")
        self.assertEqual(self.named("wDownloadFolderBox")["text"], self.downloads)
        self.click("wDownloadStartButton")
        target = os.path.join(self.downloads, "report (2).bin")
        toast = self.browser.wait_for("the completion toast", lambda: [t for t in self.toasts()
                                                                      if "report (2).bin" in t["body"]])
        self.assertEqual(hashlib.sha256(read(target)).hexdigest(), hashlib.sha256(PAYLOAD).hexdigest())
        self.assertEqual(read(os.path.join(self.downloads, "report.bin")), b"older")
        print("toast path:", toast[0]["path"])
        self.answer("OK")

        # Save image: the proposed name drops the query and the fragment.
        self.open_tab("/p.png?a=1#f")
        self.click("SaveImageButton")
        self.dialog_open()
        self.assertEqual(self.named("wDownloadNameBox")["text"], "p.png")
        self.browser.screenshot("downloads-dialog.png")
        self.click("wDownloadStartButton")
        self.browser.wait_for("the image's toast", lambda: [t for t in self.toasts() if "p.png" in t["body"]])
        self.assertEqual(read(os.path.join(self.downloads, "p.png")), PNG)
        self.answer("OK")

        # A 404 image: told as a failure, never as success, and the file stays empty.
        self.open_tab("/gone.png")
        self.click("SaveImageButton")
        self.dialog_open()
        self.click("wDownloadStartButton")
        failed = self.browser.wait_for("the 404 toast", lambda: [t for t in self.toasts() if "404" in t["body"]])
        self.assertIn("gone.png", failed[0]["body"])
        self.assertEqual(os.path.getsize(os.path.join(self.downloads, "gone.png")), 0)
        self.answer("OK")

        # A dropped answer: a failure toast, and the row offers a retry.
        self.open_tab("/broken.bin")
        self.dialog_open()
        self.click("wDownloadStartButton")
        self.browser.screenshot("downloads-drop.png")
        self.browser.wait_for("the drop toast", lambda: [t for t in self.toasts() if "broken.bin" in t["body"]])
        self.assertFalse([t for t in self.toasts() if "broken.bin" in t["body"] and "downloaded" in t["body"]])

    def test_a_folder_nothing_can_be_written_to_is_told_and_nothing_counted(self):
        if os.geteuid() == 0:
            folder = "/proc/tolvane-no-downloads"  # not even root writes there
        else:
            folder = os.path.join(self.downloads, "read-only")
            os.mkdir(folder, 0o555)
        self.name_downloads_folder(folder)
        self.browser.start(self.server.url("/report.bin"))
        self.dialog_open()
        self.click("wDownloadStartButton")
        dialog = self.browser.wait_for("the folder error", lambda: [
            d for d in self.browser.state()["dialogs"] if folder in d["content"]])
        self.assertNotIn("Downloading", dialog[0]["content"])
        self.assertFalse(self.toasts())


if __name__ == "__main__":
    harness.main()
