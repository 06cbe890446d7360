"""The settings and the themes: the accent without a bus and through a stand-in portal, then a save by clicks
and typing that the next start paints."""
import os
import subprocess
import time
from unittest import mock

import harness

PORTAL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fake_portal.py")
# Title strip, bars, backdrop, ring, home screen.
PAINTED = (("TitleBarArea", "background"), ("BarGrid", "background"), ("RootGrid", "background"),
           ("LoadingRing", "foreground"), ("wHomeScreenPanel", "background"))


class Settings(harness.ReturningUserTest):
    PAGES = {"/": harness.html("Home", "<p>home</p>")}

    def colours(self):
        named = self.browser.named
        return self.browser.wait_for("the painted chrome", lambda: all(map(named, dict(PAINTED))) and tuple(
            named(n)[k] for n, k in PAINTED))

    def click(self, name):
        """A click on a control of the panel, scrolled into view by the wheel first if need be."""
        named = self.browser.named
        element = self.browser.wait_for(name, lambda: named(name).get("visible") and named(name)["rect"][2]
                                        and named(name))
        bottom = named("RootGrid")["rect"][3]
        for _ in range(20):  # the wheel over the panel's foot scrolls down
            if element["rect"][1] + element["rect"][3] <= bottom:
                break
            self.browser.click_at([element["rect"][0], bottom - 40, element["rect"][2], 40], button=5)
            time.sleep(0.2)
            element = named(name)
        self.browser.click_at(element["rect"])

    def open_panel(self):
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Home")
        self.browser.open_menu_entry("wMainMenu_Settings")
        self.browser.wait_for("the panel", lambda: self.browser.named("wSettingsPanel")["opacity"] >= 1)

    def test_the_accent_theme_then_a_save_by_clicks_that_the_next_start_paints(self):
        harness.prepare_config(self.browser, {"wConfig_ThemeColor": ("wCOLOR", "SystemAccentColor")})
        dead = os.path.join(self.browser.root, "no-bus")  # the engine's sandbox needs the path to exist
        open(dead, "w").close()
        # Without a bus: the fallback blue. GTK's accessibility layer logs
        # criticals of its own without one: off, stderr holds only the browser's.
        with mock.patch.dict(os.environ, {"DBUS_SESSION_BUS_ADDRESS": "unix:path=" + dead, "GTK_A11Y": "none"}):
            self.browser.start()
        self.assertEqual(self.colours(), ("#FF1564C4", "#FF3584E4", "#FF1564C4", "#FFFFFFFF", "#FF3584E4"))
        self.browser.stop()
        self.assertNotIn("CRITICAL", self.browser.stderr_text())

        portal = subprocess.Popen(["/usr/bin/python3", PORTAL, "readone"], stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (portal.kill(), portal.wait(), portal.stdout.close()))
        self.assertEqual(portal.stdout.readline().strip(), "ready")
        self.browser.start()
        self.assertEqual(self.colours(), ("#FF0058B7", "#FF0078D7", "#FF0058B7", "#FFFFFFFF", "#FF0078D7"))
        self.open_panel()
        self.assertEqual(self.browser.named("wSettingsTextBox_HomePage")["text"], self.server.url("/"))
        self.assertEqual([self.browser.named("wSettingsToggle_TitleBar")[k] for k in ("on", "enabled")], [True, False])
        self.assertEqual(self.browser.named("wSettingsComboBox_Theme")["selected"], 5)
        self.browser.screenshot("theme-SystemAccentColor.png")
        self.click("wSettingsTextBox_HomePage")
        subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace", "type", "--delay", "40", "it's.example/\u00e9"])
        for combo, keys, item in (("Theme", ["Home", "Down", "Down"], 2), ("AdressBarPosition", ["Down"], 1)):
            self.click("wSettingsComboBox_" + combo)  # the list opens on the chosen item
            subprocess.run(["xdotool", "key", "--delay", "80", *keys, "Return"], check=True)
            self.browser.wait_for(combo, lambda: self.browser.named("wSettingsComboBox_" + combo)["selected"] == item)
        self.click("wSettingsButton_Save")
        dialogs = self.browser.wait_for("the dialog", lambda: self.browser.state()["dialogs"])
        self.assertIn("saved", dialogs[0]["content"])
        self.assertEqual(self.browser.query("wConfig_database.db", "SELECT (SELECT wLINK FROM wConfig_HomePage), (SELECT "
                                            "wCOLOR FROM wConfig_ThemeColor), (SELECT wPOSITION FROM wConfig_AdressBarPosition)"),
                         [(b"http://it's.example/\xe9", b"Verde", b"Bottom")])
        self.browser.stop()
        self.assertNotIn("CRITICAL", self.browser.stderr_text())
        self.browser.start()
        self.assertEqual(self.colours()[:2], ("#FF005200", "#FF008E00"))
        self.browser.screenshot("theme-Verde.png")


if __name__ == "__main__":
    harness.main()
