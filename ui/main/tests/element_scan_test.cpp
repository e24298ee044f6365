// The security elements of a survey entry: which element counts as WPA or RSN, which values win
// when both are announced, and that reads stay inside elements and entry.
#include "ui/main/element_scan.h"

#include <gtest/gtest.h>

#include <string>

#include "ui/main/tests/security_elements.h"

namespace ui {
namespace {

using namespace testing;

struct ScanCase {
  std::string name;
  Bytes elements;
  bool wpa2Mode;
  bool wpaFound, rsnFound;
  int keyManagement, pairwise;
};

// `element` without its last `cut` bytes: its length byte claims more than follows.
Bytes Truncated(Bytes element, std::size_t cut) {
  element.resize(element.size() - cut);
  return element;
}

// An RSN element whose pairwise count claims `count` suites but holds one.
Bytes RsnClaimingPairwise(std::uint16_t count) {
  Bytes e = Rsn({kCcmp}, {kPsk});
  e[8] = static_cast<std::uint8_t>(count);  // counted from the id byte
  e[9] = static_cast<std::uint8_t>(count >> 8);
  return e;
}

Bytes RsnWithoutKeyManagementSuite() {
  Bytes e = Rsn({kCcmp}, {kPsk});
  e[14] = 0;  // key-management count 0, the suite bytes still there
  return e;
}

Bytes VendorElement(std::uint8_t size, Bytes oui) {
  Bytes body = std::move(oui);
  body.resize(size, 0x01);
  return Element(221, body);
}

TEST(ElementScan, FindsTheSecurityElementsAndTakesTheValuesOfTheOneThatCounts) {
  const Bytes ssid = Element(0, {'L', 'a', 'b'});
  const Bytes emptySsid = Element(0, {});
  const ScanCase cases[] = {
      {"no elements", {}, true, false, false, 0, 0},
      {"SSID only", ssid, true, false, false, 0, 0},
      {"RSN CCMP PSK", Concat({ssid, Rsn({kCcmp}, {kPsk})}), true, false, true, kPsk, kCcmp},
      {"WPA TKIP PSK", Concat({ssid, Wpa({kTkip}, {kPsk})}), false, true, false, kPsk, kTkip},
      {"WPA TKIP 802.1X", Wpa({kTkip}, {k8021X}), true, true, false, k8021X, kTkip},
      {"after an empty element", Concat({emptySsid, Rsn({kCcmp}, {kPsk})}), true, false, true, kPsk,
       kCcmp},
      {"first of two pairwise suites, key management after both",
       Rsn({kTkip, kCcmp}, {kPsk, k8021X}), true, false, true, kPsk, kTkip},
      {"RSN then WPA, WPA2 mode: the WPA element is passed over",
       Concat({Rsn({kCcmp}, {kPsk}), Wpa({kTkip}, {k8021X})}), true, false, true, kPsk, kCcmp},
      {"RSN then WPA without WPA2 mode: the last one counts",
       Concat({Rsn({kCcmp}, {kPsk}), Wpa({kTkip}, {k8021X})}), false, true, true, k8021X, kTkip},
      {"WPA then RSN, WPA2 mode: RSN overwrites",
       Concat({Wpa({kTkip}, {k8021X}), Rsn({kCcmp}, {kPsk})}), true, true, true, kPsk, kCcmp},
      {"WPA then RSN without WPA2 mode", Concat({Wpa({kTkip}, {k8021X}), Rsn({kCcmp}, {kPsk})}),
       false, true, true, kPsk, kCcmp},
      {"WMM is not WPA", Concat({ssid, Wmm()}), false, false, false, 0, 0},
      {"another vendor of WPA size", VendorElement(22, {0x00, 0x10, 0x18, 0x01}), false, false,
       false, 0, 0},
      {"WPA organisation, other type", VendorElement(22, {0x00, 0x50, 0xF2, 0x04}), false, false,
       false, 0, 0},
      {"a 255-byte vendor element, then RSN",
       Concat({VendorElement(255, {0x00, 0x50, 0xF2, 0x02}), Rsn({kCcmp}, {kPsk})}), true, false,
       true, kPsk, kCcmp},
      {"RSN running past the end", Truncated(Rsn({kCcmp}, {kPsk}), 1), true, false, false, 0, 0},
      {"an element after a truncated one is not read",
       Concat({Element(0, {'a', 'b'}), Bytes{0xDD, 0x30, 0x00}, Rsn({kCcmp}, {kPsk})}), true, false,
       false, 0, 0},
      {"a lone id byte at the end", Concat({Rsn({kCcmp}, {kPsk}), Bytes{48}}), true, false, true,
       kPsk, kCcmp},
      {"pairwise count 0xFFFF", RsnClaimingPairwise(0xFFFF), true, false, false, 0, 0},
      {"pairwise count 0", RsnClaimingPairwise(0), true, false, false, 0, 0},
      {"pairwise count beyond the element", RsnClaimingPairwise(2), true, false, false, 0, 0},
      {"no key-management suite", RsnWithoutKeyManagementSuite(), true, false, false, 0, 0},
      {"RSN cut before its key-management suite",
       Element(48, {0x01, 0x00, 0x00, 0x0F, 0xAC, 0x04, 0x01, 0x00, 0x00, 0x0F, 0xAC, 0x04, 0x01,
                    0x00, 0x00, 0x0F, 0xAC}),
       true, false, false, 0, 0},
      {"WPA element of header size only", VendorElement(4, {0x00, 0x50, 0xF2, 0x01}), false, false,
       false, 0, 0},
  };
  for (const ScanCase& c : cases) {
    SCOPED_TRACE(c.name);
    const SecurityElements found = ScanSecurityElements(c.elements, c.wpa2Mode);
    EXPECT_EQ(found.wpaFound, c.wpaFound);
    EXPECT_EQ(found.rsnFound, c.rsnFound);
    EXPECT_EQ(found.keyManagement, c.keyManagement);
    EXPECT_EQ(found.pairwise, c.pairwise);
  }
}

}  // namespace
}  // namespace ui
