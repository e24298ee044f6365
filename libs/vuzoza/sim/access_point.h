#pragma once
// Our soft access point's configuration and which scenario stations it lets in.
//
// MAC filter modes: 0 filter off (everyone may join), 1 only the listed stations may join,
// 2 the listed stations are refused.

#include <array>

#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza {

inline constexpr std::size_t kMacListEntries = 16;
inline constexpr std::size_t kMacListSize = kMacListEntries * 7;
using MacList = std::array<std::uint8_t, kMacListSize>;

struct AccessPointConfig {
  Bytes ssid;
  bool hidden = false;
  int channel = 6;
  int authMode = 0;    // 0 open system, 1 shared key
  int encryption = 1;  // 0 WEP on, 1 off
  std::array<Bytes, 4> wepKeys;
  int wepDefaultKey = 0;
  int txPowerLevel = 0;
  int filterMode = 0;
  MacList filterList{};
  int bandMode = 1;
  int protectionMode = 0;
};

bool FilterAdmits(const AccessPointConfig& ap, const Mac& station);

// Whether the station joins: the filter admits it, its radio offers the band of our channel, it
// finds our SSID (a station that names no SSID takes ours from the beacons, so a hidden SSID
// keeps it out) and, with WEP on, it holds our default key (a station that names no key knows
// ours).
bool AccessPointAdmits(const AccessPointConfig& ap, const StationSpec& station);

// Is the station associated `sinceUpMs` after the access point came up?
bool StationPresent(const AccessPointConfig& ap, const StationSpec& station, std::int64_t sinceUpMs);

}  // namespace vuzoza
