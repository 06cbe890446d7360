"""Favorites, history and suggestions with real input: the star saves the page, the lists open their entries,
history is cleared, and typing lists suggestions."""

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

    def rows(self, panel):
        return self.state().get("lists", {}).get(panel, [])

    def open_panel(self, entry, panel):
        """Through the main menu: entry 0 favorites, 1 history; waits until it is in place."""
        self.browser.open_menu_entry(("wMainMenu_Favorites", "wMainMenu_History")[entry])
        self.browser.wait_for(panel, lambda: self.browser.named(panel)["margin"][2] == 0)

    def visits(self, *paths):
        """Visits an earlier run recorded, oldest first."""
        self.browser.write(HISTORY, "CREATE TABLE wHistoric_PagesOpened(wID INTEGER PRIMARY KEY NOT NULL, wNAME TEXT "
                           "NOT NULL, wLINK TEXT NOT NULL, wDATE TEXT NOT NULL, wTIME TEXT NOT NULL);" + "".join(
                               "INSERT INTO wHistoric_PagesOpened VALUES (NULL, 'Page', '%s', '1/1', '1h1');"
                               % self.server.url(p) for p in paths))

    def loaded(self, tab, path):
        return lambda: len(self.state().get("webViews", [])) > tab and self.state()["webViews"][tab]["title"] and \
            self.state()["webViews"][tab]["source"] == self.server.url(path)

    def test_the_star_saves_the_page_and_the_list_opens_it(self):
        url = self.server.url("/a")
        self.browser.start(url)
        self.browser.wait_for("the page", lambda: self.browser.text("PageTitleText") == TITLE)
        self.browser.click_named("FavoriteStarButton")
        self.browser.wait_for("the title as the name", lambda: self.browser.text("AddFavoriteNameBox") == TITLE)
        self.browser.screenshot("library-add-favorite.png")
        self.browser.click_named("SaveFavoriteButton")
        self.browser.wait_for("the stored favorite", lambda: self.browser.query(FAVORITES, "SELECT * FROM wFavorite_Registered")
                              == [(1, "Página &#x2605; A".encode("latin-1"), url.encode())])
        self.browser.wait_for("the gold star", lambda: self.browser.text("FavoriteStarButton") == "\ue1cf")
        self.browser.answer("OK")

        self.open_panel(0, "wFavoritesPanel")
        rows = self.rows("FavoritesListPanel")
        self.assertEqual([r["texts"][:2] for r in rows], [[url, TITLE]])
        self.browser.screenshot("library-favorites.png")
        self.browser.click_at(rows[0]["rect"], dx=60)
        self.browser.wait_for("the favorite in a new tab", self.loaded(1, "/a"))

    def test_history_lists_the_newest_first_opens_one_and_clears(self):
        self.visits("/a", "/c")
        self.browser.start(self.server.url("/b"))  # the third visit
        self.browser.wait_for("the page", self.loaded(0, "/b"))
        self.open_panel(1, "wHistoryPanel")
        self.browser.click_at(self.rows("HistoryListPanel")[0]["rect"])
        rows = self.browser.wait_for("the rows", lambda: len(self.rows("HistoryListPanel")) == 3 and self.rows("HistoryListPanel"))
        self.assertEqual([r["texts"][1] for r in rows], [self.server.url(p) for p in ("/b", "/c", "/a")])
        self.browser.screenshot("library-history.png")
        self.browser.click_at(rows[2]["rect"], dx=60)
        self.browser.wait_for("the visit in a new tab", self.loaded(1, "/a"))

        self.open_panel(1, "wHistoryPanel")
        self.browser.click_named("ClearHistoryButton")
        self.browser.answer("Yes")
        self.browser.wait_for("an empty history", lambda: self.browser.query(
            HISTORY, "SELECT COUNT(*) FROM wHistoric_PagesOpened") == [(0,)])

    def test_typing_after_a_click_lists_suggestions_and_a_click_loads_one(self):
        self.visits("/c")
        self.browser.start(self.server.url("/a"))
        self.browser.wait_for("the page", self.loaded(0, "/a"))
        self.browser.click_named("AdressBox")
        subprocess.run(["xdotool", "key", "ctrl+a", "BackSpace", "type", "--delay", "20", "/c"], check=True)
        suggestion = lambda: [r for r in self.rows("SuggestionItemsPanel")
                              if r["texts"] == [self.server.url("/c")] and r["rect"][2] > 0]
        self.browser.wait_for("the suggestion", suggestion)
        time.sleep(0.5)  # the typing has settled
        self.browser.screenshot("library-suggestions.png")
        self.browser.click_at(self.browser.wait_for("the suggestion", suggestion)[0]["rect"], dx=80)
        self.browser.wait_for("the current tab loads it", self.loaded(0, "/c"))
        self.browser.wait_for("the list collapsed", lambda: not self.browser.named("SuggestionList")["visible"])
        self.assertEqual(len(self.state()["webViews"]), 1)


if __name__ == "__main__":
    harness.main()
