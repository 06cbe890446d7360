// The download manager through the page, on doubles that make real files in
// a temporary Downloads folder.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "downloads/download_names.h"
#include "downloads/toast_notifications.h"
#include "tests/doubles/page_harness.h"

namespace {

namespace fs = std::filesystem;
using platform::TransferFailure;
using platform::TransferStatus;

constexpr uint64_t MiB = 1 << 20;
const ui::Color DarkRed = ui::Color::FromRgb(139, 0, 0);

class Downloads : public ::testing::Test {
protected:
    void SetUp() override
    {
        h.Start();
        if (!Current())
            h.Tabs().OpenTab(*platform::Uri::Parse("http://start.example/"));
    }
    DownloadManager& m() { return h.Downloads(); }
    doubles::FakeWebView* Current() { return static_cast<doubles::FakeWebView*>(h.Tabs().CurrentWebView()); }
    // The dialog for `address`, named by the page's script, confirmed with `name`.
    void Start(const std::string& name, const std::string& address = "http://files.example/f.bin")
    {
        m().PrepareDownload(address);
        if (auto* tab = Current(); tab && !tab->Scripts.empty() && tab->Scripts.back().Function == "getFileName")
            tab->Scripts.back().Done(FileNameFromAddress(address));
        h.Controls().wDownloadNameBox->SetText(name);
        h.Click("wDownloadStartButton");
    }
    platform::TransferProgress& Progress(size_t i) { return h.Downloader.Started.at(i)->Progress; }
    void Set(size_t i, uint64_t received, uint64_t total, TransferStatus status = TransferStatus::Running)
    {
        Progress(i) = {received, total, status};
    }
    ui::Element* Row(const std::string& name) const
    {
        auto& panel = *h.Controls().DownloadsListPanel;
        for (size_t i = 0; i < panel.Count(); ++i)
            if (panel.ChildAt(i).Name() == name)
                return &panel.ChildAt(i);
        return nullptr;
    }
    std::string Text(const std::string& name) const
    {
        if (auto* t = dynamic_cast<ui::TextBlock*>(Row(name)))
            return t->Text();
        auto* b = dynamic_cast<ui::Button*>(Row(name));
        return b ? b->Content() : "<none>";
    }
    ui::Brush Colour(const std::string& name) const { return Row(name) ? Row(name)->Foreground() : ui::Brush{}; }
    void Click(const std::string& name) { dynamic_cast<ui::Button&>(*Row(name)).RaiseClick(); }
    std::string Said() const { return h.Dialogs.Shown.empty() ? "" : h.Dialogs.Shown.back().Content; }
    std::string Toast() const { return h.Toasts.Markups.empty() ? "" : h.Toasts.Markups.back(); }
    bool Toasted(const std::string& text) const { return Toast().find(text) != std::string::npos; }
    void Tick() { m().DownloadTimer_Tick(); }
    void AnswerYes(size_t dialog)
    {
        auto shown = h.Dialogs.Shown.at(dialog);
        h.Dialogs.Shown.at(dialog).Open = false;
        shown.OnCommand(h.Strings.GetString("wMessageBox_Yes"));
        if (shown.OnClosed)
            shown.OnClosed();
    }
    std::string S(const char* key) const { return h.Strings.GetString(key); }

