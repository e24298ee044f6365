// The access point's element from the survey list: the entry of its BSSID, the element of the
// protocol asked for, and driver bytes that lie about their lengths.

#include <gtest/gtest.h>

#include <optional>

#include "libs/dot1x/wpa/surveyed_element.h"
#include "libs/dot1x/wpa/tests/hex.h"

namespace wpa {
namespace {

using test::FromHex;
using test::ToHex;

const MacAddress kOther = {0x02, 0x5a, 0xa0, 0x00, 0x00, 0x01};
const MacAddress kOurs = {0x02, 0x5a, 0xa0, 0x00, 0x00, 0x05};
constexpr const char* kRsn = "30140100000fac040100000fac040100000fac020000";
constexpr const char* kWpa = "dd160050f20101000050f20201000050f20201000050f202";

void Put32(Bytes& out, std::size_t at, std::uint32_t value) {
  const std::array<std::uint8_t, 4> bytes = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                             static_cast<std::uint8_t>(value >> 16),
                                             static_cast<std::uint8_t>(value >> 24)};
  std::copy(bytes.begin(), bytes.end(), out.begin() + static_cast<std::ptrdiff_t>(at));
}

// One BSSID list entry carrying these variable elements; its two length fields may be made to lie.
Bytes Entry(const MacAddress& bssid, const Bytes& elements, std::optional<std::uint32_t> claimedLength = {},
            std::optional<std::uint32_t> claimedElementsLength = {}) {
  Bytes entry(128, 0);
  entry.insert(entry.end(), elements.begin(), elements.end());
  entry.resize((entry.size() + 3) / 4 * 4, 0);
  Put32(entry, 0, claimedLength.value_or(static_cast<std::uint32_t>(entry.size())));
  std::copy(bssid.begin(), bssid.end(), entry.begin() + 4);
  Put32(entry, 112, claimedElementsLength.value_or(static_cast<std::uint32_t>(12 + elements.size())));
  return entry;
}

Bytes List(std::uint32_t count, const std::vector<Bytes>& entries) {
  Bytes list(4, 0);
  Put32(list, 0, count);
  for (const Bytes& e : entries) list.insert(list.end(), e.begin(), e.end());
  return list;
}

TEST(SurveyedElement, FindsTheElementOfTheAccessPointsEntry) {
  const Bytes ssid = FromHex("0009486f6d652d57504132");
  const Bytes vendorOther = FromHex("dd050050f20200");  // a vendor element that is not the WPA one
  Bytes ourElements = ssid;
  for (const Bytes& e : {vendorOther, FromHex(kRsn), FromHex(kWpa)}) ourElements.insert(ourElements.end(), e.begin(), e.end());
  Bytes otherElements = ssid;
  const Bytes otherRsn = FromHex("30140100000fac020100000fac020100000fac020000");
  otherElements.insert(otherElements.end(), otherRsn.begin(), otherRsn.end());
  const Bytes good = List(2, {Entry(kOther, otherElements), Entry(kOurs, ourElements)});
  const Bytes shortEntry = List(2, {Entry(kOther, otherElements, 127), Entry(kOurs, ourElements)});
  const Bytes longEntry = List(2, {Entry(kOther, otherElements), Entry(kOurs, ourElements, 100000)});
  const Bytes cutElement = List(1, {Entry(kOurs, FromHex("3014010000"))});
  const Bytes elementsPastEntry = List(1, {Entry(kOurs, FromHex(kRsn), std::nullopt, 5000)});

  struct Case {
    const char* name;
    Bytes list;
    MacAddress bssid;
    Protocol protocol;
    const char* expected;
  };
  const Case cases[] = {
      {"RSN of our entry, not of the first", good, kOurs, Protocol::Rsn, kRsn},
      {"WPA element past another vendor element", good, kOurs, Protocol::Wpa, kWpa},
      {"BSSID not listed", good, MacAddress{2}, Protocol::Rsn, ""},
      {"entry without a WPA element", good, kOther, Protocol::Wpa, ""},
      {"count of zero", List(0, {Entry(kOurs, FromHex(kRsn))}), kOurs, Protocol::Rsn, ""},
      {"count beyond the entries", List(9, {Entry(kOurs, FromHex(kRsn))}), kOurs, Protocol::Rsn, kRsn},
      {"entry shorter than its fixed part", shortEntry, kOurs, Protocol::Rsn, ""},
      {"entry longer than the buffer", longEntry, kOurs, Protocol::Rsn, ""},
      {"element running past the entry", cutElement, kOurs, Protocol::Rsn, ""},
      {"element length field beyond the entry", elementsPastEntry, kOurs, Protocol::Rsn, kRsn},
      {"empty buffer", Bytes{}, kOurs, Protocol::Rsn, ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToHex(SurveyedSecurityElement(c.list, c.bssid, c.protocol)), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace wpa
