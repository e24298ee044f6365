#pragma once
// 802.11 information elements and the NDIS BSSID list entries that carry them.

#include <cstdint>
#include <span>

#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza {

enum ElementId : std::uint8_t {
  kElementSsid = 0,
  kElementRates = 1,
  kElementDsParameters = 3,
  kElementIbssParameters = 6,
  kElementRsn = 48,
  kElementExtendedRates = 50,
  kElementVendor = 221,
};

// Authentication and key management suite types.
enum class Akm : std::uint8_t { Ieee8021X = 1, Psk = 2 };

// Which element family a WPA-family key setup speaks: the vendor WPA element or RSN.
enum class WpaFamily { Wpa, Rsn };

void AppendElement(Bytes& out, std::uint8_t id, std::span<const std::uint8_t> body);
void AppendRates(Bytes& out, const Bytes& rates);  // supported rates, extended rates past 8
// A WPA (vendor) or RSN element with one group suite, the given pairwise suites and one AKM.
void AppendSecurityElement(Bytes& out, WpaFamily family, Cipher group, std::span<const Cipher> pairwise, Akm akm);

bool OffersWpa(Security s);
bool OffersRsn(Security s);
Akm AkmOf(Security s);

// The variable elements of a network's beacon: SSID (empty when hidden), rates, DS parameter
// set, IBSS parameter set for ad hoc, then RSN before the vendor WPA element.
Bytes BeaconElements(const NetworkSpec& network);

// Where the variable elements of a BSSID list entry start, after the 12 fixed element bytes.
inline constexpr std::size_t kBssidEntryElements = 128;

// One entry of the NDIS BSSID list, its length rounded up to 4 bytes.
Bytes EncodeBssidEntry(const NetworkSpec& network, int rssiDbm);

// count + entries, as many whole entries as fit in `capacity`. Returns the bytes to copy.
Bytes EncodeBssidList(std::span<const Bytes> entries, std::size_t capacity);

}  // namespace vuzoza