    doubles::PageHarness h;
};

TEST_F(Downloads, ContentTheViewCannotShowGoesThroughTheDialogAndItsRowToAFinishedEntry)
{
    Current()->IdentifyUnviewableContent("http://files.example/dir/photo.jpg?size=2#top", "image/jpeg");
    Current()->Scripts.back().Done("photo.jpg");
    EXPECT_EQ(h.Controls().wDownloadNameBox->Text(), "photo.jpg");
    EXPECT_EQ(h.Controls().wDownloadFolderBox->Text(), h.DownloadFiles.Downloads);
    EXPECT_TRUE(h.Chrome().Flags().DownloadDialog);
    // The folder picker: dismissed changes nothing, a pick is where the file goes.
    h.Click("wDownloadFolderButton");
    h.FolderPicker.Pending(std::nullopt);
    EXPECT_EQ(h.Controls().wDownloadFolderBox->Text(), h.DownloadFiles.Downloads);
    auto picked = (h.Folder.Path() / "picked").string();
    fs::create_directory(picked);
    h.Click("wDownloadFolderButton");
    h.FolderPicker.Pending(picked);
    h.Click("wDownloadStartButton");
    EXPECT_EQ(Said(), S("wMessageBox_StartDownload") + " \"photo.jpg\".");
    EXPECT_TRUE(fs::exists(fs::path(picked) / "photo.jpg"));
    EXPECT_EQ(h.Downloader.Started.at(0)->Source, "http://files.example/dir/photo.jpg?size=2#top");
    EXPECT_FALSE(h.Chrome().Flags().DownloadDialog);
    EXPECT_EQ(m().ActiveDownloadCount(), 1);

    // The menu's entry opens the panel and builds it; the tick refreshes the running row.
    ui::Button entry;
    entry.SetTag(ChromeAnimator::DownloadsEntry);
    h.Chrome().PanelEntry_Click(entry);
    Set(0, 3 * MiB + 5, 10 * MiB);
    Tick();
    EXPECT_EQ(Text("wDownloadRowSize_1"), "3 MB / 10 MB");
    EXPECT_EQ(Text("wDownloadRowPercent_1"), "30%");
    Set(0, 10 * MiB, 10 * MiB, TransferStatus::Completed);
    Tick();
    EXPECT_TRUE(Toasted("<text>" + S("wToast_CompleteDownload_Title") + "</text><text>\"photo.jpg\" " +
                        S("wToast_CompleteDownload_Text") + "</text>"));
    EXPECT_EQ(Row("wDownloadRowName_1"), nullptr);
    EXPECT_EQ(Text("wDownloadDoneSize_1"), "10 MB / 10 MB");
    EXPECT_EQ(Text("wDownloadDonePercent_1"), S("wDown_Percent_Finished"));
    EXPECT_EQ(Colour("wDownloadDoneBar_1"), ui::Color::FromRgb(0, 128, 0));
    EXPECT_EQ(m().ActiveDownloadCount(), 0);
    EXPECT_FALSE(h.Timers.Created.at(1)->Enabled);
}

TEST_F(Downloads, SmallAndUnsizedFilesPauseResumeAndFailuresKeepTheirLookThroughARebuild)
{
    Start("small.txt");
    Start("stream.bin");
    m().OpenDownloadsPanel();
    Set(0, 500 * 1024, 900 * 1024);
    Set(1, 7 * MiB, 0);
    Tick();
    EXPECT_EQ(Text("wDownloadRowSize_1") + Text("wDownloadRowPercent_1"), "0 MB / 0 MB0%");
    EXPECT_EQ(Text("wDownloadRowSize_2") + Text("wDownloadRowPercent_2"), "7 MB / 0 MB0%");

    Click("wDownloadRowPause_1");
    EXPECT_TRUE(Toasted("\"small.txt\" " + S("wToast_PauseDownload_Text")));
    Progress(1) = {MiB, 0, TransferStatus::Error, TransferFailure::Server, 404};
    Tick();
    Tick();
    EXPECT_EQ(h.Toasts.Markups.size(), 2u) << "one toast for the failure, not one a tick";
    EXPECT_TRUE(Toasted("<text>" + S("wToast_Interromped_Title") + "</text><text>\"stream.bin\" " +
                        S("wDownload_Error_Server") + " 404</text>"));
    m().BuildDownloadsPanel();
    EXPECT_EQ(Text("wDownloadRowPause_1"), "\xEE\x84\x82");
    EXPECT_EQ(Colour("wDownloadRowBar_1"), ui::Color::FromRgb(154, 205, 50));
    EXPECT_EQ(Text("wDownloadRowPause_2"), "\xEE\x84\x82");
    EXPECT_EQ(Text("wDownloadRowPercent_2"), S("wDownload_Progress_Failed/Text"));
    EXPECT_EQ(Colour("wDownloadRowPercent_2"), DarkRed);

    Click("wDownloadRowPause_1");
    Click("wDownloadRowPause_2"); // a retry
    for (const char* n : {"1", "2"}) {
        EXPECT_EQ(Text(std::string("wDownloadRowPause_") + n), "\xEE\x84\x83");
        EXPECT_EQ(Colour(std::string("wDownloadRowBar_") + n), ui::Color::FromArgb(255, 0, 112, 227));
    }
    EXPECT_EQ(h.Downloader.Started[0]->Resumes + h.Downloader.Started[1]->Resumes, 2);
    EXPECT_EQ(h.Toasts.Markups.size(), 2u);
}

TEST_F(Downloads, CancelActsOnTheDownloadItAskedForAndLeavesACompletedOneAlone)
{
    Start("one.bin");
    Start("two.bin");
    m().OpenDownloadsPanel();
    Set(0, MiB, 2 * MiB);
    Tick();
    Click("wDownloadRowCancel_1");
    size_t question = h.Dialogs.Shown.size() - 1;
    Click("wDownloadRowCancel_2");
    EXPECT_EQ(m().SelectedDownloadIndex(), 2);
    AnswerYes(question);
    EXPECT_EQ(h.Downloader.Started[0]->Cancels, 1);
    EXPECT_EQ(h.Downloader.Started[1]->Cancels, 0);
    EXPECT_FALSE(fs::exists(h.Downloader.Started[0]->File->Path()));
    EXPECT_TRUE(Toasted("\"one.bin\" " + S("wToast_CancelDownload_Text")));
    EXPECT_EQ(Text("wDownloadDoneSize_1") + Text("wDownloadDonePercent_1"),
              "1 MB / 2 MB" + S("wDownload_Progress_Canceled/Text"));
    EXPECT_EQ(Colour("wDownloadDonePercent_1"), DarkRed);

    // Slot 2 completes while its question is open: the late yes leaves it alone.
    Click("wDownloadRowCancel_2");
    question = h.Dialogs.Shown.size() - 1;
    Set(1, 2, 2, TransferStatus::Completed);
    Tick();
    AnswerYes(question);
    EXPECT_EQ(h.Downloader.Started[1]->Cancels, 0);
    EXPECT_EQ(Text("wDownloadDonePercent_2"), S("wDown_Percent_Finished"));
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
        EXPECT_EQ(Said(), S(address.starts_with("http") ? "wMessageBox_InvalidFileName" : "wMessageBox_InvalidLink"))
            << name << " " << address;
        EXPECT_TRUE(h.Chrome().Flags().DownloadDialog) << "the dialog stays for another try";
    }
    h.DownloadFiles.Error = "Permission denied";
    Start("x.bin");
    EXPECT_EQ(Said(), S("wMessageBox_DownloadFolderError") + " \"" + h.DownloadFiles.Downloads + "\": Permission denied");
    EXPECT_TRUE(fs::is_empty(h.DownloadFiles.Downloads));
    EXPECT_TRUE(h.Downloader.Started.empty());
    EXPECT_EQ(m().ActiveDownloadCount(), 0);

