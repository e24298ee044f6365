#pragma once
// What enterprise access points remember of earlier authentications: the PMK per access point and
// station, found again by the PMKID a station announces when it comes back, so the station can go
// straight to the key handshake.

#include <optional>
#include <vector>

#include "libs/dot1x/wpa/bytes.h"
#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza {

class PmksaCache {
 public:
  ~PmksaCache();
  std::optional<wpa::Pmk> Find(const Mac& accessPoint, const Mac& station, const Pmkid& pmkid) const;
  void Store(const Mac& accessPoint, const Mac& station, const wpa::Pmk& pmk);
  void Forget(const Mac& accessPoint, const Mac& station);

 private:
  struct Entry {
    Mac accessPoint{};
    Mac station{};
    Pmkid pmkid{};
    wpa::Pmk pmk{};
  };
  std::vector<Entry> entries_;
};

// The PMKID an RSN element announces, if it carries one.
std::optional<Pmkid> AnnouncedPmkid(std::span<const std::uint8_t> rsnElement);

}  // namespace vuzoza
