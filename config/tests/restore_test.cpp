#include "config/restore.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "config/region_channels.h"
#include "config/setting_keys.h"
#include "config/tests/applier_fixture.h"

namespace config {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

using Setting = std::pair<std::u16string_view, std::u16string_view>;

// Counts the start requests and notes the driver call each one followed, which places it within
// the sequence.
class CallMarkingSupplicant final : public SupplicantControl {
 public:
  explicit CallMarkingSupplicant(const adapter::testing::RecordingAdapterLibrary& driver)
      : driver_(driver) {}
  void StartSupplicant() override {
    const auto calls = driver_.Calls();
    startedAfter.push_back(calls.empty() ? "" : calls.back());
  }
  void StopSupplicant() override {}
  int StartRequests() const { return static_cast<int>(startedAfter.size()); }
  std::vector<std::string> startedAfter;

 private:
  const adapter::testing::RecordingAdapterLibrary& driver_;
};

class RestoreTest : public ::testing::Test, protected testing::ApplierFixture {
 protected:
  void StoreSettings(std::initializer_list<Setting> settings) {
    for (const auto& [name, text] : settings) ASSERT_EQ(store.WriteSetting(name, text), 0);
  }
  void Restore() {
    const RestoreEnvironment environment{clock, supplicant, language, productWirelessMode,
                                         chipType};
    EXPECT_EQ(RestoreConfiguration(context, environment), 0);
  }
  // The random SSID a station restore pushes first, as hex: 32 draws of the generator seeded
  // with the clock's wall time.
  std::string RandomSsidHex() const {
    platform::RandomGenerator random;
    random.Seed(static_cast<std::uint32_t>(clock.UnixSeconds()));
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 32; ++i) bytes.push_back(static_cast<std::uint8_t>(random.Next()));
    return adapter::testing::HexText(bytes);
  }

  platform::VirtualClock clock;
  CallMarkingSupplicant supplicant{driver};
  lang::CMultiLanguage language;  // no file: built-in texts
  int productWirelessMode = 0;
  int chipType = 1;
};

// The recorded WEP key push: the key's hex bytes padded with zeros to the 29 bytes handed over.
std::string WriteKey(int index, int code, bool isDefault, std::string keyHex) {
  keyHex.resize(58, '0');
  return "SetWL_WriteKey(" + std::to_string(index) + ", " + std::to_string(code) + ", " +
         (isDefault ? "1" : "0") + ", " + keyHex + ")";
}
const std::string kDefault64 = "0102030405";

// ---------------------------------------------------------------------------------------------
// Whole sequences

TEST_F(RestoreTest, StationFromAnEmptyTree) {
  driver.Answer("QueryWL_SupportedRate", 0);
  driver.AnswerBytes("QueryWL_SupportedRate", {0x82, 0x84, 0x8B, 0x96});
  Restore();
  const std::vector<std::string> expected = {
      "SetWL_QVWirelessMode(3)",
      "QueryWL_QVWirelessMode()",
      "SetWL_802_11_NetworkTypeInUse(3)",
      "SetWL_NetworkType(1)",
      "SetWL_AuthenticationMode(2)",
      WriteKey(0, 0, true, kDefault64),
      WriteKey(1, 0, false, kDefault64),
      WriteKey(2, 0, false, kDefault64),
      WriteKey(3, 0, false, kDefault64),
      "SetWL_WEPStatus(1)",
      "SetWL_PreambleMode(2)",
      "SetWL_FragmentationThreshold(2346)",
      "SetWL_RTS_CTS_Threshold(2347)",
      "SetWL_MultiDomainCapability(0)",
      "SetWL_OperationRegionCode(0)",
      "QueryWL_OperationRegionCode()",
      "QvOpenAdapter()",  // region channels for the driver's answer (-1: not a region)
      "QueryWL_SupportedRate()",
      "SetWL_DesiredRate(82848B96000000000000000000000000)",
      "SetWL_SSID(" + RandomSsidHex() + ", 32)",
      "SetWL_SSID(, 0)",
      "SetWL_QVPSPXLinkMode(0)",
      "SetWL_QVWMMQosMode(0)",
  };
  EXPECT_THAT(driver.Calls(), ElementsAreArray(expected));
  EXPECT_EQ(radio.bandCapability.load(), band_capability::TwoPointFourOnly);
  EXPECT_EQ(radio.wirelessModeSettable.load(), 1);
  EXPECT_EQ(radio.currentNetworkType.load(), network_type::Infrastructure);
  EXPECT_EQ(supplicant.StartRequests(), 0);
  EXPECT_EQ(clock.Now(), platform::Millis(0));
  EXPECT_THAT(Tree(kStationMode),
              ElementsAre("WirelessMode=3", "NetworkType=1", "AuthenticationMode=2",
                          "WEPKey64_0=01 02 03 04 05", "WEPKeyLength=64", "WEPDefaultKeyId=0",
                          "WEPKey64_1=01 02 03 04 05", "WEPKey64_2=01 02 03 04 05",
                          "WEPKey64_3=01 02 03 04 05", "WEPStatus=1", "PreambleMode=2",
                          "FragmentationThreshold=2346", "RTSThreshold=2347",
                          "MultiDomainCapability=0", "OperationRegion=0",
                          "DesiredRate=82 84 8B 96 00 00 00 00 00 00 00 00 00 00 00 00", "SSID=",
                          "PSPXLinkMode=0", "WMMQosMode=0"));
}

