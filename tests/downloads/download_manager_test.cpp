// The download manager through the page, on doubles that make real files in
// a temporary Downloads folder.
#include <filesystem>

#include <gtest/gtest.h>

#include "downloads/download_names.h"
#include "tests/doubles/page_harness.h"

namespace {

namespace fs = std::filesystem;
using enum platform::TransferStatus;

constexpr uint64_t MiB = 1 << 20;
const ui::Color DarkRed = ui::Color::FromRgb(139, 0, 0);
const std::string PauseGlyph = "\xEE\x84\x83", ResumeGlyph = "\xEE\x84\x82";
// Quotes, markup characters, Greek, CJK and emoji: byte-exact on disk, escaped in a toast.
const std::string Name = "\"<&> \xCE\xB1 \xE6\xBC\xA2 \xF0\x9F\x98\x80.jpg";
const std::string Escaped = "\"&lt;&amp;&gt; \xCE\xB1 \xE6\xBC\xA2 \xF0\x9F\x98\x80.jpg";

class Downloads : public ::testing::Test {
protected:
    void SetUp() override { h.Start("http://start.example/"); }
    DownloadManager& m() { return h.Downloads(); }
    doubles::FakeWebView& Tab() { return *static_cast<doubles::FakeWebView*>(h.Tabs().CurrentWebView()); }
    // The dialog for `address`, named by the page's script, confirmed with `name`.
    void Start(const std::string& name, const std::string& address = "http://files.example/f.bin")
    {
        m().PrepareDownload(address);
        Tab().Scripts.back().Done(FileNameFromAddress(address));
        h.Controls().wDownloadNameBox->SetText(name);
        h.Click("wDownloadStartButton");
    }
    doubles::FakeTransfer& Transfer(size_t i) { return *h.Downloader.Started.at(i); }
    void Set(size_t i, uint64_t received, uint64_t total, platform::TransferStatus status = Running)
    {
        Transfer(i).Progress = {received, total, status};
        m().DownloadTimer_Tick();
    }
    ui::Element* Row(const std::string& name) const
    {
        auto& panel = *h.Controls().DownloadsListPanel;
        for (size_t i = 0; i < panel.Count(); ++i)
            if (panel.ChildAt(i).Name() == name)
                return &panel.ChildAt(i);
        return nullptr;
    }
    // What the panel shows of slot or entry n: "size percent" for a kind of
    // row, and the pause glyph of a running one.
    std::string Shown(const std::string& kind, int n) const
    {
        auto text = [&](const std::string& part) {
            auto* t = dynamic_cast<ui::TextBlock*>(Row(kind + part + "_" + std::to_string(n)));
            return t ? t->Text() : "";
        };
        auto* pause = dynamic_cast<ui::Button*>(Row(kind + "Pause_" + std::to_string(n)));
        return text("Size") + " " + text("Percent") + (pause ? " " + pause->Content() : "");
    }
    ui::Brush Colour(const std::string& name) const { return Row(name)->Foreground(); }
    void Click(const std::string& name) { dynamic_cast<ui::Button&>(*Row(name)).RaiseClick(); }
    // The last toast holds the title, when given, and the message.
    bool Toasted(const std::string& message, const char* title = nullptr) const
    {
        auto text = (title ? "<text>" + S(title) + "</text>" : "") + "<text>" + message + "</text>";
        return !h.Toasts.Markups.empty() && h.Toasts.Markups.back().find(text) != std::string::npos;
    }
    std::string S(const char* key) const { return h.Strings.GetString(key); }

