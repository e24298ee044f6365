#include "libs/vuzoza/sim/pmksa_cache.h"

#include <openssl/crypto.h>

#include <algorithm>

#include "libs/dot1x/wpa/crypto.h"

namespace vuzoza {

PmksaCache::~PmksaCache() {
  for (Entry& e : entries_) OPENSSL_cleanse(e.pmk.data(), e.pmk.size());
}

std::optional<wpa::Pmk> PmksaCache::Find(const Mac& accessPoint, const Mac& station, const Pmkid& pmkid) const {
  for (const Entry& e : entries_) {
    if (e.accessPoint == accessPoint && e.station == station && e.pmkid == pmkid) return e.pmk;
  }
  return std::nullopt;
}

void PmksaCache::Store(const Mac& accessPoint, const Mac& station, const wpa::Pmk& pmk) {
  Forget(accessPoint, station);
  Pmkid pmkid{};
  // Without a PMKID the station can never be recognised; it just authenticates in full again.
  if (!wpa::ComputePmkid(pmk, accessPoint, station, pmkid)) return;
  entries_.push_back({accessPoint, station, pmkid, pmk});
}

void PmksaCache::Forget(const Mac& accessPoint, const Mac& station) {
  std::erase_if(entries_, [&](Entry& e) {
    const bool match = e.accessPoint == accessPoint && e.station == station;
    if (match) OPENSSL_cleanse(e.pmk.data(), e.pmk.size());
    return match;
  });
}

std::optional<Pmkid> AnnouncedPmkid(std::span<const std::uint8_t> e) {
  // Id, length, version (2), group suite (4), pairwise count and suites, AKM count and suites,
  // capabilities (2), PMKID count (2), PMKIDs.
  if (e.size() < 2 || e[0] != 48 || e.size() < 2u + e[1]) return std::nullopt;
  const std::size_t end = 2u + e[1];
  std::size_t at = 2 + 2 + 4;
  for (int list = 0; list < 2; ++list) {
    if (at + 2 > end) return std::nullopt;
    at += 2 + 4 * static_cast<std::size_t>(e[at] | e[at + 1] << 8);
  }
  at += 2;
  if (at + 2 > end || (e[at] | e[at + 1] << 8) == 0 || at + 2 + 16 > end) return std::nullopt;
  Pmkid pmkid{};
  std::copy(e.begin() + static_cast<std::ptrdiff_t>(at + 2), e.begin() + static_cast<std::ptrdiff_t>(at + 18), pmkid.begin());
  return pmkid;
}

}  // namespace vuzoza
