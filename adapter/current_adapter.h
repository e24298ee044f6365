#pragma once
// The open adapter as the rest of the program sees it: the handle record handed to every library
// call, its class instance name (which names its setting trees), its network-class key and its
// chip type. Owned by the program, filled by adapter discovery on the user-interface thread,
// passed by reference; other threads only hand the handle record to library calls.

#include <string>

#include "adapter/adapter_library.h"

namespace adapter {

// The handle value while no adapter is open.
inline constexpr std::int32_t kNoAdapterHandle = -1;

struct CurrentAdapter {
  AdapterHandle handle{kNoAdapterHandle, {}, {}, {}};
  // `AdapterInstance`: four-digit class instance name, 8-bit.
  std::string instance;
  // `AdapterClassKey`: the adapter's network-class key below the local machine root.
  std::u16string classKey;
  // `ChipType`: 1 to 5 (chip_types.h); 1 when the hardware identifier is unknown.
  int chipType = 1;
};

}  // namespace adapter
