#include "libs/vuzoza/sim/elements.h"

#include <algorithm>

#include "libs/vuzoza/sim/radio.h"

namespace vuzoza {
namespace {

constexpr std::uint8_t kWpaOui[] = {0x00, 0x50, 0xF2};
constexpr std::uint8_t kRsnOui[] = {0x00, 0x0F, 0xAC};

void Put32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void PutSuite(Bytes& b, const std::uint8_t (&oui)[3], std::uint8_t type) {
  b.insert(b.end(), std::begin(oui), std::end(oui));
  b.push_back(type);
}

}  // namespace

void AppendElement(Bytes& out, std::uint8_t id, std::span<const std::uint8_t> body) {
  out.push_back(id);
  out.push_back(static_cast<std::uint8_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
}

void AppendRates(Bytes& out, const Bytes& rates) {
  const std::size_t first = std::min<std::size_t>(rates.size(), 8);
  AppendElement(out, kElementRates, std::span(rates).first(first));
  if (rates.size() > 8) AppendElement(out, kElementExtendedRates, std::span(rates).subspan(8));
}

void AppendSecurityElement(Bytes& out, WpaFamily family, Cipher group, std::span<const Cipher> pairwise,
                           Akm akm) {
  const auto& oui = family == WpaFamily::Wpa ? kWpaOui : kRsnOui;
  Bytes body;
  if (family == WpaFamily::Wpa) {
    body.insert(body.end(), std::begin(kWpaOui), std::end(kWpaOui));
    body.push_back(0x01);  // WPA element type
  }
  body.push_back(0x01);  // version 1
  body.push_back(0x00);
  PutSuite(body, oui, static_cast<std::uint8_t>(group));
  body.push_back(static_cast<std::uint8_t>(pairwise.size()));
  body.push_back(0x00);
  for (Cipher c : pairwise) PutSuite(body, oui, static_cast<std::uint8_t>(c));
  body.push_back(0x01);  // one AKM suite
  body.push_back(0x00);
  PutSuite(body, oui, static_cast<std::uint8_t>(akm));
  if (family == WpaFamily::Rsn) {
    body.push_back(0x00);  // RSN capabilities
    body.push_back(0x00);
  }
  AppendElement(out, family == WpaFamily::Wpa ? kElementVendor : kElementRsn, body);
}

bool OffersWpa(Security s) {
  return s == Security::WpaPsk || s == Security::WpaWpa2Psk || s == Security::WpaEap;
}
bool OffersRsn(Security s) {
  return s == Security::Wpa2Psk || s == Security::WpaWpa2Psk || s == Security::Wpa2Eap;
}
Akm AkmOf(Security s) {
  return s == Security::WpaEap || s == Security::Wpa2Eap ? Akm::Ieee8021X : Akm::Psk;
}

Bytes BeaconElements(const NetworkSpec& n) {
  Bytes out;
  AppendElement(out, kElementSsid, n.hidden ? std::span<const std::uint8_t>() : std::span(n.ssid));
  AppendRates(out, n.rates);
  const std::uint8_t channel = static_cast<std::uint8_t>(n.channel);
  AppendElement(out, kElementDsParameters, std::span(&channel, 1));
  if (n.adhoc) {
    const std::uint8_t atim[] = {0x00, 0x00};
    AppendElement(out, kElementIbssParameters, atim);
  }
  if (OffersRsn(n.security)) AppendSecurityElement(out, WpaFamily::Rsn, n.group, n.pairwise, AkmOf(n.security));
  if (OffersWpa(n.security)) AppendSecurityElement(out, WpaFamily::Wpa, n.group, n.pairwise, AkmOf(n.security));
  return out;
}

Bytes EncodeBssidEntry(const NetworkSpec& n, int rssiDbm) {
  const Bytes elements = BeaconElements(n);
  const std::size_t unpadded = kBssidEntryElements + elements.size();
  const std::size_t length = (unpadded + 3) & ~std::size_t{3};
  Bytes e(length, 0);
  Put32(e, 0, static_cast<std::uint32_t>(length));
  std::copy(n.bssid.begin(), n.bssid.end(), e.begin() + 4);
  const std::size_t ssidLen = n.hidden ? 0 : n.ssid.size();
  Put32(e, 12, static_cast<std::uint32_t>(ssidLen));
  std::copy_n(n.ssid.begin(), ssidLen, e.begin() + 16);
  const bool privacy = n.security != Security::Open;
  Put32(e, 48, privacy ? 1 : 0);
  Put32(e, 52, static_cast<std::uint32_t>(rssiDbm));
  Put32(e, 56, static_cast<std::uint32_t>(n.phyType));
  Put32(e, 60, 32);   // configuration length
  Put32(e, 64, 100);  // beacon period in TU
  Put32(e, 68, 0);    // ATIM window
  Put32(e, 72, ChannelToKhz(n.channel));
  Put32(e, 92, n.adhoc ? 0 : 1);
  std::copy_n(n.rates.begin(), std::min<std::size_t>(n.rates.size(), 16), e.begin() + 96);
  Put32(e, 112, static_cast<std::uint32_t>(12 + elements.size()));
  // Fixed elements: timestamp (left 0), beacon interval, capability (ESS or IBSS, privacy).
  e[124] = 100;
  std::uint16_t capability = n.adhoc ? 0x0002 : 0x0001;
  if (privacy) capability |= 0x0010;
  e[126] = static_cast<std::uint8_t>(capability);
  e[127] = static_cast<std::uint8_t>(capability >> 8);
  std::copy(elements.begin(), elements.end(), e.begin() + kBssidEntryElements);
  return e;
}

Bytes EncodeBssidList(std::span<const Bytes> entries, std::size_t capacity) {
  Bytes out(4, 0);
  std::uint32_t count = 0;
  for (const Bytes& e : entries) {
    if (out.size() + e.size() > capacity) break;
    out.insert(out.end(), e.begin(), e.end());
    ++count;
  }
  Put32(out, 0, count);
  return out;
}

}  // namespace vuzoza