    // Quotes, markup characters, Greek, CJK and emoji: byte-exact on disk and in the row, escaped in the toast.
    h.DownloadFiles.Error.reset();
    const std::string name = "\"<&> \xCE\xB1\xCE\xB2 \xE6\xBC\xA2\xE5\xAD\x97 \xF0\x9F\x98\x80.txt";
    Start(name);
    EXPECT_TRUE(fs::exists(fs::path(h.DownloadFiles.Downloads) / name));
    m().BuildDownloadsPanel();
    EXPECT_EQ(Text("wDownloadRowName_1"), name);
    Set(0, 1, 1, TransferStatus::Completed);
    Tick();
    EXPECT_TRUE(Toasted("<text>\"\"&lt;&amp;&gt; \xCE\xB1\xCE\xB2 \xE6\xBC\xA2\xE5\xAD\x97 \xF0\x9F\x98\x80.txt\" "));
}

TEST_F(Downloads, TenSlotsAtMostAndTheFiftyFirstFinishedEntryDropsTheOldest)
{
    for (int i = 1; i <= 11; ++i)
        Start("f" + std::to_string(i));
    EXPECT_EQ(Said(), S("wMessageBox_MaxDownload"));
    EXPECT_EQ(h.Downloader.Started.size(), 10u);
    for (size_t i = 0; i < 9; ++i)
        Set(i, 1, 1, TransferStatus::Completed);
    Tick();
    Start("refused"); // only slot 10 in use still refuses
    EXPECT_EQ(Said(), S("wMessageBox_MaxDownload"));
    Set(9, 1, 1, TransferStatus::Completed);
    Tick();
    Start("s1");
    Start("s2");
    Set(10, 1, 1, TransferStatus::Completed);
    Tick();
    // Slot 1 free, slot 2 running: the heading says downloads run.
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(h.Controls().DownloadsListPanel->ChildAt(0)).Text(),
              S("wDownload_Progress/Text"));
    for (size_t i = 12; i < 52; ++i) {
        Start("g" + std::to_string(i));
        Set(i, 1, 1, TransferStatus::Completed);
        Tick();
    }
    EXPECT_EQ(Text("wDownloadDoneName_1"), "f2");
    EXPECT_EQ(Text("wDownloadDoneName_50"), "g51");
}