TEST_F(RestoreTest, AccessPointFromAnEmptyTree) {
  store.SetOperationMode(kAccessPointMode);
  Restore();
  const std::vector<std::string> expected = {
      "SetWL_QVWirelessMode(3)",
      "QueryWL_QVWirelessMode()",
      "SetWL_802_11_NetworkTypeInUse(3)",
      "SetWL_AuthenticationMode(0)",
      "SetWL_Channel(6)",
      WriteKey(0, 0, true, kDefault64),
      WriteKey(1, 0, false, kDefault64),
      WriteKey(2, 0, false, kDefault64),
      WriteKey(3, 0, false, kDefault64),
      "SetWL_WEPStatus(1)",
      "SetWLAP_FilterList(" + std::string(224, '0') + ", 112)",
      "SetWLAP_FilterMode(0)",
      "SetWLAP_TxPowerLevel(0)",
      "SetWL_ApWirelessMode(1)",
      "SetWL_ApProtectionMode(0)",
      "SetWL_PreambleMode(0)",
      "SetWL_FragmentationThreshold(2346)",
      "SetWL_RTS_CTS_Threshold(2347)",
      "SetWL_MultiDomainCapability(0)",
      "SetWL_OperationRegionCode(0)",
      "QueryWL_OperationRegionCode()",
      "QvOpenAdapter()",
      "SetWL_SSID(574C414E5F4150, 7)",  // WLAN_AP
      "SetWLAP_HideSSIDState(0)",
      "SetWL_QVPSPXLinkMode(0)",
      "SetWL_QVWMMQosMode(0)",
  };
  EXPECT_THAT(driver.Calls(), ElementsAreArray(expected));
  EXPECT_EQ(store.ReadSettingString(key::SSID), u"WLAN_AP");
  EXPECT_EQ(Tree(kAccessPointMode).size(), 39u);  // 16 filter addresses among them
  EXPECT_THAT(Tree(kStationMode), ElementsAre("OperationRegion=0"));
}

