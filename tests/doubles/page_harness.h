#pragma once
// A page built with doubles on a fresh local folder: what each start-up and
// browsing test begins from.
#include <filesystem>
#include <memory>
#include <string>

#include "app/main_page.h"
#include "app/page_controls.h"
#include "app/process_state.h"
#include "bridge/bridge_host.h"
#include "bridge/chrome_animator.h"
#include "browser/find_bar.h"
#include "browser/security_mark.h"
#include "browser/tab_set.h"
#include "downloads/download_manager.h"
#include "tests/doubles/fake_downloads.h"
#include "library/favorites_panel.h"
#include "library/history_panel.h"
#include "services/companion_check.h"
#include "services/rating_prompt.h"
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

class PageHarness {
public:
    PageHarness();
    ~PageHarness();

    // Builds the page (the whole start-up) with the given launch address.
    MainPage& Start(const std::string& launchAddress = "");
    // Drops the page and the process state, keeping the files: the next run.
    void Stop();
    MainPage& Page() { return *m_page; }

    // Runs a statement on one of the files outside the page; a setting's one row replaced.
    void Execute(const std::string& file, const std::string& sql);
    void StoreSetting(const std::string& table, const std::string& value);
    std::string QueryText(const std::string& file, const std::string& sql);
    int QueryInteger(const std::string& file, const std::string& sql);

    // The web view of a tab slot (null when the slot is empty).
    FakeWebView* Tab(int slot) const;
    const TabSlot& Slot(int slot) const { return Process.Tabs.at(slot); }
    int TabCount() const;
    // The page's named controls, and a user's click on a named button.
    const PageControls& Controls() const { return *m_page->m_controls; }
    void Click(const std::string& buttonName);
    std::string LastDialog() const { return Dialogs.Shown.empty() ? "" : Dialogs.Shown.back().Content; }
    // Enter in the address box with this text in it.
    void Enter(const std::string& text);

    // The components, as the page wires them.
    TabSet& Tabs() { return *m_page->m_tabs; }
    ChromeAnimator& Chrome() { return *m_page->m_chrome; }
    BridgeHost& Bridge() { return *m_page->m_bridge; }
    DownloadManager& Downloads() { return *m_page->m_downloads; }
    FavoritesPanel& Favorites() { return *m_page->m_favorites; }
    HistoryPanel& History() { return *m_page->m_history; }
    CompanionCheck& Companion() { return *m_page->m_companion; }
    RatingPrompt& Rating() { return *m_page->m_rating; }
    FindBar& Find() { return *m_page->m_find; }
    SecurityMark& Security() { return *m_page->m_securityMark; }

    TempFolder Folder;
    FakeDialogs Dialogs;
    FakeResources Strings;
    ManualTimers Timers;
    FakeApplicationView View;
    FakeSystemInfo System;
    FixedCalendar Clock;
    FakeWebViews Browsers;
    FakeClipboard Clipboard;
    FakeDownloadFiles DownloadFiles;
    FakeDownloader Downloader;
    FakeFolderPicker FolderPicker;
    FakeToastNotifier Toasts;
    FakeLauncher Launcher;
    FakeTiles Tiles;
    FakeStore Store;
    FixedLanguage Language;
    platform::PlatformServices Services;
    ProcessState Process;

private:
    std::unique_ptr<MainPage> m_page;
};

} // namespace doubles
