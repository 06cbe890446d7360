#include "downloads/download_manager.h"

#include "app/page_controls.h"
#include "app/product_messages.h"
#include "bridge/chrome_animator.h"
#include "browser/tab_set.h"
#include "downloads/download_colors.h"
#include "downloads/download_names.h"
#include "downloads/toast_notifications.h"

namespace {

constexpr const char* ImageExtensions[] = {".jpg", ".jpeg", ".png", ".gif", ".bmp", ".tif"};

} // namespace

DownloadManager::DownloadManager(const PageControls& controls, platform::PlatformServices& services,
                                 ChromeAnimator& chrome, TabSet& tabs, ProductMessages& messages,
                                 ToastNotifications& toasts, TimerControl timerControl)
    : m_controls(controls), m_services(services), m_chrome(chrome), m_tabs(tabs), m_messages(messages),
      m_toasts(toasts), m_timerControl(std::move(timerControl))
{
    // The folder box is the user's to read, not to type in.
    m_controls.wDownloadFolderBox->TextChanged.Subscribe([this](ui::Element&) {
        auto& box = *m_controls.wDownloadFolderBox;
        std::string shown = m_downloadFolder.value_or(m_shownDownloadsFolder);
        if (box.Text() != shown)
            box.SetText(shown);
    });
}

// Dropping the operations stops their transfers; the platform deletes what did not finish.
DownloadManager::~DownloadManager() = default;

void DownloadManager::PrepareDownload(const std::string& address)
{
    auto* view = m_tabs.CurrentWebView();
    if (!view) {
        NameTheFile(address, FileNameFromAddress(address));
        return;
    }
    view->InvokeScriptAsync("eval", {GetFileNameScript(address)});
    // The page may have gone, or refuse the script: the same rule then names the file.
    view->InvokeScriptAsync("getFileName", {}, [this, address](std::optional<std::string> name) {
        NameTheFile(address, name ? *name : FileNameFromAddress(address));
    });
}

void DownloadManager::NameTheFile(const std::string& address, const std::string& name)
{
    m_pendingDownloadAddress = address;
    m_controls.wDownloadNameBox->SetText(ProposedName(name));
    if (!m_downloadFolder) {
        m_shownDownloadsFolder = m_services.Downloads.Files.DownloadsFolderPath();
        m_controls.wDownloadFolderBox->SetText(m_shownDownloadsFolder);
    }
    m_chrome.OpenPanel(&OpenFlags::DownloadDialog);
}

void DownloadManager::SaveImageButton_Click(ui::Element&)
{
    auto* view = m_tabs.CurrentWebView();
    auto uri = view ? platform::Uri::Parse(view->Source()) : std::nullopt;
    if (uri) {
        auto extension = uri->Extension();
        for (const char* image : ImageExtensions) {
            if (extension == image) {
                PrepareDownload(uri->AbsoluteUri());
                return;
            }
        }
    }
    m_messages.Show(m_services.Strings.GetString("wMessageBox_NoImageLink"));
}

void DownloadManager::DownloadFolderButton_Click(ui::Element&)
{
    m_services.Downloads.Folders.PickSingleFolder([this](std::optional<std::string> path) {
        if (!path)
            return;
        m_downloadFolder = *path;
        m_controls.wDownloadFolderBox->SetText(*path);
    });
}

void DownloadManager::DownloadStartButton_Click(ui::Element&)
{
    StartDownload();
}