TEST_F(RestoreTest, StationFromAFullTree) {
  productWirelessMode = 2;
  driver.Answer("QueryWL_QVWirelessMode", 4);
  driver.Answer("QueryWL_OperationRegionCode", 48);
  driver.Answer("QueryWL_QVAdhocMode", 0);
  StoreSettings({
      {key::WirelessMode, u"2"}, {key::NetworkType, u"0"}, {key::AuthenticationMode, u"4"},
      {key::Channel, u"149"}, {key::WEPKeyLength, u"128"}, {key::WEPDefaultKeyId, u"3"},
      {u"WEPKey128_0", u"10 11 12 13 14 15 16 17 18 19 1A 1B 1C"},
      {u"WEPKey128_3", u"30 31 32 33 34 35 36 37 38 39 3A 3B 3C"},
      {key::WEPStatus, u"4"}, {key::PowerSaveMode, u"1"},
      {key::FragmentationThreshold, u"1000"}, {key::RTSThreshold, u"500"},
      {key::MultiDomainCapability, u"1"}, {key::OperationRegion, u"48"},
      {key::DesiredRate, u" 82 84 8B 96 0C 12 18 24 30 48 60 6C 01 02 03 "},
      {key::STATxRate, u"108"}, {key::SSID, u"office"},
      {key::PSPXLinkMode, u"1"}, {key::WMMQosMode, u"1"},
  });
  Restore();
  const std::string default128 = "0102030405060708090A0B0C0D";
  const std::vector<std::string> expected = {
      "SetWL_QVWirelessMode(4)",
      "QueryWL_QVWirelessMode()",
      "SetWL_802_11_NetworkTypeInUse(2)",
      "SetWL_NetworkType(0)",
      "SetWL_AuthenticationMode(4)",
      "SetWL_Channel(149)",
      WriteKey(0, 1, false, "10111213141516171819" "1A1B1C"),
      WriteKey(1, 1, false, default128),
      WriteKey(2, 1, false, default128),
      WriteKey(3, 1, true, "30313233343536373839" "3A3B3C"),
      "SetWL_WEPStatus(4)",
      "SetWL_PreambleMode(2)",
      "SetWL_FragmentationThreshold(1000)",
      "SetWL_RTS_CTS_Threshold(500)",
      "SetWL_PSMode(1)",
      "SetWL_MultiDomainCapability(1)",
      "SetWL_OperationRegionCode(48)",
      "QueryWL_OperationRegionCode()",
      "QvOpenAdapter()",
      "SetWL_OperationRegionCode(48)",
      "SetWL_SupportChannel(0102030405060708090A0B0C0D, 13)",
      "SetWL_DesiredRate(82848B960C1218243048606C01020300)",
      "QueryWL_QVAdhocMode()",
      "SetWL_DesiredRate(6C000000000000000000000000000000)",
      "SetWL_SSID(" + RandomSsidHex() + ", 32)",
      "SetWL_SSID(6F6666696365, 6)",
      "SetWL_QVPSPXLinkMode(1)",
      "SetWL_QVWMMQosMode(1)",
  };
  EXPECT_THAT(driver.Calls(), ElementsAreArray(expected));
  EXPECT_EQ(radio.bandCapability.load(), band_capability::Both);
  EXPECT_EQ(radio.currentNetworkType.load(), network_type::AdHoc);
  // WPA-PSK: started once the rates are set and before the SSID starts an association.
  EXPECT_THAT(supplicant.startedAfter,
              ElementsAre("SetWL_DesiredRate(6C000000000000000000000000000000)"));
  EXPECT_EQ(clock.Now(), platform::Millis(1000));
  EXPECT_EQ(store.ReadSettingString(key::SSID), u"office");
  EXPECT_EQ(store.ReadSettingString(key::DesiredRate),
            u"6C 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
}

TEST_F(RestoreTest, AccessPointFromAFullTreeWithOutOfRangeValues) {
  store.SetOperationMode(kAccessPointMode);
  chipType = 3;
  driver.Answer("SetWL_QVWirelessMode", -1);  // this chip cannot choose its bands
  StoreSettings({
      {key::WirelessMode, u"4"}, {key::AuthenticationMode, u"5"}, {key::Channel, u"20"},
      {key::WEPKeyLength, u"256"}, {key::WEPDefaultKeyId, u"1"}, {key::WEPStatus, u"0"},
      {u"MACFilterAddr0", u"00 1A 2B 3C 4D 5E"}, {u"MACFilterAddr1", u"00 00 00 00 00 00"},
      {u"MACFilterAddr2", u"0G 11"}, {u"MACFilterAddr15", u"02:00"},
      {key::MACFilterMode, u"2"}, {key::TxPowerLevel, u"3"}, {key::ApWirelessMode, u"0"},
      {key::ApProtectionMode, u"3"}, {key::PreambleMode, u"1"},
      {key::FragmentationThreshold, u"100"}, {key::RTSThreshold, u"9999"},
      {key::MultiDomainCapability, u"1"}, {key::OperationRegion, u"300"},
      {key::SSID, u"soft-ap"}, {key::HideSSID, u"1"}, {key::PSPXLinkMode, u"7"},
      {key::WMMQosMode, u"1"},
  });
  Restore();
  const std::string default256 =
      "0102030405060708090A0B0C0D0E0F101112131415161718191A1B1C1D";
  std::string filterList(224, '0');
  filterList.replace(0, 14, "01001A2B3C4D5E");
  filterList.replace(15 * 14, 4, "0102");  // "02:00" keeps the byte before the colon
  const std::vector<std::string> expected = {
      "SetWL_QVWirelessMode(3)",
      "SetWL_AuthenticationMode(0)",
      "SetWL_Channel(6)",
      WriteKey(0, 2, false, default256),
      WriteKey(1, 2, true, default256),
      WriteKey(2, 2, false, default256),
      WriteKey(3, 2, false, default256),
      "SetWL_WEPStatus(0)",
      "SetWLAP_FilterList(" + filterList + ", 112)",
      "SetWLAP_FilterMode(2)",
      "SetWLAP_TxPowerLevel(3)",
      "SetWL_ApWirelessMode(1)",
      "SetWL_ApProtectionMode(3)",
      "SetWL_PreambleMode(1)",
      "SetWL_FragmentationThreshold(2346)",
      "SetWL_RTS_CTS_Threshold(2347)",
      "SetWL_MultiDomainCapability(1)",
      "SetWL_OperationRegionCode(0)",
      "QueryWL_OperationRegionCode()",  // chip type 3: no region channels
      "SetWL_SSID(736F66742D6170, 7)",
      "SetWLAP_HideSSIDState(1)",
      "SetWL_QVPSPXLinkMode(0)",
      "SetWL_QVWMMQosMode(1)",
  };
  EXPECT_THAT(driver.Calls(), ElementsAreArray(expected));
  EXPECT_EQ(radio.wirelessModeSettable.load(), 0);
  EXPECT_EQ(radio.bandCapability.load(), band_capability::TwoPointFourOnly);
  EXPECT_EQ(supplicant.StartRequests(), 0);
  EXPECT_EQ(store.ReadSettingString(key::WirelessMode), u"4");  // not pushed, left alone
}

// ---------------------------------------------------------------------------------------------
// Replacement of absent and out-of-range values

TEST_F(RestoreTest, OutOfRangeValuesAreReplacedByTheirDefaults) {
  struct Case {
    int mode;
    int bandAnswer;  // QueryWL_QVWirelessMode: 3 2.4 GHz, 2 5 GHz, 4 both
    std::u16string_view key;
    std::u16string_view stored;
    const char* function;
    std::vector<std::string> pushed;
  };
  constexpr int S = kStationMode, A = kAccessPointMode;
  const std::vector<std::string> kDefaultKeys = {
      WriteKey(0, 0, true, kDefault64), WriteKey(1, 0, false, kDefault64),
      WriteKey(2, 0, false, kDefault64), WriteKey(3, 0, false, kDefault64)};
  const Case cases[] = {
      {S, 3, key::NetworkType, u"5", "SetWL_NetworkType", {"SetWL_NetworkType(1)"}},
      {S, 3, key::NetworkType, u"-2", "SetWL_NetworkType", {"SetWL_NetworkType(1)"}},
      {S, 3, key::NetworkType, u"4", "SetWL_NetworkType", {"SetWL_NetworkType(4)"}},
      {S, 3, key::AuthenticationMode, u"8", "SetWL_AuthenticationMode",
       {"SetWL_AuthenticationMode(2)"}},
      {S, 3, key::AuthenticationMode, u"7", "SetWL_AuthenticationMode",
       {"SetWL_AuthenticationMode(7)"}},
      {A, 3, key::AuthenticationMode, u"2", "SetWL_AuthenticationMode",
       {"SetWL_AuthenticationMode(0)"}},
      {A, 3, key::Channel, u"15", "SetWL_Channel", {"SetWL_Channel(6)"}},
      {A, 3, key::Channel, u"14", "SetWL_Channel", {"SetWL_Channel(14)"}},
      {A, 3, key::Channel, u"0", "SetWL_Channel", {"SetWL_Channel(0)"}},
      {A, 2, key::Channel, u"201", "SetWL_Channel", {"SetWL_Channel(36)"}},
      {A, 2, key::Channel, u"", "SetWL_Channel", {"SetWL_Channel(36)"}},
      {A, 4, key::Channel, u"201", "SetWL_Channel", {"SetWL_Channel(6)"}},
      {A, 4, key::Channel, u"200", "SetWL_Channel", {"SetWL_Channel(200)"}},
      {S, 3, key::Channel, u"11", "SetWL_Channel", {}},  // infrastructure: no channel
      {S, 3, key::WEPDefaultKeyId, u"4", "SetWL_WriteKey", kDefaultKeys},
      {S, 3, key::WEPKeyLength, u"257", "SetWL_WriteKey", kDefaultKeys},
      {S, 3, key::WEPKeyLength, u"100", "SetWL_WriteKey", kDefaultKeys},
      {S, 3, key::WEPStatus, u"8", "SetWL_WEPStatus", {"SetWL_WEPStatus(1)"}},
      {S, 3, key::WEPStatus, u"7", "SetWL_WEPStatus", {"SetWL_WEPStatus(7)"}},
      {A, 3, key::MACFilterMode, u"3", "SetWLAP_FilterMode", {"SetWLAP_FilterMode(0)"}},
      {A, 3, key::TxPowerLevel, u"4", "SetWLAP_TxPowerLevel", {"SetWLAP_TxPowerLevel(0)"}},
      {A, 3, key::ApWirelessMode, u"5", "SetWL_ApWirelessMode", {"SetWL_ApWirelessMode(1)"}},
      {A, 3, key::ApWirelessMode, u"4", "SetWL_ApWirelessMode", {"SetWL_ApWirelessMode(4)"}},
      {A, 2, key::ApWirelessMode, u"0", "SetWL_ApWirelessMode", {"SetWL_ApWirelessMode(4)"}},
      {A, 4, key::ApWirelessMode, u"", "SetWL_ApWirelessMode", {"SetWL_ApWirelessMode(1)"}},
      {A, 3, key::ApProtectionMode, u"4", "SetWL_ApProtectionMode",
       {"SetWL_ApProtectionMode(0)"}},
      {A, 3, key::PreambleMode, u"3", "SetWL_PreambleMode", {"SetWL_PreambleMode(0)"}},
      {S, 3, key::PreambleMode, u"1", "SetWL_PreambleMode", {"SetWL_PreambleMode(2)"}},
      {S, 3, key::FragmentationThreshold, u"255", "SetWL_Frag",
       {"SetWL_FragmentationThreshold(2346)"}},
      {S, 3, key::FragmentationThreshold, u"256", "SetWL_Frag",
       {"SetWL_FragmentationThreshold(256)"}},
      {S, 3, key::FragmentationThreshold, u"2346", "SetWL_Frag",
       {"SetWL_FragmentationThreshold(2346)"}},
      {S, 3, key::RTSThreshold, u"2347", "SetWL_RTS", {"SetWL_RTS_CTS_Threshold(2347)"}},
      {S, 3, key::RTSThreshold, u"0", "SetWL_RTS", {"SetWL_RTS_CTS_Threshold(0)"}},
      {S, 3, key::PowerSaveMode, u"3", "SetWL_PSMode", {}},
      {S, 3, key::PowerSaveMode, u"2", "SetWL_PSMode", {"SetWL_PSMode(2)"}},
      {A, 3, key::PowerSaveMode, u"2", "SetWL_PSMode", {}},  // station only
      {S, 3, key::MultiDomainCapability, u"2", "SetWL_MultiDomain",
       {"SetWL_MultiDomainCapability(0)"}},
      {S, 3, key::OperationRegion, u"255", "SetWL_OperationRegionCode",
       {"SetWL_OperationRegionCode(0)"}},
      {S, 3, key::OperationRegion, u"254", "SetWL_OperationRegionCode",
       {"SetWL_OperationRegionCode(254)"}},
      {A, 3, key::HideSSID, u"2", "SetWLAP_HideSSIDState", {"SetWLAP_HideSSIDState(0)"}},
      {S, 3, key::HideSSID, u"1", "SetWLAP_HideSSIDState", {}},  // access point only
      {S, 3, key::PSPXLinkMode, u"2", "SetWL_QVPSPXLinkMode", {"SetWL_QVPSPXLinkMode(0)"}},
      {A, 3, key::WMMQosMode, u"-5", "SetWL_QVWMMQosMode", {"SetWL_QVWMMQosMode(0)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.key) + "=" + platform::ToUtf8(c.stored));
    (void)registry->DeleteKey(platform::RegRoot::CurrentUser, store.TreePath(c.mode));
    store.SetOperationMode(c.mode);
    productWirelessMode = c.bandAnswer == 3 ? 0 : c.bandAnswer == 2 ? 1 : 2;
    driver.Answer("QueryWL_QVWirelessMode", c.bandAnswer);
    StoreSettings({{c.key, c.stored}});
    driver.ClearCalls();
    Restore();
    EXPECT_THAT(driver.Calls(c.function), ElementsAreArray(c.pushed));
  }
}

TEST_F(RestoreTest, BandInUseFollowsTheCapabilityTheChipReports) {
  const struct {
    int product;
    int modeAnswer;  // SetWL_QVWirelessMode
    int bandAnswer;  // QueryWL_QVWirelessMode
    const char16_t* stored;
    const char* request;
    std::vector<std::string> pushed;
    int capability;
  } cases[] = {
      {0, 0, 3, u"4", "SetWL_QVWirelessMode(3)", {"SetWL_802_11_NetworkTypeInUse(3)"}, 0},
      {1, 0, 2, u"3", "SetWL_QVWirelessMode(2)", {"SetWL_802_11_NetworkTypeInUse(2)"}, 1},
      {2, 0, 4, u"3", "SetWL_QVWirelessMode(4)", {"SetWL_802_11_NetworkTypeInUse(3)"}, 2},
      {2, 0, 4, u"2", "SetWL_QVWirelessMode(4)", {"SetWL_802_11_NetworkTypeInUse(2)"}, 2},
      {2, 0, 4, u"7", "SetWL_QVWirelessMode(4)", {"SetWL_802_11_NetworkTypeInUse(4)"}, 2},
      {2, 0, -1, u"4", "SetWL_QVWirelessMode(4)", {"SetWL_802_11_NetworkTypeInUse(3)"}, 0},
      {2, -1, 4, u"4", "SetWL_QVWirelessMode(4)", {}, 0},
      {5, 0, 3, u"", "SetWL_QVWirelessMode(3)", {"SetWL_802_11_NetworkTypeInUse(3)"}, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.request);
    productWirelessMode = c.product;
    driver.Answer("SetWL_QVWirelessMode", c.modeAnswer);
    driver.Answer("QueryWL_QVWirelessMode", c.bandAnswer);
    StoreSettings({{key::WirelessMode, c.stored}});
    driver.ClearCalls();
    Restore();
    EXPECT_THAT(driver.Calls("SetWL_QVWirelessMode"), ElementsAre(c.request));
    EXPECT_THAT(driver.Calls("SetWL_802_11"), ElementsAreArray(c.pushed));
    EXPECT_EQ(radio.bandCapability.load(), c.capability);
    EXPECT_EQ(radio.wirelessModeSettable.load(), c.modeAnswer == 0 ? 1 : 0);
  }
}

// ---------------------------------------------------------------------------------------------
// Rates

TEST_F(RestoreTest, StoredRateSetIsUsedUnlessItHasTwoOrMoreZeroBytes) {
  const std::string supported = "SetWL_DesiredRate(82848B96000000000000000000000000)";
  const struct {
    const char16_t* stored;
    std::string pushed;
  } cases[] = {
      {u"", supported},
      {u"   ", supported},
      {u"02 04 0B 16 0C 12 18 24 30 48 60 6C 01 02 03 05",
       "SetWL_DesiredRate(02040B160C1218243048606C01020305)"},
      {u"\t02 04 0B 16 0C 12 18 24 30 48 60 6C 01 02 03 ",  // one zero byte: still used
       "SetWL_DesiredRate(02040B160C1218243048606C01020300)"},
      {u"02 04 0B 16 0C 12 18 24 30 48 60 6C 01 02", supported},  // two zero bytes
      {u"02 04 0B 16 0C 12 18 24 30 48 60 6C", supported},        // four trailing zeros
      {u"zz", supported},
  };
  driver.Answer("QueryWL_SupportedRate", 0);
  driver.AnswerBytes("QueryWL_SupportedRate", {0x82, 0x84, 0x8B, 0x96});
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.stored));
    StoreSettings({{key::DesiredRate, c.stored}});
    driver.ClearCalls();
    Restore();
    EXPECT_THAT(driver.Calls("SetWL_DesiredRate"), ElementsAre(c.pushed));
  }
}

