// Reading automation input that is one long line without an end, through a pipe as standard
// input would deliver it: the time to get past it must grow with its length, not its square.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>
#include <thread>

#include "platform/window/headless/automation.h"

namespace {

using platform::window::headless::FdLineSource;
using platform::window::headless::LineSource;

void BM_LongLineThroughAPipe(benchmark::State& state) {
  const auto megabytes = static_cast<std::size_t>(state.range(0));
  const std::string block(1 << 20, 'x');
  for (auto _ : state) {
    int fds[2];
    if (::pipe(fds) != 0) return state.SkipWithError("no pipe");
    std::thread writer([&] {
      for (std::size_t i = 0; i < megabytes; ++i) {
        for (std::size_t at = 0; at < block.size();) {
          const ssize_t n = ::write(fds[1], block.data() + at, block.size() - at);
          if (n <= 0) break;
          at += static_cast<std::size_t>(n);
        }
      }
      ::close(fds[1]);
    });
    FdLineSource source(fds[0]);
    std::string line;
    std::size_t results = 0;
    while (source.Next(line, std::nullopt) != LineSource::Result::End) ++results;
    writer.join();
    ::close(fds[0]);
    benchmark::DoNotOptimize(results);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * megabytes) << 20);
}
BENCHMARK(BM_LongLineThroughAPipe)->Arg(4)->Arg(16)->Arg(100)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
