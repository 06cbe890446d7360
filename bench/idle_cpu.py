"""Idle CPU of the browser: five loaded tabs, nothing animating, measured over
30 seconds from /proc. Run under tests/integration/with-display:

    tests/integration/with-display python3 bench/idle_cpu.py build/tolvane-browser [seconds]
"""
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "integration"))
import harness  # noqa: E402

TICKS = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS  # utime + stime


def children(pid):
    found = []
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open("/proc/%s/stat" % entry) as f:
                    if int(f.read().rsplit(")", 1)[1].split()[1]) == pid:
                        found.append(int(entry))
            except OSError:
                pass
    return found


def main():
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 30.0
    pages = {"/%d" % i: harness.html("Idle page %d" % i, "<p>Nothing moves here.</p>") for i in range(5)}
    server = harness.LocalServer(pages)
    browser = harness.Browser()
    harness.prepare_config(browser, {
        "wConfig_HomePage": ("wLINK", server.url("/0")),
        "wConfig_HomeScreenStatus": ("wSTATUS", "false"),
        "wConfig_ThemeColor": ("wCOLOR", "Escuro"),
        "wConfig_PagesOpenedStatus": ("wSTATUS", "true"),
        "wConfig_SaveFavoriteStatus": ("wSTATUS", "true"),
    })
    browser.write("wConfig_database.db", "CREATE TABLE IF NOT EXISTS wConfig_PagesOpened (wID INTEGER PRIMARY KEY NOT NULL, wLINK TEXT NOT NULL);" +
                  "".join("INSERT INTO wConfig_PagesOpened VALUES (%d, '%s');" % (i, server.url("/%d" % i)) for i in range(5)))
    # No state probe: its own writes would be counted.
    browser.start(probe=False)
    try:
        browser.wait_for("five loaded tabs", lambda: len(browser.query(
            "wHistoric_database.db", "SELECT wID FROM wHistoric_PagesOpened")) == 5, timeout=60)
        time.sleep(5)  # let the fades and first paints settle
        pid = browser.process.pid
        web = children(pid)
        start = time.monotonic()
        ui_before = cpu_seconds(pid)
        web_before = sum(cpu_seconds(p) for p in web if os.path.exists("/proc/%d" % p))
        time.sleep(seconds)
        elapsed = time.monotonic() - start
        ui = (cpu_seconds(pid) - ui_before) / elapsed * 100
        web_total = (sum(cpu_seconds(p) for p in web if os.path.exists("/proc/%d" % p)) - web_before) / elapsed * 100
        print("idle over %.0f s: browser process %.2f %% of one core; its %d helper processes %.2f %%"
              % (elapsed, ui, len(web), web_total))
    finally:
        browser.cleanup()
        server.close()


if __name__ == "__main__":
    main()
