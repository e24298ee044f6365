// Listing and finding among 500 stored profiles in the SQLite store, as the More Settings dialog
// does when it opens (the list) and on every Load, Save and Delete (a find walks the list).

#include <benchmark/benchmark.h>

#include <string>

#include "config/profile_store.h"
#include "platform/registry/registry.h"
#include "platform/registry/tests/temp_dir.h"
#include "platform/text/text.h"

namespace {

constexpr int kProfiles = 500;

struct StoredProfiles {
  StoredProfiles() {
    opened = platform::OpenSqliteRegistry(dir.path());
    if (!opened.registry) return;
    store = std::make_unique<config::SettingStore>(*opened.registry);
    profiles = std::make_unique<config::ProfileStore>(*store);
    for (int i = 0; i < kProfiles; ++i) {
      const std::u16string name = platform::Format(u"Network profile %d", i);
      if (profiles->AddProfile(name) != 0 || profiles->FindProfile(name) != 0 ||
          profiles->WriteRecord(config::ProfileRecord{}) != 0) {
        profiles.reset();
        return;
      }
    }
  }
  platform::testing::TempDir dir;
  platform::OpenRegistryResult opened;
  std::unique_ptr<config::SettingStore> store;
  std::unique_ptr<config::ProfileStore> profiles;
};

// Filled once: writing 500 profiles costs far more than what is measured.
StoredProfiles& Stored() {
  static StoredProfiles stored;
  return stored;
}

void BM_ListProfiles(benchmark::State& state) {
  StoredProfiles& stored = Stored();
  if (!stored.profiles) return state.SkipWithError("setup failed");
  for (auto _ : state) {
    const auto names = stored.profiles->ProfileNames();
    if (names.size() != kProfiles) return state.SkipWithError("wrong count");
    benchmark::DoNotOptimize(names);
  }
}
BENCHMARK(BM_ListProfiles)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

// The last profile, typed in another letter case and with blanks around it: a whole walk.
void BM_FindLastProfile(benchmark::State& state) {
  StoredProfiles& stored = Stored();
  if (!stored.profiles) return state.SkipWithError("setup failed");
  const std::u16string typed = platform::Format(u"  NETWORK PROFILE %d ", kProfiles - 1);
  for (auto _ : state) {
    if (stored.profiles->FindProfile(typed) != 0) return state.SkipWithError("not found");
  }
}
BENCHMARK(BM_FindLastProfile)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);

}  // namespace
