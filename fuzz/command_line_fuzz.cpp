// Command lines from installers and scripts: any 16-bit text must split without fault, and no
// argument may be longer than the line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/process/process.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string line;
  for (std::size_t i = 0; i + 1 < size; i += 2) line += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  for (const auto& arg : platform::SplitCommandLine(line)) {
    if (arg.size() > line.size()) std::abort();
  }
  return 0;
}
