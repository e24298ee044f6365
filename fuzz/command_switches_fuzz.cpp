// The program's switches from any argument bytes (NUL separates arguments): parsing never
// faults, and a delay count only comes with SETWZCD.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_switches.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> arguments(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      arguments.emplace_back();
    } else {
      arguments.back() += static_cast<char>(data[i]);
    }
  }
  const app::CommandSwitches switches = app::ParseCommandSwitches(arguments);
  if (!switches.delayed.pending && switches.delayed.delayTicks != 0) std::abort();
  return 0;
}
