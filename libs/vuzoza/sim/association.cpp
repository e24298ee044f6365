#include "libs/vuzoza/sim/association.h"

#include "libs/vuzoza/sim/radio.h"

namespace vuzoza {
namespace {

bool IsWepKeyLength(std::size_t n) { return n == 5 || n == 13 || n == 29; }

bool CipherOffered(const NetworkSpec& n, Cipher c) {
  for (Cipher offered : n.pairwise) {
    if (offered == c) return true;
  }
  return false;
}

void Put16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

}  // namespace

std::optional<KeySetup> KeySetupOf(const StationConfig& c) {
  std::optional<Cipher> pairwise;
  if (c.encryption == kTkip) pairwise = Cipher::Tkip;
  if (c.encryption == kAes) pairwise = Cipher::Ccmp;
  if (!pairwise) return std::nullopt;
  switch (c.authMode) {
    case kAuthWpa:
      return KeySetup{WpaFamily::Wpa, *pairwise, Akm::Ieee8021X};
    case kAuthWpaPsk:
      return KeySetup{WpaFamily::Wpa, *pairwise, Akm::Psk};
    case kAuthWpa2:
      return KeySetup{WpaFamily::Rsn, *pairwise, Akm::Ieee8021X};
    case kAuthWpa2Psk:
      return KeySetup{WpaFamily::Rsn, *pairwise, Akm::Psk};
    default:
      return std::nullopt;
  }
}

bool WepTrafficPasses(const NetworkSpec& n, const StationConfig& c) {
  const int d = c.wepDefaultKey;
  const int t = n.wepKeyIndex;
  return IsWepKeyLength(c.wepKeys[d].size()) && c.wepKeys[d] == n.wepKeys[d] && c.wepKeys[t] == n.wepKeys[t];
}

bool AccessPointAccepts(const NetworkSpec& n, const StationConfig& c) {
  switch (n.security) {
    case Security::Open:
      return c.encryption != kWepOn && c.encryption != kTkip && c.encryption != kAes &&
             (c.authMode == kAuthOpen || c.authMode == kAuthAuto);
    case Security::Wep:
      if (c.encryption != kWepOn) return false;
      if (c.authMode == kAuthOpen) return true;
      return (c.authMode == kAuthShared || c.authMode == kAuthAuto) && WepTrafficPasses(n, c);
    case Security::Dot1xWep:
      // Open system with WEP on; the keys come after the authentication.
      return c.encryption == kWepOn && (c.authMode == kAuthOpen || c.authMode == kAuthAuto);
    case Security::WpaPsk:
    case Security::Wpa2Psk:
    case Security::WpaWpa2Psk:
    case Security::WpaEap:
    case Security::Wpa2Eap: {
      const auto setup = KeySetupOf(c);
      if (!setup || setup->akm != AkmOf(n.security) || !CipherOffered(n, setup->pairwise)) return false;
      return setup->family == WpaFamily::Wpa ? OffersWpa(n.security) : OffersRsn(n.security);
    }
  }
  return false;
}

bool BandAllows(int band, int channel) {
  const bool five = IsFiveGhzChannel(channel);
  switch (band) {
    case kBand5:
      return five;
    case kBandDs:
    case kBand24:
      return !five;
    default:
      return true;
  }
}

std::optional<std::size_t> ChooseNetwork(const std::vector<NetworkSpec>& networks, const StationConfig& c,
                                         const std::function<bool(const NetworkSpec&)>& usable,
                                         const std::function<int(const NetworkSpec&)>& signal) {
  // Below this the access point cannot hear us.
  constexpr int kOutOfRangeDbm = -100;
  const bool wantAdhoc = c.networkType == 0 || c.networkType == 3;
  std::optional<std::size_t> best;
  int bestSignal = 0;
  bool bestPreferred = false;
  for (std::size_t i = 0; i < networks.size(); ++i) {
    const NetworkSpec& n = networks[i];
    if (n.adhoc != wantAdhoc || !usable(n) || !BandAllows(c.band, n.channel)) continue;
    if (c.ssid.empty()) {
      if (n.hidden || wantAdhoc || n.security != Security::Open) continue;
    } else if (n.ssid != c.ssid) {
      continue;
    }
    if (!AccessPointAccepts(n, c)) continue;
    const int s = signal(n);
    if (s < kOutOfRangeDbm) continue;
    const bool preferred = c.bssid && *c.bssid == n.bssid;
    if (!best || (preferred && !bestPreferred) || (preferred == bestPreferred && s > bestSignal)) {
      best = i;
      bestSignal = s;
      bestPreferred = preferred;
    }
  }
  return best;
}

Bytes StationSecurityElement(const NetworkSpec& n, const KeySetup& setup, const StationConfig& c) {
  Bytes out;
  const Cipher pairwise[] = {setup.pairwise};
  AppendSecurityElement(out, setup.family, n.group, pairwise, setup.akm);
  if (setup.family != WpaFamily::Rsn) return out;
  for (const auto& [bssid, pmkid] : c.pmkids) {
    if (bssid != n.bssid) continue;
    // PMKID count and the PMKID after the capabilities; the element's length grows with them.
    out.push_back(1);
    out.push_back(0);
    out.insert(out.end(), pmkid.begin(), pmkid.end());
    out[1] = static_cast<std::uint8_t>(out.size() - 2);
    break;
  }
  return out;
}

Bytes AssociationInformation(const NetworkSpec& n, const StationConfig& c, const Bytes& stationRates,
                             std::uint16_t associationId) {
  Bytes request;
  AppendElement(request, kElementSsid, n.ssid);
  AppendRates(request, stationRates);
  if (const auto setup = KeySetupOf(c)) {
    const Bytes element = StationSecurityElement(n, *setup, c);
    request.insert(request.end(), element.begin(), element.end());
  }
  Bytes response;
  AppendRates(response, n.rates);

  constexpr std::size_t kFixed = 40;
  Bytes info(kFixed, 0);
  Put32(info, 0, kFixed);
  Put16(info, 4, 0x0007);  // capabilities, listen interval and current AP address present
  Put16(info, 6, n.security == Security::Open ? 0x0001 : 0x0011);
  Put16(info, 8, 10);
  std::copy(n.bssid.begin(), n.bssid.end(), info.begin() + 10);
  Put32(info, 16, static_cast<std::uint32_t>(request.size()));
  Put32(info, 20, kFixed);
  Put16(info, 24, 0x0007);  // capabilities, status code and association id present
  Put16(info, 26, n.security == Security::Open ? 0x0001 : 0x0011);
  Put16(info, 28, 0);
  Put16(info, 30, 0xC000 | associationId);
  Put32(info, 32, static_cast<std::uint32_t>(response.size()));
  Put32(info, 36, static_cast<std::uint32_t>(kFixed + request.size()));
  info.insert(info.end(), request.begin(), request.end());
  info.insert(info.end(), response.begin(), response.end());
  return info;
}

}  // namespace vuzoza
