#include <gtest/gtest.h>

#include <algorithm>

#include "libs/vuzoza/sim/association.h"
#include "libs/vuzoza/sim/radio.h"
#include "libs/vuzoza/tests/sim_fixture.h"
#include "libs/vuzoza/tests/stub_authenticator.h"

namespace vuzoza::testing {
namespace {

Bytes WpaKeyRecord(const Mac& bssid, bool pairwise, std::size_t keyLength) {
  const std::size_t total = keyLength + 39;
  Bytes r(total, 0);
  auto put = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) r[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  put(0, static_cast<std::uint32_t>(total));
  put(4, 0x20000000u | (pairwise ? 0xC0000000u : 1u));
  put(8, static_cast<std::uint32_t>(keyLength));
  std::copy(bssid.begin(), bssid.end(), r.begin() + 12);
  std::fill_n(r.begin() + 32, keyLength, 0x5C);
  return r;
}

TEST_F(WorldTest, QueriesAgainstTheDefaultWorld) {
  LoadDefault();
  Wait(kAssociationMs);  // the driver joins the strongest open network by itself
  struct Case {
    Query query;
    int expected;
  } cases[] = {
      {Query::ConnectState, 0}, {Query::Channel, 1},         {Query::NetworkType, 1},
      {Query::Encryption, 1},   {Query::AuthMode, 0},        {Query::LinkSpeed, 54000},
      {Query::BandInUse, 3},    {Query::BandModes, 3},       {Query::AdhocRateMode, 1},
      {Query::OperationMode, 0}, {Query::Region, 48},        {Query::MultiDomain, 0},
      {Query::PowerSave, 0},    {Query::Fragmentation, 2346}, {Query::RtsThreshold, 2347},
      {Query::PrivateRequests, 0}, {Query::WzcStatus, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(Get(c.query), c.expected) << ExportName(c.query);
  EXPECT_NEAR(Get(Query::Rssi), -48, 2);
  EXPECT_EQ(Get(Query::Quality), QualityFor(Get(Query::Rssi)));

  EXPECT_EQ(world->DriverVersion(kUsbAdapter), 0x0203A51B);
  DriverInfo info;
  ASSERT_EQ(world->GetDriverInfo(kUsbAdapter, info), 0);
  EXPECT_EQ(info.chip, 4u);
  Bytes ssid;
  EXPECT_EQ(world->GetSsid(kUsbAdapter, ssid), 11);
  EXPECT_EQ(ssid, Text("Harbor-Open"));
  Mac mac{};
  ASSERT_EQ(world->GetMac(kUsbAdapter, mac), 0);
  EXPECT_EQ(mac, (Mac{0x02, 0x5A, 0x71, 0x00, 0x00, 0x01}));
  Bytes channels;
  ASSERT_EQ(world->GetSupportedChannels(kUsbAdapter, channels), 0);
  EXPECT_EQ(channels.size(), 13u);  // 2.4 GHz only: no 0xFF separator
  Bytes rates;
  ASSERT_EQ(world->GetSupportedRates(kUsbAdapter, rates), 0);
  EXPECT_EQ(rates, (Bytes{0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24, 0x30, 0x48, 0x60, 0x6C, 0, 0, 0, 0}));

  // The wired adapter is listed for bridging but is no adapter of ours.
  const auto all = world->ListAdapters(false);
  const auto others = world->ListAdapters(true);
  ASSERT_EQ(all.size(), 2u);
  ASSERT_EQ(others.size(), 1u);
  EXPECT_EQ(others[0].name, kWiredAdapter);
  EXPECT_EQ(all[0].instance, "0007");
  EXPECT_EQ(world->DriverVersion(kWiredAdapter), -1);
}

TEST_F(WorldTest, AssociationFollowsSsidAndBssidAfterAMoment) {
  LoadDefault();
  ASSERT_EQ(world->SetSsid(kUsbAdapter, Text("Campus")), 0);
  Wait(kAssociationMs - 1);
  EXPECT_EQ(Get(Query::ConnectState), 1);
  Wait(1);
  ASSERT_EQ(Get(Query::ConnectState), 0);
  Mac bssid{};
  ASSERT_EQ(world->GetBssid(kUsbAdapter, bssid), 0);
  EXPECT_EQ(bssid, MacOf(0x0C));  // the stronger of the two
  EXPECT_EQ(Get(Query::Channel), 1);

  ASSERT_EQ(world->SetBssid(kUsbAdapter, MacOf(0x0D)), 0);
  Connect("Campus");
  ASSERT_EQ(world->GetBssid(kUsbAdapter, bssid), 0);
  EXPECT_EQ(bssid, MacOf(0x0D));
  EXPECT_EQ(Get(Query::Channel), 11);

  // A hidden network is joined by its name; an empty SSID takes the strongest open network.
  Connect("Back-Office");
  EXPECT_EQ(Get(Query::ConnectState), 0);
  ASSERT_EQ(world->SetBssid(kUsbAdapter, Mac{}), 0);
  Connect("");
  Bytes ssid;
  world->GetSsid(kUsbAdapter, ssid);
  EXPECT_EQ(ssid, Text("Harbor-Open"));
}

TEST_F(WorldTest, RandomSsidDropsTheAssociation) {
  LoadDefault();
  Connect("Harbor-Open");
  ASSERT_EQ(Get(Query::ConnectState), 0);
  Bytes random(32);
  for (std::size_t i = 0; i < random.size(); ++i) random[i] = static_cast<std::uint8_t>(i * 37 + 11);
  ASSERT_EQ(world->SetSsid(kUsbAdapter, random), 0);
  EXPECT_EQ(Get(Query::ConnectState), 1);
  Wait(10'000);
  EXPECT_EQ(Get(Query::ConnectState), 1);
  Mac bssid{};
  EXPECT_EQ(world->GetBssid(kUsbAdapter, bssid), -1);
  EXPECT_EQ(Get(Query::Rssi), -1);
  EXPECT_FALSE(TrafficFlowsOver(2000));
  Connect("Harbor-Open");
  EXPECT_EQ(Get(Query::ConnectState), 0);
  EXPECT_TRUE(TrafficFlowsOver(2000));
}

TEST_F(WorldTest, WepAssociatesAndPassesTrafficOnlyWithTheRightKey) {
  const std::uint8_t right64[] = {0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
  const std::uint8_t wrong64[] = {0x1A, 0x2B, 0x3C, 0x4D, 0x5F};
  const std::uint8_t right128[] = {0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC};
  struct Case {
    const char* ssid;
    int auth, encryption, keyIndex, lengthCode;
    const std::uint8_t* key;
    bool associates, traffic;
  } cases[] = {
      {"Lab-WEP64", kAuthShared, kWepOn, 0, 0, right64, true, true},
      {"Lab-WEP64", kAuthShared, kWepOn, 0, 0, wrong64, false, false},
      {"Lab-WEP64", kAuthAuto, kWepOn, 0, 0, right64, true, true},
      {"Lab-WEP64", kAuthAuto, kWepOn, 0, 0, wrong64, false, false},
      {"Lab-WEP64", kAuthOpen, kWepOn, 0, 0, right64, true, true},
      {"Lab-WEP64", kAuthOpen, kWepOn, 0, 0, wrong64, true, false},
      {"Lab-WEP64", kAuthAuto, kWepOff, 0, 0, right64, false, false},
      {"Lab-WEP64", kAuthAuto, kWepOn, 1, 0, right64, false, false},  // right key at the wrong index
      {"Lab-WEP128", kAuthAuto, kWepOn, 1, 1, right128, true, true},
      {"Harbor-Open", kAuthAuto, kWepOn, 0, 0, right64, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ssid) + " auth " + std::to_string(c.auth) + " key index " + std::to_string(c.keyIndex));
    LoadDefault();
    ASSERT_EQ(Set(Setting::AuthMode, c.auth), 0);
    ASSERT_EQ(Set(Setting::Encryption, c.encryption), 0);
    ASSERT_EQ(world->WriteKey(kUsbAdapter, c.keyIndex, c.lengthCode, true, c.key), 0);
    Connect(c.ssid);
    EXPECT_EQ(Get(Query::ConnectState), c.associates ? 0 : 1);
    EXPECT_EQ(TrafficFlowsOver(3000), c.traffic);
  }
}

TEST_F(WorldTest, WpaPassesTrafficOnlyOnceTheKeysAreInstalled) {
  Load(DefaultScenarioJson(), CreateStubAuthenticator);
  ASSERT_EQ(Set(Setting::AuthMode, kAuthWpa2Psk), 0);
  ASSERT_EQ(Set(Setting::Encryption, kAes), 0);
  Connect("Home-WPA2");
  ASSERT_EQ(Get(Query::ConnectState), 0);
  EXPECT_FALSE(TrafficFlowsOver(2000));

  const Mac bssid = MacOf(0x05);
  EXPECT_EQ(world->WriteOid(kUsbAdapter, kOidAddWpaKey, WpaKeyRecord(MacOf(0x01), true, 16)), -1);  // other BSSID
  ASSERT_EQ(world->WriteOid(kUsbAdapter, kOidAddWpaKey, WpaKeyRecord(bssid, true, 32)), 0);  // TKIP length
  ASSERT_EQ(world->WriteOid(kUsbAdapter, kOidAddWpaKey, WpaKeyRecord(bssid, false, 16)), 0);
  EXPECT_FALSE(TrafficFlowsOver(2000));
  ASSERT_EQ(world->WriteOid(kUsbAdapter, kOidAddWpaKey, WpaKeyRecord(bssid, true, 16)), 0);
  EXPECT_TRUE(TrafficFlowsOver(2000));

  // A new association needs new keys.
  Connect("Home-WPA2");
  EXPECT_FALSE(TrafficFlowsOver(2000));
  Bytes shortRecord = WpaKeyRecord(bssid, true, 16);
  shortRecord.resize(40);
  EXPECT_EQ(world->WriteOid(kUsbAdapter, kOidAddWpaKey, shortRecord), -1);
}

TEST_F(WorldTest, WpaFamilyNeedsTheOfferedModeAndCipher) {
  struct Case {
    const char* ssid;
    int auth, encryption;
    bool associates;
  } cases[] = {
      {"Home-WPA2", kAuthWpa2Psk, kAes, true},     {"Home-WPA2", kAuthWpa2Psk, kTkip, false},
      {"Home-WPA2", kAuthWpaPsk, kAes, false},     {"Home-WPA2", kAuthAuto, kWepOff, false},
      {"Cafe-WPA-TKIP", kAuthWpaPsk, kTkip, true}, {"Cafe-WPA-TKIP", kAuthWpa2Psk, kTkip, false},
      {"Office-Mixed", kAuthWpaPsk, kTkip, true},  {"Office-Mixed", kAuthWpa2Psk, kAes, true},
      {"Corp-Enterprise", kAuthWpa2, kAes, true},  {"Corp-Enterprise", kAuthWpa2Psk, kAes, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ssid) + " auth " + std::to_string(c.auth));
    LoadDefault();
    ASSERT_EQ(Set(Setting::AuthMode, c.auth), 0);
    ASSERT_EQ(Set(Setting::Encryption, c.encryption), 0);
    Connect(c.ssid);
    EXPECT_EQ(Get(Query::ConnectState), c.associates ? 0 : 1);
  }
}

TEST_F(WorldTest, AssociationInformationHoldsTheStationsOwnSecurityElement) {
  struct Case {
    const char* ssid;
    int auth, encryption;
    std::uint8_t elementId;
    int groupType, pairwiseType, akmType;
  } cases[] = {
      {"Office-Mixed", kAuthWpaPsk, kTkip, 221, 2, 2, 2},
      {"Office-Mixed", kAuthWpa2Psk, kAes, 48, 2, 4, 2},
      {"Home-WPA2", kAuthWpa2Psk, kAes, 48, 4, 4, 2},
      {"Corp-Enterprise", kAuthWpa2, kAes, 48, 4, 4, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ssid);
    LoadDefault();
    ASSERT_EQ(Set(Setting::AuthMode, c.auth), 0);
    ASSERT_EQ(Set(Setting::Encryption, c.encryption), 0);
    Connect(c.ssid);
    Bytes buf(1000, 0);
    ASSERT_EQ(world->ReadOid(kUsbAdapter, kOidAssociationInformation, buf), 0);
    const std::uint32_t request = buf[20] | buf[21] << 8;
    const std::uint32_t response = buf[36] | buf[37] << 8;
    ASSERT_EQ(request, 40u);
    ASSERT_GT(response, request);
    EXPECT_EQ(buf[16], response - request);  // request element length
    Bytes found;
    int elements = 0;
    for (std::uint32_t p = request; p < response; p += 2 + buf[p + 1]) {
      if (buf[p] == c.elementId) found.assign(buf.begin() + p, buf.begin() + p + 2 + buf[p + 1]);
      ++elements;
    }
    EXPECT_GE(elements, 3);  // SSID, rates, security
    ASSERT_FALSE(found.empty());
    const bool wpa = c.elementId == 221;
    const int count = wpa ? found[12] : found[8];
    EXPECT_EQ(count, 1);
    EXPECT_EQ(found[wpa ? 11 : 7], c.groupType);
    EXPECT_EQ(found[wpa ? 17 : 13], c.pairwiseType);
    EXPECT_EQ(found[wpa ? 23 : 19], c.akmType);
    Mac bssid{};
    ASSERT_EQ(world->GetBssid(kUsbAdapter, bssid), 0);
    EXPECT_TRUE(std::equal(bssid.begin(), bssid.end(), buf.begin() + 10));  // current AP address
  }
  // No association, no information; too small a buffer is refused.
  LoadDefault();
  Bytes buf(1000, 0);
  EXPECT_EQ(world->ReadOid(kUsbAdapter, kOidAssociationInformation, buf), -1);
  Wait(kAssociationMs);
  Bytes small(41, 0);
  EXPECT_EQ(world->ReadOid(kUsbAdapter, kOidAssociationInformation, small), -1);
  EXPECT_EQ(world->ReadOid(kUsbAdapter, kOidAssociationInformation, buf), 0);
}

TEST_F(WorldTest, AdHocJoinsAnExistingNetworkOrStartsItsOwn) {
  LoadDefault();
  ASSERT_EQ(Set(Setting::NetworkType, 0), 0);
  ASSERT_EQ(Set(Setting::Channel, 3), 0);
  Connect("Peer-AdHoc");
  ASSERT_EQ(Get(Query::ConnectState), 0);
  Mac bssid{};
  world->GetBssid(kUsbAdapter, bssid);
  EXPECT_EQ(bssid, MacOf(0x08));
  EXPECT_EQ(Get(Query::Channel), 10);

  Connect("Our-Own-Cell");
  ASSERT_EQ(Get(Query::ConnectState), 0);
  EXPECT_EQ(Get(Query::Channel), 3);
  world->GetBssid(kUsbAdapter, bssid);
  EXPECT_EQ(bssid[0] & 0x03, 0x02);  // locally administered, not group
  EXPECT_FALSE(TrafficFlowsOver(2000));  // nobody to talk to
  EXPECT_EQ(Set(Setting::Channel, 15), -1);
  EXPECT_EQ(Set(Setting::NetworkType, 2), -1);
}

TEST_F(WorldTest, SignalDriftsSmoothly) {
  LoadDefault();
  // Home-WPA2's track moves from -50 to -58 and back over two minutes.
  ASSERT_EQ(Set(Setting::AuthMode, kAuthWpa2Psk), 0);
  ASSERT_EQ(Set(Setting::Encryption, kAes), 0);
  Connect("Home-WPA2");
  int previous = Get(Query::Rssi);
  int low = previous, high = previous;
  for (int second = 0; second < 120; ++second) {
    Wait(1000);
    const int now = Get(Query::Rssi);
    EXPECT_LE(std::abs(now - previous), 2) << "at second " << second;
    low = std::min(low, now);
    high = std::max(high, now);
    previous = now;
  }
  EXPECT_GE(high - low, 6);
  EXPECT_GE(low, -62);
}

TEST_F(WorldTest, SettingsOutsideTheirRangeAreRefusedAndKeepTheValue) {
  LoadDefault();
  struct Case {
    Setting setting;
    Query query;
    int good, bad;
  } cases[] = {
      {Setting::PowerSave, Query::PowerSave, 2, 3},
      {Setting::Fragmentation, Query::Fragmentation, 256, 255},
      {Setting::RtsThreshold, Query::RtsThreshold, 0, 2348},
      {Setting::Region, Query::Region, 16, 256},
      {Setting::MultiDomain, Query::MultiDomain, 1, 2},
      {Setting::AuthMode, Query::AuthMode, 7, 8},
      {Setting::Encryption, Query::Encryption, 4, 5},
      {Setting::BandInUse, Query::BandInUse, 4, 2},  // no 5 GHz on this adapter
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ExportName(c.setting));
    EXPECT_EQ(Set(c.setting, c.good), 0);
    EXPECT_EQ(Set(c.setting, c.bad), -1);
    EXPECT_EQ(Get(c.query), c.good);
  }
  EXPECT_EQ(Set(Setting::BandMode, 4), 0);
  EXPECT_EQ(Set(Setting::BandMode, 2), -1);
  EXPECT_EQ(Get(Query::BandModes), 3);
  const std::uint8_t key[29] = {};
  EXPECT_EQ(world->WriteKey(kUsbAdapter, 4, 0, false, key), -1);
  EXPECT_EQ(world->WriteKey(kUsbAdapter, 0, 3, false, key), -1);
  EXPECT_EQ(world->WriteKey(kUsbAdapter, 3, 2, true, key), 0);
  std::array<std::uint8_t, 16> rates{0x6C};
  EXPECT_EQ(world->SetDesiredRates(kUsbAdapter, rates), 0);
  rates[1] = 0x7F;  // not a rate of this adapter
  EXPECT_EQ(world->SetDesiredRates(kUsbAdapter, rates), -1);
  const std::uint8_t channels[] = {1, 2, 3};
  EXPECT_EQ(world->SetSupportedChannels(kUsbAdapter, channels), 0);
  Bytes list;
  world->GetSupportedChannels(kUsbAdapter, list);
  EXPECT_EQ(list, (Bytes{1, 2, 3}));
  const std::uint8_t fiveGhz[] = {36};
  EXPECT_EQ(world->SetSupportedChannels(kUsbAdapter, fiveGhz), -1);
}

TEST_F(WorldTest, DualBandAdapterReportsBothBands) {
  const LoadResult r = LoadScenarioFile(std::string(VUZOZA_SCENARIO_DIR) + "/dual-band.json");
  ASSERT_EQ(r.error, "");
  world = std::make_unique<World>(r.scenario, time.clock());
  const std::string name = r.scenario.adapters[0].name;
  EXPECT_EQ(world->Get(name, Query::BandModes), 4);
  EXPECT_EQ(world->Set(name, Setting::BandMode, 2), 0);
  EXPECT_EQ(world->Get(name, Query::BandModes), 2);
  Bytes channels;
  ASSERT_EQ(world->GetSupportedChannels(name, channels), 0);
  auto sep = std::find(channels.begin(), channels.end(), 0xFF);
  ASSERT_NE(sep, channels.end());
  EXPECT_EQ(sep - channels.begin(), 14);
  EXPECT_EQ(*(sep + 1), 36);
  DriverInfo info;
  ASSERT_EQ(world->GetDriverInfo(name, info), 0);
  EXPECT_EQ(info.chip, 5u);

  ASSERT_EQ(world->Set(name, Setting::AuthMode, kAuthWpa2Psk), 0);
  ASSERT_EQ(world->Set(name, Setting::Encryption, kAes), 0);
  ASSERT_EQ(world->Set(name, Setting::BandInUse, kBand24), 0);
  ASSERT_EQ(world->SetSsid(name, Text("Studio-5G")), 0);
  Wait(kAssociationMs);
  EXPECT_EQ(world->Get(name, Query::ConnectState), 1);  // a 5 GHz network while held to 2.4 GHz
  ASSERT_EQ(world->Set(name, Setting::BandInUse, kBandAuto), 0);
  Wait(kAssociationMs);
  EXPECT_EQ(world->Get(name, Query::ConnectState), 0);
  EXPECT_EQ(world->Get(name, Query::Channel), 36);
  EXPECT_EQ(world->Get(name, Query::BandInUse), kBand5);
}

}  // namespace
}  // namespace vuzoza::testing

namespace vuzoza::testing {
namespace {

// The order in which the program pushes a configuration: each push restarts the association, so
// it ends one moment after the last push, with everything pushed in force.
TEST_F(WorldTest, ProgramsPushSequenceEndsAssociatedWithTheChosenNetwork) {
  LoadDefault();
  // Restoring an empty station configuration.
  ASSERT_EQ(Set(Setting::BandMode, kBand24), 0);
  ASSERT_EQ(Set(Setting::BandInUse, kBand24), 0);
  ASSERT_EQ(Set(Setting::NetworkType, 1), 0);
  ASSERT_EQ(Set(Setting::AuthMode, kAuthAuto), 0);
  const std::uint8_t zeros[5] = {};
  for (int i = 0; i < 4; ++i) ASSERT_EQ(world->WriteKey(kUsbAdapter, i, 0, i == 0, zeros), 0);
  ASSERT_EQ(Set(Setting::Encryption, kWepOff), 0);
  Bytes random(32, 0xA5);
  ASSERT_EQ(world->SetSsid(kUsbAdapter, random), 0);
  Wait(100);
  ASSERT_EQ(world->SetSsid(kUsbAdapter, Bytes{}), 0);
  Wait(kAssociationMs);
  ASSERT_EQ(Get(Query::ConnectState), 0);
  Bytes ssid;
  world->GetSsid(kUsbAdapter, ssid);
  EXPECT_EQ(ssid, Text("Harbor-Open"));

  // Connecting to a surveyed WPA2-PSK network, a few milliseconds between the pushes.
  ASSERT_EQ(Set(Setting::BandInUse, kBand24), 0);
  ASSERT_EQ(world->SetBssid(kUsbAdapter, MacOf(0x05)), 0);
  ASSERT_EQ(world->SetSsid(kUsbAdapter, Text("Home-WPA2")), 0);
  Wait(5);
  ASSERT_EQ(Set(Setting::NetworkType, 1), 0);
  ASSERT_EQ(Set(Setting::AuthMode, kAuthWpa2Psk), 0);
  Wait(5);
  EXPECT_EQ(Get(Query::ConnectState), 1);
  ASSERT_EQ(Set(Setting::Encryption, kAes), 0);
  Wait(kAssociationMs - 1);
  EXPECT_EQ(Get(Query::ConnectState), 1);
  Wait(1);
  ASSERT_EQ(Get(Query::ConnectState), 0);
  Mac bssid{};
  world->GetBssid(kUsbAdapter, bssid);
  EXPECT_EQ(bssid, MacOf(0x05));
  EXPECT_EQ(Get(Query::Encryption), kAes);
}

}  // namespace
}  // namespace vuzoza::testing
