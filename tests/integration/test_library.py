"""Favorites, history and suggestions with the real engine and real input:
the star saves the page, the lists open their entries, the delete and clear
questions are answered as a user would, and typing lists suggestions."""

import subprocess
import time

import harness

FAVORITES = "wFavorite_database.db"
HISTORY = "wHistoric_database.db"
STAR_FILLED = "\ue1cf"


class Library(harness.ReturningUserTest):
    PAGES = {
        "/a": harness.html("Página ★ A"),
        "/b": harness.html("Page B"),
        "/c": harness.html("Page C"),
    }
    HOME = "/b"

    def state(self):
        return self.browser.state() or {}

    def rows(self, panel):
        return self.state().get("lists", {}).get(panel, [])

    def dialogs(self):
        return self.state().get("dialogs", [])

    def answer(self, label):
        with open(self.browser.state_file + ".cmd", "w") as f:
            f.write("answer %s\n" % label)

    def click_at(self, rect, dx=None):
        origin = harness.window_origin("Tolvane Browser")
        x = rect[0] + (rect[2] / 2 if dx is None else dx)
        harness.click_button(origin[0] + x, origin[1] + rect[1] + rect[3] / 2, 1)

    def click_named(self, name):
        rect = self.browser.wait_for(name, lambda: self.state().get("named", {}).get(name, {}).get("rect"))
        self.click_at(rect)

    def dismiss_dialogs(self):
        for _ in range(5):
            if not self.dialogs():
                return
            self.answer("OK")
            time.sleep(0.5)

    def open_menu_entry(self, index):
        """The side menu's entry: 0 favorites, 1 history."""
        self.click_named("SideMenuButton")
        self.browser.wait_for("the side menu in place", lambda: (self.state()["named"].get("wSideMenu") or {})
                              .get("margin", [0, 0, -1, 0])[2] == 0)
        menu = self.state()["named"]["wSideMenu"]["rect"]
        self.click_at([menu[0], menu[1] + 44 * index, menu[2], 44])

    def favorites(self):
        return self.browser.query(FAVORITES, "SELECT wID, wNAME, wLINK FROM wFavorite_Registered ORDER BY wID")

    def test_the_star_saves_the_page_the_list_opens_and_deletes_it(self):
        url = self.server.url("/a")
        self.browser.write(FAVORITES, "CREATE TABLE IF NOT EXISTS wFavorite_Registered(wID INTEGER PRIMARY KEY NOT NULL,"
                           " wNAME TEXT NOT NULL, wLINK TEXT NOT NULL);"
                           "INSERT INTO wFavorite_Registered VALUES (1, 'First', '%s');" % self.server.url("/c"))
        self.browser.start(url)
        self.browser.wait_for("the page title", lambda: self.browser.text("PageTitleText") == "Página ★ A")
        self.click_named("FavoriteStarButton")
        self.browser.wait_for("the page's title as the name",
                              lambda: self.browser.text("AddFavoriteNameBox") == "Página ★ A")
        self.browser.screenshot("library-add-favorite.png")
        self.click_named("SaveFavoriteButton")
        self.browser.wait_for("the stored favorite", lambda: len(self.favorites()) == 2)
        self.assertEqual(self.favorites()[1], (2, "Página &#x2605; A".encode("latin-1"), url.encode()))
        self.browser.wait_for("the gold star", lambda: self.browser.text("FavoriteStarButton") == STAR_FILLED)
        self.dismiss_dialogs()

        self.open_menu_entry(0)
        rows = self.browser.wait_for("two rows", lambda: len(self.rows("FavoritesListPanel")) == 2
                                     and self.rows("FavoritesListPanel"))
        self.assertEqual(rows[1]["texts"][:2], [url, "Página ★ A"])
        self.browser.wait_for("the panel in place", lambda: self.state()["named"]["wFavoritesPanel"]["margin"][2] == 0)
        self.browser.screenshot("library-favorites.png")
        self.click_at(self.rows("FavoritesListPanel")[0]["rect"], dx=60)
        self.browser.wait_for("the favorite in a new tab", lambda: [v for v in self.state().get("webViews", [])
                                                                    if v["source"] == self.server.url("/c")])

        self.open_menu_entry(0)
        first = self.browser.wait_for("the list again", lambda: self.rows("FavoritesListPanel"))[0]
        self.browser.wait_for("the panel in place", lambda: self.state()["named"]["wFavoritesPanel"]["margin"][2] == 0)
        first = self.rows("FavoritesListPanel")[0]
        self.click_at(first["rect"], dx=first["rect"][2] - 12)
        self.browser.wait_for("the question", lambda: self.dialogs())
        self.answer("Yes")
        self.browser.wait_for("the favorite deleted, ids dense", lambda: self.favorites() == [
            (1, "Página &#x2605; A".encode("latin-1"), url.encode())])

    def test_history_lists_the_newest_first_opens_one_and_clears(self):
        self.browser.start(self.server.url("/a"))
        for path in ("/b", "/c"):
            self.browser.wait_for("the page loaded", lambda: self.state().get("webViews") and
                                  self.state()["webViews"][0]["title"])
            self.click_named("AdressBox")
            subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace"], check=True)
            subprocess.run(["xdotool", "type", "--delay", "20", self.server.url(path)], check=True)
            subprocess.run(["xdotool", "key", "Return"], check=True)
            self.browser.wait_for(path, lambda: self.state()["webViews"][0]["source"] == self.server.url(path))
        self.browser.wait_for("three visits", lambda: len(self.browser.query(
            HISTORY, "SELECT wID FROM wHistoric_PagesOpened")) == 3)

        self.open_menu_entry(1)
        button = self.browser.wait_for("the show-list button", lambda: self.rows("HistoryListPanel"))[0]
        self.assertEqual(button["tag"], 15)
        self.browser.wait_for("the panel in place", lambda: self.state()["named"]["wHistoryPanel"]["margin"][2] == 0)
        self.click_at(self.rows("HistoryListPanel")[0]["rect"])
        rows = self.browser.wait_for("three rows", lambda: len(self.rows("HistoryListPanel")) == 3
                                     and self.rows("HistoryListPanel"))
        self.assertEqual([r["texts"][1] for r in rows], [self.server.url(p) for p in ("/c", "/b", "/a")])
        self.browser.screenshot("library-history.png")
        self.click_at(rows[2]["rect"], dx=60)
        self.browser.wait_for("the visit in a new tab", lambda: len(self.state().get("webViews", [])) == 2)

        self.open_menu_entry(1)
        self.browser.wait_for("the panel in place", lambda: self.state()["named"]["wHistoryPanel"]["margin"][2] == 0)
        self.click_named("ClearHistoryButton")
        self.browser.wait_for("the question", lambda: self.dialogs())
        self.answer("Yes")
        self.browser.wait_for("an empty history", lambda: self.browser.query(
            HISTORY, "SELECT COUNT(*) FROM wHistoric_PagesOpened") == [(0,)])

    def test_typing_after_a_click_lists_suggestions_and_a_click_loads_one(self):
        self.browser.write(HISTORY, "CREATE TABLE IF NOT EXISTS wHistoric_PagesOpened(wID INTEGER PRIMARY KEY NOT NULL,"
                           " wNAME TEXT NOT NULL, wLINK TEXT NOT NULL, wDATE TEXT NOT NULL, wTIME TEXT NOT NULL);"
                           "INSERT INTO wHistoric_PagesOpened VALUES (NULL, 'Page C', '%s', '1/1', '1h1');"
                           % self.server.url("/c"))
        self.browser.start(self.server.url("/a"))
        self.browser.wait_for("the page loaded", lambda: self.state().get("webViews") and
                              self.state()["webViews"][0]["title"] == "Página ★ A")
        self.click_named("AdressBox")
        subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace"], check=True)
        subprocess.run(["xdotool", "type", "--delay", "30", "/c"], check=True)
        rows = self.browser.wait_for("the suggestion", lambda: [r for r in self.rows("SuggestionItemsPanel")
                                                                 if r["texts"] == [self.server.url("/c")]])
        self.browser.screenshot("library-suggestions.png")
        self.click_at(rows[0]["rect"], dx=80)
        self.browser.wait_for("the current tab loads it", lambda: self.state()["webViews"][0]["source"]
                              == self.server.url("/c"))
        self.browser.wait_for("the list collapsed", lambda: not self.state()["named"]["SuggestionList"]["visible"])
        self.assertEqual(len(self.state()["webViews"]), 1)


if __name__ == "__main__":
    harness.main()
