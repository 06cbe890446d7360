"""Drives the real tolvane-browser binary for integration tests.

A local HTTP server on 127.0.0.1, a fresh data folder per browser, the state
probe (TOLVANE_STATE_FILE) to read what the window shows, the SQLite files to
read what was stored, and screenshots of the Xvfb screen as artifacts.
"""
import contextlib
import http.server
import json
import os
import shutil
import signal
import socket
import sqlite3
import subprocess
import sys
import tempfile
import threading
import time
import unittest

BINARY = os.environ.get("TOLVANE_BINARY") or (sys.argv[1] if len(sys.argv) > 1 else "tolvane-browser")
ARTIFACTS = os.environ.get("TOLVANE_ARTIFACTS", os.path.join(os.path.dirname(os.path.abspath(BINARY)), "artifacts"))


class LocalServer:
    """Serves pages from a dict {path: (content_type, body)} and logs every request path."""

    def __init__(self, pages):
        self.pages = pages
        self.requests = []
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_GET(self):
                server.requests.append(self.path)
                page = server.pages.get(self.path.split("?")[0])
                if page is None:
                    self.send_response(404)
                    self.send_header("Content-Type", "text/html; charset=utf-8")
                    self.end_headers()
                    self.wfile.write(b"<html><head><title>Not here</title></head><body>404</body></html>")
                    return
                content_type, body = page
                data = body.encode("utf-8") if isinstance(body, str) else body
                self.send_response(200)
                self.send_header("Content-Type", content_type)
                self.send_header("Content-Length", str(len(data)))
                self.end_headers()
                self.wfile.write(data)

            def log_message(self, *args):
                pass

        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.port = self.httpd.server_address[1]
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def url(self, path="/"):
        return "http://127.0.0.1:%d%s" % (self.port, path)

    def close(self):
        self.httpd.shutdown()
        self.httpd.server_close()