TEST_F(RestoreTest, NoRateSetIsPushedWhenTheAdapterCannotTellItsRates) {
  StoreSettings({{key::DesiredRate, u"02 04"}});
  Restore();
  EXPECT_THAT(driver.Calls("QueryWL_SupportedRate"), ElementsAre("QueryWL_SupportedRate()"));
  EXPECT_THAT(driver.Calls("SetWL_DesiredRate"), IsEmpty());
}

TEST_F(RestoreTest, FixedRateFollowsTheAdHocRules) {
  const struct {
    const char16_t* networkType;
    int product;      // with the chip confirming it: band value 3, 2 or 4
    bool bandRefused; // band value 0
    int adhocMode;
    const char16_t* rate;
    int pushed;       // 0: nothing
  } cases[] = {
      {u"0", 0, false, 0, u"108", 22},  // 802.11b-only ad hoc cannot send 54 Mbit/s
      {u"0", 0, false, 0, u"11", 11},
      {u"0", 0, false, 2, u"22", 96},   // no 802.11b rates in this ad hoc network
      {u"0", 0, false, 2, u"108", 108},
      {u"0", 0, false, 1, u"2", 2},
      {u"0", 0, true, 0, u"108", 22},
      {u"0", 1, false, 0, u"4", 96},    // 5 GHz has no 802.11b rates
      {u"0", 1, false, 0, u"108", 108},
      {u"0", 2, false, 0, u"4", 4},     // automatic band: left alone
      {u"1", 0, false, 0, u"108", 108}, // infrastructure: left alone
      {u"1", 0, false, 0, u"364", 108}, // low 8 bits
      {u"1", 0, false, 0, u"256", 0},
      {u"0", 0, false, 0, u"0", 0},     // automatic rate
      {u"0", 0, false, 0, u"", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.networkType) + " " + std::to_string(c.product) + " " +
                 std::to_string(c.adhocMode) + " " + platform::ToUtf8(c.rate));
    productWirelessMode = c.product;
    driver.Answer("SetWL_QVWirelessMode", c.bandRefused ? -1 : 0);
    driver.Answer("QueryWL_QVWirelessMode", c.product == 1 ? 2 : c.product == 2 ? 4 : 3);
    driver.Answer("QueryWL_QVAdhocMode", c.adhocMode);
    StoreSettings({{key::WirelessMode, u""},
                   {key::NetworkType, c.networkType},
                   {key::STATxRate, c.rate}});
    driver.ClearCalls();
    Restore();
    std::vector<std::string> expected;
    if (c.pushed) {
      const std::uint8_t set[16] = {static_cast<std::uint8_t>(c.pushed)};
      expected.push_back("SetWL_DesiredRate(" + adapter::testing::HexText(set) + ")");
    }
    EXPECT_THAT(driver.Calls("SetWL_DesiredRate"), ElementsAreArray(expected));
  }
}

