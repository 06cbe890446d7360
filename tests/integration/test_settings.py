"""The settings panel and the themes with the real binary: each theme's
colours at start with a screenshot of the panel open, the accent through a
stand-in portal and without a bus, damaged settings, and a save by clicks and
typing that the next start paints."""
import os
import subprocess
import time

import harness

PORTAL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fake_portal.py")
TABLES = ["wConfig_HomePage", "wConfig_SaveFavoriteStatus", "wConfig_ThemeColor", "wConfig_HomeScreenStatus",
          "wConfig_AdressBarPosition", "wConfig_TitleBarStatus", "wConfig_MainSearcherAdress",
          "wConfig_MainTranslateAdress", "wConfig_PagesOpenedStatus"]
# Stored theme: title strip, bars, backdrop, ring, home screen; the theme's item.
THEMES = [
    ("Escuro", ("#FF202020", "#FF303030", "#FF202020", "#FFFFFFFF", "#FF0070E3"), 0),
    ("Azul", ("#FF003367", "#FF0070E3", "#FF003367", "#FFFFFFFF", "#FF0070E3"), 1),
    ("Verde", ("#FF005200", "#FF008E00", "#FF005200", "#FFFFFFFF", "#FF008E00"), 2),
    ("Vermelho", ("#FF6F0101", "#FFA60101", "#FF6F0101", "#FFFFFFFF", "#FFA60101"), 3),
    ("Claro", ("#FFA9A9A9", "#FFF2F2F2", "#FFA9A9A9", "#FF000000", "#FF0070E3"), 4),
    ("SystemAccentColor", ("#FF0058B7", "#FF0078D7", "#FF0058B7", "#FFFFFFFF", "#FF0078D7"), 5),
    ("verde", ("#FF202020", "#FF303030", "#FF202020", "#FFFFFFFF", "#FF0070E3"), 0),  # edited by hand
]


class Settings(harness.ReturningUserTest):
    PAGES = {"/": harness.html("Home", "<p>home</p>")}

    def named(self, name):
        return ((self.browser.state() or {}).get("named") or {}).get(name) or {}

    def colours(self):
        def read():
            e = [self.named(n) for n in ("TitleBarArea", "BarGrid", "RootGrid", "LoadingRing", "wHomeScreenPanel")]
            return all(e) and (e[0]["background"], e[1]["background"], e[2]["background"], e[3]["foreground"],
                               e[4]["background"])
        return self.browser.wait_for("the painted chrome", read)

    def click(self, name):
        element = self.browser.wait_for(name, lambda: self.named(name).get("visible") and self.named(name)["rect"][2]
                                        and self.named(name))
        ox, oy = harness.window_origin("Tolvane Browser")
        bottom = self.named("RootGrid")["rect"][3]
        for _ in range(20):  # below the fold: the wheel scrolls the panel to it
            x, y, w, h = element["rect"]
            if y + h <= bottom:
                break
            harness.click_button(ox + x + w / 2, oy + bottom - 20, 5)
            time.sleep(0.2)
            element = self.named(name)
        harness.click(int(ox + x + w / 2), int(oy + y + h / 2))

    def open_panel(self):
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Home")
        self.click("MainMenuButton")
        self.click("wMainMenu_Settings")
        self.browser.wait_for("the panel", lambda: self.named("wSettingsPanel")["opacity"] >= 1)

    def rows(self):
        return [[r[0].decode("latin-1") for r in self.browser.query("wConfig_database.db", "SELECT * FROM " + t)]
                for t in TABLES]

    def test_each_theme_paints_its_colours_and_the_panel_shows_it(self):
        portal = subprocess.Popen(["/usr/bin/python3", PORTAL, "readone"], stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (portal.kill(), portal.wait()))
        self.assertEqual(portal.stdout.readline().strip(), "ready")
        for theme, colours, item in THEMES:
            with self.subTest(theme=theme):
                harness.prepare_config(self.browser, {"wConfig_ThemeColor": ("wCOLOR", theme),
                                                      "wConfig_MainSearcherAdress": ("wSEARCHER", theme)})
                self.browser.start()
                self.assertEqual(self.colours(), colours)
                self.open_panel()
                self.assertEqual([self.named(n)["selected"] for n in ("wSettingsComboBox_Theme",
                                                                      "wSettingsComboBox_Searcher")], [item, 0])
                time.sleep(0.3)
                self.browser.screenshot("theme-%s.png" % theme)
                self.browser.stop()
                self.assertNotIn("CRITICAL", self.browser.stderr_text())

    def test_without_a_session_bus_the_accent_theme_takes_the_fallback_blue(self):
        harness.prepare_config(self.browser, {"wConfig_ThemeColor": ("wCOLOR", "SystemAccentColor")})
        dead = os.path.join(self.browser.root, "no-bus")  # the engine's sandbox needs the path to exist
        open(dead, "w").close()
        saved = dict(os.environ)
        # GTK's accessibility layer logs criticals of its own without a bus: off,
        # stderr holds only the browser's.
        os.environ.update({"DBUS_SESSION_BUS_ADDRESS": "unix:path=" + dead, "GTK_A11Y": "none"})
        try:
            self.browser.start()
            self.assertEqual(self.colours(), ("#FF1564C4", "#FF3584E4", "#FF1564C4", "#FFFFFFFF", "#FF3584E4"))
        finally:
            os.environ.clear()
            os.environ.update(saved)
        self.browser.stop()
        self.assertNotIn("CRITICAL", self.browser.stderr_text())

    def test_a_save_by_clicks_stores_nine_rows_and_the_next_start_paints_the_theme(self):
        self.browser.start()
        self.open_panel()
        self.assertEqual(self.named("wSettingsTextBox_HomePage")["text"], self.server.url("/"))
        self.assertEqual((self.named("wSettingsToggle_TitleBar")["on"],
                          self.named("wSettingsToggle_TitleBar")["enabled"]), (True, False))
        self.click("wSettingsTextBox_HomePage")
        subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace", "type", "--delay", "40", "it's.example/\u00e9"])
        for combo, keys, item in (("Theme", ["Down", "Down"], 2), ("AdressBarPosition", ["Down"], 1)):
            self.click("wSettingsComboBox_" + combo)  # the list opens on the chosen item
            subprocess.run(["xdotool", "key", "--delay", "80", *keys, "Return"], check=True)
            self.browser.wait_for(combo, lambda: self.named("wSettingsComboBox_" + combo)["selected"] == item)
        self.click("wSettingsButton_Save")
        self.assertIn("saved", self.browser.wait_for("the dialog", lambda: self.browser.state()["dialogs"])[0]["content"])
        self.assertEqual(self.rows(), [["http://it's.example/\u00e9"], ["true"], ["Verde"], ["false"], ["Bottom"],
                                       ["true"], ["Bing"], ["Google_Translator"], ["false"]])
        self.browser.stop()
        self.browser.start()
        self.assertEqual(self.colours()[1], "#FF008E00")


if __name__ == "__main__":
    harness.main()
