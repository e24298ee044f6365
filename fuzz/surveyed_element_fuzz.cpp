// Arbitrary survey lists from the driver: finding the access point's element must stay inside
// the buffer and return a whole element of the kind asked for, or nothing.
//
// Input: one byte choosing the protocol (bit 0: WPA), six bytes of BSSID, then the survey list.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "libs/dot1x/wpa/key_data.h"
#include "libs/dot1x/wpa/surveyed_element.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 7) return 0;
  const wpa::Protocol protocol = data[0] & 1 ? wpa::Protocol::Wpa : wpa::Protocol::Rsn;
  wpa::MacAddress bssid{};
  std::copy(data + 1, data + 7, bssid.begin());
  const wpa::Bytes element = wpa::SurveyedSecurityElement(wpa::ByteSpan(data + 7, size - 7), bssid, protocol);
  if (element.empty()) return 0;
  if (element.size() < 2 || element.size() != 2u + element[1]) std::abort();
  const std::uint8_t id = protocol == wpa::Protocol::Rsn ? wpa::kElementIdRsn : wpa::kElementIdVendor;
  if (element[0] != id) std::abort();
  return 0;
}
