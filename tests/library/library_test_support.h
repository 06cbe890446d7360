#pragma once
// What the favorites, history and suggestion tests share: a started page and
// rows stored outside the layer under test.
#include <gtest/gtest.h>

#include <string>

#include "storage/database.h"
#include "storage/schema.h"
#include "tests/doubles/page_harness.h"

namespace librarytest {

class LibraryTest : public ::testing::Test {
protected:
    void SetUp() override { h.Start(); }
    // n rows made by a SELECT over x = 1..n.
    void Fill(const char* file, const std::string& table, int n, const std::string& select)
    {
        h.Execute(file, "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " +
                            std::to_string(n) + ") INSERT INTO " + table + " SELECT NULL, " + select + " FROM n;");
    }
    static bool AllConnectionsClosed()
    {
        return ConnectionSlots == std::array<sqlite3*, 3>{};
    }
    static ui::Element& Child(ui::Element& panel, size_t index) { return panel.AsPanel()->ChildAt(index); }
    static ui::Button& RowButton(ui::Panel& panel, size_t row, size_t child)
    {
        return dynamic_cast<ui::Button&>(Child(panel.ChildAt(row), child));
    }

    doubles::PageHarness h;
};

} // namespace librarytest