    doubles::PageHarness h;
};

TEST_F(Downloads, ContentTheViewCannotShowGoesThroughTheDialogAndItsRowToAFinishedEntry)
{
    Tab().IdentifyUnviewableContent("http://files.example/dir/photo.jpg?size=2#top", "image/jpeg");
    Tab().Scripts.back().Done("photo.jpg");
    EXPECT_EQ(h.Controls().wDownloadNameBox->Text(), "photo.jpg");
    EXPECT_EQ(h.Controls().wDownloadFolderBox->Text(), h.DownloadFiles.Downloads);
    // The folder picker: dismissed changes nothing, a pick is where the file goes.
    h.Click("wDownloadFolderButton");
    h.FolderPicker.Pending(std::nullopt);
    EXPECT_EQ(h.Controls().wDownloadFolderBox->Text(), h.DownloadFiles.Downloads);
    h.Click("wDownloadFolderButton");
    h.FolderPicker.Pending(h.Folder.Path().string());
    h.Controls().wDownloadNameBox->SetText(Name);
    h.Click("wDownloadStartButton");
    EXPECT_EQ(h.LastDialog(), S("wMessageBox_StartDownload") + " \"" + Name + "\".");
    EXPECT_TRUE(fs::exists(h.Folder.Path() / Name));
    EXPECT_EQ(Transfer(0).Source, "http://files.example/dir/photo.jpg?size=2#top");

    // The menu's entry opens the panel and builds it; the tick refreshes the running row.
    ui::Button entry;
    entry.SetTag(ChromeAnimator::DownloadsEntry);
    h.Chrome().PanelEntry_Click(entry);
    Set(0, 3 * MiB + 5, 10 * MiB);
    EXPECT_EQ(Shown("wDownloadRow", 1), "3 MB / 10 MB 30% " + PauseGlyph);
    Set(0, 10 * MiB, 10 * MiB, Completed);
    EXPECT_TRUE(Toasted("\"" + Escaped + "\" " + S("wToast_CompleteDownload_Text"), "wToast_CompleteDownload_Title"));
    EXPECT_EQ(Shown("wDownloadDone", 1), "10 MB / 10 MB " + S("wDown_Percent_Finished"));
    EXPECT_FALSE(h.Timers.Created.at(1)->Enabled) << "no download left";
}

TEST_F(Downloads, RowsKeepTheirStateThroughARebuildAndACancelActsOnTheDownloadItAskedFor)
{
    Start("small.txt");
    Start("stream.bin");
    m().OpenDownloadsPanel();
    Transfer(0).Progress = {500 * 1024, 900 * 1024, Running}; // under a MiB: 0 MB of 0 MB, not 55 %
    Set(1, 7 * MiB, 0);
    EXPECT_EQ(Shown("wDownloadRow", 1), "0 MB / 0 MB 0% " + PauseGlyph);
    EXPECT_EQ(Shown("wDownloadRow", 2), "7 MB / 0 MB 0% " + PauseGlyph);
    Click("wDownloadRowPause_1");
    EXPECT_TRUE(Toasted("\"small.txt\" " + S("wToast_PauseDownload_Text")));
    Transfer(1).Progress = {MiB, 0, Error, platform::TransferFailure::Server, 404};
    m().DownloadTimer_Tick();
    m().DownloadTimer_Tick();
    EXPECT_EQ(h.Toasts.Markups.size(), 2u) << "one toast for the failure, not one a tick";
    EXPECT_TRUE(Toasted("\"stream.bin\" " + S("wDownload_Error_Server") + " 404", "wToast_Interromped_Title"));
    m().BuildDownloadsPanel();
    EXPECT_EQ(Shown("wDownloadRow", 1), "0 MB / 0 MB 0% " + ResumeGlyph);
    EXPECT_EQ(Colour("wDownloadRowBar_1"), ui::Color::FromRgb(154, 205, 50));
    EXPECT_EQ(Shown("wDownloadRow", 2), "1 MB / 0 MB " + S("wDownload_Progress_Failed/Text") + " " + ResumeGlyph);
    EXPECT_EQ(Colour("wDownloadRowPercent_2"), DarkRed);
    Click("wDownloadRowPause_1");
    Click("wDownloadRowPause_2"); // a retry
    EXPECT_EQ(Transfer(0).Progress.Status, Running);
    EXPECT_EQ(Shown("wDownloadRow", 2), "1 MB / 0 MB 0% " + PauseGlyph);
    EXPECT_EQ(Colour("wDownloadRowBar_1"), ui::Color::FromArgb(255, 0, 112, 227));

    // The yes to slot 1's question, given after slot 2's cancel was clicked, cancels slot 1.
    Click("wDownloadRowCancel_1");
    Click("wDownloadRowCancel_2");
    EXPECT_EQ(m().SelectedDownloadIndex(), 2);
    h.Dialogs.Answer(S("wMessageBox_Yes"));
    EXPECT_FALSE(fs::exists(Transfer(0).File->Path()));
    EXPECT_EQ(Transfer(1).Progress.Status, Running);
    EXPECT_TRUE(Toasted("\"small.txt\" " + S("wToast_CancelDownload_Text"), "wToast_Interromped_Title"));
    EXPECT_EQ(Shown("wDownloadDone", 1), "0 MB / 0 MB " + S("wDownload_Progress_Canceled/Text"));
    // Slot 2 completes while its question is open, before a tick saw it: the late yes leaves it alone.
    Click("wDownloadRowCancel_2");
    Transfer(1).Progress = {2, 2, Completed};
    h.Dialogs.Answer(S("wMessageBox_Yes"));
    m().DownloadTimer_Tick();
    EXPECT_TRUE(fs::exists(Transfer(1).File->Path()));
    EXPECT_EQ(Shown("wDownloadDone", 2), "0 MB / 0 MB " + S("wDown_Percent_Finished"));
}

TEST_F(Downloads, RefusedNamesAddressesAndFoldersMakeNoFileAndTakeNoSlot)
{
    const std::pair<std::string, std::string> refused[] = {
        {"", "http://a.example/x"}, {".", "http://a.example/x"}, {"..", "http://a.example/x"},
        {"../up", "http://a.example/x"}, {std::string(256, 'a'), "http://a.example/x"},
        {"x.bin", "file:///etc/passwd"}, {"x.bin", "not an address"},
    };
    for (const auto& [name, address] : refused) {
        Start(name, address);
        EXPECT_EQ(h.LastDialog(), S(address.starts_with("http") ? "wMessageBox_InvalidFileName" : "wMessageBox_InvalidLink"))
            << name << " " << address;
        EXPECT_TRUE(h.Chrome().Flags().DownloadDialog) << "the dialog stays for another try";
    }
    h.DownloadFiles.Error = "Permission denied";
    Start("x.bin");
    EXPECT_EQ(h.LastDialog(), S("wMessageBox_DownloadFolderError") + " \"" + h.DownloadFiles.Downloads + "\": Permission denied");
    EXPECT_TRUE(fs::is_empty(h.DownloadFiles.Downloads));
    EXPECT_TRUE(h.Downloader.Started.empty());
    EXPECT_EQ(m().ActiveDownloadCount(), 0);
}

TEST_F(Downloads, TenSlotsAtMostAndTheFiftyFirstFinishedEntryDropsTheOldest)
{
    for (int i = 1; i <= 11; ++i)
        Start("f" + std::to_string(i));
    EXPECT_EQ(h.LastDialog(), S("wMessageBox_MaxDownload"));
    EXPECT_EQ(h.Downloader.Started.size(), 10u);
    for (size_t i = 0; i < 10; ++i)
        Set(i, 1, 1, Completed);
    Start("s1");
    Start("s2");
    Set(10, 1, 1, Completed);
    // Slot 1 free, slot 2 running: the heading says downloads run.
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(h.Controls().DownloadsListPanel->ChildAt(0)).Text(),
              S("wDownload_Progress/Text"));
    for (size_t i = 12; i < 52; ++i) {
        Start("g" + std::to_string(i));
        Set(i, 1, 1, Completed);
    }
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(*Row("wDownloadDoneName_1")).Text(), "f2");
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(*Row("wDownloadDoneName_50")).Text(), "g51");
}

