"""Broken data files, one damaged or blocked before each start: the browser still browses, the dialog names the
file and says why, and the files stay byte for byte as they were."""
import contextlib
import os
import pathlib
import sqlite3
import subprocess
import unittest

import harness

ROOT = os.geteuid() == 0
HISTORY = "wHistoric_database.db"
FAVORITES = "wFavorite_database.db"
ALL = (FAVORITES, HISTORY, "wConfig_database.db")


def make_files(browser, favorites=0):
    """The three files as an earlier run leaves them, with some favorites."""
    harness.prepare_config(browser, {"wConfig_HomeScreenStatus": ("wSTATUS", "false"),
                                     "wConfig_SaveFavoriteStatus": ("wSTATUS", "true")})
    rows = ",".join("(NULL, 'Favorite %d', 'http://example.com/%d%s')" % (i, i, "x" * 200) for i in range(favorites))
    browser.write(FAVORITES, "CREATE TABLE wFavorite_Registered(wID INTEGER PRIMARY KEY NOT NULL, wNAME TEXT NOT NULL, "
                  "wLINK TEXT NOT NULL);" + ("INSERT INTO wFavorite_Registered VALUES %s;" % rows if rows else ""))
    browser.write(HISTORY, "CREATE TABLE wHistoric_PagesOpened(wID INTEGER PRIMARY KEY NOT NULL, wNAME TEXT NOT NULL, "
                  "wLINK TEXT NOT NULL, wDATE TEXT NOT NULL, wTIME TEXT NOT NULL);")


def random_bytes(browser):
    make_files(browser)
    with open(browser.file(HISTORY), "wb") as f:
        f.write(os.urandom(64 * 1024))
    return HISTORY, "damaged", (HISTORY,)


def truncated(browser):
    make_files(browser, favorites=400)
    path = browser.file(FAVORITES)
    os.truncate(path, os.path.getsize(path) // 2)
    return FAVORITES, "damaged", (FAVORITES,)


def read_only_file(browser):
    make_files(browser)
    os.chmod(browser.file(HISTORY), 0o444)
    return HISTORY, "cannot be written", (HISTORY,)


def read_only_folder(browser):
    make_files(browser)
    os.chmod(os.path.dirname(browser.file("x")), 0o555)
    return HISTORY, "cannot be written", ALL


def full_disk(browser):
    """The disk fills while the browser runs: the next visit's write fails."""
    folder = os.path.dirname(browser.file("x"))
    os.makedirs(folder)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=512k", "tmpfs", folder], check=True)
    browser.mounted = folder
    make_files(browser)

    def fill():
        with contextlib.suppress(OSError), open(os.path.join(folder, "filler"), "wb") as f:
            while True:
                f.write(b"\0" * 4096)
                f.flush()
    browser.fill = fill
    return HISTORY, "is full", ALL


def locked(browser):
    """Another program holds the file: told apart from a damaged one."""
    make_files(browser)
    browser.holder = sqlite3.connect(browser.file(HISTORY), isolation_level=None)
    browser.holder.execute("BEGIN EXCLUSIVE")
    return HISTORY, "locked", ()


CASES = [
    ("random bytes", random_bytes),
    ("truncated to half", truncated),
    ("read-only file", read_only_file),
    ("read-only folder", read_only_folder),
    ("full disk", full_disk),
    ("locked", locked),
]


class BrokenFiles(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = harness.LocalServer({"/": harness.html("Still browsing"),
                                          "/then-next": ("text/html; charset=utf-8",
                                                         '<html><head><meta http-equiv="refresh" content="3;url=/next">'
                                                         '<title>Still browsing</title></head></html>'),
                                          "/next": harness.html("Next page")})

    @classmethod
    def tearDownClass(cls):
        cls.server.close()

    def run_case(self, prepare, unprivileged=False):
        browser = harness.Browser()
        browser.mounted = browser.holder = browser.fill = None
        # Root writes through file modes; without these capabilities it cannot.
        if unprivileged and ROOT:
            browser.wrapper = ["setpriv", "--bounding-set", "-dac_override,-dac_read_search"]
        try:
            name, why, kept = prepare(browser)
            before = {n: pathlib.Path(browser.file(n)).read_bytes() for n in kept}
            browser.start(self.server.url("/then-next" if browser.fill else "/"))
            browser.wait_for("the page", lambda: browser.text("PageTitleText") == "Still browsing", timeout=60)
            if browser.fill:
                browser.fill()
                before = {n: pathlib.Path(browser.file(n)).read_bytes() for n in kept}
                browser.wait_for("the next page", lambda: browser.text("PageTitleText") == "Next page", timeout=60)
            dialogs = browser.wait_for("the error dialog", lambda: [
                d for d in (browser.state() or {}).get("dialogs", []) if browser.file(name) in d["content"]])
            content = dialogs[0]["content"]
            self.assertIn(why, content)
            if why == "locked":
                self.assertNotIn("damaged", content)
            self.assertEqual(dialogs[0]["title"], "Erro")
            self.assertIsNone(browser.process.poll(), "still running")
            for n, data in before.items():
                self.assertTrue(pathlib.Path(browser.file(n)).read_bytes() == data, "%s changed" % n)
            browser.screenshot("broken-%s.png" % prepare.__name__)
            return content
        finally:
            browser.stop()
            if browser.holder:
                browser.holder.close()
            if browser.mounted:
                subprocess.run(["umount", browser.mounted], check=False)
            os.chmod(os.path.dirname(browser.file("x")), 0o755)
            browser.cleanup()

    def test_each_broken_file_is_named_kept_and_the_browser_browses(self):
        for label, prepare in CASES:
            with self.subTest(label):
                if prepare is full_disk and not ROOT:
                    self.skipTest("a small tmpfs needs root")
                content = self.run_case(prepare, unprivileged=prepare in (read_only_file, read_only_folder))
                print("\n%s: %s" % (label, content.replace("\n", " / ")))


if __name__ == "__main__":
    harness.main()
