// A full station restore from an empty setting tree onto the simulated adapter, with the SQLite
// registry store (every write durable) and the restore's waits on a virtual clock.

#include <benchmark/benchmark.h>

#include <memory>

#include "adapter/testing/simulated_adapter.h"
#include "config/restore.h"
#include "platform/registry/registry.h"
#include "platform/registry/tests/temp_dir.h"

namespace {

void BM_StationRestoreFromEmptyTree(benchmark::State& state) {
  platform::testing::TempDir dir;
  platform::VirtualClock clock;
  auto simulated = adapter::testing::OpenSimulatedAdapter(VZ_ADAPTER_LIBRARY_DIR, dir.path(), {},
                                                          clock);
  if (!simulated.error.empty()) return state.SkipWithError(simulated.error.c_str());
  auto opened = platform::OpenSqliteRegistry(dir.path());
  if (!opened.registry) return state.SkipWithError(opened.error.c_str());

  config::SettingStore store(*opened.registry);
  store.SetAdapterInstance(simulated.instance);
  config::RadioState radio;
  const config::ApplierContext context{*simulated.library, simulated.handle, store, radio};
  config::RecordingSupplicantControl supplicant;
  lang::CMultiLanguage language;
  const config::RestoreEnvironment environment{clock, supplicant, language, 0, 1};

  for (auto _ : state) {
    state.PauseTiming();
    (void)opened.registry->DeleteKey(platform::RegRoot::CurrentUser,
                                     store.TreePath(config::kStationMode));
    state.ResumeTiming();
    benchmark::DoNotOptimize(config::RestoreConfiguration(context, environment));
  }
}
BENCHMARK(BM_StationRestoreFromEmptyTree)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace
