#include "tests/doubles/page_harness.h"

#include <fstream>
#include <random>
#include <sstream>

#include "browser/tab_set.h"
#include "storage/database.h"
#include "storage/schema.h"
#include "tests/doubles/raw_database.h"

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

namespace {
std::string ReadSourceFile(const std::string& relativePath)
{
    std::ifstream file(std::string(TOLVANE_SOURCE_DIR) + "/" + relativePath, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}
} // namespace

PageHarness::PageHarness()
    : Services{Dialogs, Strings, Timers, View, System, Clock, Browsers,
               [](const std::string& path) { return ReadSourceFile(path.substr(1)); }, Clipboard,
               {DownloadFiles, Downloader, FolderPicker, Toasts}, Launcher, Tiles, Store, Language}
{
    System.Folder = Folder.Path().string();
    DownloadFiles.Downloads = (Folder.Path() / "Downloads").string();
    std::filesystem::create_directories(DownloadFiles.Downloads);
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

void PageHarness::Execute(const std::string& file, const std::string& sql)
{
    rawdb::Execute(Folder.Path() / file, sql);
}

void PageHarness::StoreSetting(const std::string& table, const std::string& value)
{
    Execute(ConfigFile, "DELETE FROM " + table + "; INSERT INTO " + table + " VALUES ('" + value + "');");
}

std::string PageHarness::QueryText(const std::string& file, const std::string& sql)
{
    return rawdb::Rows(Folder.Path() / file, sql);
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
