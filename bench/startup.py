"""Start-up of the browser: from launch to the first painted frame (the
binary's own "startup-ms") and to the launch page loaded (its title in the
window), over several runs of each binary given, alternating. Run under
tests/integration/with-display:

    tests/integration/with-display python3 bench/startup.py [runs] BINARY [BINARY ...]
"""
import os
import re
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "integration"))
import harness  # noqa: E402


def one_run(binary, server):
    harness.BINARY = binary
    browser = harness.Browser()
    harness.prepare_config(browser, {"wConfig_HomeScreenStatus": ("wSTATUS", "false")})
    try:
        browser.start(server.url("/page"))
        browser.wait_for("the loaded page", lambda: browser.text("PageTitleText") == "Loaded", timeout=60)
        loaded = (time.monotonic() - browser.started) * 1000
        browser.wait_for("the start-up report", lambda: "startup-ms:" in browser.stderr_text(), timeout=30)
        painted = int(re.search(r"startup-ms: (\d+)", browser.stderr_text()).group(1))
        return painted, loaded
    finally:
        browser.cleanup()


def main():
    args = sys.argv[1:]
    runs = int(args.pop(0)) if args and args[0].isdigit() else 10
    server = harness.LocalServer({"/page": harness.html("Loaded", "<p>start-up</p>")})
    results = {binary: [] for binary in args}
    for _ in range(runs):
        for binary in args:
            results[binary].append(one_run(binary, server))
    server.close()
    for binary, samples in results.items():
        painted = statistics.median(s[0] for s in samples)
        loaded = statistics.median(s[1] for s in samples)
        print("%s: first paint median %.0f ms, page loaded median %.0f ms (%d runs)" % (binary, painted, loaded, runs))


if __name__ == "__main__":
    main()
