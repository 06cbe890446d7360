"""What theme application adds to start-up: the binary's own "startup-ms"
(launch to first painted frame), home screen off, a local page, for each
theme, and for the accent theme once with a stand-in portal answering and
once with no portal at all. Run under tests/integration/with-display, with
one or more binaries (this one beside the one before the themes):

    tests/integration/with-display python3 bench/startup_themes.py [runs] BINARY [BINARY ...]

THEMES="Escuro SystemAccentColor" limits the run to those cases.
"""
import os
import re
import statistics
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "integration"))
import harness  # noqa: E402

PORTAL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "integration", "fake_portal.py")
CASES = ["Escuro", "Azul", "Verde", "Vermelho", "Claro", "SystemAccentColor+portal", "SystemAccentColor"]


def one_run(binary, server, case):
    harness.BINARY = binary
    browser = harness.Browser()
    harness.prepare_config(browser, {"wConfig_HomeScreenStatus": ("wSTATUS", "false"),
                                     "wConfig_ThemeColor": ("wCOLOR", case.split("+")[0])})
    try:
        browser.start(server.url("/page"))
        browser.wait_for("the start-up report", lambda: "startup-ms:" in browser.stderr_text(), timeout=60)
        return int(re.search(r"startup-ms: (\d+)", browser.stderr_text()).group(1))
    finally:
        browser.cleanup()


def main():
    args = sys.argv[1:]
    runs = int(args.pop(0)) if args and args[0].isdigit() else 10
    server = harness.LocalServer({"/page": harness.html("Loaded", "<p>start-up</p>")})
    wanted = os.environ.get("THEMES", "").split()
    for case in [c for c in CASES if not wanted or c in wanted]:
        portal = None
        if case.endswith("+portal"):
            portal = subprocess.Popen(["/usr/bin/python3", PORTAL, "readone"], stdout=subprocess.PIPE, text=True)
            portal.stdout.readline()
        samples = {binary: [] for binary in args}
        for _ in range(runs):
            for binary in args:
                samples[binary].append(one_run(binary, server, case))
        if portal:
            portal.kill()
            portal.wait()
        for binary, values in samples.items():
            print("%-26s %s: startup-ms median %d (%d runs)" % (case, binary, statistics.median(values), runs),
                  flush=True)
    server.close()


if __name__ == "__main__":
    main()
