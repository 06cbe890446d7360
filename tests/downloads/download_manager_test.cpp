// The download manager through the page: the dialog, the slots, the tick,
// the panel's rows, pause, resume, cancel and the toasts, on doubles that
// make real files in a temporary Downloads folder.
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "downloads/download_names.h"
#include "downloads/toast_notifications.h"
#include "tests/doubles/page_harness.h"

namespace {

namespace fs = std::filesystem;
using doubles::PageHarness;
using platform::TransferFailure;
using platform::TransferStatus;

constexpr uint64_t MiB = 1 << 20;
const char* const PauseGlyph = "\xEE\x84\x83";
const char* const ResumeGlyph = "\xEE\x84\x82";

class Downloads : public ::testing::Test {
protected:
    void SetUp() override
    {
        h.Strings.Table.insert({{"wMessageBox_StartDownload", "Downloading"},
                                {"wToast_CompleteDownload_Title", "Done title"},
                                {"wToast_CompleteDownload_Text", "is here."},
                                {"wToast_Interromped_Title", "Stopped"},
                                {"wToast_PauseDownload_Text", "is paused."},
                                {"wToast_CancelDownload_Text", "was cancelled."},
                                {"wDownload_Error_Server", "server error"},
                                {"wDownload_Progress_Failed/Text", "Failed"},
                                {"wDownload_Progress_Canceled/Text", "Cancelled"},
                                {"wDown_Percent_Finished", "Finished"},
                                {"wDownload_Progress/Text", "Running now"},
                                {"wDownload_None/Text", "Nothing running"}});
        h.Start();
    }
    DownloadManager& m() { return h.Downloads(); }

    doubles::FakeWebView* Current() { return static_cast<doubles::FakeWebView*>(h.Tabs().CurrentWebView()); }
    // The file-name flow for `address`, the page answering as its script would.
    void Prepare(const std::string& address)
    {
        m().PrepareDownload(address);
        if (auto* tab = Current(); tab && !tab->Scripts.empty() && tab->Scripts.back().Function == "getFileName")
            tab->Scripts.back().Done(FileNameFromAddress(address));
    }
    // The dialog filled for `address` and confirmed with `name`.
    void Start(const std::string& name, const std::string& address = "http://files.example/f.bin")
    {
        Prepare(address);
        h.Controls().wDownloadNameBox->SetText(name);
        h.Click("wDownloadStartButton");
    }
    doubles::FakeTransfer& Transfer(size_t i) { return *h.Downloader.Started.at(i); }
    void Progress(size_t i, uint64_t received, uint64_t total, TransferStatus status = TransferStatus::Running)
    {
        Transfer(i).Progress.BytesReceived = received;
        Transfer(i).Progress.TotalBytesToReceive = total;
        Transfer(i).Progress.Status = status;
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
        auto* e = Row(name);
        if (auto* t = dynamic_cast<ui::TextBlock*>(e))
            return t->Text();
        if (auto* b = dynamic_cast<ui::Button*>(e))
            return b->Content();
        return "<none>";
    }
    ui::Brush Foreground(const std::string& name) const { return Row(name) ? Row(name)->Foreground() : ui::Brush{}; }
    ui::Button& Button(const std::string& name) { return dynamic_cast<ui::Button&>(*Row(name)); }
    std::string LastDialog() const { return h.Dialogs.Shown.empty() ? "" : h.Dialogs.Shown.back().Content; }
    std::string LastToast() const { return h.Toasts.Markups.empty() ? "" : h.Toasts.Markups.back(); }
    doubles::ManualTimer& DownloadTimer() const { return *h.Timers.Created.at(1); }
    void Tick() { m().DownloadTimer_Tick(); }
    // Answers "Yes" to the dialog at `index`, which need not be the last.
    void AnswerYes(size_t index)
    {
        auto command = h.Dialogs.Shown.at(index).OnCommand;
        auto closed = h.Dialogs.Shown.at(index).OnClosed;
        h.Dialogs.Shown.at(index).Open = false;
        command("Yes");
        if (closed)
            closed();
    }

