#pragma once
// What the favorites, history and suggestion tests share: a started page and
// stored rows made outside the layer under test.
#include <gtest/gtest.h>

#include <string>

#include "storage/database.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace librarytest {

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }

    // n favorites "Fav k" on "http://k.example/", ids 1..n.
    void FillFavorites(int n)
    {
        h.Execute(FavoritesFile, "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " +
                                     std::to_string(n) + ") INSERT INTO wFavorite_Registered SELECT NULL, "
                                     "'Fav ' || x, 'http://' || x || '.example/' FROM n;");
    }
    // n visits "Visit k" on "http://visit.example/k", ids 1..n.
    void FillHistory(int n)
    {
        h.Execute(HistoryFile, "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " +
                                   std::to_string(n) + ") INSERT INTO wHistoric_PagesOpened SELECT NULL, "
                                   "'Visit ' || x, 'http://visit.example/' || x, '5/3', '7h' || x FROM n;");
    }
    std::string LastDialog() const { return h.Dialogs.Shown.empty() ? "" : h.Dialogs.Shown.back().Content; }
    // Every operation closes what it opened.
    static bool AllConnectionsClosed()
    {
        for (auto* connection : ConnectionSlots)
            if (connection)
                return false;
        return true;
    }
    ui::Element& Row(ui::Panel& panel, size_t index) const { return panel.ChildAt(index); }
    ui::Button& RowButton(ui::Panel& panel, size_t row, size_t child) const
    {
        return dynamic_cast<ui::Button&>(panel.ChildAt(row).AsPanel()->ChildAt(child));
    }

    doubles::PageHarness h;
};

} // namespace librarytest