void DownloadManager::StartDownload()
{
    auto& strings = m_services.Strings;
    if (m_slots[MaxSlots].Operation) {
        m_messages.Show(strings.GetString("wMessageBox_MaxDownload"));
        return;
    }
    int n = 1;
    while (m_slots[n].Operation)
        ++n;
    std::string name = m_controls.wDownloadNameBox->Text();
    // Refused names leave the dialog open for another try.
    if (!IsValidDownloadName(name)) {
        m_messages.Show(strings.GetString("wMessageBox_InvalidFileName"));
        return;
    }
    auto uri = platform::Uri::Parse(m_pendingDownloadAddress);
    if (!uri || (uri->Scheme() != "http" && uri->Scheme() != "https")) {
        m_messages.Show(strings.GetString("wMessageBox_InvalidLink"));
        return;
    }
    std::string folder = m_downloadFolder ? *m_downloadFolder : m_services.Downloads.Files.DownloadsFolderPath();
    auto created = m_services.Downloads.Files.CreateUniqueFile(folder, name);
    if (!created.File) {
        m_messages.Show(strings.GetString("wMessageBox_DownloadFolderError") + " \"" + folder + "\": " +
                        created.Error);
        return;
    }
    m_slots[n].Operation = m_services.Downloads.Transfers.StartDownload(*uri, std::move(created.File));
    m_slots[n].ErrorTold = false;
    m_messages.Show(strings.GetString("wMessageBox_StartDownload") + " \"" + name + "\".");
    m_chrome.CloseAll();
    m_timerControl("Download", "Start");
    m_downloadListBuilt = false;
    ++m_activeDownloadCount;
}

void DownloadManager::DownloadTimer_Tick()
{
    for (int n = 1; n <= MaxSlots; ++n) {
        auto& slot = m_slots[n];
        if (!slot.Operation)
            continue;
        auto progress = slot.Operation->Progress();
        auto status = platform::StatusName(progress.Status);
        if (status == "Running" && m_chrome.Flags().Downloads)
            RefreshRow(slot, progress);
        else if (status == "Error" && !slot.ErrorTold)
            ShowFailure(slot, progress);
        progress = slot.Operation->Progress();
        if (platform::StatusName(progress.Status) == "Completed")
            Complete(n, progress);
        if (!m_downloadListBuilt) {
            m_downloadListBuilt = true;
            BuildDownloadsPanel();
        }
    }
    if (m_activeDownloadCount == 0)
        m_timerControl("Download", "Stop");
}

void DownloadManager::ShowFailure(Slot& slot, const platform::TransferProgress& progress)
{
    slot.ErrorTold = true;
    ApplyRowState(slot, progress);
    m_toasts.ShowToast(m_services.Strings.GetString("wToast_Interromped_Title"),
                       QuotedName(slot) + " " + FailureReason(progress));
}

std::string DownloadManager::FailureReason(const platform::TransferProgress& progress) const
{
    auto& strings = m_services.Strings;
    switch (progress.Failure) {
    case platform::TransferFailure::Server:
        return strings.GetString("wDownload_Error_Server") + " " + std::to_string(progress.HttpStatus);
    case platform::TransferFailure::DiskFull: return strings.GetString("wDownload_Error_DiskFull");
    case platform::TransferFailure::Write: return strings.GetString("wDownload_Error_Write");
    case platform::TransferFailure::Connection:
    case platform::TransferFailure::None: break;
    }
    return strings.GetString("wDownload_Error_Connection");
}

std::string DownloadManager::QuotedName(const Slot& slot) const
{
    return "\"" + slot.Operation->ResultFile().Name() + "\"";
}

void DownloadManager::Complete(int n, const platform::TransferProgress& progress)
{
    auto& slot = m_slots[n];
    m_toasts.ShowToast(m_services.Strings.GetString("wToast_CompleteDownload_Title"),
                       QuotedName(slot) + " " + m_services.Strings.GetString("wToast_CompleteDownload_Text"));
    auto total = std::to_string(progress.BytesReceived >> 20);
    Retire(n, {.Name = slot.Operation->ResultFile().Name(),
               .Size = total + " MB / " + total + " MB",
               .Percent = m_services.Strings.GetString("wDown_Percent_Finished"),
               .PercentColor = ui::Color::FromArgb(255, 144, 144, 144),
               .BarColor = FinishedColor,
               .BarValue = 100});
    --m_activeDownloadCount;
    BuildDownloadsPanel();
}

