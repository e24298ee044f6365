#include "libs/vuzoza/exports/library_state.h"

#include <cstdio>
#include <mutex>

#include "libs/vuzoza/sim/machine_registry.h"
#include "platform/registry/registry.h"

namespace vuzoza {
namespace {

struct LibraryState {
  std::mutex mutex;
  std::shared_ptr<World> world;
  std::optional<VzSimClock> clock;
};

LibraryState& State() {
  static LibraryState state;
  return state;
}

SimClock ClockOf(const std::optional<VzSimClock>& given) {
  if (!given) return RealClock();
  const VzSimClock c = *given;
  return {[c] { return static_cast<std::int64_t>(c.now_ms(c.user)); },
          [c](std::uint32_t ms) { c.sleep_ms(c.user, ms); }};
}

// As a driver installer would: the program finds our adapters through these keys.
void SeedRegistry(const Scenario& scenario) {
  platform::OpenRegistryResult opened = platform::OpenSqliteRegistry(platform::DefaultRegistryDir());
  if (!opened.registry) {
    std::fprintf(stderr, "VUZOZA: cannot write the adapters' registry keys: %s\n", opened.error.c_str());
    return;
  }
  if (SeedMachineRegistry(*opened.registry, scenario) != platform::RegStatus::Ok) {
    std::fprintf(stderr, "VUZOZA: writing the adapters' registry keys failed\n");
  }
}

}  // namespace

std::shared_ptr<World> CurrentWorld() {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  if (!s.world) {
    LoadResult loaded = LoadScenarioFromEnvironment();
    if (!loaded.error.empty()) {
      std::fprintf(stderr, "VUZOZA: %s; no adapters are simulated\n", loaded.error.c_str());
    }
    // Every new world (a new scenario may name other adapters); writing the same keys again is harmless.
    SeedRegistry(loaded.scenario);
    s.world = std::make_shared<World>(std::move(loaded.scenario), ClockOf(s.clock));
  }
  return s.world;
}

void UseClock(const VzSimClock* clock) {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  if (clock != nullptr && clock->now_ms != nullptr && clock->sleep_ms != nullptr) {
    s.clock = *clock;
  } else {
    s.clock.reset();
  }
  s.world.reset();
}

}  // namespace vuzoza
