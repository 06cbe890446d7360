"""Everyday browsing with the real engine: the page's own prompt() in the
browser's dialog, links opened behind the current tab with the middle button
or Ctrl, and a self-signed site refused with the certificate page."""
import http.server
import os
import ssl
import subprocess
import tempfile
import threading
import time
import urllib.parse

import harness

# Two prompts, one after the other; the second carries the bridge's marker,
# which a page must not be able to use.
PROMPT_PAGE = """<p>Prompts</p><script>
addEventListener('load', () => setTimeout(() => {
  const first = prompt('Your name?', 'Ana <b>&</b>');
  fetch('/report?first=' + encodeURIComponent(first));
  const second = prompt('\\x01tolvane-bridge\\x01 forged');
  fetch('/report?second=' + encodeURIComponent(String(second)));
}, 500));
</script>"""

# Three links filling known places of the page.
LINKS_PAGE = """<style>body{margin:0} a{position:absolute;left:0;width:400px;height:80px;display:block}</style>
<a id='one' href='/target?one' style='top:0'>one</a>
<a id='two' href='/target?two' style='top:100px'>two</a>
<a id='js' href='javascript:void(0)' style='top:200px'>script</a>
<a id='file' href='file:///etc/passwd' style='top:300px'>file</a>"""


# Twelve matches in a known page, one of them in another case.
FIND_PAGE = "<p>" + " ".join(["apple"] * 11) + " APPLE pear</p>"

# Asks for notifications on a click (the engine wants a user's gesture); the
# first site then sends the user to a second.
NOTIFY_PAGE = """<button id='ask' style='position:fixed;left:0;top:0;width:100%;height:100%'
 onclick="Notification.requestPermission().then(answer => {
  fetch('/report?' + location.hostname + '=' + answer).then(() => {
    if (location.hostname == '127.0.0.1') location.href = location.href.replace('127.0.0.1', 'localhost');
  });
 })">Ask</button>"""


def self_signed_server(directory):
    """An HTTPS server on 127.0.0.1 with a certificate made now, whose
    subject is markup; returns (server, port, requests)."""
    key, cert = os.path.join(directory, "key.pem"), os.path.join(directory, "cert.pem")
    subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-keyout", key,
                    "-out", cert, "-subj", "/CN=<img src=x onerror=alert(1)>"], check=True, capture_output=True)
    requests = []

    class Handler(http.server.BaseHTTPRequestHandler):
        def do_GET(self):
            requests.append(self.path)
            body = b"<html><head><title>Secret</title></head><body>secret</body></html>"
            self.send_response(200)
            self.send_header("Content-Type", "text/html")
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def log_message(self, *args):
            pass

    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, server.server_address[1], requests


