// One value written (one transaction) and one value read in the SQLite store, at the depth of a
// setting tree.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "platform/registry/registry.h"
#include "platform/registry/tests/temp_dir.h"

namespace {

using platform::RegRoot;
using platform::RegStatus;
using platform::RegValue;

constexpr std::u16string_view kTree = u"software\\Orvex\\vuzideza\\LastSetting\\GENERAL\\0001\\Station";

void BM_WriteOneValue(benchmark::State& state) {
  platform::testing::TempDir dir;
  auto opened = platform::OpenSqliteRegistry(dir.path());
  if (!opened.registry) return state.SkipWithError(opened.error.c_str());
  std::uint32_t round = 0;
  for (auto _ : state) {
    const std::u16string channel = round++ % 2 ? u"11" : u"6";
    if (opened.registry->SetValue(RegRoot::CurrentUser, kTree, u"Channel", RegValue::Text(channel)) !=
        RegStatus::Ok) {
      return state.SkipWithError("write failed");
    }
  }
}
BENCHMARK(BM_WriteOneValue)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

void BM_ReadOneValue(benchmark::State& state) {
  platform::testing::TempDir dir;
  auto opened = platform::OpenSqliteRegistry(dir.path());
  if (!opened.registry) return state.SkipWithError(opened.error.c_str());
  for (const char16_t* name : {u"SSID", u"Channel", u"WEPStatus", u"AuthenticationMode"}) {
    if (opened.registry->SetValue(RegRoot::CurrentUser, kTree, name, RegValue::Text(u"6")) != RegStatus::Ok) {
      return state.SkipWithError("setup failed");
    }
  }
  RegValue value;
  for (auto _ : state) {
    if (opened.registry->GetValue(RegRoot::CurrentUser, kTree, u"channel", value) != RegStatus::Ok) {
      return state.SkipWithError("read failed");
    }
    benchmark::DoNotOptimize(value);
  }
}
BENCHMARK(BM_ReadOneValue)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMicrosecond);

// Store size after one key N levels deep, each level named with `nameLength` characters: how the
// size grows with depth (a size counter, not a time).
void BM_DeepKeyStoreSize(benchmark::State& state) {
  const auto depth = static_cast<std::size_t>(state.range(0));
  const auto nameLength = static_cast<std::size_t>(state.range(1));
  std::u16string path;
  for (std::size_t level = 0; level < depth; ++level) {
    if (level > 0) path += u'\\';
    path += std::u16string(nameLength, static_cast<char16_t>(u'a' + level % 26));
  }
  std::uintmax_t bytes = 0;
  for (auto _ : state) {
    platform::testing::TempDir dir;
    {
      auto opened = platform::OpenSqliteRegistry(dir.path());
      if (!opened.registry) return state.SkipWithError(opened.error.c_str());
      if (opened.registry->CreateKey(RegRoot::CurrentUser, path) != RegStatus::Ok) {
        return state.SkipWithError("create failed");
      }
    }
    bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      if (entry.path().filename().string().starts_with("HKCU")) bytes += entry.file_size();
    }
  }
  state.counters["store_bytes"] = static_cast<double>(bytes);
  state.counters["bytes_per_level"] = static_cast<double>(bytes) / static_cast<double>(depth);
}
BENCHMARK(BM_DeepKeyStoreSize)
    ->Args({128, 1})
    ->Args({512, 1})
    ->Args({512, 255})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