TEST_F(Downloads, SaveImageNamesTheFileByThePageScriptOrTheSameRuleInItsPlace)
{
    Current()->CompleteNavigation("http://img.example/p.png?a=1#f", "p.png");
    Current()->Scripts.clear();
    h.Click("SaveImageButton");
    auto& scripts = Current()->Scripts;
    ASSERT_EQ(scripts.size(), 2u);
    EXPECT_EQ(scripts[0].Arguments.at(0), GetFileNameScript("http://img.example/p.png?a=1#f"));
    EXPECT_EQ(scripts[1].Function, "getFileName");
    scripts[1].Done(std::nullopt); // the page refused the script
    EXPECT_EQ(h.Controls().wDownloadNameBox->Text(), "p.png");
    EXPECT_EQ(m().PendingDownloadAddress(), "http://img.example/p.png?a=1#f");
    Current()->CompleteNavigation("http://img.example/P.PNG", "P.PNG");
    h.Click("SaveImageButton");
    EXPECT_EQ(Said(), S("wMessageBox_NoImageLink"));
    // The pop-up's entry on a right-clicked image runs the same flow on the image's address.
    Current()->CallAllowedObject("wScriptNotify", "wContextMenu", {"http://img.example/q.jpg?x&GET_IMG"});
    Current()->ContextMenuGesture(*Current());
    h.Click("wContextPopup_SaveImage");
    Current()->Scripts.back().Done("\xCE\xB1" + std::string(300, 'q')); // a page's answer, too long to show
    EXPECT_EQ(m().PendingDownloadAddress(), "http://img.example/q.jpg?x");
    EXPECT_EQ(h.Controls().wDownloadNameBox->Text(), "\xCE\xB1" + std::string(253, 'q'));

    // The address enters the script as a literal that reads back as it was.
    EXPECT_NE(GetFileNameScript("http://a.example/it's\\\n\r\xE2\x80\xA8\xE2\x80\xA9").find(
                  "'http://a.example/it\\'s\\\\\\n\\r\\u2028\\u2029'"),
              std::string::npos);
    EXPECT_EQ(ToastMarkup("", "<&'\""),
              "<toast launch=\"app-defined-string\"><visual><binding template =\"ToastGeneric\"><text></text>"
              "<text>&lt;&amp;'\"</text><image placement=\"appLogoOverride\" src=\"Assets/NewStoreLogo.png\" />"
              "</binding></visual></toast>");
}

} // namespace