// ---------------------------------------------------------------------------------------------
// Supplicant, SSID, regions

TEST_F(RestoreTest, SupplicantStartsForWpaAndForDynamicWep) {
  const struct {
    const char16_t* authentication;
    const char16_t* rc4Wep;
    const char16_t* wepStatus;
    bool starts;
    bool forcedOpen;
  } cases[] = {
      {u"3", u"", u"", true, false},   {u"4", u"", u"", true, false},
      {u"5", u"", u"", true, false},   {u"6", u"", u"", true, false},
      {u"7", u"1", u"0", true, false}, {u"0", u"1", u"0", true, true},
      {u"2", u"1", u"0", true, true},  {u"1", u"1", u"0", false, false},
      {u"0", u"0", u"0", false, false}, {u"2", u"1", u"1", false, false},
      {u"9", u"1", u"0", true, true},  // 9 is pushed and stored as 2 before the second read
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.authentication));
    StoreSettings({{key::AuthenticationMode, c.authentication}, {key::Dot1xRC4WEP, c.rc4Wep},
                   {key::WEPStatus, c.wepStatus}});
    const int before = supplicant.StartRequests();
    const auto start = clock.Now();
    driver.ClearCalls();
    Restore();
    EXPECT_EQ(supplicant.StartRequests() - before, c.starts ? 1 : 0);
    EXPECT_EQ(clock.Now() - start, platform::Millis(c.starts ? 1000 : 0));
    const auto authPushes = driver.Calls("SetWL_AuthenticationMode");
    EXPECT_EQ(authPushes.size(), c.forcedOpen ? 2u : 1u);
    if (c.forcedOpen) {
      EXPECT_EQ(authPushes[1], "SetWL_AuthenticationMode(0)");
      EXPECT_EQ(supplicant.startedAfter.back(), "SetWL_AuthenticationMode(0)");
      // The direct push bypasses the store: the tree keeps the user's mode.
      const std::u16string_view pushed =
          std::u16string_view(c.authentication) == u"9" ? u"2" : c.authentication;
      EXPECT_EQ(store.ReadSettingString(key::AuthenticationMode), pushed);
    }
  }
}

