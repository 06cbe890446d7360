// The downloads panel: a heading, a row per running transfer, and the
// finished entries under their own heading. Rows are rebuilt from the slots'
// state, so a rebuild keeps what each row showed (pause glyph and colour, a
// failure), and named by slot or entry for whoever reads the page.
#include "app/page_controls.h"
#include "bridge/chrome_animator.h"
#include "downloads/download_colors.h"
#include "downloads/download_manager.h"

namespace {

const ui::Color Grey = ui::Color::FromArgb(255, 144, 144, 144);

std::unique_ptr<ui::TextBlock> Text(const std::string& text, double fontSize, ui::HorizontalAlignment alignment,
                                    ui::Thickness margin)
{
    auto block = std::make_unique<ui::TextBlock>();
    block->SetText(text);
    block->SetFontSize(fontSize);
    block->SetHorizontalAlignment(alignment);
    block->SetMargin(margin);
    return block;
}

std::unique_ptr<ui::TextBlock> Heading(const std::string& text, ui::Thickness margin)
{
    auto heading = Text(text, 13, ui::HorizontalAlignment::Left, margin);
    heading->SetForeground(Grey);
    return heading;
}

std::unique_ptr<ui::Button> GlyphButton(int32_t slot, const std::string& glyph)
{
    auto button = std::make_unique<ui::Button>();
    button->SetTag(slot);
    button->SetFontFamily("Segoe MDL2 Assets");
    button->SetContent(glyph);
    button->SetBackground(ui::Color::Transparent());
    button->SetBorderThickness(ui::Thickness(1));
    button->SetWidth(20);
    button->SetHeight(20);
    button->SetHorizontalAlignment(ui::HorizontalAlignment::Right);
    button->SetPadding(ui::Thickness(0));
    return button;
}

std::unique_ptr<ui::ProgressBar> Bar(ui::Color color, double value)
{
    auto bar = std::make_unique<ui::ProgressBar>();
    bar->SetHeight(8);
    bar->SetForeground(color);
    bar->SetMargin({0, 2, 0, 3});
    bar->SetValue(value);
    return bar;
}

std::unique_ptr<ui::TextBlock> SizeText(const std::string& text)
{
    auto size = Text(text, 12, ui::HorizontalAlignment::Left, {0, 0, 0, -16});
    size->SetForeground(Grey);
    return size;
}

std::unique_ptr<ui::TextBlock> PercentText(const std::string& text, ui::Color color)
{
    auto percent = Text(text, 12, ui::HorizontalAlignment::Right, {0, 0, 0, 10});
    percent->SetForeground(color);
    return percent;
}

} // namespace

void DownloadManager::OpenDownloadsPanel()
{
    m_chrome.OpenPanel(&OpenFlags::Downloads);
    BuildDownloadsPanel();
}

void DownloadManager::BuildDownloadsPanel()
{
    auto& panel = *m_controls.DownloadsListPanel;
    for (auto& slot : m_slots)
        slot.Row = {};
    panel.Clear();
    bool anyRunning = false;
    for (int n = 1; n <= MaxSlots; ++n)
        anyRunning = anyRunning || m_slots[n].Operation;
    // Any occupied slot, not only the first: slot 1 may be free while 2 runs.
    panel.Append(Heading(anyRunning ? m_services.Strings.GetString("wDownload_Progress/Text")
                                    : m_services.Strings.GetString("wDownload_None/Text"),
                         {0, 5, 0, 5}));
    for (int n = 1; n <= MaxSlots; ++n)
        if (m_slots[n].Operation)
            AppendRunningRow(n);
    bool anyFinished = false;
    for (int f = 1; f <= MaxFinished; ++f)
        anyFinished = anyFinished || m_finished[f];
    if (!anyFinished)
        return;
    panel.Append(Heading(m_services.Strings.GetString("wDownload_Progress_Finished/Text"), {0, 20, 0, 5}));
    for (int f = 1; f <= MaxFinished; ++f)
        if (m_finished[f])
            AppendFinishedRow(f);
}

