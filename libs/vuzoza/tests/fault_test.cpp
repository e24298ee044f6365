#include <gtest/gtest.h>

#include "libs/vuzoza/tests/sim_fixture.h"

namespace vuzoza::testing {
namespace {

std::string WithFaults(const std::string& adapterExtra) {
  return R"({"adapters":[{"name":"{6F1C2A10-7100-4D5A-9E11-00000000A001}","instance":"0007",
      "mac":"02:5A:71:00:00:01")" + adapterExtra + R"(}],
    "networks":[{"bssid":"02:00:00:00:00:01","ssid":"Open","channel":6}]})";
}

TEST_F(WorldTest, FailingQueriesAndRefusedSettersAnswerMinusOneAlone) {
  Load(WithFaults(R"(,"faults":{"failingQueries":["QueryWL_RSSI","QueryWL_SSID","ReadOid"],
                              "refusedSetters":["SetWL_Channel","SetWL_SSID"]})"));
  Wait(kAssociationMs);
  EXPECT_EQ(Get(Query::Rssi), -1);
  EXPECT_EQ(Get(Query::ConnectState), 0);
  EXPECT_GT(Get(Query::Quality), 0);
  Bytes ssid;
  EXPECT_EQ(world->GetSsid(kUsbAdapter, ssid), -1);
  Bytes info(1000);
  EXPECT_EQ(world->ReadOid(kUsbAdapter, kOidAssociationInformation, info), -1);
  EXPECT_EQ(Set(Setting::Channel, 6), -1);
  EXPECT_EQ(world->SetSsid(kUsbAdapter, Text("Open")), -1);
  EXPECT_EQ(Set(Setting::PowerSave, 1), 0);
  EXPECT_EQ(world->DriverVersion(kUsbAdapter), 0x01000000);
}

TEST_F(WorldTest, AdapterVanishesAndComesBackFresh) {
  Load(WithFaults(R"(,"faults":{"vanishAtMs":5000,"vanishForMs":4000})"));
  ASSERT_EQ(Set(Setting::PowerSave, 2), 0);
  Wait(4999);
  EXPECT_EQ(world->ListAdapters(false).size(), 1u);
  EXPECT_EQ(Get(Query::ConnectState), 0);
  Wait(1);
  EXPECT_TRUE(world->ListAdapters(false).empty());
  EXPECT_EQ(world->Open(kUsbAdapter), 0);
  EXPECT_EQ(world->DriverVersion(kUsbAdapter), -1);
  EXPECT_EQ(Get(Query::ConnectState), -1);
  EXPECT_EQ(Set(Setting::PowerSave, 1), -1);
  Wait(4000);
  EXPECT_EQ(world->ListAdapters(false).size(), 1u);
  EXPECT_GT(world->Open(kUsbAdapter), 0);
  EXPECT_EQ(world->DriverVersion(kUsbAdapter), 0x01000000);
  EXPECT_EQ(Get(Query::PowerSave), 0);     // the driver started afresh
  EXPECT_EQ(Get(Query::ConnectState), 1);  // and associates again after a moment
  Wait(kAssociationMs);
  EXPECT_EQ(Get(Query::ConnectState), 0);
}

TEST_F(WorldTest, AdapterThatVanishesForGoodStaysAway) {
  Load(WithFaults(R"(,"faults":{"vanishAtMs":1000})"));
  Wait(3'600'000);
  EXPECT_TRUE(world->ListAdapters(false).empty());
  EXPECT_EQ(world->DriverVersion(kUsbAdapter), -1);
}

TEST_F(WorldTest, DriverThatStopsAnsweringStaysListedAndOpens) {
  struct Case {
    std::string extra;
    std::int64_t answersUntilMs;
  } cases[] = {
      {R"(,"answers":false)", 0},
      {R"(,"faults":{"silentFromMs":3000})", 3000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.extra);
    time.now = 0;
    Load(WithFaults(c.extra));
    if (c.answersUntilMs > 0) {
      Wait(c.answersUntilMs - 1);
      EXPECT_NE(world->DriverVersion(kUsbAdapter), -1);
      Wait(1);
    }
    EXPECT_EQ(world->ListAdapters(false).size(), 1u);
    EXPECT_GT(world->Open(kUsbAdapter), 0);
    EXPECT_EQ(world->DriverVersion(kUsbAdapter), -1);
    EXPECT_EQ(Get(Query::Channel), -1);
  }
}

TEST_F(WorldTest, WirelessServiceStartsStopsAndReportsControl) {
  struct Case {
    const char* wzc;
    int initially, afterStart, afterStop, startResult;
  } cases[] = {
      {"stopped", 0, 1, 0, 0},
      {"running", 1, 1, 0, 0},
      {"absent", 2, 2, 2, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wzc);
    Load(R"({"adapters":[{"name":"{6F1C2A10-7100-4D5A-9E11-00000000A001}","instance":"0007",
        "mac":"02:5A:71:00:00:01"}],"wzc":")" + std::string(c.wzc) + "\"}");
    EXPECT_EQ(Get(Query::WzcStatus), c.initially);
    EXPECT_EQ(world->StartWzc(), c.startResult);
    EXPECT_EQ(Get(Query::WzcStatus), c.afterStart);
    EXPECT_EQ(world->StopWzc(), c.startResult);
    EXPECT_EQ(Get(Query::WzcStatus), c.afterStop);
  }
}

}  // namespace
}  // namespace vuzoza::testing