TEST_F(Downloads, SaveImageNamesTheFileByThePageScriptOrTheSameRuleInItsPlace)
{
    Tab().CompleteNavigation("http://img.example/p.png?a=1#f", "p.png");
    Tab().Scripts.clear();
    h.Click("SaveImageButton");
    EXPECT_EQ(Tab().Scripts.at(0).Arguments.at(0), GetFileNameScript("http://img.example/p.png?a=1#f"));
    Tab().Scripts.back().Done(std::nullopt); // the page refused the script
    EXPECT_EQ(h.Controls().wDownloadNameBox->Text(), "p.png");
    EXPECT_EQ(m().PendingDownloadAddress(), "http://img.example/p.png?a=1#f");
    Tab().CompleteNavigation("http://img.example/P.PNG", "P.PNG");
    h.Click("SaveImageButton");
    EXPECT_EQ(h.LastDialog(), S("wMessageBox_NoImageLink"));
    // The pop-up's entry on a right-clicked image runs the same flow on the image's address.
    Tab().CallAllowedObject("wScriptNotify", "wContextMenu", {"http://img.example/q.jpg?x&GET_IMG"});
    Tab().ContextMenuGesture(Tab());
    h.Click("wContextPopup_SaveImage");
    Tab().Scripts.back().Done("\xCE\xB1" + std::string(300, 'q')); // a page's answer, too long to show
    EXPECT_EQ(m().PendingDownloadAddress(), "http://img.example/q.jpg?x");
    EXPECT_EQ(h.Controls().wDownloadNameBox->Text(), "\xCE\xB1" + std::string(253, 'q'));
    // The address enters the script as a literal that reads back as it was.
    EXPECT_NE(GetFileNameScript("http://a.example/it's\\\n\r\xE2\x80\xA8\xE2\x80\xA9").find(
                  "'http://a.example/it\\'s\\\\\\n\\r\\u2028\\u2029'"),
              std::string::npos);
}

} // namespace
