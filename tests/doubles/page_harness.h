#pragma once
// A page built with doubles on a fresh local folder: what each start-up and
// browsing test begins from.
#include <filesystem>
#include <memory>
#include <string>

#include "app/main_page.h"
#include "tests/doubles/fake_web_view.h"
#include "tests/doubles/services.h"

namespace doubles {

// A fresh, empty folder removed at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

std::string ReadSourceFile(const std::string& relativePath);

class PageHarness {
public:
    PageHarness();
    ~PageHarness();

    // Builds the page (the whole start-up) with the given launch address.
    MainPage& Start(const std::string& launchAddress = "");
    // Drops the page and the process state, keeping the files: the next run.
    void Stop();
    MainPage& Page() { return *m_page; }

    // Runs a statement on one of the files outside the page.
    void Execute(const std::string& file, const std::string& sql);
    std::string QueryText(const std::string& file, const std::string& sql);
    int QueryInteger(const std::string& file, const std::string& sql);

    // The web view of a tab slot (null when the slot is empty).
    FakeWebView* Tab(int slot) const;

    TempFolder Folder;
    FakeDialogs Dialogs;
    FakeResources Strings;
    ManualTimers Timers;
    FakeApplicationView View;
    FakeSystemInfo System;
    FixedCalendar Clock;
    FakeWebViews Browsers;
    FakeClipboard Clipboard;
    platform::PlatformServices Services;

private:
    std::unique_ptr<MainPage> m_page;
};

} // namespace doubles