    PageHarness h;
};

TEST_F(Downloads, AFileGoesFromTheDialogThroughItsRowToAFinishedEntryWithAToast)
{
    Prepare("http://files.example/dir/photo.jpg?size=2#top");
    EXPECT_EQ(h.Controls().wDownloadNameBox->Text(), "photo.jpg");
    EXPECT_EQ(h.Controls().wDownloadFolderBox->Text(), h.DownloadFiles.Downloads);
    EXPECT_TRUE(h.Chrome().Flags().DownloadDialog);
    // A file of that name exists already: the new one gets its own name.
    std::ofstream(fs::path(h.DownloadFiles.Downloads) / "photo.jpg") << "older";
    h.Click("wDownloadStartButton");
    EXPECT_EQ(LastDialog(), "Downloading \"photo.jpg\".");
    EXPECT_FALSE(h.Chrome().Flags().DownloadDialog);
    EXPECT_TRUE(DownloadTimer().Enabled);
    EXPECT_EQ(m().ActiveDownloadCount(), 1);
    EXPECT_EQ(Transfer(0).Source, "http://files.example/dir/photo.jpg?size=2#top");
    EXPECT_EQ(Transfer(0).File->Name(), "photo (2).jpg");

    m().OpenDownloadsPanel();
    Progress(0, 3 * MiB + 5, 10 * MiB);
    Tick();
    EXPECT_EQ(Text("wDownloadRowName_1"), "photo (2).jpg");
    EXPECT_EQ(Text("wDownloadRowSize_1"), "3 MB / 10 MB");
    EXPECT_EQ(Text("wDownloadRowPercent_1"), "30%");
    EXPECT_EQ(dynamic_cast<ui::ProgressBar*>(Row("wDownloadRowBar_1"))->Value(), 30);

    Progress(0, 10 * MiB, 10 * MiB, TransferStatus::Completed);
    Tick();
    EXPECT_NE(LastToast().find("<text>Done title</text><text>\"photo (2).jpg\" is here.</text>"), std::string::npos);
    EXPECT_EQ(Row("wDownloadRowName_1"), nullptr);
    EXPECT_EQ(Text("wDownloadDoneName_1"), "photo (2).jpg");
    EXPECT_EQ(Text("wDownloadDoneSize_1"), "10 MB / 10 MB");
    EXPECT_EQ(Text("wDownloadDonePercent_1"), "Finished");
    EXPECT_EQ(Foreground("wDownloadDoneBar_1"), ui::Color::FromRgb(0, 128, 0));
    EXPECT_EQ(m().ActiveDownloadCount(), 0);
    EXPECT_FALSE(DownloadTimer().Enabled);
    EXPECT_FALSE(Transfer(0).Alive);
}

TEST_F(Downloads, ASmallFileShowsZeroesAndNoLengthShowsZeroTotal)
{
    Start("small.txt");
    Start("stream.bin");
    m().OpenDownloadsPanel();
    Progress(0, 500 * 1024, 900 * 1024);
    Progress(1, 7 * MiB, 0);
    Tick();
    EXPECT_EQ(Text("wDownloadRowSize_1"), "0 MB / 0 MB");
    EXPECT_EQ(Text("wDownloadRowPercent_1"), "0%");
    EXPECT_EQ(Text("wDownloadRowSize_2"), "7 MB / 0 MB");
    EXPECT_EQ(Text("wDownloadRowPercent_2"), "0%");
    // A server that sends more than it said still shows at most 100 %.
    Progress(0, 3 * MiB, 2 * MiB);
    Tick();
    EXPECT_EQ(Text("wDownloadRowPercent_1"), "100%");
}

TEST_F(Downloads, PauseAndResumeSwapGlyphAndColourAndARebuildKeepsThem)
{
    Start("a.bin");
    m().OpenDownloadsPanel();
    Progress(0, MiB, 4 * MiB);
    Tick();
    Button("wDownloadRowPause_1").RaiseClick();
    EXPECT_EQ(Transfer(0).Pauses, 1);
    EXPECT_NE(LastToast().find("<text>Stopped</text><text>\"a.bin\" is paused.</text>"), std::string::npos);
    m().BuildDownloadsPanel();
    EXPECT_EQ(Text("wDownloadRowPause_1"), ResumeGlyph);
    EXPECT_EQ(Foreground("wDownloadRowBar_1"), ui::Color::FromRgb(154, 205, 50));
    EXPECT_EQ(Text("wDownloadRowSize_1"), "1 MB / 4 MB");

    size_t toasts = h.Toasts.Markups.size();
    Button("wDownloadRowPause_1").RaiseClick();
    EXPECT_EQ(Transfer(0).Resumes, 1);
    EXPECT_EQ(Text("wDownloadRowPause_1"), PauseGlyph);
    EXPECT_EQ(Foreground("wDownloadRowBar_1"), ui::Color::FromArgb(255, 0, 112, 227));
    EXPECT_EQ(h.Toasts.Markups.size(), toasts);
}

TEST_F(Downloads, AFailureIsToldOnceShownOnItsRowAndRetriedByTheResumeButton)
{
    Start("a.bin");
    m().OpenDownloadsPanel();
    Transfer(0).Progress = {0, 0, TransferStatus::Error, TransferFailure::Server, 404};
    Tick();
    Tick();
    ASSERT_EQ(h.Toasts.Markups.size(), 1u);
    EXPECT_NE(LastToast().find("<text>Stopped</text><text>\"a.bin\" server error 404</text>"), std::string::npos);
    m().BuildDownloadsPanel();
    EXPECT_EQ(Text("wDownloadRowPercent_1"), "Failed");
    EXPECT_EQ(Foreground("wDownloadRowPercent_1"), ui::Color::FromRgb(139, 0, 0));
    EXPECT_EQ(Text("wDownloadRowPause_1"), ResumeGlyph);
    EXPECT_EQ(m().ActiveDownloadCount(), 1);

    Button("wDownloadRowPause_1").RaiseClick();
    EXPECT_EQ(Transfer(0).Resumes, 1);
    EXPECT_EQ(Text("wDownloadRowPause_1"), PauseGlyph);
    // A second failure is told again.
    Transfer(0).Progress = {0, 0, TransferStatus::Error, TransferFailure::Connection, 0};
    Tick();
    EXPECT_EQ(h.Toasts.Markups.size(), 2u);
}

TEST_F(Downloads, CancelAsksAndActsOnTheDownloadItWasAskedFor)
{
    Start("one.bin");
    Start("two.bin");
    m().OpenDownloadsPanel();
    Progress(0, MiB, 2 * MiB);
    Tick();
    // Asked for slot 1; slot 2's button clicked before the answer.
    Button("wDownloadRowCancel_1").RaiseClick();
    size_t question = h.Dialogs.Shown.size() - 1;
    Button("wDownloadRowCancel_2").RaiseClick();
    EXPECT_EQ(m().SelectedDownloadIndex(), 2);
    AnswerYes(question);
    EXPECT_EQ(Transfer(0).Cancels, 1);
    EXPECT_EQ(Transfer(1).Cancels, 0);
    EXPECT_FALSE(fs::exists(Transfer(0).File->Path()));
    EXPECT_NE(LastToast().find("\"one.bin\" was cancelled."), std::string::npos);
    EXPECT_EQ(Text("wDownloadDoneName_1"), "one.bin");
    EXPECT_EQ(Text("wDownloadDoneSize_1"), "1 MB / 2 MB");
    EXPECT_EQ(Text("wDownloadDonePercent_1"), "Cancelled");
    EXPECT_EQ(Foreground("wDownloadDonePercent_1"), ui::Color::FromRgb(139, 0, 0));
    EXPECT_EQ(m().ActiveDownloadCount(), 1);

    // Asked for slot 2, which completes before the answer: left alone.
    Button("wDownloadRowCancel_2").RaiseClick();
    question = h.Dialogs.Shown.size() - 1;
    Progress(1, 2, 2, TransferStatus::Completed);
    Tick();
    AnswerYes(question);
    EXPECT_EQ(Transfer(1).Cancels, 0);
    EXPECT_EQ(Text("wDownloadDonePercent_2"), "Finished");

    // A completed transfer still in its slot is not cancelled: it is told so.
    Start("three.bin");
    Progress(2, 1, 1, TransferStatus::Completed);
    m().BuildDownloadsPanel();
    Button("wDownloadRowCancel_1").RaiseClick();
    EXPECT_EQ(LastDialog(), h.Strings.GetString("wMessageBox_DownloadConclued"));
}

TEST_F(Downloads, RefusedNamesAndAddressesMakeNoFileAndTakeNoSlot)
{
    struct Case {
        std::string name;
        std::string address;
        const char* message;
    } cases[] = {
        {"", "http://a.example/x", "wMessageBox_InvalidFileName"},
        {".", "http://a.example/x", "wMessageBox_InvalidFileName"},
        {"..", "http://a.example/x", "wMessageBox_InvalidFileName"},
        {"../escape", "http://a.example/x", "wMessageBox_InvalidFileName"},
        {std::string(256, 'a'), "http://a.example/x", "wMessageBox_InvalidFileName"},
        {"x.bin", "file:///etc/passwd", "wMessageBox_InvalidLink"},
        {"x.bin", "not an address", "wMessageBox_InvalidLink"},
    };
    for (const auto& c : cases) {
        Start(c.name, c.address);
        EXPECT_EQ(LastDialog(), h.Strings.GetString(c.message)) << c.name << " " << c.address;
        EXPECT_TRUE(h.Chrome().Flags().DownloadDialog) << "the dialog stays for another try";
    }
    EXPECT_TRUE(fs::is_empty(h.DownloadFiles.Downloads));
    EXPECT_TRUE(h.Downloader.Started.empty());
    EXPECT_EQ(m().ActiveDownloadCount(), 0);

    // A folder that cannot take the file: told with the folder and the reason, nothing counted.
    h.DownloadFiles.Error = "Permission denied";
    Start("x.bin");
    EXPECT_EQ(LastDialog(), h.Strings.GetString("wMessageBox_DownloadFolderError") + " \"" +
                                h.DownloadFiles.Downloads + "\": Permission denied");
    EXPECT_TRUE(h.Downloader.Started.empty());
    EXPECT_EQ(m().ActiveDownloadCount(), 0);
    EXPECT_FALSE(DownloadTimer().Enabled);
}

TEST_F(Downloads, NamesInAnyScriptArriveByteExactOnDiskInTheRowAndEscapedInTheToast)
{
    const std::string name = "\"<&> \xCE\xB1\xCE\xB2 \xE6\xBC\xA2\xE5\xAD\x97 \xF0\x9F\x98\x80.txt";
    Start(name);
    EXPECT_TRUE(fs::exists(fs::path(h.DownloadFiles.Downloads) / name));
    m().OpenDownloadsPanel();
    EXPECT_EQ(Text("wDownloadRowName_1"), name);
    Progress(0, 1, 1, TransferStatus::Completed);
    Tick();
    EXPECT_NE(LastToast().find("<text>\"\"&lt;&amp;&gt; \xCE\xB1\xCE\xB2 \xE6\xBC\xA2\xE5\xAD\x97 "
                               "\xF0\x9F\x98\x80.txt\" is here.</text>"),
              std::string::npos);
}

TEST_F(Downloads, TenSlotsAtMostAndTheFiftyFirstFinishedEntryDropsTheOldest)
{
    for (int i = 1; i <= 10; ++i)
        Start("f" + std::to_string(i));
    Start("eleven");
    EXPECT_EQ(LastDialog(), h.Strings.GetString("wMessageBox_MaxDownload"));
    EXPECT_EQ(h.Downloader.Started.size(), 10u);
    // Only slot 10 in use still refuses, as the slot table reads.
    for (size_t i = 0; i < 9; ++i)
        Progress(i, 1, 1, TransferStatus::Completed);
    Tick();
    EXPECT_EQ(m().ActiveDownloadCount(), 1);
    Start("refused");
    EXPECT_EQ(LastDialog(), h.Strings.GetString("wMessageBox_MaxDownload"));
    // Slot 2 running, slot 1 free: the heading says downloads are running.
    Progress(9, 1, 1, TransferStatus::Completed);
    Tick();
    Start("s1");
    Start("s2");
    Progress(10, 1, 1, TransferStatus::Completed);
    Tick();
    EXPECT_EQ(dynamic_cast<ui::TextBlock&>(h.Controls().DownloadsListPanel->ChildAt(0)).Text(), "Running now");

    for (size_t i = 12; i < 12 + 40; ++i) {
        Start("g" + std::to_string(i));
        Progress(i, 1, 1, TransferStatus::Completed);
        Tick();
    }
    // 51 finished so far: f1 made room, f2 is now the first entry.
    EXPECT_EQ(Text("wDownloadDoneName_1"), "f2");
    EXPECT_EQ(Text("wDownloadDoneName_50"), "g51");
}

TEST_F(Downloads, SaveImageProposesTheLastSegmentFromThePageOrFromTheSameRule)
{
    h.Tabs().OpenTab(*platform::Uri::Parse("http://img.example/p.png?a=1#f"));
    auto* tab = Current();
    tab->CompleteNavigation("http://img.example/p.png?a=1#f", "p.png");
    tab->Scripts.clear();
    h.Click("SaveImageButton");
    ASSERT_EQ(tab->Scripts.size(), 2u);
    EXPECT_EQ(tab->Scripts[0].Function, "eval");
    EXPECT_EQ(tab->Scripts[0].Arguments.at(0), GetFileNameScript("http://img.example/p.png?a=1#f"));
    EXPECT_EQ(tab->Scripts[1].Function, "getFileName");
    tab->Scripts[1].Done(std::nullopt); // the page refused the script
    EXPECT_EQ(h.Controls().wDownloadNameBox->Text(), "p.png");
    EXPECT_EQ(m().PendingDownloadAddress(), "http://img.example/p.png?a=1#f");
    EXPECT_TRUE(h.Chrome().Flags().DownloadDialog);

    // Extensions are compared exactly: upper case is not an image here.
    tab->CompleteNavigation("http://img.example/P.PNG", "P.PNG");
    h.Click("SaveImageButton");
    EXPECT_EQ(LastDialog(), h.Strings.GetString("wMessageBox_NoImageLink"));
}

TEST(DownloadTexts, ScriptLiteralAndToastMarkupAreEscapedAndOtherwiseAsWritten)
{
    EXPECT_EQ(GetFileNameScript("http://a.example/i.png"),
              " function getFileName() {  var url = 'http://a.example/i.png';  url = url.substring(0, "
              "(url.indexOf('#') == -1) ? url.length : url.indexOf('#'));  url = url.substring(0, "
              "(url.indexOf('?') == -1) ? url.length : url.indexOf('?'));  url = url.substring(url.lastIndexOf('/') "
              "+ 1, url.length);  return url; }");
    auto script = GetFileNameScript("http://a.example/it's\\\n\r\xE2\x80\xA8\xE2\x80\xA9");
    EXPECT_NE(script.find("'http://a.example/it\\'s\\\\\\n\\r\\u2028\\u2029'"), std::string::npos);
    EXPECT_EQ(ToastMarkup("A", "B"),
              "<toast launch=\"app-defined-string\"><visual><binding template =\"ToastGeneric\"><text>A</text>"
              "<text>B</text><image placement=\"appLogoOverride\" src=\"Assets/NewStoreLogo.png\" /></binding>"
              "</visual></toast>");
    EXPECT_EQ(ToastMarkup("", "<&'\""), "<toast launch=\"app-defined-string\"><visual><binding template "
                                         "=\"ToastGeneric\"><text></text><text>&lt;&amp;'\"</text><image "
                                         "placement=\"appLogoOverride\" src=\"Assets/NewStoreLogo.png\" /></binding>"
                                         "</visual></toast>");
    EXPECT_EQ(FileNameFromAddress("http://a.example/d/p.png?a=1/b#f/g"), "p.png");
    EXPECT_EQ(FileNameFromAddress("http://a.example/d/"), "");
}

} // namespace