TEST_F(RestoreTest, AccessPointNeverStartsTheSupplicant) {
  store.SetOperationMode(kAccessPointMode);
  StoreSettings({{key::AuthenticationMode, u"7"}});
  Restore();
  EXPECT_EQ(supplicant.StartRequests(), 0);
}

TEST_F(RestoreTest, SsidIsCutToThirtyTwoCharacters) {
  const std::u16string longName = u"abcdefghijklmnopqrstuvwxyz0123456789";
  store.SetOperationMode(kAccessPointMode);
  StoreSettings({{key::SSID, longName}});
  Restore();
  EXPECT_EQ(store.ReadSettingString(key::SSID), longName.substr(0, 32));
  EXPECT_THAT(driver.Calls("SetWL_SSID"), ElementsAre(::testing::EndsWith(", 32)")));
}

TEST_F(RestoreTest, StationPushesARandomSsidSeededByTheClockBeforeTheStoredOne) {
  StoreSettings({{key::SSID, u"caf\u00E9"}});
  Restore();
  const auto first = driver.Calls("SetWL_SSID");
  clock.Advance(platform::Millis(5000));
  driver.ClearCalls();
  Restore();
  const auto second = driver.Calls("SetWL_SSID");
  ASSERT_EQ(first.size(), 2u);
  ASSERT_EQ(second.size(), 2u);
  EXPECT_NE(first[0], second[0]);  // another second, another seed
  EXPECT_EQ(second[0], "SetWL_SSID(" + RandomSsidHex() + ", 32)");
  EXPECT_EQ(second[1], "SetWL_SSID(636166E9, 4)");
  EXPECT_EQ(store.ReadSettingString(key::SSID), u"caf\u00E9");
}

