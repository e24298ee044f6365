#include <gtest/gtest.h>

#include "libs/vuzoza/tests/sim_fixture.h"

namespace vuzoza::testing {
namespace {

const Mac kFirst{0x02, 0x5A, 0x5A, 0x00, 0x00, 0x11};   // joins after 3 s
const Mac kSecond{0x02, 0x5A, 0x5A, 0x00, 0x00, 0x12};  // joins after 6 s

class AccessPointTest : public WorldTest {
 protected:
  void SetUp() override {
    LoadDefault();
    ASSERT_EQ(Set(Setting::OperationMode, 1), 0);
    ASSERT_EQ(world->SetSsid(kUsbAdapter, Text("WLAN_AP")), 0);
  }
  std::vector<Mac> Stations() {
    Bytes list;
    EXPECT_EQ(world->GetStationList(kUsbAdapter, list), 0);
    EXPECT_EQ(list.size(), 112u);
    std::vector<Mac> out;
    for (std::size_t i = 0; i < 16; ++i) {
      if (list[7 * i] == 0) continue;
      Mac m;
      std::copy_n(list.begin() + 7 * i + 1, 6, m.begin());
      out.push_back(m);
    }
    return out;
  }
};

TEST_F(AccessPointTest, StationsJoinAtTheirTimes) {
  EXPECT_EQ(Get(Query::ConnectState), 0);
  Wait(2999);
  EXPECT_TRUE(Stations().empty());
  EXPECT_FALSE(TrafficFlowsOver(0));
  Wait(1);
  EXPECT_EQ(Stations(), std::vector<Mac>{kFirst});
  Wait(3000);
  EXPECT_EQ(Stations(), (std::vector<Mac>{kFirst, kSecond}));
  EXPECT_TRUE(TrafficFlowsOver(2000));

  // Back to station mode: the access point and its stations are gone.
  ASSERT_EQ(Set(Setting::OperationMode, 0), 0);
  EXPECT_TRUE(Stations().empty());
}

TEST_F(AccessPointTest, FilterModesAcceptOrRefuseTheListedStations) {
  struct Case {
    int mode;
    std::vector<Mac> listed;
    std::vector<Mac> joined;
  } cases[] = {
      {0, {kFirst}, {kFirst, kSecond}},
      {1, {kFirst}, {kFirst}},
      {1, {}, {}},
      {2, {kFirst}, {kSecond}},
      {2, {}, {kFirst, kSecond}},
  };
  Wait(6000);
  for (const Case& c : cases) {
    SCOPED_TRACE("filter mode " + std::to_string(c.mode) + ", " + std::to_string(c.listed.size()) + " listed");
    Bytes list(112, 0);
    for (std::size_t i = 0; i < c.listed.size(); ++i) {
      list[7 * i] = 1;
      std::copy(c.listed[i].begin(), c.listed[i].end(), list.begin() + 7 * i + 1);
    }
    ASSERT_EQ(world->SetFilterList(kUsbAdapter, list), 0);
    ASSERT_EQ(Set(Setting::FilterMode, c.mode), 0);
    EXPECT_EQ(Stations(), c.joined);
  }
  // An entry not in use does not count as listed.
  Bytes list(112, 0);
  std::copy(kFirst.begin(), kFirst.end(), list.begin() + 1);
  ASSERT_EQ(world->SetFilterList(kUsbAdapter, list), 0);
  ASSERT_EQ(Set(Setting::FilterMode, 1), 0);
  EXPECT_TRUE(Stations().empty());
  EXPECT_EQ(Set(Setting::FilterMode, 3), -1);
  EXPECT_EQ(world->SetFilterList(kUsbAdapter, Bytes(111, 0)), -1);
}

TEST_F(AccessPointTest, HiddenSsidAndWepKeepOutStationsThatCannotFindOrReachUs) {
  const char* json = R"({"adapters":[{"name":"{6F1C2A10-7100-4D5A-9E11-00000000A001}","instance":"0007",
      "mac":"02:5A:71:00:00:01"}],
    "stations":[{"mac":"02:00:00:00:00:01","leaveAfterMs":60000},
                {"mac":"02:00:00:00:00:02","ssid":"WLAN_AP"},
                {"mac":"02:00:00:00:00:03","ssid":"Other"},
                {"mac":"02:00:00:00:00:04","wepKey":"01 02 03 04 05"}]})";
  Load(json);
  ASSERT_EQ(Set(Setting::OperationMode, 1), 0);
  ASSERT_EQ(world->SetSsid(kUsbAdapter, Text("WLAN_AP")), 0);
  auto last = [](const std::vector<Mac>& macs) {
    std::vector<int> out;
    for (const Mac& m : macs) out.push_back(m[5]);
    return out;
  };
  EXPECT_EQ(last(Stations()), (std::vector<int>{1, 2}));
  ASSERT_EQ(Set(Setting::HideSsid, 1), 0);
  EXPECT_EQ(last(Stations()), (std::vector<int>{2}));
  ASSERT_EQ(Set(Setting::HideSsid, 0), 0);

  const std::uint8_t key[] = {1, 2, 3, 4, 5};
  ASSERT_EQ(world->WriteKey(kUsbAdapter, 0, 0, true, key), 0);
  ASSERT_EQ(Set(Setting::Encryption, 0), 0);
  EXPECT_EQ(last(Stations()), (std::vector<int>{1, 2, 4}));
  const std::uint8_t other[] = {9, 2, 3, 4, 5};
  ASSERT_EQ(world->WriteKey(kUsbAdapter, 0, 0, true, other), 0);
  EXPECT_EQ(last(Stations()), (std::vector<int>{1, 2}));
  EXPECT_EQ(Set(Setting::AuthMode, 2), -1);  // the access point offers open or shared key only
  Wait(60'000);
  EXPECT_EQ(last(Stations()), (std::vector<int>{2}));  // the first one has left
}

