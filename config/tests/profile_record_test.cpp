#include "config/profile_record.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/profile_actions.h"
#include "config/setting_keys.h"
#include "config/ssid_push.h"
#include "config/tests/applier_fixture.h"

namespace config {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

// Notes each request with the number of driver calls made before it, which places it in the
// sequence.
class MarkingSupplicant final : public SupplicantControl {
 public:
  explicit MarkingSupplicant(const adapter::testing::RecordingAdapterLibrary& driver)
      : driver_(driver) {}
  void StartSupplicant() override { events.push_back("start after " + Last()); }
  void StopSupplicant() override { events.push_back("stop after " + Last()); }
  std::vector<std::string> events;

 private:
  std::string Last() const {
    const auto calls = driver_.Calls();
    return calls.empty() ? "nothing" : calls.back();
  }
  const adapter::testing::RecordingAdapterLibrary& driver_;
};

class ProfileRecordTest : public ::testing::Test, protected testing::ApplierFixture {
 protected:
  void StoreSettings(std::initializer_list<std::pair<std::u16string_view, std::u16string_view>>
                         settings) {
    for (const auto& [name, text] : settings) ASSERT_EQ(store.WriteSetting(name, text), 0);
  }
  std::string RandomSsidHex() const {
    const auto noise = RandomSsid(clock);
    return adapter::testing::HexText(std::vector<std::uint8_t>(noise.begin(), noise.end()));
  }

  platform::VirtualClock clock;
  MarkingSupplicant supplicant{driver};
  ProfileEnvironment environment{clock, supplicant};
  ProfileStore profiles{store};
};

std::string WriteKey(int index, int code, bool isDefault, std::string keyHex) {
  keyHex.resize(58, '0');
  return "SetWL_WriteKey(" + std::to_string(index) + ", " + std::to_string(code) + ", " +
         (isDefault ? "1" : "0") + ", " + keyHex + ")";
}

TEST_F(ProfileRecordTest, CaptureReplacesValuesOutsideTheirRanges) {
  const struct {
    std::u16string_view key;
    std::u16string_view stored;  // empty: absent
    int ProfileRecord::*field;
    int expected;
  } cases[] = {
      {key::NetworkType, u"", &ProfileRecord::networkType, 1},
      {key::NetworkType, u"5", &ProfileRecord::networkType, 1},
      {key::NetworkType, u"3", &ProfileRecord::networkType, 3},
      {key::WirelessMode, u"-4", &ProfileRecord::wirelessMode, 0},
      {key::WirelessMode, u"", &ProfileRecord::wirelessMode, 0},
      {key::WirelessMode, u"2", &ProfileRecord::wirelessMode, 2},
      {key::Channel, u"0", &ProfileRecord::channel, 6},
      {key::Channel, u"100", &ProfileRecord::channel, 6},
      {key::Channel, u"36", &ProfileRecord::channel, 36},
      {key::WEPKeyLength, u"100", &ProfileRecord::wepKeyLength, 64},
      {key::WEPKeyLength, u"300", &ProfileRecord::wepKeyLength, 64},
      {key::WEPKeyLength, u"256", &ProfileRecord::wepKeyLength, 256},
      {key::WEPKeyFormat, u"2", &ProfileRecord::wepKeyFormat, 0},
      {key::WEPDefaultKeyId, u"4", &ProfileRecord::wepDefaultKeyId, 0},
      {key::AuthenticationMode, u"8", &ProfileRecord::authenticationMode, 2},
      {key::AuthenticationMode, u"7", &ProfileRecord::authenticationMode, 7},
      {key::FragmentationThreshold, u"2346", &ProfileRecord::fragmentationThreshold, 2346},
      {key::FragmentationThreshold, u"255", &ProfileRecord::fragmentationThreshold, 2346},
      {key::RTSThreshold, u"0", &ProfileRecord::rtsThreshold, 0},
      {key::RTSThreshold, u"2347", &ProfileRecord::rtsThreshold, 2347},
      {key::WEPStatus, u"8", &ProfileRecord::wepStatus, 1},
      {key::PowerSaveMode, u"3", &ProfileRecord::powerSaveMode, 0},
      {key::Dot1xProtocol, u"", &ProfileRecord::dot1xProtocol, -1},
      {key::Dot1xRC4WEP, u"9", &ProfileRecord::dot1xRc4Wep, 9},  // as read
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.key) + "=" + platform::ToUtf8(c.stored));
    (void)registry->DeleteKey(platform::RegRoot::CurrentUser, store.TreePath(kStationMode));
    if (!c.stored.empty()) StoreSettings({{c.key, c.stored}});
    ProfileRecord record;
    CaptureCurrentSettings(store, record);
    EXPECT_EQ(record.*c.field, c.expected);
  }
}

