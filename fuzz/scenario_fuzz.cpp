// Feeds arbitrary bytes to the scenario reader: it must answer with a scenario or an error, and
// every scenario it accepts must give a world that answers without crashing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "libs/vuzoza/sim/scenario.h"
#include "libs/vuzoza/sim/world.h"

namespace {

void Exercise(const vuzoza::Scenario& scenario) {
  using vuzoza::Query;
  using vuzoza::Setting;
  std::int64_t now = 0;
  vuzoza::World world(scenario, {[&] { return now; }, [&](std::uint32_t ms) { now += ms; }});
  const std::size_t adapters = scenario.adapters.size() < 4 ? scenario.adapters.size() : 4;
  for (std::size_t i = 0; i < adapters; ++i) {
    const std::string& name = scenario.adapters[i].name;
    world.StartSurvey(name);
    now += vuzoza::kScanMs;
    vuzoza::Bytes bytes;
    world.GetSurvey(name, 12004, bytes);
    if (!scenario.networks.empty()) world.SetSsid(name, scenario.networks.front().ssid);
    world.Set(name, Setting::NetworkType, static_cast<int>(i % 2));
    now += vuzoza::kAssociationMs;
    for (int q = 0; q <= static_cast<int>(Query::WzcStatus); ++q) world.Get(name, static_cast<Query>(q));
    bytes.assign(1000, 0);
    world.ReadOid(name, vuzoza::kOidAssociationInformation, bytes);
    world.Set(name, Setting::OperationMode, 1);
    now += 60'000;
    world.GetStationList(name, bytes);
    std::uint32_t sent = 0, received = 0;
    world.GetFrameCounts(name, sent, received);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto result = vuzoza::ParseScenario(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!result.scenario && result.error.empty()) __builtin_trap();
  if (result.scenario) Exercise(*result.scenario);
  return 0;
}
