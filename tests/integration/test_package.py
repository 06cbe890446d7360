"""The installed browser: `cmake --install` into a temporary DESTDIR passes the
desktop's validators and uninstalls cleanly; the Debian package holds what the
desktop needs and lintian finds no error in it; and the packaged binary, run
from another folder, shows a page with nothing of the source tree."""
import glob
import os
import subprocess
import tempfile
import unittest

import harness

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.dirname(os.path.abspath(harness.BINARY))
DESKTOP = "usr/share/applications/org.tolvane.Browser.desktop"
METAINFO = "usr/share/metainfo/org.tolvane.Browser.metainfo.xml"
INSTALLED = [
    "usr/bin/tolvane-browser", DESKTOP, METAINFO,
    "usr/share/icons/hicolor/scalable/apps/org.tolvane.Browser.svg",
    "usr/share/icons/hicolor/128x128/apps/org.tolvane.Browser.png",
    "usr/share/icons/hicolor/256x256/apps/org.tolvane.Browser.png",
    "usr/share/man/man1/tolvane-browser.1.gz",
    "usr/share/doc/tolvane-browser/copyright",
]


def run(*command, **options):
    result = subprocess.run(command, capture_output=True, text=True, timeout=240, **options)
    return result.returncode, result.stdout + result.stderr


class Package(unittest.TestCase):
    def setUp(self):
        self.root = tempfile.mkdtemp(prefix="tolvane-pkg-")

    def tearDown(self):
        subprocess.run(["rm", "-rf", self.root])

    def test_install_validates_and_uninstalls(self):
        # The build's manifest is what `make uninstall` removes: a user's own
        # install must not be forgotten for this one.
        manifest = os.path.join(BUILD, "install_manifest.txt")
        saved = None
        if os.path.exists(manifest):
            with open(manifest, "rb") as f:
                saved = f.read()
        try:
            self.install_validate_uninstall()
        finally:
            if saved is None:
                os.remove(manifest)
            else:
                with open(manifest, "wb") as f:
                    f.write(saved)

    def install_validate_uninstall(self):
        env = dict(os.environ, DESTDIR=self.root)
        status, output = run("cmake", "--install", BUILD, "--prefix", "/usr", env=env)
        self.assertEqual(status, 0, output)
        for path in INSTALLED:
            self.assertTrue(os.path.isfile(os.path.join(self.root, path)), path)
        status, output = run("desktop-file-validate", os.path.join(self.root, DESKTOP))
        print("\ndesktop-file-validate: %s" % (output.strip() or "no complaint"))
        self.assertEqual((status, output.strip()), (0, ""))
        status, output = run("appstreamcli", "validate", "--no-net", os.path.join(self.root, METAINFO))
        print("appstreamcli validate --no-net: %s" % output.strip())
        self.assertEqual(status, 0, output)

        status, output = run("cmake", "--build", BUILD, "--target", "uninstall", env=env)
        self.assertEqual(status, 0, output)
        left = [f for f in glob.glob(self.root + "/**", recursive=True) if os.path.isfile(f)]
        self.assertEqual(left, [])

    def test_the_debian_package(self):
        status, output = run("cpack", "--config", os.path.join(BUILD, "CPackConfig.cmake"), "-G", "DEB",
                             "-B", self.root)
        self.assertEqual(status, 0, output)
        (deb,) = glob.glob(os.path.join(self.root, "tolvane-browser_*.deb"))
        status, listing = run("dpkg-deb", "--contents", deb)
        for path in INSTALLED:
            self.assertIn("./" + path + "\n", listing, path)
        status, depends = run("dpkg-deb", "--field", deb, "Depends")
        self.assertIn("libwebkitgtk-6.0-4", depends)  # computed from the binary

        status, output = run("lintian", "--allow-root", deb)
        print("\nlintian: %s" % (output.strip() or "no tags"))
        self.assertFalse([line for line in output.splitlines() if line.startswith("E:")], output)

        # The packaged binary, from a folder far from the source tree.
        unpacked = os.path.join(self.root, "unpacked")
        self.assertEqual(run("dpkg-deb", "--extract", deb, unpacked)[0], 0)
        binary = os.path.join(unpacked, "usr/bin/tolvane-browser")
        with open(binary, "rb") as f:
            self.assertNotIn(SOURCE.encode(), f.read())
        server = harness.LocalServer({"/": harness.html("Installed")})
        browser = harness.Browser()
        try:
            env = browser.environment()
            browser.stderr = open(browser.stderr_path, "w")
            browser.process = subprocess.Popen([binary, server.url("/")], cwd="/", env=env,
                                               stdout=subprocess.DEVNULL, stderr=browser.stderr)
            browser.wait_for("the page", lambda: browser.text("PageTitleText") == "Installed", timeout=60)
            self.assertTrue(browser.text("VersionText"))
        finally:
            browser.cleanup()
            server.close()


if __name__ == "__main__":
    harness.main()
