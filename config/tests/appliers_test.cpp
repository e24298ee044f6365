#include "config/appliers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <thread>
#include <vector>

#include "config/setting_keys.h"
#include "config/tests/applier_fixture.h"

namespace config {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class AppliersTest : public ::testing::Test, protected testing::ApplierFixture {
 protected:
  std::u16string Stored(std::u16string_view key) { return store.ReadSettingString(key); }
};

// The appliers that push one number and store it under one key.
struct NumberApplier {
  int (*apply)(const ApplierContext&, int);
  const char* function;
  std::u16string_view key;
};

const NumberApplier kNumberAppliers[] = {
    {ApplyNetworkType, "SetWL_NetworkType", key::NetworkType},
    {ApplyBand, "SetWL_802_11_NetworkTypeInUse", key::WirelessMode},
    {ApplyChannel, "SetWL_Channel", key::Channel},
    {ApplyAuthentication, "SetWL_AuthenticationMode", key::AuthenticationMode},
    {ApplyEncryption, "SetWL_WEPStatus", key::WEPStatus},
    {ApplyPowerSave, "SetWL_PSMode", key::PowerSaveMode},
    {ApplyFragmentationThreshold, "SetWL_FragmentationThreshold", key::FragmentationThreshold},
    {ApplyRtsThreshold, "SetWL_RTS_CTS_Threshold", key::RTSThreshold},
    {ApplyPreamble, "SetWL_PreambleMode", key::PreambleMode},
    {ApplyMultiDomain, "SetWL_MultiDomainCapability", key::MultiDomainCapability},
    {ApplyPspXLink, "SetWL_QVPSPXLinkMode", key::PSPXLinkMode},
    {ApplyWmm, "SetWL_QVWMMQosMode", key::WMMQosMode},
    {ApplyHideSsid, "SetWLAP_HideSSIDState", key::HideSSID},
    {ApplyApBand, "SetWL_ApWirelessMode", key::ApWirelessMode},
    {ApplyApProtection, "SetWL_ApProtectionMode", key::ApProtectionMode},
    {ApplyFilterMode, "SetWLAP_FilterMode", key::MACFilterMode},
};

TEST_F(AppliersTest, AcceptedNumberIsPushedAndStoredRefusedOneLeavesTheOldValue) {
  for (const NumberApplier& applier : kNumberAppliers) {
    SCOPED_TRACE(applier.function);
    driver.ClearCalls();
    ASSERT_EQ(store.WriteSetting(applier.key, u"old"), 0);

    driver.AnswerNext(applier.function, -1);
    EXPECT_EQ(applier.apply(context, 7), -1);
    EXPECT_EQ(Stored(applier.key), u"old");

    EXPECT_EQ(applier.apply(context, -3), 0);
    EXPECT_EQ(Stored(applier.key), u"-3");
    const std::string call = std::string(applier.function);
    EXPECT_THAT(driver.Calls(), ElementsAre(call + "(7)", call + "(-3)"));
  }
}

TEST_F(AppliersTest, ANonZeroLibraryAnswerOtherThanMinusOneIsARefusalToo) {
  driver.AnswerNext("SetWL_Channel", 5);
  EXPECT_EQ(ApplyChannel(context, 11), -1);
  EXPECT_EQ(Stored(key::Channel), u"");
}

TEST_F(AppliersTest, NumbersGoIntoTheTreeOfTheCurrentMode) {
  store.SetOperationMode(kAccessPointMode);
  EXPECT_EQ(ApplyChannel(context, 11), 0);
  EXPECT_THAT(Tree(kAccessPointMode), ElementsAre("Channel=11"));
  EXPECT_THAT(Tree(kStationMode), IsEmpty());
}

TEST_F(AppliersTest, NetworkTypeSetsTheCurrentNetworkType) {
  EXPECT_EQ(ApplyNetworkType(context, network_type::AdHoc), 0);
  EXPECT_EQ(radio.currentNetworkType.load(), network_type::AdHoc);
  EXPECT_EQ(ApplyNetworkType(context, network_type::PseudoAdHoc), 0);
  EXPECT_EQ(radio.currentNetworkType.load(), network_type::PseudoAdHoc);
}

TEST_F(AppliersTest, RefusedTransmitPowerIsStoredAnywayAndReportedAsRefused) {
  driver.AnswerNext("SetWLAP_TxPowerLevel", -1);
  EXPECT_EQ(ApplyTxPower(context, 3), -1);
  EXPECT_EQ(Stored(key::TxPowerLevel), u"3");
  EXPECT_EQ(ApplyTxPower(context, 1), 0);
  EXPECT_EQ(Stored(key::TxPowerLevel), u"1");
}

TEST_F(AppliersTest, RegionGoesIntoBothTreesEvenInAccessPointMode) {
  store.SetOperationMode(kAccessPointMode);
  EXPECT_EQ(ApplyRegion(context, 48), 0);
  EXPECT_THAT(Tree(kStationMode), ElementsAre("OperationRegion=48"));
  EXPECT_THAT(Tree(kAccessPointMode), ElementsAre("OperationRegion=48"));

  driver.AnswerNext("SetWL_OperationRegionCode", -1);
  EXPECT_EQ(ApplyRegion(context, 16), -1);
  EXPECT_THAT(Tree(kStationMode), ElementsAre("OperationRegion=48"));
  EXPECT_THAT(Tree(kAccessPointMode), ElementsAre("OperationRegion=48"));
}

TEST_F(AppliersTest, SupportChannelsArePushedButNotStored) {
  const std::uint8_t channels[] = {1, 2, 3};
  EXPECT_EQ(ApplySupportChannels(context, channels), 0);
  driver.AnswerNext("SetWL_SupportChannel", -1);
  EXPECT_EQ(ApplySupportChannels(context, channels), -1);
  EXPECT_THAT(driver.Calls(), ElementsAre("SetWL_SupportChannel(010203, 3)",
                                          "SetWL_SupportChannel(010203, 3)"));
  EXPECT_THAT(Tree(kStationMode), IsEmpty());
}

TEST_F(AppliersTest, SsidIsStoredAsTextUpToItsFirstZeroByte) {
  const struct {
    std::string bytes;
    const char* call;
    std::u16string stored;
  } cases[] = {
      {"home", "SetWL_SSID(686F6D65, 4)", u"home"},
      {"", "SetWL_SSID(, 0)", u""},
      {"caf\xE9", "SetWL_SSID(636166E9, 4)", u"caf\u00E9"},  // code page byte round trip
      {std::string("ab\0cd", 5), "SetWL_SSID(6162006364, 5)", u"ab"},
      {std::string(40, 'x'), nullptr, std::u16string(32, u'x')},  // cut to 32 bytes
  };
  for (const auto& c : cases) {
    driver.ClearCalls();
    const auto* data = reinterpret_cast<const std::uint8_t*>(c.bytes.data());
    EXPECT_EQ(ApplySsid(context, std::span(data, c.bytes.size())), 0);
    EXPECT_EQ(Stored(key::SSID), c.stored);
    if (c.call) {
      EXPECT_THAT(driver.Calls(), ElementsAre(c.call));
    }
  }
}

TEST_F(AppliersTest, SsidPushClearsWasDisconnectedEvenWhenRefused) {
  radio.wasDisconnected = 1;
  ASSERT_EQ(store.WriteSetting(key::SSID, u"old"), 0);
  driver.AnswerNext("SetWL_SSID", -1);
  const std::uint8_t name[] = {'n', 'e', 'w'};
  EXPECT_EQ(ApplySsid(context, name), -1);
  EXPECT_EQ(radio.wasDisconnected.load(), 0);
  EXPECT_EQ(Stored(key::SSID), u"old");
}

TEST_F(AppliersTest, DesiredRatesAreStoredAsSixteenSeparatedHexBytes) {
  const std::array<std::uint8_t, 16> rates = {0x82, 0x84, 0x0B, 0x16, 0x0C, 0x12, 0x18, 0x24,
                                              0x30, 0x48, 0x60, 0x6C};
  EXPECT_EQ(ApplyDesiredRates(context, rates), 0);
  EXPECT_EQ(Stored(key::DesiredRate), u"82 84 0B 16 0C 12 18 24 30 48 60 6C 00 00 00 00");
}

TEST_F(AppliersTest, FilterListStoresEveryEntryWhateverItsInUseByte) {
  std::array<std::uint8_t, VZ_MAC_LIST_SIZE> list{};
  const std::uint8_t first[] = {1, 0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  const std::uint8_t unused[] = {0, 0x02, 0x00, 0x00, 0x00, 0x00, 0xFF};  // not in use, kept
  std::copy(std::begin(first), std::end(first), list.begin());
  std::copy(std::begin(unused), std::end(unused), list.begin() + 15 * 7);
  store.SetOperationMode(kAccessPointMode);
  EXPECT_EQ(ApplyFilterList(context, list), 0);
  const auto tree = Tree(kAccessPointMode);
  ASSERT_EQ(tree.size(), 16u);
  EXPECT_EQ(tree[0], "MACFilterAddr0=00 1A 2B 3C 4D 5E");
  EXPECT_EQ(tree[1], "MACFilterAddr1=00 00 00 00 00 00");
  EXPECT_EQ(tree[15], "MACFilterAddr15=02 00 00 00 00 FF");

  driver.AnswerNext("SetWLAP_FilterList", -1);
  list[1] = 0x77;
  EXPECT_EQ(ApplyFilterList(context, list), -1);
  EXPECT_EQ(Tree(kAccessPointMode)[0], "MACFilterAddr0=00 1A 2B 3C 4D 5E");
}

TEST_F(AppliersTest, WepKeyIsStoredUnderTheNameOfItsLength) {
  std::array<std::uint8_t, 29> key{};
  for (std::size_t i = 0; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(0xA0 + i);
  const struct {
    int lengthCode;
    const char16_t* name;
    const char16_t* stored;
    const char16_t* bits;
  } cases[] = {
      {0, u"WEPKey64_2", u"A0 A1 A2 A3 A4", u"64"},
      {1, u"WEPKey128_2", u"A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC", u"128"},
      {2, u"WEPKey256_2",
       u"A0 A1 A2 A3 A4 A5 A6 A7 A8 A9 AA AB AC AD AE AF B0 B1 B2 B3 B4 B5 B6 B7 B8 B9 BA BB BC",
       u"256"},
      {9, u"WEPKey64_2", u"A0 A1 A2 A3 A4", u"64"},  // an unknown code the driver accepted
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lengthCode);
    driver.ClearCalls();
    EXPECT_EQ(ApplyWepKey(context, 2, c.lengthCode, false, key), 0);
    EXPECT_EQ(Stored(c.name), c.stored);
    EXPECT_EQ(Stored(key::WEPKeyLength), c.bits);
    EXPECT_EQ(driver.Calls()[0].rfind("SetWL_WriteKey(2, " + std::to_string(c.lengthCode) + ", 0, ", 0),
              0u);
  }
  EXPECT_EQ(Stored(key::WEPDefaultKeyId), u"");  // no default flag so far
}

TEST_F(AppliersTest, WepKeyDefaultFlagStoresTheIndexAndShortKeysAreZeroPadded) {
  const std::uint8_t shortKey[] = {0x11, 0x22};
  EXPECT_EQ(ApplyWepKey(context, 3, 0, true, shortKey), 0);
  EXPECT_THAT(driver.Calls(),
              ElementsAre("SetWL_WriteKey(3, 0, 1, 1122" + std::string(54, '0') + ")"));
  EXPECT_EQ(Stored(u"WEPKey64_3"), u"11 22 00 00 00");
  EXPECT_EQ(Stored(key::WEPDefaultKeyId), u"3");
}

TEST_F(AppliersTest, RefusedWepKeyStoresNothing) {
  driver.AnswerNext("SetWL_WriteKey", -1);
  const std::uint8_t key[5] = {1, 2, 3, 4, 5};
  EXPECT_EQ(ApplyWepKey(context, 0, 0, true, key), -1);
  EXPECT_THAT(Tree(kStationMode), IsEmpty());
}

// Key pushes of ApplyWep, as "index, code, default flag, first key byte".
std::vector<std::string> KeyPushes(const adapter::testing::RecordingAdapterLibrary& driver) {
  std::vector<std::string> pushes;
  for (const auto& record : driver.Records()) {
    if (record.function != "SetWL_WriteKey") continue;
    pushes.push_back(record.arguments[0] + "," + record.arguments[1] + "," + record.arguments[2] +
                     "," + record.arguments[3].substr(0, 2));
  }
  return pushes;
}

TEST_F(AppliersTest, WepEnablePushesTheStoredKeysThenSwitchesWepOn) {
  ASSERT_EQ(store.WriteSetting(key::WEPKeyLength, u"128"), 0);
  ASSERT_EQ(store.WriteSetting(key::WEPDefaultKeyId, u"2"), 0);
  ASSERT_EQ(store.WriteSetting(u"WEPKey128_1", u"AB CD"), 0);
  EXPECT_EQ(ApplyWep(context, true), 0);
  // Keys that were never stored go out as the built-in default key (01 02 03 ...).
  EXPECT_THAT(KeyPushes(driver), ElementsAre("0,1,0,01", "1,1,0,AB", "2,1,1,01", "3,1,0,01"));
  EXPECT_EQ(driver.Calls().back(), "SetWL_WEPStatus(0)");
  EXPECT_EQ(Stored(key::WEPStatus), u"0");
  EXPECT_EQ(Stored(u"WEPKey128_1"), u"AB CD 00 00 00 00 00 00 00 00 00 00 00");
}

TEST_F(AppliersTest, WepDisableStillPushesTheKeysAndAnExplicitIndexWins) {
  ASSERT_EQ(store.WriteSetting(key::WEPDefaultKeyId, u"2"), 0);
  EXPECT_EQ(ApplyWep(context, false, 1), 0);
  EXPECT_THAT(KeyPushes(driver), ElementsAre("0,0,0,01", "1,0,1,01", "2,0,0,01", "3,0,0,01"));
  EXPECT_EQ(driver.Calls().back(), "SetWL_WEPStatus(1)");
}

TEST_F(AppliersTest, WepStoredLengthAndIndexOutsideTheirValuesFallBack) {
  const struct {
    const char16_t* length;
    const char16_t* defaultId;
    const char* firstPushes;  // key 0 and the default key's flag
  } cases[] = {
      {u"", u"", "0,0,1,01"},      // absent: 64 bits, key 0
      {u"100", u"-1", "0,0,1,01"}, // not a key length: 64 bits
      {u"256", u"9", "0,2,1,01"},  // an index no key has: key 0 rather than none
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.length));
    driver.ClearCalls();
    ASSERT_EQ(store.WriteSetting(key::WEPKeyLength, c.length), 0);
    ASSERT_EQ(store.WriteSetting(key::WEPDefaultKeyId, c.defaultId), 0);
    EXPECT_EQ(ApplyWep(context, true), 0);
    EXPECT_EQ(KeyPushes(driver).at(0), c.firstPushes);
  }
}

TEST_F(AppliersTest, AppliersRunOnASecondThreadWhileTheFirstUsesTheStore) {
  std::thread supplicantSide([this] {
    for (int i = 0; i < 200; ++i) {
      (void)ApplyAuthentication(context, auth_mode::Open);
      (void)ApplySsid(context, std::span<const std::uint8_t>());
    }
  });
  for (int i = 0; i < 200; ++i) {
    (void)ApplyChannel(context, 1 + i % 11);
    (void)store.ReadSettingString(key::AuthenticationMode);
  }
  supplicantSide.join();
  EXPECT_EQ(Stored(key::AuthenticationMode), u"0");
  EXPECT_EQ(Stored(key::Channel), u"2");
  EXPECT_EQ(driver.Calls().size(), 600u);
}

}  // namespace
}  // namespace config
