"""The settings panel and the themes with the real binary: each theme's
colours at start (with a screenshot of the panel open), the desktop's accent
through a stand-in portal and without a bus, a save by real clicks and typing
that the next start paints, damaged settings, a save against a locked file,
and the home screen's buttons."""
import os
import sqlite3
import subprocess
import time

import harness

PORTAL = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fake_portal.py")
# Debian's GObject bindings belong to the system's interpreter.
PORTAL_PYTHON = "/usr/bin/python3"

SETTINGS = [("wConfig_HomePage", "wLINK"), ("wConfig_SaveFavoriteStatus", "wSTATUS"),
            ("wConfig_ThemeColor", "wCOLOR"), ("wConfig_HomeScreenStatus", "wSTATUS"),
            ("wConfig_AdressBarPosition", "wPOSITION"), ("wConfig_TitleBarStatus", "wSTATUS"),
            ("wConfig_MainSearcherAdress", "wSEARCHER"), ("wConfig_MainTranslateAdress", "wTRANSLATOR"),
            ("wConfig_PagesOpenedStatus", "wSTATUS")]

# Title strip, bars, backdrop, ring, home screen.
THEMES = {
    "Escuro": ("#FF202020", "#FF303030", "#FF202020", "#FFFFFFFF", "#FF0070E3"),
    "Azul": ("#FF003367", "#FF0070E3", "#FF003367", "#FFFFFFFF", "#FF0070E3"),
    "Verde": ("#FF005200", "#FF008E00", "#FF005200", "#FFFFFFFF", "#FF008E00"),
    "Vermelho": ("#FF6F0101", "#FFA60101", "#FF6F0101", "#FFFFFFFF", "#FFA60101"),
    "Claro": ("#FFA9A9A9", "#FFF2F2F2", "#FFA9A9A9", "#FF000000", "#FF0070E3"),
    "SystemAccentColor": ("#FF0058B7", "#FF0078D7", "#FF0058B7", "#FFFFFFFF", "#FF0078D7"),
}
FALLBACK_ACCENT = ("#FF1564C4", "#FF3584E4", "#FF1564C4", "#FFFFFFFF", "#FF3584E4")


