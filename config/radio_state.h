#pragma once
// Radio facts the whole program shares: what the last restore learnt about the adapter's bands,
// the station network type last pushed, and whether the user disconnected on purpose. Owned by
// the program and passed by reference; atomics because the supplicant thread runs appliers too.

#include <atomic>

namespace config {

struct RadioState {
  // `BandCapability`: band_capability::TwoPointFourOnly, FiveOnly or Both (setting_keys.h).
  std::atomic<int> bandCapability{0};
  // 1 when the chip accepted the band-mode request of the last restore.
  std::atomic<int> wirelessModeSettable{0};
  // `CurrentNetworkType`: station network type last pushed (network_type::...).
  std::atomic<int> currentNetworkType{0};
  // `WasDisconnected`: set when the user disconnected; every SSID push clears it.
  std::atomic<int> wasDisconnected{0};
};

}  // namespace config
