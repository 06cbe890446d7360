// The download timer's tick with ten running rows and the panel open, on
// doubles: what sixty ticks a second cost the user-interface thread. Each
// iteration moves every transfer on by 64 KiB, so a text changes now and then
// as it would; unchanged texts are not set again.
#include <benchmark/benchmark.h>

#include "tests/doubles/page_harness.h"

namespace {

void DownloadTickTenRows(benchmark::State& state)
{
    doubles::PageHarness h;
    h.Start();
    auto& downloads = h.Downloads();
    for (int i = 0; i < 10; ++i) {
        std::string address = "http://files.example/f" + std::to_string(i) + ".bin";
        downloads.PrepareDownload(address);
        if (auto* tab = static_cast<doubles::FakeWebView*>(h.Tabs().CurrentWebView()); tab && !tab->Scripts.empty() && tab->Scripts.back().Done)
            tab->Scripts.back().Done("f" + std::to_string(i) + ".bin");
        h.Click("wDownloadStartButton");
    }
    downloads.OpenDownloadsPanel();
    uint64_t received = 0;
    for (auto& transfer : h.Downloader.Started)
        transfer->Progress.TotalBytesToReceive = uint64_t(500) << 20;
    downloads.DownloadTimer_Tick();
    for (auto _ : state) {
        received = (received + 65536) % (uint64_t(500) << 20);
        for (auto& transfer : h.Downloader.Started)
            transfer->Progress.BytesReceived = received;
        downloads.DownloadTimer_Tick();
    }
}
BENCHMARK(DownloadTickTenRows)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
