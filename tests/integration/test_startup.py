"""The real binary on a fresh data folder: the three files with their exact schema and a window that shows the
page (a second invocation: the silent-portal and services runs)."""
import os
import re
import subprocess
import unittest

import harness

TABLES = {
    "wFavorite_database.db": {
        "wFavorite_Registered": [("wID", "INTEGER", 1, 1), ("wNAME", "TEXT", 1, 0), ("wLINK", "TEXT", 1, 0)],
    },
    "wHistoric_database.db": {
        "wHistoric_PagesOpened": [("wID", "INTEGER", 1, 1), ("wNAME", "TEXT", 1, 0), ("wLINK", "TEXT", 1, 0),
                                  ("wDATE", "TEXT", 1, 0), ("wTIME", "TEXT", 1, 0)],
        "wHistoric_FormsSaved": [("wID", "INTEGER", 1, 1), ("wFORM_ID", "TEXT", 1, 0), ("wFORM_TYPE", "TEXT", 1, 0),
                                 ("wFORM_VALUE", "TEXT", 1, 0), ("wFORM_LINK", "TEXT", 1, 0)],
    },
    "wConfig_database.db": {
        "wConfig_HomePage": [("wLINK", "TEXT", 1, 1)],
        "wConfig_SaveFavoriteStatus": [("wSTATUS", "TEXT", 1, 1)],
        "wConfig_ThemeColor": [("wCOLOR", "TEXT", 1, 1)],
        "wConfig_HomeScreenStatus": [("wSTATUS", "TEXT", 1, 1)],
        "wConfig_AdressBarPosition": [("wPOSITION", "TEXT", 1, 1)],
        "wConfig_TitleBarStatus": [("wSTATUS", "TEXT", 1, 1)],
        "wConfig_MainSearcherAdress": [("wSEARCHER", "TEXT", 1, 1)],
        "wConfig_MainTranslateAdress": [("wTRANSLATOR", "TEXT", 1, 1)],
        "wConfig_PagesOpenedStatus": [("wSTATUS", "TEXT", 1, 1)],
        "wConfig_PagesOpened": [("wID", "INTEGER", 1, 1), ("wLINK", "TEXT", 1, 0)],
        "wConfig_ShowRatingAlert": [("wSTATUS", "TEXT", 1, 1)],
        "wConfig_Extension": [("wREELPULL", "TEXT", 1, 1)],
    },
}

class FirstStart(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.server = harness.LocalServer({"/": harness.html("Start page")})
        cls.browser = harness.Browser().start(cls.server.url("/"))
        cls.browser.wait_for("the window's first frame",
                             lambda: "startup-ms:" in cls.browser.stderr_text(), timeout=60)
        cls.browser.wait_for("the page to load", lambda: cls.browser.text("PageTitleText") == "Start page")
        cls.browser.screenshot("first-start.png")

    @classmethod
    def tearDownClass(cls):
        cls.browser.cleanup()
        cls.server.close()

    def test_three_files_with_the_exact_schema(self):
        for db, tables in TABLES.items():
            self.assertTrue(os.path.exists(self.browser.file(db)), db)
            names = {row[0].decode() for row in self.browser.query(
                db, "SELECT name FROM sqlite_master WHERE type='table'")}
            self.assertEqual(names, set(tables), db)
            for table, columns in tables.items():
                info = [(r[1].decode(), r[2].decode(), r[3], r[5])
                        for r in self.browser.query(db, "PRAGMA table_info(%s)" % table)]
                self.assertEqual(info, columns, table)

    def test_the_window_shows_the_page_chrome(self):
        state = self.browser.state()
        named = state["named"]
        self.assertTrue(re.fullmatch(r"Version: \d+\.\d+\.\d+\.\d+", named["VersionText"]["text"]),
                        named["VersionText"]["text"])
        self.assertTrue(named["wHomeScreenPanel"]["visible"])
        self.assertEqual(named["AdressBox"]["text"], self.server.url("/"))
        self.assertEqual(len(state["webViews"]), 1)
        milliseconds = int(re.search(r"startup-ms: (\d+)", self.browser.stderr_text()).group(1))
        print("\nstart-up to first frame: %d ms" % milliseconds)


class CommandLine(unittest.TestCase):
    def test_version_and_help_answer_without_a_window(self):
        version = subprocess.run([harness.BINARY, "--version"], capture_output=True, text=True, timeout=30)
        self.assertEqual(version.returncode, 0)
        self.assertRegex(version.stdout, r"^Tolvane Browser \d+\.\d+\.\d+\.\d+")
        usage = subprocess.run([harness.BINARY, "--help"], capture_output=True, text=True, timeout=30)
        self.assertEqual(usage.returncode, 0)
        self.assertIn("--arguments", usage.stdout)


if __name__ == "__main__":
    harness.main()
