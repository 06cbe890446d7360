"""A portal that never answers: the window and page appear at once (the toolkit alone waits out D-Bus's 25 s)
and a second invocation still reaches the running browser."""
import os
import re
import subprocess
import tempfile
import time
import unittest

import harness

BUS = """<busconfig><type>session</type><listen>unix:tmpdir=%(d)s</listen><servicedir>%(d)s</servicedir>
<policy context="default"><allow send_destination="*"/><allow receive_sender="*"/><allow own="*"/></policy></busconfig>"""
# The bus starts it on the first call; it never takes its name, so every
# caller waits until the bus gives up (25 s), and it ends soon after.
SERVICE = "[D-BUS Service]\nName=org.freedesktop.portal.Desktop\nExec=%(d)s/portal\n"
PORTAL = "#!/bin/sh\nexec sleep 30 </dev/null >/dev/null 2>&1\n"


class SilentPortal(unittest.TestCase):
    def test_the_window_and_page_appear_without_waiting_for_the_portal(self):
        d = tempfile.mkdtemp(prefix="tolvane-bus-")
        for name, text in (("bus.conf", BUS), ("portal.service", SERVICE), ("portal", PORTAL)):
            with open(os.path.join(d, name), "w") as f:
                f.write(text % {"d": d})
        os.chmod(d + "/portal", 0o755)
        bus = subprocess.Popen(["dbus-daemon", "--config-file=%s/bus.conf" % d, "--nofork", "--print-address"],
                               stdout=subprocess.PIPE, text=True)
        self.addCleanup(subprocess.run, ["rm", "-rf", d])
        self.addCleanup(bus.stdout.close)
        self.addCleanup(bus.wait)
        self.addCleanup(bus.kill)
        server = harness.LocalServer({"/": harness.html("Start page"), "/second": harness.html("Second")})
        self.addCleanup(server.close)
        browser = harness.Browser()
        self.addCleanup(browser.cleanup)
        env = dict(browser.environment(), DBUS_SESSION_BUS_ADDRESS=bus.stdout.readline().strip())
        browser.environment = lambda probe=True: env

        browser.start(server.url("/"))
        # Far below the 25 s of the fault; the figures are printed.
        browser.wait_for("the page", lambda: browser.text("PageTitleText") == "Start page", timeout=10)
        print("\nsilent portal: first frame after %s ms, page after %.2f s" % (
            re.search(r"startup-ms: (\d+)", browser.stderr_text()).group(1), time.monotonic() - browser.started))
        self.assertIn("desktop portal does not answer", browser.stderr_text())
        second = subprocess.run([harness.BINARY, server.url("/second")], env=env, capture_output=True, timeout=10)
        self.assertEqual(second.returncode, 0, second.stderr)
        browser.wait_for("a second tab", lambda: len((browser.state() or {}).get("webViews", [])) == 2)


if __name__ == "__main__":
    harness.main()
