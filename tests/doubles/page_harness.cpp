#include "tests/doubles/page_harness.h"

#include <fstream>
#include <random>
#include <sstream>

#include <sqlite3.h>

#include "browser/tab_set.h"
#include "storage/database.h"

namespace doubles {

TempFolder::TempFolder()
{
    std::random_device random;
    m_path = std::filesystem::temp_directory_path() / ("tolvane-test-" + std::to_string(random()));
    std::filesystem::create_directories(m_path);
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

std::string ReadSourceFile(const std::string& relativePath)
{
    std::ifstream file(std::string(TOLVANE_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

PageHarness::PageHarness()
    : Services{Dialogs, Strings, Timers, View, System, Clock, Browsers,
               [](const std::string& path) { return ReadSourceFile(path.substr(1)); }, Clipboard}
{
    System.Folder = Folder.Path().string();
}

PageHarness::~PageHarness()
{
    Stop();
}

MainPage& PageHarness::Start(const std::string& launchAddress)
{
    Process.LaunchAddress = launchAddress;
    m_page = std::make_unique<MainPage>(Services, Process);
    return *m_page;
}

void PageHarness::Stop()
{
    m_page.reset();
    for (int id : {FavoritesDb, HistoryDb, ConfigDb})
        CloseDatabase(static_cast<DatabaseId>(id));
    Process = {};
}

namespace {
struct Connection {
    explicit Connection(const std::filesystem::path& path) { sqlite3_open(path.c_str(), &db); }
    ~Connection() { sqlite3_close(db); }
    sqlite3* db = nullptr;
};
} // namespace

void PageHarness::Execute(const std::string& file, const std::string& sql)
{
    Connection c(Folder.Path() / file);
    sqlite3_exec(c.db, sql.c_str(), nullptr, nullptr, nullptr);
}

std::string PageHarness::QueryText(const std::string& file, const std::string& sql)
{
    Connection c(Folder.Path() / file);
    sqlite3_stmt* statement = nullptr;
    std::string result;
    if (sqlite3_prepare_v2(c.db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        if (auto* text = sqlite3_column_text(statement, 0))
            result = reinterpret_cast<const char*>(text);
    }
    sqlite3_finalize(statement);
    return result;
}

int PageHarness::QueryInteger(const std::string& file, const std::string& sql)
{
    auto text = QueryText(file, sql);
    return text.empty() ? -1 : std::stoi(text);
}

FakeWebView* PageHarness::Tab(int slot) const
{
    return static_cast<FakeWebView*>(Process.Tabs.at(slot).WebView);
}

int PageHarness::TabCount() const
{
    int count = 0;
    for (const auto& slot : Process.Tabs)
        count += slot.WebView != nullptr;
    return count;
}

void PageHarness::Click(const std::string& buttonName)
{
    m_page->Markup().Get<ui::Button>(buttonName).RaiseClick();
}

void PageHarness::Enter(const std::string& text)
{
    auto& box = *Controls().AdressBox;
    box.SetText(text);
    ui::KeyEventArgs enter{13};
    box.KeyDown(box, enter);
}

} // namespace doubles