// The random name goes to the driver only: a driver that takes it but refuses the real name
// must not cost the user the stored SSID.
TEST_F(RestoreTest, RefusedStationSsidKeepsTheStoredOneNotTheRandomOne) {
  StoreSettings({{key::SSID, u"home"}});
  driver.AnswerNext("SetWL_SSID", 0);
  driver.Answer("SetWL_SSID", -1);
  radio.wasDisconnected.store(1);
  Restore();
  EXPECT_THAT(driver.Calls("SetWL_SSID"),
              ElementsAre("SetWL_SSID(" + RandomSsidHex() + ", 32)", "SetWL_SSID(686F6D65, 4)"));
  EXPECT_EQ(store.ReadSettingString(key::SSID), u"home");
  EXPECT_EQ(radio.wasDisconnected.load(), 0);
}

TEST_F(RestoreTest, RefusedPushesKeepTheStoredValues) {
  store.SetOperationMode(kAccessPointMode);
  StoreSettings({{key::Channel, u"11"}, {key::SSID, u"kept"}, {key::TxPowerLevel, u"2"}});
  driver.Answer("SetWL_Channel", -1);
  driver.Answer("SetWL_SSID", -1);
  driver.Answer("SetWLAP_TxPowerLevel", -1);
  Restore();
  EXPECT_EQ(store.ReadSettingString(key::Channel), u"11");
  EXPECT_EQ(store.ReadSettingString(key::SSID), u"kept");
  EXPECT_EQ(store.ReadSettingString(key::TxPowerLevel), u"2");
  EXPECT_EQ(driver.Calls().back(), "SetWL_QVWMMQosMode(0)");  // ran to its end
}

