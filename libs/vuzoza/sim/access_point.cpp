#include "libs/vuzoza/sim/access_point.h"

#include <algorithm>

#include "libs/vuzoza/sim/radio.h"

namespace vuzoza {
namespace {

bool StationHearsChannel(const StationSpec& s, int channel) {
  switch (s.bands) {
    case Bands::Band24: return !IsFiveGhzChannel(channel);
    case Bands::Band5: return IsFiveGhzChannel(channel);
    case Bands::Both: return true;
  }
  return false;
}

}  // namespace

bool FilterAdmits(const AccessPointConfig& ap, const Mac& station) {
  bool listed = false;
  for (std::size_t i = 0; i < kMacListEntries; ++i) {
    const auto* entry = ap.filterList.data() + 7 * i;
    listed = listed || (entry[0] != 0 && std::equal(station.begin(), station.end(), entry + 1));
  }
  switch (ap.filterMode) {
    case 1:
      return listed;
    case 2:
      return !listed;
    default:
      return true;
  }
}

bool AccessPointAdmits(const AccessPointConfig& ap, const StationSpec& s) {
  if (!FilterAdmits(ap, s.mac)) return false;
  if (!StationHearsChannel(s, ap.channel)) return false;
  if (s.ssid ? *s.ssid != ap.ssid : ap.hidden) return false;
  if (ap.encryption != 0) return !s.wepKey.has_value();
  const Bytes& ours = ap.wepKeys[ap.wepDefaultKey];
  return !ours.empty() && s.wepKey.value_or(ours) == ours;
}

bool StationPresent(const AccessPointConfig& ap, const StationSpec& s, std::int64_t sinceUpMs) {
  if (sinceUpMs < s.joinAfterMs) return false;
  if (s.leaveAfterMs && sinceUpMs >= *s.leaveAfterMs) return false;
  return AccessPointAdmits(ap, s);
}

}  // namespace vuzoza
