// Key data elements: extraction of the peer's element and the group key, bounds, padding.

#include <gtest/gtest.h>

#include "libs/dot1x/wpa/key_data.h"
#include "libs/dot1x/wpa/tests/hex.h"

namespace wpa {
namespace {

using test::FromHex;
using test::SecretFromHex;
using test::ToHex;

constexpr const char* kRsnElement = "30140100000fac040100000fac040100000fac020000";
constexpr const char* kWpaElement = "dd160050f20101000050f20201000050f20201000050f202";
constexpr const char* kGtk = "000102030405060708090a0b0c0d0e0f";

TEST(KeyData, ExtractsElementsAndGroupKey) {
  struct Case {
    const char* name;
    std::string hex;
    const char* rsn;
    const char* wpa;
    int keyIndex;  // -1: no group key
    bool transmit;
  };
  const std::string gtkKde = std::string("dd16000fac01") + "0600" + kGtk;  // index 2, transmit
  const Case cases[] = {
      {"rsn element, group key, padding", std::string(kRsnElement) + gtkKde + "dd000000", kRsnElement, "", 2, true},
      {"group key first, one-byte padding", gtkKde + kRsnElement + "dd", kRsnElement, "", 2, true},
      {"wpa element alone", kWpaElement, "", kWpaElement, -1, false},
      {"unknown elements skipped", std::string("0103010203") + "dd04aabbcc01" + kRsnElement, kRsnElement, "", -1,
       false},
      {"empty", "", "", "", -1, false},
  };
  for (const Case& c : cases) {
    KeyDataElements elements;
    ASSERT_EQ(ParseKeyData(FromHex(c.hex), elements), KeyDataParseError::None) << c.name;
    EXPECT_EQ(ToHex(elements.rsnElement), c.rsn) << c.name;
    EXPECT_EQ(ToHex(elements.wpaElement), c.wpa) << c.name;
    ASSERT_EQ(elements.groupKey.has_value(), c.keyIndex >= 0) << c.name;
    if (elements.groupKey) {
      EXPECT_EQ(elements.groupKey->keyIndex, c.keyIndex) << c.name;
      EXPECT_EQ(elements.groupKey->transmit, c.transmit) << c.name;
      EXPECT_EQ(ToHex(elements.groupKey->key), kGtk) << c.name;
    }
  }
}

TEST(KeyData, RejectsMalformedElements) {
  struct Case {
    const char* name;
    std::string hex;
    KeyDataParseError expected;
  };
  const Case cases[] = {
      {"length past the end", "3016" + std::string(kRsnElement).substr(4), KeyDataParseError::ElementOverrun},
      {"lone id byte", std::string(kRsnElement) + "30", KeyDataParseError::ElementOverrun},
      {"group key header cut", "dd05000fac0101", KeyDataParseError::MalformedGroupKey},
      {"group key without key", "dd06000fac010100", KeyDataParseError::MalformedGroupKey},
      {"group key longer than 32 bytes", "dd27000fac010100" + std::string(66, 'a'),
       KeyDataParseError::MalformedGroupKey},
      {"two group keys", "dd16000fac010100" + std::string(kGtk) + "dd16000fac010200" + kGtk,
       KeyDataParseError::DuplicateGroupKey},
  };
  for (const Case& c : cases) {
    KeyDataElements elements;
    EXPECT_EQ(ParseKeyData(FromHex(c.hex), elements), c.expected) << c.name;
  }
}

TEST(KeyData, BuiltGroupKeyParsesBackAfterPadding) {
  const GroupKey groupKey{1, false, SecretFromHex(kGtk)};
  SecretBytes keyData = SecretFromHex(kRsnElement);
  const SecretBytes kde = BuildGroupKeyKde(groupKey);
  EXPECT_EQ(ToHex(kde), std::string("dd16000fac010100") + kGtk);
  keyData.insert(keyData.end(), kde.begin(), kde.end());
  PadKeyDataForWrap(keyData);
  EXPECT_EQ(keyData.size(), 48u);  // 46 bytes rounded up to whole blocks
  EXPECT_EQ(keyData[46], 0xdd);

  KeyDataElements elements;
  ASSERT_EQ(ParseKeyData(keyData, elements), KeyDataParseError::None);
  ASSERT_TRUE(elements.groupKey);
  EXPECT_EQ(elements.groupKey->key, groupKey.key);
  EXPECT_EQ(elements.groupKey->keyIndex, 1);
}

TEST(KeyData, PaddingReachesWholeWrapBlocks) {
  const std::pair<std::size_t, std::size_t> sizes[] = {{0, 16}, {7, 16}, {16, 16}, {17, 24}, {24, 24}, {25, 32}};
  for (const auto& [before, after] : sizes) {
    SecretBytes keyData(before, 0x30);
    PadKeyDataForWrap(keyData);
    EXPECT_EQ(keyData.size(), after) << before;
    if (before != after) {
      EXPECT_EQ(keyData[before], 0xdd) << before;
    }
  }
}

}  // namespace
}  // namespace wpa
