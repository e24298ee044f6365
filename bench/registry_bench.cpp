// One value written (one transaction) and one value read in the SQLite store, at the depth of a
// setting tree.

#include <benchmark/benchmark.h>

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

}  // namespace
