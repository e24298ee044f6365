#pragma once
// What one simulated driver holds while it runs. Reset when the adapter vanishes.

#include <deque>
#include <memory>
#include <optional>

#include "libs/vuzoza/sim/access_point.h"
#include "libs/vuzoza/sim/association.h"
#include "libs/vuzoza/sim/authenticator.h"
#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza {

enum class LinkState { Idle, Joining, Associated };

struct Link {
  LinkState state = LinkState::Idle;
  std::int64_t joinStartedMs = 0;
  std::optional<std::size_t> network;  // index into the scenario's networks
  bool ownIbss = false;                // an ad hoc network we started ourselves
  Mac bssid{};
  int channel = 0;
  Bytes associationInfo;
  std::unique_ptr<Authenticator> authenticator;  // WPA-family associations
  std::deque<Bytes> framesToStation;
  int framesFromStationSeen = 0;  // EAPOL frames on the air this association, for AirFaults
  int framesToStationSeen = 0;
};

struct Device {
  explicit Device(const AdapterSpec& s) : spec(&s) {}

  const AdapterSpec* spec;
  bool wasPresent = true;
  std::int64_t lastAdvanceMs = 0;

  int operationMode = 0;
  StationConfig station;
  AccessPointConfig ap;
  std::int64_t apUpSinceMs = 0;
  int powerSave = 0;
  int fragmentation = 2346;
  int rtsThreshold = 2347;
  int preamble = 2;
  int multiDomain = 0;
  int region = 0;
  int pspXLink = 0;
  int wmm = 0;
  int bandMode = 4;  // requested band mode of a dual-band chip
  int privateRequests = 0;
  std::vector<std::uint8_t> channels24;
  std::vector<std::uint8_t> channels5;

  Link link;
  std::uint16_t lastAssociationId = 0;
  std::int64_t stationTrafficMs = 0;
  std::int64_t apTrafficMs = 0;

  std::optional<std::int64_t> scanStartedMs;
  std::vector<Bytes> survey;  // entries of the last finished scan
};

}  // namespace vuzoza

namespace vuzoza {

inline bool SupportsChannel(const Device& d, int channel) {
  for (auto c : d.channels24) {
    if (c == channel) return true;
  }
  for (auto c : d.channels5) {
    if (c == channel) return true;
  }
  return false;
}

inline int FirstChannel(const Device& d) {
  if (!d.channels24.empty()) return d.channels24.front();
  return d.channels5.empty() ? 0 : d.channels5.front();
}

}  // namespace vuzoza