void DownloadManager::Retire(int n, FinishedEntry entry)
{
    int f = 1;
    while (f <= MaxFinished && m_finished[f])
        ++f;
    if (f > MaxFinished) {
        // All fifty taken: the oldest makes room.
        for (int i = 1; i < MaxFinished; ++i)
            m_finished[i] = std::move(m_finished[i + 1]);
        f = MaxFinished;
    }
    m_finished[f] = std::move(entry);
    m_slots[n].Operation.reset();
    m_slots[n].Row = {};
}

void DownloadManager::PauseButton_Click(ui::Element& sender)
{
    int n = sender.Tag().value_or(0);
    if (n < 1 || n > MaxSlots || !m_slots[n].Operation)
        return;
    auto& slot = m_slots[n];
    auto status = platform::StatusName(slot.Operation->Progress().Status);
    if (status == "Running") {
        slot.Operation->Pause();
        ApplyRowState(slot, slot.Operation->Progress());
        m_toasts.ShowToast(m_services.Strings.GetString("wToast_Interromped_Title"),
                           QuotedName(slot) + " " + m_services.Strings.GetString("wToast_PauseDownload_Text"));
    } else if (status == "PausedByApplication" || status == "Error") {
        // After a failure the same button retries from where the file ends.
        slot.Operation->Resume();
        slot.ErrorTold = false;
        auto progress = slot.Operation->Progress();
        ApplyRowState(slot, progress);
        RefreshRow(slot, progress);
    }
}

void DownloadManager::CancelButton_Click(ui::Element& sender)
{
    int n = sender.Tag().value_or(-1);
    m_selectedDownloadIndex = n;
    auto& strings = m_services.Strings;
    if (n < 1 || n > MaxSlots || !m_slots[n].Operation) {
        m_messages.Show(strings.GetString("wMessageBox_DownloadCanceled"));
        return;
    }
    auto* operation = m_slots[n].Operation.get();
    if (platform::StatusName(operation->Progress().Status) == "Completed") {
        m_messages.Show(strings.GetString("wMessageBox_DownloadConclued"));
        return;
    }
    // The answer applies to this download, whatever was clicked meanwhile.
    m_messages.Ask(strings.GetString("wMessageBox_AlertDownloadCancel"), strings.GetString("wMessageBox_Yes"),
                   strings.GetString("wMessageBox_No"), [this, n, operation] { ConfirmCancel(n, operation); });
}

void DownloadManager::ConfirmCancel(int n, const platform::DownloadOperation* operation)
{
    auto& slot = m_slots[n];
    // Finished or replaced while the question was open: nothing to cancel.
    if (slot.Operation.get() != operation ||
        platform::StatusName(slot.Operation->Progress().Status) == "Completed")
        return;
    auto progress = slot.Operation->Progress();
    slot.Operation->Cancel();
    auto& strings = m_services.Strings;
    std::string size = slot.Row.Size ? slot.Row.Size->Text()
                                     : std::to_string(progress.BytesReceived >> 20) + " MB / " +
                                           std::to_string(progress.TotalBytesToReceive >> 20) + " MB";
    if (slot.Row.Cancel)
        slot.Row.Cancel->SetTag(-1);
    m_toasts.ShowToast(strings.GetString("wToast_Interromped_Title"),
                       QuotedName(slot) + " " + strings.GetString("wToast_CancelDownload_Text"));
    bool paused = platform::StatusName(progress.Status) == "PausedByApplication";
    Retire(n, {.Name = slot.Operation->ResultFile().Name(),
               .Size = size,
               .Percent = strings.GetString("wDownload_Progress_Canceled/Text"),
               .PercentColor = DarkRed,
               .BarColor = paused ? PausedColor : RunningColor,
               .BarValue = 100});
    --m_activeDownloadCount;
    BuildDownloadsPanel();
}