TEST_F(ProfileRecordTest, CaptureTakesKeysOfTheStoredLengthAndKeepsRatesAndPreamble) {
  const std::u16string longSsid(40, u'x');
  StoreSettings({{key::WEPKeyLength, u"128"},
                 {u"WEPKey128_2", u"00 11 22 33 44 55 66 77 88 99 aa bb cc dd"},
                 {key::SSID, longSsid},
                 {key::DesiredRate, u"16 00"},
                 {key::PreambleMode, u"0"},
                 {key::Dot1xUsername, u"alice"}});
  ProfileRecord record;
  record.desiredRate = u"kept";
  record.preambleMode = 7;
  CaptureCurrentSettings(store, record);
  EXPECT_EQ(record.ssid, longSsid.substr(0, 32));
  EXPECT_EQ(record.wepKeys[2], u"00 11 22 33 44 55 66 77 88 99 AA BB CC");
  EXPECT_EQ(record.wepKeys[0], u"01 02 03 04 05 06 07 08 09 0A 0B 0C 0D");  // built-in
  EXPECT_EQ(record.desiredRate, u"kept");
  EXPECT_EQ(record.preambleMode, 7);
  EXPECT_EQ(record.dot1xUsername, u"alice");
  EXPECT_EQ(record.dot1xPassword, u"");
}

TEST_F(ProfileRecordTest, ApplyPushesInItsOrderAndStartsTheSupplicantForWpa) {
  ProfileRecord record;
  record.ssid = u"  Home-WPA2 ";
  record.wepKeyLength = 100;  // not a key length: 64-bit keys
  record.wepKeys = {u"1A 2B 3C 4D 5E", u"", u"zz", u"0102030405FF"};
  record.wepDefaultKeyId = 1;
  record.authenticationMode = 7;
  record.wepStatus = 6;
  record.channel = 9;
  record.powerSaveMode = 0;
  record.dot1xPassphrase = u"wpa2 pass phrase";
  record.dot1xProtocol = -1;
  ApplyProfileRecord(context, environment, record);

  const std::vector<std::string> expected = {
      "SetWL_PSMode(0)",
      "SetWL_FragmentationThreshold(2346)",
      "SetWL_RTS_CTS_Threshold(2347)",
      "SetWL_AuthenticationMode(7)",
      WriteKey(0, 0, false, "1A2B3C4D5E"),
      WriteKey(1, 0, true, ""),
      WriteKey(2, 0, false, ""),
      WriteKey(3, 0, false, "0102030405"),
      "SetWL_WEPStatus(6)",
      "SetWL_802_11_NetworkTypeInUse(3)",
      "SetWL_Channel(9)",
      "SetWL_NetworkType(1)",
      "SetWL_SSID(" + RandomSsidHex() + ", 32)",
      "SetWL_SSID(486F6D652D57504132, 9)",  // trimmed
  };
  EXPECT_THAT(driver.Calls(), ElementsAreArray(expected));
  EXPECT_THAT(supplicant.events,
              ElementsAre("stop after nothing", "start after " + expected.back()));
  EXPECT_EQ(store.ReadSettingString(key::SSID), u"Home-WPA2");
  EXPECT_EQ(store.ReadSettingString(key::Dot1xPassphrase), u"wpa2 pass phrase");
  EXPECT_EQ(store.ReadSettingString(key::Dot1xProtocol), u"-1");
  EXPECT_EQ(store.ReadSettingString(key::WEPKeyLength), u"64");
  EXPECT_EQ(store.ReadSettingString(key::WEPDefaultKeyId), u"1");
}

