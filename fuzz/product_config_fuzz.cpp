// Feeds arbitrary bytes as a product configuration file to its reader.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/product_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = platform::IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  const app::ProductConfig config = app::ReadProductConfig(*file);
  if (config.strengthMinDb > config.strengthMaxDb || config.qualityMin > config.qualityMax) __builtin_trap();
  if (!config.matchingDeviceIds.back().empty()) __builtin_trap();
  return 0;
}
