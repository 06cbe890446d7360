"""Start-up and memory beside other WebKitGTK browsers, in one run.

Start-up: from launch to the page's load event. The page's onload asks the
local server for /loaded, and the server notes the moment; so every browser is
timed the same way, without reading its window. The browsers take turns, run
after run, so a busy machine weighs on all alike, and each run starts on a
fresh profile: ours on an empty data folder with the home screen off, GNOME
Web with --profile on an empty folder, MiniBrowser has none to keep.

Memory: the total PSS (/proc/PID/smaps_rollup) of the browser's process and
all its descendants (the engine's web and network processes), read once the
page(s) loaded and 3 s settled; with 1 tab (the start-up runs) and with 20
tabs (20 addresses of the same page on the command line). PSS divides a
library's pages among every process on the machine that maps them, so it
falls while other WebKitGTK 6.0 programs run (they share ours, not GNOME
Web's). Two figures beside it do not: the resident pages of all those
processes, each counted once (what the browser would take alone on the
machine; needs root), and, per process kind (the browser, its web, network
and GPU processes), the anonymous part of the PSS, the processes' own memory.

GNOME Web is not a build dependency; install it for this comparison only:

    apt-get install epiphany-browser

A browser that is not installed is skipped. Run under
tests/integration/with-display (Xvfb, GSK_RENDERER=cairo):

    tests/integration/with-display python3 bench/compare_browsers.py [--runs N] [--tab-runs M] BINARY
"""
import argparse
import array
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "integration"))
import harness  # noqa: E402

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkitgtk-6.0/MiniBrowser"
SETTLE_SECONDS = 3.0
LOAD_TIMEOUT = 60.0
PAGE = ("text/html; charset=utf-8",
        "<!DOCTYPE html><html><head><meta charset='utf-8'><title>Loaded</title></head>"
        "<body onload=\"fetch('/loaded' + location.search)\"><h1>Start-up</h1>"
        "<p>A small local page; its load event reports back to the server.</p></body></html>")


class TimedRequests(list):
    """The server's request log, with the moment each request arrived."""

    def __init__(self):
        super().__init__()
        self.times = {}

    def append(self, path):
        self.times.setdefault(path, time.monotonic())
        super().append(path)


