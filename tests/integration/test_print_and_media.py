"""Printing and media with the real engine: the page in front printed to a PDF
file by GTK's file printer (no other printer exists here), its text read back
with pdftotext and a path the printer cannot write told as a failure; a WebM
(VP8 + Vorbis) and an MP4 (H.264 + AAC) clip with sound, made now with
GStreamer, each play to their end on a private sound server."""
import contextlib
import os
import shutil
import subprocess
import tempfile
import time
import urllib.parse

import harness

PRINT_PAGE = "<h1>Tolvane prints this heading</h1><p>Impressão com acentuação, line two.</p>"

# GStreamer pipelines for about one second of a test picture and a tone.
PICTURE = "videotestsrc num-buffers=25 ! video/x-raw,width=160,height=120,framerate=25/1"
TONE = "audiotestsrc num-buffers=44 ! audioconvert"
CLIPS = {
    "webm": ("video/webm", "vp8enc deadline=1 ! webmmux name=mux", "vorbisenc"),
    "mp4": ("video/mp4", "openh264enc ! h264parse ! mp4mux faststart=true name=mux", "avenc_aac ! aacparse"),
}

# A click starts both clips, as a user's would; each tells the server how it ended.
MEDIA_PAGE = """<button id='play' style='position:fixed;left:0;top:0;width:100%;height:100%'
 onclick="for (const v of document.querySelectorAll('video')) v.play().catch(e => fetch('/report?refused=' + v.id));">
 Play</button>""" + "".join(
    """<video id='%s' src='/clip.%s' preload='auto'
 onended="fetch('/report?ended=' + this.id)" onerror="fetch('/report?error=' + this.id + this.error.code)"></video>"""
    % (name, name) for name in CLIPS)


def make_clip(directory, name):
    _, video, audio = CLIPS[name]
    path = os.path.join(directory, "clip." + name)
    pipeline = "%s ! %s ! filesink location=%s %s ! %s ! mux." % (PICTURE, video, path, TONE, audio)
    subprocess.run(["gst-launch-1.0", "-q", *pipeline.split()], check=True, capture_output=True, timeout=60)
    with open(path, "rb") as f:
        return f.read()


@contextlib.contextmanager
def private_sound_server(directory):
    """A PulseAudio server of the test's own with one null sink: the engine's
    audio goes the way it goes on a desktop, paced by a real clock, and no
    sound card is needed."""
    socket = os.path.join(directory, "native")
    env = dict(os.environ, HOME=directory, PULSE_RUNTIME_PATH=directory)
    server = subprocess.Popen(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
                               "--disable-shm=yes", "--load=module-null-sink sink_name=silent",
                               "--load=module-native-protocol-unix auth-anonymous=1 socket=" + socket],
                              env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 10
        while not os.path.exists(socket) and time.monotonic() < deadline and server.poll() is None:
            time.sleep(0.1)
        if not os.path.exists(socket):
            raise AssertionError("the sound server did not start")
        yield "unix:" + socket
    finally:
        server.terminate()
        server.wait(timeout=10)


class PrintAndMedia(harness.ReturningUserTest):
    PAGES = {
        "/print": harness.html("Print me", PRINT_PAGE),
        "/media": harness.html("Media", MEDIA_PAGE),
        "/report": harness.html("ok"),
    }
    HOME = "/print"

    def setUp(self):
        super().setUp()
        self.directory = tempfile.mkdtemp(prefix="tolvane-print-media-")
        self.addCleanup(shutil.rmtree, self.directory, ignore_errors=True)

    def reports(self):
        return sorted(urllib.parse.urlparse(p).query for p in self.server.requests if p.startswith("/report?"))

    def test_the_page_in_front_prints_to_a_pdf_file_and_an_unwritable_path_fails(self):
        # No printer at all: a print server where nothing listens.
        os.environ["CUPS_SERVER"] = os.path.join(self.directory, "no-cups")
        self.addCleanup(os.environ.pop, "CUPS_SERVER", None)
        self.browser.start(self.server.url("/print"))
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Print me")
        pdf = os.path.join(self.directory, "page.pdf")
        cases = [  # path, printed
            (pdf, True),
            (pdf, True),  # again, over the first file
            (os.path.join(self.directory, "no such folder", "page.pdf"), False),
            ("relative.pdf", False),
        ]
        for k, (path, printed) in enumerate(cases):
            with self.subTest(k=k, path=path):
                with open(self.browser.state_file + ".cmd", "w") as f:
                    f.write("print %s\n" % path)
                outcomes = self.browser.wait_for("the print's outcome", lambda: (self.browser.state() or {})
                                                 .get("prints", [])[k:k + 1])
                self.assertEqual(outcomes, [{"path": path, "printed": printed}])
                if printed:
                    text = subprocess.run(["pdftotext", "-layout", path, "-"], capture_output=True, text=True,
                                          check=True).stdout
                    self.assertIn("Tolvane prints this heading", text)
                    self.assertIn("Impressão com acentuação, line two.", text)

    def test_a_webm_and_an_mp4_clip_with_sound_play_to_their_end(self):
        for name, (media_type, _, _) in CLIPS.items():
            self.server.pages["/clip." + name] = (media_type, make_clip(self.directory, name))
        with private_sound_server(self.directory) as pulse:
            os.environ["PULSE_SERVER"] = pulse
            self.addCleanup(os.environ.pop, "PULSE_SERVER", None)
            self.browser.start(self.server.url("/media"))
            self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Media")
            time.sleep(0.5)
            self.browser.click_named("WebViewHost")
            self.browser.wait_for("both clips' ends", lambda: len(self.reports()) >= len(CLIPS), timeout=60)
            self.assertEqual(self.reports(), ["ended=" + name for name in sorted(CLIPS)])


if __name__ == "__main__":
    harness.main()
