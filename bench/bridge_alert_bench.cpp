// A page that calls alert in a loop: 10,000 calls through the bridge object
// with dialog doubles. One dialog shows and a few wait; the rest must cost
// next to nothing.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "bridge/bridge_dialogs.h"
#include "bridge/shared_object.h"
#include "tests/doubles/services.h"

namespace {

void AlertFlood(benchmark::State& state)
{
    doubles::FakeResources strings;
    const std::vector<std::string> message{"flood"};
    for (auto _ : state) {
        doubles::FakeDialogs dialogs;
        auto queue = std::make_shared<BridgeDialogQueue>(dialogs);
        auto object = std::make_shared<SharedObject>(strings, queue, std::weak_ptr<ContextRequests>());
        for (int64_t i = 0; i < state.range(0); ++i)
            object->Invoke("wAlert", message);
        benchmark::DoNotOptimize(dialogs.Shown.size());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(AlertFlood)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