TEST_F(AccessPointTest, StationsJoinOnlyOnABandTheirRadioOffers) {
  const char* json = R"({"adapters":[{"name":"{6F1C2A10-7100-4D5A-9E11-00000000A001}","instance":"0007",
      "mac":"02:5A:71:00:00:01","bands":"both"}],
    "stations":[{"mac":"02:00:00:00:00:01","bands":"2.4"},
                {"mac":"02:00:00:00:00:02","bands":"5"},
                {"mac":"02:00:00:00:00:03"}]})";
  Load(json);
  ASSERT_EQ(Set(Setting::OperationMode, 1), 0);
  auto last = [this] {
    std::vector<int> out;
    for (const Mac& m : Stations()) out.push_back(m[5]);
    return out;
  };
  const struct {
    int channel;
    std::vector<int> joined;
  } cases[] = {{6, {1, 3}}, {36, {2, 3}}, {161, {2, 3}}, {1, {1, 3}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.channel);
    ASSERT_EQ(Set(Setting::Channel, c.channel), 0);
    EXPECT_EQ(last(), c.joined);
  }
}

TEST_F(AccessPointTest, ChannelAndTransmitPowerAreApplied) {
  EXPECT_EQ(Set(Setting::Channel, 11), 0);
  EXPECT_EQ(Get(Query::Channel), 11);
  EXPECT_EQ(Set(Setting::Channel, 0), 0);  // automatic
  EXPECT_EQ(Get(Query::Channel), 6);
  EXPECT_EQ(Set(Setting::TxPower, 3), 0);
  EXPECT_EQ(Set(Setting::TxPower, 4), -1);
  Bytes ssid;
  EXPECT_EQ(world->GetSsid(kUsbAdapter, ssid), 7);
  Mac bssid{};
  ASSERT_EQ(world->GetBssid(kUsbAdapter, bssid), 0);
  EXPECT_EQ(bssid, (Mac{0x02, 0x5A, 0x71, 0x00, 0x00, 0x01}));
}

}  // namespace
}  // namespace vuzoza::testing