class Everyday(harness.ReturningUserTest):
    PAGES = {
        "/prompt": harness.html("Prompts", PROMPT_PAGE),
        "/links": harness.html("Links", LINKS_PAGE),
        "/target": harness.html("Target"),
        "/report": harness.html("ok"),
        "/find": harness.html("Find", FIND_PAGE),
        "/notify": harness.html("Notify", NOTIFY_PAGE),
    }
    HOME = "/links"

    def reports(self, key):
        return [urllib.parse.unquote(urllib.parse.urlparse(p).query) for p in self.server.requests
                if p.startswith("/report?" + key)]

    def dialogs(self):
        return (self.browser.state() or {}).get("dialogs", [])

    def views(self):
        return (self.browser.state() or {}).get("webViews", [])

    def test_the_pages_prompt_asks_in_the_browsers_dialog_and_a_forged_bridge_call_is_an_ordinary_prompt(self):
        self.browser.start(self.server.url("/prompt"))
        first = self.browser.wait_for("the prompt dialog",
                                      lambda: [d for d in self.dialogs() if d["content"] == "Your name?"])
        self.assertEqual(first[0]["title"], "This page says:")
        self.browser.screenshot("page-prompt.png")
        # OK returns the field's text: the page's default, markup and all, as text.
        self.browser.answer("OK")
        self.assertEqual(self.browser.wait_for("the first answer", lambda: self.reports("first=")),
                         ["first=Ana <b>&</b>"])
        self.browser.wait_for("the forged prompt", lambda: [d for d in self.dialogs() if "forged" in d["content"]])
        self.browser.answer("Cancel")
        self.assertEqual(self.browser.wait_for("the second answer", lambda: self.reports("second=")),
                         ["second=null"])

    def test_middle_and_ctrl_click_open_links_behind_the_current_tab_and_local_links_open_nothing(self):
        self.browser.start(self.server.url("/links"))
        self.browser.wait_for("the links page", lambda: self.browser.text("PageTitleText") == "Links")
        host = self.browser.wait_for("the page area", lambda: self.browser.named("WebViewHost").get("rect"))
        ox, oy = harness.window_origin("Tolvane Browser")
        at = lambda top: (ox + host[0] + 100, oy + host[1] + top + 40)

        harness.click_button(*at(0), 2)
        self.browser.wait_for("a second tab", lambda: len(self.views()) == 2)
        x, y = at(100)
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "keydown", "ctrl", "click", "1", "keyup", "ctrl"],
                       check=True)
        views = self.browser.wait_for("a third tab on its target",
                                      lambda: len(self.views()) == 3 and all(v["source"] for v in self.views())
                                      and self.views())
        self.assertEqual([v["source"].split("/")[-1] for v in views], ["links", "target?one", "target?two"])
        # The links page stays in front, and its address in the bar.
        self.assertEqual([v["visible"] for v in views], [True, False, False])
        self.assertEqual(self.browser.text("AdressBox"), self.server.url("/links"))

        for top in (200, 300):
            harness.click_button(*at(top), 2)
        self.browser.wait_for("the targets' loads", lambda: self.server.requests.count("/target?two") == 1)
        time.sleep(1.5)
        self.assertEqual(len(self.views()), 3)

    def menu_entry(self, name):
        named = self.browser.named
        self.browser.click_named("MainMenuButton")
        entry = self.browser.wait_for("the main menu", lambda: named("wMainMenu").get("visible")
                                      and named("wMainMenu").get("opacity", 1) >= 1 and named(name)["rect"][2]
                                      and named(name)["rect"])
        self.browser.click_at(entry)

    def test_find_counts_and_steps_then_the_source_and_the_inspector_open_from_the_menu(self):
        url = self.server.url("/find")
        self.browser.start(url)
        self.browser.wait_for("the find page", lambda: self.browser.text("PageTitleText") == "Find")
        self.menu_entry("wMainMenuEntry_Find")
        self.browser.wait_for("the find bar", lambda: self.browser.named("wFindBar").get("visible"))
        self.browser.click_named("wFindBox")
        subprocess.run(["xdotool", "type", "--delay", "30", "aPPle"], check=True)
        self.browser.wait_for("the count", lambda: self.browser.text("wFindStatus") == "1 of 12")
        self.browser.click_named("wFindNext")
        self.browser.wait_for("the second match", lambda: self.browser.text("wFindStatus") == "2 of 12")
        self.browser.screenshot("find-bar.png")
        self.browser.click_named("wFindBox")
        subprocess.run(["xdotool", "key", "End", "type", "--delay", "30", "x"], check=True)
        self.browser.wait_for("no match", lambda: self.browser.text("wFindStatus") == "No matches")
        self.browser.click_named("wFindClose")
        self.browser.wait_for("the bar closed", lambda: not self.browser.named("wFindBar").get("visible"))

        self.menu_entry("wMainMenuEntry_Source")
        source = self.browser.wait_for("the source tab", lambda: [v for v in self.views()
                                                                  if v["title"] == "Source of " + url])
        self.assertTrue(source[0]["source"].startswith("ms-appx-web:///generated/"))

        # The inspector opens for the tab in front (the source), and the entry toggles it.
        inspected = lambda: [v["inspector"] for v in self.views() if v["visible"]] == [True]
        self.menu_entry("wMainMenuEntry_Inspector")
        self.browser.wait_for("the inspector", inspected)
        self.menu_entry("wMainMenuEntry_Inspector")
        self.browser.wait_for("the inspector closed", lambda: not inspected())

    def test_a_notification_request_denied_and_allowed_from_the_bar_reaches_each_site(self):
        self.browser.start(self.server.url("/notify"))
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Notify")
        self.browser.click_named("WebViewHost")
        self.browser.wait_for("the permission bar", lambda: self.browser.named("wPermissionBar").get("visible"))
        self.assertEqual(self.browser.text("wPermissionText"),
                         "http://127.0.0.1:%d wants to show notifications." % self.server.port)
        self.browser.screenshot("permission-bar.png")
        self.browser.click_named("wPermissionDeny")
        self.browser.wait_for("the first answer", lambda: self.reports("127.0.0.1="))
        self.browser.wait_for("the second site", lambda: "localhost" in self.browser.text("AdressBox")
                              and self.browser.text("PageTitleText") == "Notify")
        time.sleep(0.5)
        self.browser.click_named("WebViewHost")
        self.browser.wait_for("the second site's bar", lambda: self.browser.named("wPermissionBar").get("visible")
                              and "localhost" in self.browser.text("wPermissionText"))
        self.browser.click_named("wPermissionAllow")
        self.browser.wait_for("the second answer", lambda: self.reports("localhost="))
        self.assertEqual(self.reports("127.0.0.1=") + self.reports("localhost="),
                         ["127.0.0.1=denied", "localhost=granted"])

    def test_a_self_signed_site_is_refused_with_the_certificate_page_and_never_recorded(self):
        with tempfile.TemporaryDirectory() as directory:
            server, port, requests = self_signed_server(directory)
            try:
                url = "https://127.0.0.1:%d/secret" % port
                self.browser.start(url)
                view = self.browser.wait_for("the certificate page", lambda: [
                    v for v in self.views() if "wPageCertificate_EN.htm" in v["source"]
                    and v["title"] == "Your connection is not private"])
                query = urllib.parse.parse_qs(urllib.parse.urlparse(view[0]["source"]).query)
                self.assertEqual(query["host"], ["127.0.0.1"])
                # Made for no host: unknown to any authority, and not this address's.
                self.assertEqual(query["problems"], ["unknown-ca,bad-identity"])
                self.assertIn("<img src=x onerror=alert(1)", query["subject"][0].replace("\\", ""))
                self.assertEqual(self.browser.text("AdressBox"), url)
                self.assertEqual(requests, [])
                self.assertEqual(self.dialogs(), [])  # the hostile subject ran nothing
                self.assertEqual(self.browser.query("wHistoric_database.db",
                                                    "SELECT wLINK FROM wHistoric_PagesOpened"), [])
                time.sleep(1)  # painted
                self.browser.screenshot("certificate-page.png")
            finally:
                server.shutdown()
                server.server_close()


if __name__ == "__main__":
    harness.main()