TEST_F(ProfileRecordTest, SupplicantAfterApplyingEachSecurity) {
  const struct {
    int authentication, encryption, rc4Wep;
    bool started;
    bool openForced;  // SetWL_AuthenticationMode(0) after the SSID
  } cases[] = {
      {3, 4, 0, true, false},  {4, 4, 0, true, false},  {6, 6, 0, true, false},
      {0, 0, 1, true, true},   {2, 0, 1, true, true},   {1, 0, 1, false, false},
      {0, 1, 1, false, false}, {0, 0, 0, false, false}, {0, 0, -1, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.authentication) + "/" + std::to_string(c.encryption) + "/" +
                 std::to_string(c.rc4Wep));
    driver.ClearCalls();
    supplicant.events.clear();
    ProfileRecord record;
    record.authenticationMode = c.authentication;
    record.wepStatus = c.encryption;
    record.dot1xRc4Wep = c.rc4Wep;
    ApplyProfileRecord(context, environment, record);
    EXPECT_EQ(supplicant.events.size(), c.started ? 2u : 1u);
    EXPECT_EQ(driver.Calls().back(),
              c.openForced ? "SetWL_AuthenticationMode(0)" : "SetWL_SSID(, 0)");
  }
}

TEST_F(ProfileRecordTest, SaveCapturesAndLoadBringsTheConfigurationBack) {
  StoreSettings({{key::SSID, u"Home-WPA2"}, {key::AuthenticationMode, u"7"},
                 {key::WEPStatus, u"6"}, {key::Channel, u"9"}, {key::NetworkType, u"1"},
                 {key::Dot1xPassphrase, u"wpa2 pass phrase"}});
  ASSERT_EQ(SaveCurrentAsProfile(profiles, store, u"Home"), 0);
  // Saving again under the same name in another spelling overwrites it in place, and an empty
  // SSID is saved as empty rather than leaving the older one.
  StoreSettings({{key::SSID, u""}, {key::AuthenticationMode, u"0"}, {key::WEPStatus, u"1"}});
  ASSERT_EQ(SaveCurrentAsProfile(profiles, store, u" HOME "), 0);
  EXPECT_THAT(profiles.ProfileNames(), ElementsAre(u"Home"));
  ASSERT_EQ(profiles.FindProfile(u"home"), 0);
  EXPECT_EQ(profiles.ReadText(key::SSID), u"");
  EXPECT_EQ(profiles.ReadNumber(key::AuthenticationMode), 0);

  StoreSettings({{key::SSID, u"Home-WPA2"}, {key::AuthenticationMode, u"7"},
                 {key::WEPStatus, u"6"}});
  ASSERT_EQ(SaveCurrentAsProfile(profiles, store, u"Home"), 0);
  StoreSettings({{key::SSID, u"Harbor-Open"}, {key::AuthenticationMode, u"0"},
                 {key::WEPStatus, u"1"}, {key::Dot1xPassphrase, u"other"}});
  ASSERT_EQ(LoadProfile(profiles, context, environment, u"home "), 0);
  EXPECT_EQ(store.ReadSettingString(key::SSID), u"Home-WPA2");
  EXPECT_EQ(store.ReadSettingInt(key::AuthenticationMode), 7);
  EXPECT_EQ(store.ReadSettingInt(key::WEPStatus), 6);
  EXPECT_EQ(store.ReadSettingInt(key::Channel), 9);
  EXPECT_EQ(store.ReadSettingString(key::Dot1xPassphrase), u"wpa2 pass phrase");
  EXPECT_EQ(supplicant.events.back().substr(0, 5), "start");
}

TEST_F(ProfileRecordTest, UnknownOrUnstorableNamesChangeNothing) {
  EXPECT_EQ(LoadProfile(profiles, context, environment, u"nowhere"), -1);
  EXPECT_EQ(SaveCurrentAsProfile(profiles, store, u"a\\b"), -1);
  EXPECT_EQ(SaveCurrentAsProfile(profiles, store, u"  "), -1);
  EXPECT_THAT(driver.Calls(), IsEmpty());
  EXPECT_THAT(supplicant.events, IsEmpty());
  EXPECT_THAT(profiles.ProfileNames(), IsEmpty());
}

}  // namespace
}  // namespace config