void DownloadManager::AppendRunningRow(int n)
{
    auto& panel = *m_controls.DownloadsListPanel;
    auto& slot = m_slots[n];
    auto progress = slot.Operation->Progress();
    auto suffix = "_" + std::to_string(n);

    auto name = Text(slot.Operation->ResultFile().Name(), 14, ui::HorizontalAlignment::Left, {0, -1, 0, -19});
    name->SetWidth(195);
    name->SetName("wDownloadRowName" + suffix);
    auto cancel = GlyphButton(n, "\xEE\x84\x8A"); // U+E10A
    cancel->SetName("wDownloadRowCancel" + suffix);
    cancel->Click.Subscribe([this](ui::Element& sender) { CancelButton_Click(sender); });
    auto pause = GlyphButton(n, PauseGlyph);
    pause->SetMargin({0, -20, 22, 0});
    pause->SetName("wDownloadRowPause" + suffix);
    pause->Click.Subscribe([this](ui::Element& sender) { PauseButton_Click(sender); });
    auto bar = Bar(RunningColor, 0);
    bar->SetName("wDownloadRowBar" + suffix);
    auto size = SizeText("");
    size->SetName("wDownloadRowSize" + suffix);
    auto percent = PercentText("", Grey);
    percent->SetName("wDownloadRowPercent" + suffix);

    slot.Row.Name = &panel.Append(std::move(name));
    slot.Row.Cancel = &panel.Append(std::move(cancel));
    slot.Row.Pause = &panel.Append(std::move(pause));
    slot.Row.Bar = &panel.Append(std::move(bar));
    slot.Row.Size = &panel.Append(std::move(size));
    slot.Row.Percent = &panel.Append(std::move(percent));
    RefreshRow(slot, progress);
    ApplyRowState(slot, progress);
}

void DownloadManager::AppendFinishedRow(int f)
{
    auto& panel = *m_controls.DownloadsListPanel;
    const auto& entry = *m_finished[f];
    auto suffix = "_" + std::to_string(f);
    auto name = Text(entry.Name, 14, ui::HorizontalAlignment::Left, {0, 0, 0, 4});
    name->SetWidth(195);
    name->SetName("wDownloadDoneName" + suffix);
    auto bar = Bar(entry.BarColor, entry.BarValue);
    bar->SetName("wDownloadDoneBar" + suffix);
    auto size = SizeText(entry.Size);
    size->SetName("wDownloadDoneSize" + suffix);
    auto percent = PercentText(entry.Percent, entry.PercentColor);
    percent->SetName("wDownloadDonePercent" + suffix);
    panel.Append(std::move(name));
    panel.Append(std::move(bar));
    panel.Append(std::move(size));
    panel.Append(std::move(percent));
}

void DownloadManager::RefreshRow(Slot& slot, const platform::TransferProgress& progress)
{
    if (!slot.Row.Name)
        return;
    uint64_t receivedMb = progress.BytesReceived >> 20;
    uint64_t totalMb = progress.TotalBytesToReceive >> 20;
    uint64_t percent = totalMb != 0 ? progress.BytesReceived * 100 / progress.TotalBytesToReceive : 0;
    // A server that sends more than it announced never shows past 100.
    percent = std::min<uint64_t>(percent, 100);
    // Unchanged texts are not set again: the tick runs sixty times a second.
    auto set = [](ui::TextBlock& block, const std::string& text) {
        if (block.Text() != text)
            block.SetText(text);
    };
    set(*slot.Row.Name, slot.Operation->ResultFile().Name());
    slot.Row.Bar->SetValue(static_cast<double>(percent));
    set(*slot.Row.Size, std::to_string(receivedMb) + " MB / " + std::to_string(totalMb) + " MB");
    set(*slot.Row.Percent, std::to_string(percent) + "%");
}

// The glyph, bar colour and percent text a row's status calls for.
void DownloadManager::ApplyRowState(Slot& slot, const platform::TransferProgress& progress)
{
    if (!slot.Row.Pause)
        return;
    auto status = platform::StatusName(progress.Status);
    bool paused = status == "PausedByApplication";
    bool failed = status == "Error";
    slot.Row.Pause->SetContent(paused || failed ? ResumeGlyph : PauseGlyph);
    slot.Row.Bar->SetForeground(paused ? PausedColor : RunningColor);
    if (failed) {
        slot.Row.Percent->SetText(m_services.Strings.GetString("wDownload_Progress_Failed/Text"));
        slot.Row.Percent->SetForeground(DarkRed);
    } else {
        slot.Row.Percent->SetForeground(Grey);
    }
}
