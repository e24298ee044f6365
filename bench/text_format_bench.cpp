// Formatting of the texts a refresh tick writes.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "platform/text/text.h"

namespace {

void BM_FormatStatusText(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        platform::Format(u"%s BSSID=%s", u"Connected to Access Point.", u"02:1A:2B:3C:4D:5E"));
  }
}
BENCHMARK(BM_FormatStatusText)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_FormatNumbers(benchmark::State& state) {
  std::uint32_t count = 4'000'000'000u;
  for (auto _ : state) {
    benchmark::DoNotOptimize(platform::Format(u"%d.%d.%02d%02X.%04d", 1, 2, 3, 0x0A, 2005));
    benchmark::DoNotOptimize(platform::Format(u"%lu", ++count));
  }
}
BENCHMARK(BM_FormatNumbers)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
