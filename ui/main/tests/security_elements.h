#pragma once
// Information elements as access points announce them, for tests of joining.

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace ui::testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Element(std::uint8_t id, const Bytes& body) {
  Bytes e{id, static_cast<std::uint8_t>(body.size())};
  e.insert(e.end(), body.begin(), body.end());
  return e;
}

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

// Version, group suite, the pairwise suites and the key-management suites of `oui`, counts
// little-endian.
inline Bytes SuiteBody(const Bytes& oui, std::initializer_list<std::uint8_t> pairwise,
                       std::initializer_list<std::uint8_t> keyManagement) {
  Bytes body{0x01, 0x00, oui[0], oui[1], oui[2], 0x02};
  auto suites = [&](std::initializer_list<std::uint8_t> types) {
    body.push_back(static_cast<std::uint8_t>(types.size()));
    body.push_back(0x00);
    for (std::uint8_t type : types) body.insert(body.end(), {oui[0], oui[1], oui[2], type});
  };
  suites(pairwise);
  suites(keyManagement);
  return body;
}

// The RSN element (id 48), with the capabilities after the suites.
inline Bytes Rsn(std::initializer_list<std::uint8_t> pairwise,
                 std::initializer_list<std::uint8_t> keyManagement) {
  Bytes body = SuiteBody({0x00, 0x0F, 0xAC}, pairwise, keyManagement);
  body.insert(body.end(), {0x00, 0x00});
  return Element(48, body);
}

// The WPA element: vendor specific, organisation 00-50-F2, type 1.
inline Bytes Wpa(std::initializer_list<std::uint8_t> pairwise,
                 std::initializer_list<std::uint8_t> keyManagement) {
  Bytes body{0x00, 0x50, 0xF2, 0x01};
  const Bytes suites = SuiteBody({0x00, 0x50, 0xF2}, pairwise, keyManagement);
  body.insert(body.end(), suites.begin(), suites.end());
  return Element(221, body);
}

// The WMM parameter element: vendor specific of the same organisation, type 2, 24 bytes.
inline Bytes Wmm() {
  Bytes body{0x00, 0x50, 0xF2, 0x02, 0x01, 0x01, 0x00, 0x00};
  for (int ac = 0; ac < 4; ++ac) body.insert(body.end(), {0x03, 0xA4, 0x00, 0x00});
  return Element(221, body);
}

// Suite types.
inline constexpr std::uint8_t kTkip = 2, kCcmp = 4, k8021X = 1, kPsk = 2;

}  // namespace ui::testing
