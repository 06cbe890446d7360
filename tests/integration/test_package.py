"""The Debian package, extracted: what the desktop needs, validators and lintian clean, and its binary, run from
another folder, shows a page with nothing of the source tree."""
import glob
import os
import subprocess
import tempfile
import unittest

import harness

SOURCE = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
BUILD = os.path.dirname(os.path.abspath(harness.BINARY))
DESKTOP, METAINFO = "usr/share/applications/org.tolvane.Browser.desktop", "usr/share/metainfo/org.tolvane.Browser.metainfo.xml"
ICONS = "usr/share/icons/hicolor/%s/apps/org.tolvane.Browser.%s"
FILES = ["usr/bin/tolvane-browser", DESKTOP, METAINFO, ICONS % ("scalable", "svg"), ICONS % ("128x128", "png"),
         ICONS % ("256x256", "png"), "usr/share/man/man1/tolvane-browser.1.gz"]


def run(*command):
    result = subprocess.run(command, capture_output=True, text=True, timeout=240)
    print("\n$ %s -> %d\n%s" % (" ".join(command[:2]), result.returncode, (result.stdout + result.stderr).strip()))
    return result.returncode, result.stdout + result.stderr


class Package(unittest.TestCase):
    def test_the_debian_package(self):
        root = tempfile.mkdtemp(prefix="tolvane-pkg-")
        self.addCleanup(subprocess.run, ["rm", "-rf", root])
        self.assertEqual(run("cpack", "--config", BUILD + "/CPackConfig.cmake", "-G", "DEB", "-B", root)[0], 0)
        (deb,) = glob.glob(root + "/tolvane-browser_*.deb")
        listing = run("dpkg-deb", "--contents", deb)[1]
        for path in FILES:
            self.assertIn("./%s\n" % path, listing)
        status, output = run("lintian", "--allow-root", deb)
        self.assertFalse([line for line in output.splitlines() if line.startswith("E:")])

        installed = root + "/installed"
        self.assertEqual(run("dpkg-deb", "--extract", deb, installed)[0], 0)
        self.assertEqual(run("desktop-file-validate", installed + "/" + DESKTOP), (0, ""))
        self.assertEqual(run("appstreamcli", "validate", "--no-net", installed + "/" + METAINFO)[0], 0)
        binary = installed + "/usr/bin/tolvane-browser"
        with open(binary, "rb") as f:
            self.assertNotIn(SOURCE.encode(), f.read())
        server = harness.LocalServer({"/": harness.html("Installed")})
        self.addCleanup(server.close)
        browser = harness.Browser()
        self.addCleanup(browser.cleanup)
        browser.stderr = open(browser.stderr_path, "w")
        browser.process = subprocess.Popen([binary, server.url("/")], cwd="/", env=browser.environment(),
                                           stdout=subprocess.DEVNULL, stderr=browser.stderr)
        browser.wait_for("the page", lambda: browser.text("PageTitleText") == "Installed", timeout=60)


if __name__ == "__main__":
    harness.main()