TEST_F(RestoreTest, RegionTable) {
  const struct {
    int code;
    std::vector<int> channels;  // empty with found=false: not a region
    bool found;
  } cases[] = {
      {0, {}, true},
      {16, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true},
      {34, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true},
      {35, {}, false},
      {48, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, true},
      {50, {10, 11, 12, 13}, true},
      {64, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}, true},
      {71, {10, 11, 12, 13}, true},
      {80, {3, 4, 5, 6, 7, 8, 9}, true},
      {81, {10}, true},
      {104, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, true},
      {105, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true},
      {124, {}, false},
      {130, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true},
      {133, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}, true},
      {134, {}, false},
      {255, {}, false},
      {-1, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    const auto mask = RegionChannelMask(c.code);
    ASSERT_EQ(mask.has_value(), c.found);
    if (!mask) continue;
    const auto channels = ChannelsOfMask(*mask);
    EXPECT_EQ(std::vector<int>(channels.begin(), channels.end()), c.channels);
  }
}

TEST_F(RestoreTest, ApplyRegionChannelsPushesRegionThenChannelsOnChipTypeOne) {
  EXPECT_EQ(ApplyRegionChannels(context, 1, 80), 0);
  EXPECT_THAT(driver.Calls(), ElementsAre("QvOpenAdapter()", "SetWL_OperationRegionCode(80)",
                                          "SetWL_SupportChannel(03040506070809, 7)"));
  EXPECT_THAT(Tree(kAccessPointMode), ElementsAre("OperationRegion=80"));

  driver.ClearCalls();
  EXPECT_EQ(ApplyRegionChannels(context, 2, 81), 0);
  EXPECT_THAT(driver.Calls(), ElementsAre("QvOpenAdapter()", "SetWL_OperationRegionCode(81)"));
}

TEST_F(RestoreTest, ApplyRegionChannelsRefusesUnknownCodesAndAnAdapterThatWillNotOpen) {
  StoreSettings({{key::OperationRegion, u"48"}});
  EXPECT_EQ(ApplyRegionChannels(context, 1, 124), -1);
  driver.Answer("QvOpenAdapter", 0);
  EXPECT_EQ(ApplyRegionChannels(context, 1, 16), -1);
  EXPECT_THAT(driver.Calls(), ElementsAre("QvOpenAdapter()", "QvOpenAdapter()"));
  EXPECT_EQ(store.ReadSettingString(key::OperationRegion), u"48");
}

TEST_F(RestoreTest, UnknownRegionFromTheDriverLeavesTheStoredRegionPushed) {
  StoreSettings({{key::OperationRegion, u"48"}});
  driver.Answer("QueryWL_OperationRegionCode", 124);
  Restore();
  EXPECT_THAT(driver.Calls("SetWL_OperationRegionCode"),
              ElementsAre("SetWL_OperationRegionCode(48)"));
  EXPECT_THAT(driver.Calls("SetWL_SupportChannel"), IsEmpty());
}

}  // namespace
}  // namespace config
