"""The real browser while a download runs with its panel open: 500 MB served
at 25 MB/s from 127.0.0.1. Reports both timers' ticks a second (target: 58
or more each) and the browser process's CPU (aim: 10 % of a core or less).
Run under tests/integration/with-display:

    tests/integration/with-display python3 bench/download_ticks.py build/tolvane-browser [seconds]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "integration"))
import harness  # noqa: E402
from idle_cpu import cpu_seconds  # noqa: E402

SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "gtk", "download_server.py")


def main():
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    server = subprocess.Popen([sys.executable, SOURCE], stdout=subprocess.PIPE, text=True)
    port = int(server.stdout.readline().split()[1])
    downloads = tempfile.mkdtemp(prefix="tolvane-dl-")
    browser = harness.Browser()
    harness.prepare_config(browser, {"wConfig_HomeScreenStatus": ("wSTATUS", "false")})
    os.makedirs(os.path.join(browser.root, "config"))
    with open(os.path.join(browser.root, "config", "user-dirs.dirs"), "w") as f:
        f.write('XDG_DOWNLOAD_DIR="%s"\n' % downloads)
    # An address the engine cannot show: the download dialog opens on it.
    browser.start("http://127.0.0.1:%d/file.bin?size=%d&rate=%d" % (port, 500 << 20, 25 << 20))
    try:
        named = lambda name: (browser.state() or {}).get("named", {}).get(name, {})

        browser.wait_for("the download dialog", lambda: named("wDownloadDialog").get("opacity", 0) >= 1)
        browser.click_named("wDownloadStartButton")
        browser.answer("OK")
        browser.open_menu_entry("wMainMenu_Downloads")
        browser.wait_for("a running row", lambda: named("wDownloadRowSize_1").get("text", "").startswith(("1", "2", "3")))
        pid = browser.process.pid
        before, cpu_before, start = browser.state()["timerTicks"], cpu_seconds(pid), time.monotonic()
        time.sleep(seconds)
        after, cpu_after, elapsed = browser.state()["timerTicks"], cpu_seconds(pid), time.monotonic() - start
        rates = [(a - b) / elapsed for a, b in zip(after, before)]
        print("over %.1f s with the panel open: polling timer %.1f ticks/s, download timer %.1f ticks/s "
              "(target >= 58 each); browser process %.1f %% of one core (aim <= 10 %%); row shows %s"
              % (elapsed, rates[0], rates[1], (cpu_after - cpu_before) / elapsed * 100,
                 named("wDownloadRowSize_1").get("text")))
        browser.screenshot("download-ticks.png")
    finally:
        browser.cleanup()
        server.terminate()
        server.wait()
        shutil.rmtree(downloads, ignore_errors=True)


if __name__ == "__main__":
    main()