class Run:
    """One browser process on a fresh profile, in a process group of its own
    so that it and its helpers end together."""

    def __init__(self, command, env, root):
        self.root = root
        self.started = time.monotonic()
        self.process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(root, "stderr.log"), "w"),
                                        start_new_session=True)

    def stop(self):
        for sig, wait in ((signal.SIGTERM, 10), (signal.SIGKILL, 5)):
            try:
                os.killpg(self.process.pid, sig)
            except ProcessLookupError:
                break
            try:
                self.process.wait(timeout=wait)
                break
            except subprocess.TimeoutExpired:
                pass
        # Helpers outlive a killed parent for a moment; take the whole group.
        try:
            os.killpg(self.process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        shutil.rmtree(self.root, ignore_errors=True)


def fresh_environment(root):
    env = dict(os.environ)
    env.update({
        "XDG_DATA_HOME": os.path.join(root, "data"),
        "XDG_CACHE_HOME": os.path.join(root, "cache"),
        "XDG_CONFIG_HOME": os.path.join(root, "config"),
        "LANGUAGE": "en_US", "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8",
    })
    return env


def launch_ours(binary, urls):
    harness.BINARY = binary
    browser = harness.Browser()
    harness.prepare_config(browser, {"wConfig_HomeScreenStatus": ("wSTATUS", "false")})
    return Run([binary, *urls], browser.environment(probe=False), browser.root)


def launch_epiphany(binary, urls):
    root = tempfile.mkdtemp(prefix="compare-epiphany-")
    profile = os.path.join(root, "profile")
    os.makedirs(profile)
    return Run([binary, "--profile=" + profile, *urls], fresh_environment(root), root)


def launch_minibrowser(binary, urls):
    root = tempfile.mkdtemp(prefix="compare-minibrowser-")
    return Run([binary, *urls], fresh_environment(root), root)


# Each helper by the name the engine gives it; the sandbox's bwrap and
# xdg-dbus-proxy count as "other".
KINDS = (("WebKitWebProces", "web"), ("WebKitNetworkPr", "network"), ("WebKitGPUProces", "GPU"))


def process_kind(pid, root):
    if pid == root:
        return "browser"
    try:
        with open("/proc/%d/comm" % pid) as f:
            name = f.read().strip()
    except OSError:
        return "other"
    return next((kind for prefix, kind in KINDS if name.startswith(prefix)), "other")


def pss_by_kind_kib(pid):
    """{kind: [PSS, anonymous PSS]} in KiB, and "count:web" etc. The anonymous
    part is the process's own memory; the rest is its share of libraries,
    which shrinks when other programs on the machine map the same ones."""
    found = {}
    for process in harness.descendants(pid):
        values = {}
        try:
            with open("/proc/%d/smaps_rollup" % process) as f:
                for line in f:
                    fields = line.split()
                    if fields[0] in ("Pss:", "Pss_Anon:"):
                        values[fields[0]] = int(fields[1])
        except OSError:
            continue
        kind = process_kind(process, pid)
        entry = found.setdefault(kind, [0, 0])
        entry[0] += values.get("Pss:", 0)
        entry[1] += values.get("Pss_Anon:", 0)
        found["count:" + kind] = found.get("count:" + kind, 0) + 1
    return found


def alone_kib(pid):
    """The distinct pages the browser and its helpers have resident (from
    /proc/PID/pagemap; needs root), each counted once: what they would take
    alone on the machine. Unlike PSS it does not fall when other programs
    map the same libraries. None without the rights to read the frames."""
    frames = set()
    for process in harness.descendants(pid):
        try:
            with open("/proc/%d/smaps" % process) as smaps, open("/proc/%d/pagemap" % process, "rb") as pagemap:
                for line in smaps:
                    fields = line.split()
                    if "-" in fields[0] and not fields[0].endswith(":"):
                        start, end = (int(x, 16) for x in fields[0].split("-"))
                    elif fields[0] == "Rss:" and fields[1] != "0" and start < 0xffffffffff600000:
                        # Only ranges with pages in memory: the engine reserves tens of GB.
                        pagemap.seek(start // 4096 * 8)
                        entries = array.array("Q", pagemap.read((end - start) // 4096 * 8))
                        # Bit 63: present; bits 0-54: the frame (0 without the rights to see it).
                        frames.update(e & ((1 << 55) - 1) for e in entries if e >> 63)
        except OSError:
            continue
    frames.discard(0)
    return len(frames) * 4 if frames else None


def total_pss_kib(by_kind):
    return sum(value[0] for kind, value in by_kind.items() if not kind.startswith("count:"))


def measure(launch, binary, server, run_id, tabs):
    """Launch to load event in ms (the first tab's), tabs loaded, PSS in KiB,
    PSS by process kind, resident alone in KiB."""
    urls = [server.url("/page?run=%s&tab=%d" % (run_id, tab)) for tab in range(tabs)]
    loaded_paths = ["/loaded?run=%s&tab=%d" % (run_id, tab) for tab in range(tabs)]
    run = launch(binary, urls)
    try:
        deadline = run.started + LOAD_TIMEOUT
        while time.monotonic() < deadline and not all(p in server.requests.times for p in loaded_paths):
            if run.process.poll() is not None:
                break
            time.sleep(0.005)
        times = [server.requests.times[p] for p in loaded_paths if p in server.requests.times]
        if not times:
            return None
        first = (min(times) - run.started) * 1000
        time.sleep(SETTLE_SECONDS)
        by_kind = pss_by_kind_kib(run.process.pid)
        return first, len(times), total_pss_kib(by_kind), by_kind, alone_kib(run.process.pid)
    finally:
        run.stop()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=10, help="start-up runs per browser (1 tab)")
    parser.add_argument("--tab-runs", type=int, default=3, help="20-tab memory runs per browser")
    parser.add_argument("--tabs", type=int, default=20)
    parser.add_argument("binary", help="this browser's binary")
    args = parser.parse_args()

    browsers = [("Tolvane", launch_ours, os.path.abspath(args.binary))]
    epiphany = shutil.which("epiphany-browser") or shutil.which("epiphany")
    if epiphany:
        browsers.append(("GNOME Web", launch_epiphany, epiphany))
    else:
        print("GNOME Web skipped: not installed (apt-get install epiphany-browser)")
    if os.access(MINIBROWSER, os.X_OK):
        browsers.append(("MiniBrowser", launch_minibrowser, MINIBROWSER))
    else:
        print("MiniBrowser skipped: %s not found (libwebkitgtk-6.0-4 ships it)" % MINIBROWSER)

    server = harness.LocalServer({"/page": PAGE, "/loaded": ("text/plain", "ok")})
    server.requests = TimedRequests()
    single = {name: [] for name, _, _ in browsers}
    many = {name: [] for name, _, _ in browsers if name != "MiniBrowser"}
    failures = {name: 0 for name, _, _ in browsers}
    for run in range(args.runs):
        for name, launch, binary in browsers:
            result = measure(launch, binary, server, "%s-%d" % (name.replace(" ", ""), run), 1)
            if result:
                single[name].append(result)
                print("  %s run %d: load %.0f ms, PSS %.1f MiB" % (name, run + 1, result[0], result[2] / 1024),
                      flush=True)
            else:
                failures[name] += 1
                print("  %s run %d: no load event within %.0f s" % (name, run + 1, LOAD_TIMEOUT), flush=True)
    for run in range(args.tab_runs):
        for name, launch, binary in browsers:
            if name not in many:
                continue
            result = measure(launch, binary, server, "%s-tabs-%d" % (name.replace(" ", ""), run), args.tabs)
            if result:
                many[name].append(result)
                print("  %s %d tabs run %d: %d loaded, PSS %.1f MiB"
                      % (name, args.tabs, run + 1, result[1], result[2] / 1024), flush=True)
    server.close()

    print("\nStart-up, launch to the load event (median of %d runs each; GSK_RENDERER=%s):"
          % (args.runs, os.environ.get("GSK_RENDERER", "default")))
    for name, samples in single.items():
        if samples:
            loads = [s[0] for s in samples]
            print("  %-12s median %5.0f ms  (min %.0f, max %.0f, %d runs, %d failed)"
                  % (name, statistics.median(loads), min(loads), max(loads), len(loads), failures[name]))
    print("Memory, total PSS of the browser and its helpers, 3 s after the load (median):")
    for name, samples in single.items():
        if samples:
            print("  %-12s 1 tab:   %6.1f MiB" % (name, statistics.median(s[2] for s in samples) / 1024))
    for name, samples in many.items():
        if samples:
            print("  %-12s %d tabs: %6.1f MiB (tabs loaded: %s)"
                  % (name, args.tabs, statistics.median(s[2] for s in samples) / 1024,
                     ", ".join(str(s[1]) for s in samples)))
    print("Resident alone (distinct pages of the browser and its helpers, median):")
    for label, results in (("1 tab", single), ("%d tabs" % args.tabs, many)):
        for name, samples in results.items():
            alone = [s[4] for s in samples if s[4]]
            if alone:
                print("  %-12s %-8s %6.1f MiB (min %.1f, max %.1f)"
                      % (name, label + ":", statistics.median(alone) / 1024, min(alone) / 1024, max(alone) / 1024))
    print("By process, median PSS (of it anonymous) in MiB, and the number of processes:")
    for label, results in (("1 tab", single), ("%d tabs" % args.tabs, many)):
        for name, samples in results.items():
            if samples:
                print("  %-12s %-8s %s" % (name, label, per_kind_text([s[3] for s in samples])))


def per_kind_text(samples):
    parts = []
    for kind in ("browser", "web", "network", "GPU", "other"):
        present = [s for s in samples if kind in s]
        if present:
            pss = statistics.median(s[kind][0] for s in present) / 1024
            anon = statistics.median(s[kind][1] for s in present) / 1024
            count = statistics.median(s["count:" + kind] for s in present)
            parts.append("%s %.1f (%.1f) x%g" % (kind, pss, anon, count))
    return ", ".join(parts)


if __name__ == "__main__":
    main()
