#pragma once
// Test doubles of the platform services: they record what the system asked
// and let a test answer dialogs, fire ticks and fix the clock.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

namespace doubles {

class FakeResources : public platform::Resources {
public:
    FakeResources();  // a small table with the keys the page uses
    std::optional<std::string> TryGetString(const std::string& key) const override;
    std::map<std::string, std::string> Table;
};

struct ShownDialog {
    std::string Content;
    std::string Title;
    std::vector<std::string> Commands;
    std::function<void(const std::string&)> OnCommand;
    std::function<void()> OnClosed;
    bool Open = true;
};

class FakeDialogs : public platform::MessageDialogs {
public:
    void Show(const std::string& content, const std::string& title, const std::vector<std::string>& commands,
              std::function<void(const std::string&)> onCommand) override;
    void ShowTracked(const std::string& content, const std::string& title, const std::vector<std::string>& commands,
                     std::function<void(const std::string&)> onCommand, std::function<void()> onClosed) override;
    // Picks a command of the last dialog, as the user would; the dialog closes.
    void Answer(const std::string& label);
    // Closes the last dialog, or the one at index, without picking a command
    // (its close button, Escape).
    void Dismiss();
    void Dismiss(size_t index);
    // The dialogs shown and not yet answered or closed.
    size_t OpenCount() const;
    std::vector<ShownDialog> Shown;
};

class ManualTimer : public platform::DispatcherTimer {
public:
    explicit ManualTimer(std::function<void()> tick) : Tick(std::move(tick)) {}
    void Start() override { Enabled = true; }
    void Stop() override { Enabled = false; }
    bool IsEnabled() const override { return Enabled; }
    std::function<void()> Tick;
    bool Enabled = false;
};

class ManualTimers : public platform::DispatcherTimers {
public:
    std::unique_ptr<platform::DispatcherTimer> Create(std::function<void()> tick) override;
    // Ticks every running timer n times, in creation order.
    void TickAll(int n = 1);
    std::vector<ManualTimer*> Created; // owned by their creators
};

class FakeApplicationView : public platform::ApplicationView {
public:
    ui::Rect VisibleBounds() const override { return Bounds; }
    void ExtendViewIntoTitleBar(ui::Element& dragArea) override { TitleBarElement = &dragArea; }
    void SetTitleBarColors(const platform::TitleBarColors& colors) override { Colors = colors; }
    bool TryEnterFullScreenMode() override { FullScreen = true; ++FullScreenRequests; return true; }
    void ExitFullScreenMode() override { FullScreen = false; }
    void Exit() override { ++ExitCalls; }
    void Resize(double width, double height) { Bounds = {0, 0, width, height}; SizeChanged(); }
    // A key press as the window reports it; true when the browser took it.
    bool Press(platform::Shortcut key) { bool handled = false; ShortcutPressed(key, handled); return handled; }
    bool Back() { bool handled = false; BackRequested(handled); return handled; }

    ui::Rect Bounds{0, 0, 1024, 768};
    ui::Element* TitleBarElement = nullptr;
    std::optional<platform::TitleBarColors> Colors;
    bool FullScreen = false;
    int FullScreenRequests = 0;
    int ExitCalls = 0;
};

class FakeSystemInfo : public platform::SystemInfo {
public:
    bool IsTypePresent(const std::string& typeName) const override { return Phone && typeName == "Windows.UI.ViewManagement.StatusBar"; }
    std::string DeviceFamily() const override { return Phone ? "Windows.Mobile" : "Windows.Desktop"; }
    platform::PackageVersion Version() const override { return PackageVersion; }
    std::string LocalFolderPath() const override { return Folder; }
    void HideStatusBar() override { ++StatusBarHides; }
    std::optional<ui::Color> AccentColor() const override { ++AccentReads; return Accent; }
    bool Phone = false;
    std::optional<ui::Color> Accent;
    mutable int AccentReads = 0;
    int StatusBarHides = 0;
    platform::PackageVersion PackageVersion{1, 2, 3, 4};
    std::string Folder;
};

class FakeClipboard : public platform::Clipboard {
public:
    void SetText(const std::string& text) override { Texts.push_back(text); }
    // Every text put on the clipboard, in order.
    std::vector<std::string> Texts;
};

// Launches and support queries wait until the test answers them, as the
// desktop's do: later, on the UI thread.
class FakeLauncher : public platform::Launcher {
public:
    using Status = platform::LaunchQuerySupportStatus;
    void LaunchUriAsync(const std::string& uri, std::function<void(bool)> done) override
    {
        Launched.push_back(uri);
        PendingLaunches.push_back(std::move(done));
    }
    void QueryUriSupportAsync(const std::string& uri, const std::string& family,
                              std::function<void(Status)> done) override
    {
        Queries.push_back(uri + " " + family);
        PendingQueries.push_back(std::move(done));
    }
    void AnswerLaunches(bool launched) { Answer(PendingLaunches, launched); }
    void AnswerQueries(bool installed) { Answer(PendingQueries, installed ? Status::Available : Status::AppNotInstalled); }
    template <typename Pending, typename Value>
    static void Answer(Pending& pending, Value value)
    {
        for (auto& done : std::exchange(pending, {}))
            if (done)
                done(value);
    }
    std::vector<std::string> Launched, Queries;
    std::vector<std::function<void(bool)>> PendingLaunches;
    std::vector<std::function<void(Status)>> PendingQueries;
};

struct FakeTiles : platform::SecondaryTiles {
    bool RequestCreate(const platform::SecondaryTile& tile) override { Requests.push_back(tile); return Succeeds; }
    bool Succeeds = true;
    std::vector<platform::SecondaryTile> Requests;
};

struct FakeStore : platform::Store {
    void RequestProductPurchaseAsync(const std::string&, std::function<void(platform::PurchaseStatus)> done) override
    {
        done(Answer);
    }
    platform::PurchaseStatus Answer = platform::PurchaseStatus::Unavailable;
};

struct FixedLanguage : platform::Language {
    std::string CurrentInputMethodLanguageTag() const override { return "pt-BR"; }
};

class FixedCalendar : public platform::Calendar {
public:
    platform::CalendarNow Now() const override { return Current; }
    platform::CalendarNow Current{5, 3, 7, 9, 2026};
};

} // namespace doubles
