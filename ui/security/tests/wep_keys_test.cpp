// Typed WEP keys: which texts make a key of which bytes, and the hexadecimal filter.
#include "ui/security/wep_keys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ui::wep {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(WepKeys, TypedKeysOfTheRequiredFormAndLengthOnly) {
  struct Case {
    std::u16string typed;
    int lengthIndex, format;
    std::optional<Bytes> key;
  };
  const Case cases[] = {
      {u"1A2b3C4d5E", 0, kHexadecimal, Bytes{0x1A, 0x2B, 0x3C, 0x4D, 0x5E}},
      {u"  1A2B3C4D5E ", 0, kHexadecimal, Bytes{0x1A, 0x2B, 0x3C, 0x4D, 0x5E}},
      {u"1A2B3C4D5", 0, kHexadecimal, std::nullopt},
      {u"1A2B3C4D5E6", 0, kHexadecimal, std::nullopt},
      {u"1A 2B3C4D5", 0, kHexadecimal, std::nullopt},
      {u"1A2B3C4D5G", 0, kHexadecimal, std::nullopt},
      {u"00112233445566778899AABBCC", 1, kHexadecimal,
       Bytes{0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC}},
      {u"abcdefghijklm", 1, kAscii,
       Bytes{'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h', 'i', 'j', 'k', 'l', 'm'}},
      {u"abcdefghijkl", 1, kAscii, std::nullopt},
      {u"caf\u20ac!", 0, kAscii, std::nullopt},  // not one byte of the code page
      {u"", 0, kAscii, std::nullopt},
      {std::u16string(58, u'f'), 2, kHexadecimal, Bytes(29, 0xFF)},
      {std::u16string(29, u'z'), 2, kAscii, Bytes(29, 'z')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.typed.begin(), c.typed.end()));
    EXPECT_EQ(TypedKeyBytes(c.typed, c.lengthIndex, c.format), c.key);
  }
}

TEST(WepKeys, TheFilterKeepsHexadecimalDigitsAndNamesTheFirstOtherCharacter) {
  EXPECT_EQ(KeepHexDigits(u"1a2B").digits, u"1a2B");
  EXPECT_EQ(KeepHexDigits(u"1a2B").firstRemoved, std::nullopt);
  const HexFiltered filtered = KeepHexDigits(u"1G2 3-");
  EXPECT_EQ(filtered.digits, u"123");
  EXPECT_EQ(filtered.firstRemoved, 1u);
}

}  // namespace
}  // namespace ui::wep
