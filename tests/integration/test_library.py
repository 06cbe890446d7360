"""Favorites, history and suggestions with the real engine and real input:
the star saves the page, the lists open their entries, the questions are
answered as a user would, and typing in the box lists suggestions."""

import subprocess
import time

import harness

FAVORITES = "wFavorite_database.db"
HISTORY = "wHistoric_database.db"
TITLE = "Página ★ A"


class Library(harness.ReturningUserTest):
    PAGES = {"/a": harness.html(TITLE), "/b": harness.html("Page B"), "/c": harness.html("Page C")}
    HOME = "/b"

    def state(self):
        return self.browser.state() or {}

    def named(self, name):
        return self.state().get("named", {}).get(name, {})

    def rows(self, panel):
        return self.state().get("lists", {}).get(panel, [])

    def answer(self, label):
        self.browser.wait_for("a dialog", lambda: self.state().get("dialogs"))
        with open(self.browser.state_file + ".cmd", "w") as f:
            f.write("answer %s\n" % label)
        time.sleep(0.6)

    def click(self, rect, dx=None):
        origin = harness.window_origin("Tolvane Browser")
        x = rect[0] + (rect[2] / 2 if dx is None else dx)
        harness.click_button(origin[0] + x, origin[1] + rect[1] + rect[3] / 2, 1)

    def click_named(self, name):
        self.click(self.browser.wait_for(name, lambda: self.named(name).get("rect")))

    def open_panel(self, entry, panel):
        """Through the main menu: entry 0 favorites, 1 history; waits until it is in place."""
        self.click_named("MainMenuButton")
        self.browser.wait_for("the main menu", lambda: self.named("wMainMenu").get("visible"))
        self.click_named(("wMainMenu_Favorites", "wMainMenu_History")[entry])
        self.browser.wait_for(panel, lambda: self.named(panel)["margin"][2] == 0)

    def visits(self, *paths):
        """Visits an earlier run recorded, oldest first."""
        self.browser.write(HISTORY, "CREATE TABLE wHistoric_PagesOpened(wID INTEGER PRIMARY KEY NOT NULL, wNAME TEXT "
                           "NOT NULL, wLINK TEXT NOT NULL, wDATE TEXT NOT NULL, wTIME TEXT NOT NULL);" + "".join(
                               "INSERT INTO wHistoric_PagesOpened VALUES (NULL, 'Page', '%s', '1/1', '1h1');"
                               % self.server.url(p) for p in paths))

    def loaded(self, tab, path):
        return lambda: len(self.state().get("webViews", [])) > tab and self.state()["webViews"][tab]["title"] and \
            self.state()["webViews"][tab]["source"] == self.server.url(path)

    def test_the_star_saves_the_page_the_list_opens_and_deletes_it(self):
        url = self.server.url("/a")
        self.browser.write(FAVORITES, "CREATE TABLE wFavorite_Registered(wID INTEGER PRIMARY KEY NOT NULL, wNAME TEXT "
                           "NOT NULL, wLINK TEXT NOT NULL); INSERT INTO wFavorite_Registered VALUES (1, 'C', '%s');"
                           % self.server.url("/c"))
        self.browser.start(url)
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == TITLE)
        self.click_named("FavoriteStarButton")
        self.browser.wait_for("the title as the name", lambda: self.browser.text("AddFavoriteNameBox") == TITLE)
        self.browser.screenshot("library-add-favorite.png")
        self.click_named("SaveFavoriteButton")
        stored = (2, "Página &#x2605; A".encode("latin-1"), url.encode())
        favorites = lambda: self.browser.query(FAVORITES, "SELECT * FROM wFavorite_Registered ORDER BY wID")
        self.browser.wait_for("the stored favorite", lambda: favorites()[1:] == [stored])
        self.browser.wait_for("the gold star", lambda: self.browser.text("FavoriteStarButton") == "\ue1cf")
        self.answer("OK")

        self.open_panel(0, "wFavoritesPanel")
        rows = self.rows("FavoritesListPanel")
        self.assertEqual([r["texts"][:2] for r in rows], [[self.server.url("/c"), "C"], [url, TITLE]])
        self.browser.screenshot("library-favorites.png")
        self.click(rows[0]["rect"], dx=60)
        self.browser.wait_for("the favorite in a new tab", self.loaded(1, "/c"))

        self.open_panel(0, "wFavoritesPanel")
        first = self.rows("FavoritesListPanel")[0]["rect"]
        self.click(first, dx=first[2] - 12)
        self.answer("Yes")
        self.browser.wait_for("the favorite deleted, ids dense", lambda: favorites() == [(1,) + stored[1:]])

    def test_history_lists_the_newest_first_opens_one_and_clears(self):
        self.visits("/a", "/c")
        self.browser.start(self.server.url("/b"))  # the third visit
        self.browser.wait_for("the page", self.loaded(0, "/b"))
        self.open_panel(1, "wHistoryPanel")
        self.assertEqual(self.rows("HistoryListPanel")[0]["tag"], 15)
        self.click(self.rows("HistoryListPanel")[0]["rect"])
        rows = self.browser.wait_for("the rows", lambda: len(self.rows("HistoryListPanel")) == 3 and self.rows("HistoryListPanel"))
        self.assertEqual([r["texts"][1] for r in rows], [self.server.url(p) for p in ("/b", "/c", "/a")])
        self.browser.screenshot("library-history.png")
        self.click(rows[2]["rect"], dx=60)
        self.browser.wait_for("the visit in a new tab", self.loaded(1, "/a"))

        self.open_panel(1, "wHistoryPanel")
        self.click_named("ClearHistoryButton")
        self.answer("Yes")
        self.browser.wait_for("an empty history", lambda: self.browser.query(
            HISTORY, "SELECT COUNT(*) FROM wHistoric_PagesOpened") == [(0,)])

    def test_typing_after_a_click_lists_suggestions_and_a_click_loads_one(self):
        self.visits("/c")
        self.browser.start(self.server.url("/a"))
        self.browser.wait_for("the page", self.loaded(0, "/a"))
        self.click_named("AdressBox")
        subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace"], check=True)
        subprocess.run(["xdotool", "type", "--delay", "20", "/c"], check=True)
        suggestion = lambda: [r for r in self.rows("SuggestionItemsPanel")
                              if r["texts"] == [self.server.url("/c")] and r["rect"][2] > 0]
        self.browser.wait_for("the suggestion", suggestion)
        time.sleep(0.5)  # the typing has settled
        self.browser.screenshot("library-suggestions.png")
        self.click(self.browser.wait_for("the suggestion", suggestion)[0]["rect"], dx=80)
        self.browser.wait_for("the current tab loads it", self.loaded(0, "/c"))
        self.browser.wait_for("the list collapsed", lambda: not self.named("SuggestionList")["visible"])
        self.assertEqual(len(self.state()["webViews"]), 1)


if __name__ == "__main__":
    harness.main()
