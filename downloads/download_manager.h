#pragma once
// The download manager: up to ten transfers side by side in slots 1..10, up
// to fifty finished entries, the downloads panel that shows both, and the
// download dialog that starts a transfer. Progress is polled: the download
// timer's tick reads every running transfer.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/ui/element.h"

struct PageControls;
class ChromeAnimator;
class ProductMessages;
class TabSet;
class ToastNotifications;

class DownloadManager {
public:
    static constexpr int MaxSlots = 10;
    static constexpr int MaxFinished = 50;
    using TimerControl = std::function<void(const std::string& timer, const std::string& command)>;

    DownloadManager(const PageControls& controls, platform::PlatformServices& services, ChromeAnimator& chrome,
                    TabSet& tabs, ProductMessages& messages, ToastNotifications& toasts, TimerControl timerControl);
    ~DownloadManager();
    DownloadManager(const DownloadManager&) = delete;
    DownloadManager& operator=(const DownloadManager&) = delete;

    // The file-name flow: proposes a name for `address` and opens the dialog.
    void PrepareDownload(const std::string& address);
    void SaveImageButton_Click(ui::Element& sender);
    void DownloadStartButton_Click(ui::Element& sender);
    void DownloadFolderButton_Click(ui::Element& sender);
    void OpenDownloadsPanel();
    void BuildDownloadsPanel();
    void DownloadTimer_Tick();
    void PauseButton_Click(ui::Element& sender);
    void CancelButton_Click(ui::Element& sender);

    int32_t ActiveDownloadCount() const { return m_activeDownloadCount; }
    bool DownloadListBuilt() const { return m_downloadListBuilt; }
    int32_t SelectedDownloadIndex() const { return m_selectedDownloadIndex; }
    const std::optional<std::string>& DownloadFolder() const { return m_downloadFolder; }
    const std::string& PendingDownloadAddress() const { return m_pendingDownloadAddress; }

private:
    // A running row's controls, while the panel shows them.
    struct RowControls {
        ui::TextBlock* Name = nullptr;
        ui::Button* Cancel = nullptr;
        ui::Button* Pause = nullptr;
        ui::ProgressBar* Bar = nullptr;
        ui::TextBlock* Size = nullptr;
        ui::TextBlock* Percent = nullptr;
    };
    struct Slot {
        std::unique_ptr<platform::DownloadOperation> Operation; // occupied while set
        RowControls Row;
        bool ErrorTold = false; // the failure toast went out
    };
    // What a finished row shows; rebuilt into controls with the panel.
    struct FinishedEntry {
        std::string Name;
        std::string Size;
        std::string Percent;
        ui::Color PercentColor;
        ui::Color BarColor;
        double BarValue = 0;
    };

    void NameTheFile(const std::string& address, const std::string& name);
    void StartDownload();
    void RefreshRow(Slot& slot, const platform::TransferProgress& progress);
    void ShowFailure(Slot& slot, const platform::TransferProgress& progress);
    void ApplyRowState(Slot& slot, const platform::TransferProgress& progress);
    void Complete(int n, const platform::TransferProgress& progress);
    void ConfirmCancel(int n, const platform::DownloadOperation* operation);
    // Moves slot n's row into the lowest empty finished entry (the oldest
    // entry goes when all fifty are filled) and frees the slot.
    void Retire(int n, FinishedEntry entry);
    void AppendRunningRow(int n);
    void AppendFinishedRow(int f);
    std::string FailureReason(const platform::TransferProgress& progress) const;
    std::string QuotedName(const Slot& slot) const;

    const PageControls& m_controls;
    platform::PlatformServices& m_services;
    ChromeAnimator& m_chrome;
    TabSet& m_tabs;
    ProductMessages& m_messages;
    ToastNotifications& m_toasts;
    TimerControl m_timerControl;

    std::array<Slot, MaxSlots + 1> m_slots;                        // 1..10
    std::array<std::optional<FinishedEntry>, MaxFinished + 1> m_finished; // 1..50
    int32_t m_activeDownloadCount = 0;
    bool m_downloadListBuilt = false;
    int32_t m_selectedDownloadIndex = 0;
    std::optional<std::string> m_downloadFolder;
    std::string m_pendingDownloadAddress;
    // The Downloads folder the folder box shows until the user picks one.
    std::string m_shownDownloadsFolder;
};