def refused_url():
    """An address on 127.0.0.1 where nothing listens."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    return "http://127.0.0.1:%d/" % port


def html(title, body=""):
    return ("text/html; charset=utf-8",
            "<!DOCTYPE html><html><head><meta charset='utf-8'><title>%s</title></head><body>%s</body></html>"
            % (title, body))


class Browser:
    """One run of the browser on a data folder (fresh unless given)."""

    def __init__(self, data_home=None):
        self.root = data_home or tempfile.mkdtemp(prefix="tolvane-it-")
        self.data = os.path.join(self.root, "data")
        self.state_file = os.path.join(self.root, "state.json")
        self.process = None
        self.wrapper = os.environ.get("TOLVANE_WRAPPER", "").split()  # a command the binary runs under (setpriv, for example)
        self.stderr_path = os.path.join(self.root, "stderr.log")

    def environment(self, probe=True):
        env = dict(os.environ)
        env.update({
            "XDG_DATA_HOME": self.data,
            "XDG_CACHE_HOME": os.path.join(self.root, "cache"),
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "TOLVANE_STATE_FILE": self.state_file,
            "TOLVANE_REPORT_STARTUP": "1",
            "LANGUAGE": "en_US", "LANG": "C.UTF-8", "LC_ALL": "C.UTF-8",
        })
        if not probe:
            del env["TOLVANE_STATE_FILE"]
        return env

    def start(self, *args, probe=True):
        env = self.environment(probe)
        with contextlib.suppress(FileNotFoundError):
            os.remove(self.state_file)
        self.stderr = open(self.stderr_path, "w")
        self.started = time.monotonic()
        self.process = subprocess.Popen([*self.wrapper, BINARY, *args], env=env, stdout=subprocess.DEVNULL, stderr=self.stderr)
        return self

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
            try:
                self.process.wait(timeout=15)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.process:
            self.stderr.close()
        self.process = None

    def cleanup(self):
        self.stop()
        shutil.rmtree(self.root, ignore_errors=True)

    def file(self, name):
        return os.path.join(self.data, "tolvane-browser", name)

    def query(self, db, sql, *params):
        """Rows of a query on one of the three files, read-only."""
        path = self.file(db)
        if not os.path.exists(path):
            return []
        connection = sqlite3.connect("file:%s?mode=ro" % path, uri=True, timeout=5)
        connection.text_factory = bytes
        try:
            return connection.execute(sql, params).fetchall()
        except sqlite3.OperationalError:
            return []
        finally:
            connection.close()

    def write(self, db, sql):
        connection = sqlite3.connect(self.file(db))
        connection.executescript(sql)
        connection.commit()
        connection.close()

    def state(self):
        try:
            with open(self.state_file, encoding="utf-8") as f:
                return json.load(f)
        except (FileNotFoundError, json.JSONDecodeError):
            return None

    def named(self, name):
        """A named element as the probe last reported it ({} until it does)."""
        return ((self.state() or {}).get("named") or {}).get(name) or {}

    def text(self, name):
        return self.named(name).get("text")

    def click_at(self, rect, dx=None, button=1):
        """A real click on the window's content: rect's centre, or dx from its left edge."""
        ox, oy = window_origin("Tolvane Browser")
        click_button(ox + rect[0] + (rect[2] / 2 if dx is None else dx), oy + rect[1] + rect[3] / 2, button)

    def click_named(self, name):
        """Clicks a named element once it is shown and laid out: a bar that has just
        appeared reports no size, or its old place, for a frame or two, and a busy
        machine paints it a little after the probe has seen it. So the element must
        keep one place across probe writes (four a second) for 0.4 s."""
        seen = {}

        def settled():
            element = self.named(name)
            rect = element.get("rect")
            if not element.get("visible") or not rect or rect[2] <= 0 or rect[3] <= 0 or seen.get("rect") != rect:
                seen.update(rect=rect, since=time.monotonic())
                return None
            return rect if time.monotonic() - seen["since"] >= 0.4 else None

        self.click_at(self.wait_for(name, settled))

    def answer(self, label):
        """Answers the dialog on screen through the probe's command file."""
        self.wait_for("a dialog", lambda: (self.state() or {}).get("dialogs"))
        with open(self.state_file + ".cmd", "w") as f:
            f.write("answer %s\n" % label)
        time.sleep(0.6)

    def open_menu_entry(self, entry):
        """Clicks an entry of the main menu (a wide window has no side-menu button)."""
        self.click_named("MainMenuButton")
        self.wait_for("the main menu", lambda: self.named("wMainMenu").get("visible"))
        self.click_named(entry)

    def stderr_text(self):
        with open(self.stderr_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def wait_for(self, what, predicate, timeout=30.0):
        """Polls predicate() until it returns something true; fails the test with `what` otherwise."""
        deadline = time.monotonic() + timeout
        last = None
        while time.monotonic() < deadline:
            if self.process is not None and self.process.poll() is not None:
                raise AssertionError("the browser exited (%s) while waiting for %s:\n%s"
                                     % (self.process.returncode, what, self.stderr_text()[-3000:]))
            last = predicate()
            if last:
                return last
            time.sleep(0.1)
        state = self.state() or {}
        shown = {key: value for key, value in state.items() if key != "named"}
        raise AssertionError("timed out waiting for %s; last state but the elements: %s\nprocesses: %s\nstderr: %s"
                             % (what, json.dumps(shown)[:4000], self.processes(),
                                self.stderr_text()[-2000:] if self.process else ""))

    def processes(self):
        """The browser's process tree by name, for a failure's report."""
        names = []
        for pid in descendants(self.process.pid) if self.process else []:
            with contextlib.suppress(OSError), open("/proc/%d/comm" % pid) as f:
                names.append("%d %s" % (pid, f.read().strip()))
        return ", ".join(names)

    def screenshot(self, name):
        os.makedirs(ARTIFACTS, exist_ok=True)
        path = os.path.join(ARTIFACTS, name)
        subprocess.run(["import", "-window", "root", path], check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path


def main():
    # The binary comes as the first argument; unittest must not see it.
    unittest.main(argv=[sys.argv[0]] + sys.argv[2:], verbosity=2)


def prepare_config(browser, settings):
    """Writes settings into a data folder before the first start, as an
    earlier run would have left them: {table: (column, value)}."""
    os.makedirs(os.path.dirname(browser.file("x")), exist_ok=True)
    connection = sqlite3.connect(browser.file("wConfig_database.db"))
    for table, (column, value) in settings.items():
        key = "INTEGER PRIMARY KEY NOT NULL" if column == "wID" else "TEXT PRIMARY KEY NOT NULL"
        connection.execute("CREATE TABLE IF NOT EXISTS %s (%s %s)" % (table, column, key))
        connection.execute("DELETE FROM %s" % table)
        connection.execute("INSERT INTO %s VALUES (?)" % table, (value,))
    connection.commit()
    connection.close()


class ReturningUserTest(unittest.TestCase):
    """A browser whose data folder an earlier run left behind (so no home
    screen over the page), and a local server with the test's pages."""

    PAGES = {}
    HOME = "/"

    def setUp(self):
        self.server = LocalServer(self.PAGES)
        self.browser = Browser()
        prepare_config(self.browser, {
            "wConfig_HomePage": ("wLINK", self.server.url(self.HOME)),
            "wConfig_HomeScreenStatus": ("wSTATUS", "false"),
            "wConfig_SaveFavoriteStatus": ("wSTATUS", "true"),
            "wConfig_ThemeColor": ("wCOLOR", "Escuro"),
            "wConfig_ShowRatingAlert": ("wSTATUS", "false"),
        })

    def tearDown(self):
        self.browser.cleanup()
        self.server.close()


def descendants(pid):
    """pid and every process below it."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % entry) as f:
                # The name may hold spaces and parentheses: the fields follow the last ")".
                parent = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
        children.setdefault(parent, []).append(int(entry))
    found, pending = [], [pid]
    while pending:
        current = pending.pop()
        found.append(current)
        pending.extend(children.get(current, []))
    return found


def click(x, y):
    """A real pointer click on the Xvfb screen (a user gesture for the page)."""
    subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], check=True)


def click_button(x, y, button):
    subprocess.run(["xdotool", "mousemove", str(int(x)), str(int(y)), "click", str(button)], check=True)


def window_origin(title):
    """The screen position of the window's content (0, 0)."""
    ids = subprocess.run(["xdotool", "search", "--name", title], capture_output=True, text=True).stdout.split()
    for window in ids:
        out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], capture_output=True, text=True).stdout
        geometry = dict(line.split("=", 1) for line in out.split() if "=" in line)
        if int(geometry.get("WIDTH", 0)) > 200:
            return int(geometry["X"]), int(geometry["Y"])
    return 0, 0