class Settings(harness.ReturningUserTest):
    PAGES = {"/": harness.html("Home", "<p>home</p>")}

    def named(self, name):
        return ((self.browser.state() or {}).get("named") or {}).get(name)

    def colours(self):
        def read():
            names = ["TitleBarArea", "BarGrid", "RootGrid", "LoadingRing", "wHomeScreenPanel"]
            found = [self.named(n) for n in names]
            if not all(found):
                return None
            return (found[0]["background"], found[1]["background"], found[2]["background"],
                    found[3]["foreground"], found[4]["background"])
        return self.browser.wait_for("the painted chrome", read)

    def click(self, name):
        def shown():
            element = self.named(name) or {}
            return element.get("visible") and element["rect"][2] > 0 and element
        element = self.browser.wait_for(name, shown)
        ox, oy = harness.window_origin("Tolvane Browser")
        bottom = self.named("RootGrid")["rect"][3]
        for _ in range(20):  # below the fold: the wheel scrolls the panel up to it
            x, y, w, h = element["rect"]
            if y + h <= bottom:
                break
            harness.click_button(ox + x + w / 2, oy + bottom - 20, 5)
            time.sleep(0.2)
            element = self.named(name)
        harness.click(int(ox + x + w / 2), int(oy + y + h / 2))

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "80", *keys], check=True)

    def open_panel(self):
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == "Home")
        self.click("SideMenuButton")
        self.browser.wait_for("the side menu", lambda: self.named("wSideMenu")["margin"][2] == 0)
        self.click("wSideMenuEntry_Settings")
        self.browser.wait_for("the settings panel in place", lambda: self.named("wSettingsPanel")["margin"][2] == 0
                              and self.named("wSettingsPanel")["opacity"] >= 1)

    def rows(self):
        return [[r[0].decode("latin-1") for r in self.browser.query("wConfig_database.db",
                                                                    "SELECT %s FROM %s" % (c, t))]
                for t, c in SETTINGS]

    def start_portal(self, mode):
        portal = subprocess.Popen([PORTAL_PYTHON, PORTAL, mode], stdout=subprocess.PIPE, text=True)
        self.addCleanup(lambda: (portal.kill(), portal.wait()))
        self.assertEqual(portal.stdout.readline().strip(), "ready")

    def test_each_theme_paints_its_colours_and_the_panel(self):
        for theme, expected in THEMES.items():
            with self.subTest(theme=theme):
                if theme == "SystemAccentColor":
                    self.start_portal("readone")
                harness.prepare_config(self.browser, {"wConfig_ThemeColor": ("wCOLOR", theme)})
                self.browser.start()
                self.assertEqual(self.colours(), expected)
                self.open_panel()
                self.assertEqual(self.named("wSettingsComboBox_Theme")["selected"], list(THEMES).index(theme))
                time.sleep(0.3)
                self.browser.screenshot("theme-%s.png" % theme)
                self.browser.stop()
                self.assertNotIn("CRITICAL", self.browser.stderr_text())

    def test_without_a_session_bus_the_accent_theme_takes_the_fallback_blue(self):
        harness.prepare_config(self.browser, {"wConfig_ThemeColor": ("wCOLOR", "SystemAccentColor")})
        # A socket path where no bus listens (the engine's sandbox needs the path to exist).
        dead = os.path.join(self.browser.root, "no-bus")
        open(dead, "w").close()
        saved = dict(os.environ)
        # GTK's accessibility layer logs criticals of its own without a bus;
        # off, what is left on stderr is the browser's.
        os.environ.update({"DBUS_SESSION_BUS_ADDRESS": "unix:path=" + dead, "GTK_A11Y": "none"})
        try:
            self.browser.start()
            self.assertEqual(self.colours(), FALLBACK_ACCENT)
        finally:
            os.environ.clear()
            os.environ.update(saved)
        self.browser.stop()
        self.assertNotIn("CRITICAL", self.browser.stderr_text())

    def test_a_save_by_clicks_stores_nine_rows_and_the_next_start_paints_the_theme(self):
        self.browser.start()
        self.open_panel()
        self.assertEqual(self.named("wSettingsTextBox_HomePage")["text"], self.server.url("/"))
        self.assertEqual(self.named("wSettingsComboBox_Theme")["selected"], 0)
        self.assertEqual((self.named("wSettingsToggle_TitleBar")["on"],
                          self.named("wSettingsToggle_TitleBar")["enabled"]), (True, False))
        self.click("wSettingsTextBox_HomePage")
        self.key("ctrl+a", "BackSpace")
        subprocess.run(["xdotool", "type", "--delay", "40", "it's.example/\u00e9"], check=True)
        self.click("wSettingsComboBox_Theme")  # opens the list on the chosen item
        self.key("Down", "Down", "Return")      # Verde
        self.browser.wait_for("green picked", lambda: self.named("wSettingsComboBox_Theme")["selected"] == 2)
        self.click("wSettingsComboBox_AdressBarPosition")
        self.key("Down", "Return")
        self.browser.wait_for("bottom picked",
                              lambda: self.named("wSettingsComboBox_AdressBarPosition")["selected"] == 1)
        self.click("wSettingsButton_Save")
        dialog = self.browser.wait_for("the dialog", lambda: (self.browser.state() or {}).get("dialogs"))
        self.assertIn("saved", dialog[0]["content"])
        self.assertEqual(self.rows(), [["http://it's.example/\u00e9"], ["true"], ["Verde"], ["false"], ["Bottom"],
                                       ["true"], ["Bing"], ["Google_Translator"], ["false"]])
        self.browser.screenshot("settings-saved.png")
        self.browser.stop()
        self.browser.start()
        self.assertEqual(self.colours()[1], "#FF008E00")

    def test_damaged_settings_start_in_the_dark_theme_with_defaults_shown(self):
        harness.prepare_config(self.browser, {"wConfig_ThemeColor": ("wCOLOR", "verde"),
                                              "wConfig_MainSearcherAdress": ("wSEARCHER", "Altavista"),
                                              "wConfig_AdressBarPosition": ("wPOSITION", "Bottom")})
        self.browser.write("wConfig_database.db", "INSERT INTO wConfig_AdressBarPosition VALUES ('Nowhere');")
        self.browser.start()
        self.assertEqual(self.colours(), THEMES["Escuro"])
        self.open_panel()
        self.assertEqual([self.named(n)["selected"] for n in ("wSettingsComboBox_Theme", "wSettingsComboBox_Searcher",
                                                            "wSettingsComboBox_AdressBarPosition")], [0, 0, 0])

    def test_a_save_against_a_locked_file_fails_visibly_and_changes_nothing(self):
        self.browser.start()
        self.open_panel()
        before = self.rows()
        lock = sqlite3.connect(self.browser.file("wConfig_database.db"), isolation_level=None)
        lock.execute("BEGIN EXCLUSIVE")
        try:
            self.click("wSettingsButton_Save")
            dialog = self.browser.wait_for("the failure", lambda: (self.browser.state() or {}).get("dialogs"))
            self.assertIn("could not be saved", dialog[0]["content"])
            self.assertTrue(self.named("wSettingsPanel")["visible"])
        finally:
            lock.execute("ROLLBACK")
            lock.close()
        self.assertEqual(self.rows(), before)

    def test_only_the_ticked_box_at_start_turns_the_home_screen_off(self):
        harness.prepare_config(self.browser, {"wConfig_HomeScreenStatus": ("wSTATUS", "true")})
        self.browser.start()
        self.click("wHomeScreenCheckBox_DoNotShow")
        self.browser.wait_for("the tick", lambda: self.named("wHomeScreenCheckBox_DoNotShow")["checked"])
        self.click("wHomeScreenButton_Close")
        self.browser.wait_for("false stored", lambda: self.rows()[3] == ["false"])
        self.browser.write("wConfig_database.db", "UPDATE wConfig_HomeScreenStatus SET wSTATUS='true';")
        self.click("MainMenuButton")
        self.browser.wait_for("the main menu", lambda: self.named("wMainMenu")["visible"])
        time.sleep(0.5)
        self.click("wMainMenuEntry_HomeScreen")
        self.browser.wait_for("the home screen", lambda: self.named("wHomeScreenPanel")["visible"])
        self.assertFalse(self.named("wHomeScreenCheckBox_DoNotShow")["visible"])
        self.click("wHomeScreenButton_Close")
        self.browser.wait_for("closed", lambda: not self.named("wHomeScreenPanel")["visible"])
        self.assertEqual(self.rows()[3], ["true"])


if __name__ == "__main__":
    harness.main()
