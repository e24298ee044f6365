// Feeds arbitrary bytes to the scenario reader: it must answer with a scenario or an error.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "libs/vuzoza/sim/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto result = vuzoza::ParseScenario(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!result.scenario && result.error.empty()) __builtin_trap();
  return 0;
}
