#pragma once
// Which network a station configuration associates with, and what its association request
// carries. Pure functions of the configuration and the air; World applies them over time.

#include <functional>
#include <optional>

#include "libs/vuzoza/sim/elements.h"
#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza {

// Driver numbering of the station settings.
enum AuthMode { kAuthOpen = 0, kAuthShared = 1, kAuthAuto = 2, kAuthWpa = 3, kAuthWpaPsk = 4,
                kAuthWpaNone = 5, kAuthWpa2 = 6, kAuthWpa2Psk = 7 };
enum EncryptionStatus { kWepOn = 0, kWepOff = 1, kTkip = 4, kAes = 6 };
enum BandInUse { kBandDs = 1, kBand5 = 2, kBand24 = 3, kBandAuto = 4 };

struct StationConfig {
  Bytes ssid;
  std::optional<Mac> bssid;  // preferred access point
  int networkType = 1;       // 0 ad hoc, 1 infrastructure, 3 pseudo ad hoc
  int channel = 0;           // where an ad hoc network of our own starts
  int authMode = kAuthOpen;
  int encryption = kWepOff;
  std::array<Bytes, 4> wepKeys;
  int wepDefaultKey = 0;
  int band = kBand24;
  Bytes desiredRates;
  // PMKIDs the driver was given (BSSID, PMKID); an RSN association request announces the one of
  // its access point.
  std::vector<std::pair<Mac, Pmkid>> pmkids;
};

// The WPA-family key setup a configuration asks for, when it asks for one.
struct KeySetup {
  WpaFamily family;
  Cipher pairwise;
  Akm akm;
};
std::optional<KeySetup> KeySetupOf(const StationConfig& config);

// Whether the access point lets the station associate. WEP: shared-key authentication (mode 1,
// and mode 2 which tries it first) needs the right key; open system (mode 0) associates with any
// key and WepTrafficPasses decides whether frames get through.
bool AccessPointAccepts(const NetworkSpec& network, const StationConfig& config);
bool WepTrafficPasses(const NetworkSpec& network, const StationConfig& config);

bool BandAllows(int band, int channel);

// The network the configuration joins among those the adapter can hear: the SSID (empty: any
// open infrastructure network whose SSID is broadcast), network type, band and security must
// fit; among the fitting ones the preferred BSSID wins, otherwise the strongest signal.
// `usable` tells whether the adapter can use a network's channel; `signal` gives its dBm now.
std::optional<std::size_t> ChooseNetwork(const std::vector<NetworkSpec>& networks, const StationConfig& config,
                                         const std::function<bool(const NetworkSpec&)>& usable,
                                         const std::function<int(const NetworkSpec&)>& signal);

// The station's WPA or RSN element for its key setup against this network, with the PMKID the
// configuration holds for the network's BSSID (RSN only).
Bytes StationSecurityElement(const NetworkSpec& network, const KeySetup& setup, const StationConfig& config);

// The 802.11 association information record: fixed part, the request's elements (SSID, rates,
// the station's security element), then the response's elements.
Bytes AssociationInformation(const NetworkSpec& network, const StationConfig& config, const Bytes& stationRates,
                             std::uint16_t associationId);

}  // namespace vuzoza
