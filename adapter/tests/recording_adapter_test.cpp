#include "adapter/testing/recording_adapter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <stdexcept>
#include <thread>

#include "adapter/tests/contract_call_table.h"

namespace adapter::testing {
namespace {

using ::testing::ElementsAre;

class RecordingAdapterTest : public ::testing::Test {
 protected:
  RecordingAdapterTest() { std::strcpy(adapter_.name, "wlan-a"); }

  RecordingAdapterLibrary fake_;
  AdapterHandle adapter_{};
};

TEST_F(RecordingAdapterTest, RecordsEveryCallInTheNotationOfItsCArguments) {
  for (const auto& row : EveryContractCall()) {
    SCOPED_TRACE(row.text);
    fake_.ClearCalls();
    row.call(fake_, adapter_);
    EXPECT_THAT(fake_.Calls(), ElementsAre(row.text));
  }
}

TEST_F(RecordingAdapterTest, RecordsKeepOrderArgumentsAndTheAdapterName) {
  fake_.SetWL_Channel(adapter_, 11);
  fake_.QVStopWZCService();
  fake_.SetWL_WEPStatus(adapter_, 1);
  EXPECT_THAT(fake_.Calls(),
              ElementsAre("SetWL_Channel(11)", "QVStopWZCService()", "SetWL_WEPStatus(1)"));
  EXPECT_THAT(fake_.Calls("SetWL"), ElementsAre("SetWL_Channel(11)", "SetWL_WEPStatus(1)"));
  const auto records = fake_.Records();
  EXPECT_EQ(records[0].adapterName, "wlan-a");
  EXPECT_THAT(records[0].arguments, ElementsAre("11"));
  EXPECT_EQ(records[1].adapterName, "");
}

TEST_F(RecordingAdapterTest, UnscriptedCallsGetTheDefaultOfTheirKind) {
  struct Case {
    const char* function;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"SetWL_Channel", 0},         {"QvOpenAdapter", 1},          {"QvCloseAdapter", 0},
      {"QueryWL_Channel", -1},      {"ReadOid", -1},               {"WriteOid", 0},
      {"CheckOSWinNT", 1},          {"QueryWL_IsWindows95", 0},    {"Query_FixWindisPnPBug", 0},
      {"CreateAllNICAdapterList", 0}, {"CreateNICAdapterList", -1}, {"QueryWL_CheckWZCStatus", -1},
  };
  for (const auto& row : EveryContractCall()) {
    const std::string function = row.text.substr(0, row.text.find('('));
    for (const Case& c : cases) {
      if (function == c.function) {
        EXPECT_EQ(row.call(fake_, adapter_), c.expected) << function;
      }
    }
  }
}

TEST_F(RecordingAdapterTest, QueuedRepliesComeFirstThenTheSteadyAnswer) {
  fake_.AnswerNext("QueryWL_ConnectState", 1);
  fake_.AnswerNext("QueryWL_ConnectState", 1);
  fake_.Answer("QueryWL_ConnectState", 0);
  std::vector<std::int32_t> states;
  for (int i = 0; i < 4; ++i) states.push_back(fake_.QueryWL_ConnectState(adapter_));
  EXPECT_THAT(states, ElementsAre(1, 1, 0, 0));
  EXPECT_EQ(fake_.QueryWL_Channel(adapter_), -1) << "scripts are per function";
}

TEST_F(RecordingAdapterTest, ScriptedBytesAreCutToTheRoomWhileTheCountTellsTheScript) {
  fake_.Answer("QueryWL_SupportChannel", 0);
  fake_.AnswerBytes("QueryWL_SupportChannel", {1, 6, 11, 0xFF, 36});
  std::array<std::uint8_t, 4> room{0, 0, 0, 0xEE};
  std::array<std::uint8_t, 3> small{};
  std::int32_t count = 0;
  EXPECT_EQ(fake_.QueryWL_SupportChannel(adapter_, std::span(room).first(3), count), 0);
  EXPECT_EQ(count, 5) << "plays a driver that overstates its count";
  EXPECT_THAT(room, ElementsAre(1, 6, 11, 0xEE));
  EXPECT_EQ(fake_.QueryWL_SupportChannel(adapter_, small, count), 0);
  EXPECT_THAT(small, ElementsAre(1, 6, 11));
}

TEST_F(RecordingAdapterTest, AQueuedReplyWithBytesOverridesTheSteadyBytesOnce) {
  fake_.Answer("WL_RetrieveStationList", 0);
  fake_.AnswerBytes("WL_RetrieveStationList", std::vector<std::uint8_t>(VZ_MAC_LIST_SIZE, 0));
  std::vector<std::uint8_t> oneStation(VZ_MAC_LIST_SIZE, 0);
  oneStation[0] = 1;
  oneStation[6] = 0x42;
  fake_.AnswerNext("WL_RetrieveStationList", 0, oneStation);
  fake_.AnswerNext("WL_RetrieveStationList", -1);

  std::array<std::uint8_t, VZ_MAC_LIST_SIZE> stations{};
  EXPECT_EQ(fake_.WL_RetrieveStationList(adapter_, stations), 0);
  EXPECT_EQ(stations[6], 0x42);
  EXPECT_EQ(fake_.WL_RetrieveStationList(adapter_, stations), -1);
  EXPECT_EQ(stations[6], 0) << "a queued reply without bytes writes the steady bytes";
  EXPECT_EQ(fake_.WL_RetrieveStationList(adapter_, stations), 0);
}

TEST_F(RecordingAdapterTest, WithoutScriptedBytesOutputsAreLeftAlone) {
  std::array<std::uint8_t, VZ_MAC_SIZE> mac{1, 2, 3, 4, 5, 6};
  std::uint32_t sent = 7, received = 8;
  EXPECT_EQ(fake_.GetNICAdapterMAC(adapter_, mac), -1);
  EXPECT_EQ(fake_.GetTxRxFrameCount(adapter_, sent, received), -1);
  EXPECT_THAT(mac, ElementsAre(1, 2, 3, 4, 5, 6));
  EXPECT_EQ(sent, 7u);
  EXPECT_EQ(received, 8u);
}

TEST_F(RecordingAdapterTest, ShorthandsScriptSuccessWithTheirRecords) {
  fake_.AnswerSsid("HomeNet");
  fake_.AnswerFrameCounts(4000000000u, 12);
  fake_.AnswerDriverInfo(DriverInfo{0x1A2B, 0x0003, 0x0102, 4, {}});
  const AdapterRecord records[] = {MakeAdapterRecord("{guid-1}", "Wireless A", "0007"),
                                   MakeAdapterRecord("{guid-2}", "Wireless B", "0012")};
  fake_.AnswerAdapterList("CreateAllNICAdapterList", records);

  std::array<std::uint8_t, VZ_SSID_SIZE> ssid{};
  EXPECT_EQ(fake_.QueryWL_SSID(adapter_, ssid), 7);
  EXPECT_EQ(std::string(ssid.begin(), ssid.begin() + 7), "HomeNet");

  std::uint32_t sent = 0, received = 0;
  EXPECT_EQ(fake_.GetTxRxFrameCount(adapter_, sent, received), 0);
  EXPECT_EQ(sent, 4000000000u);
  EXPECT_EQ(received, 12u);

  DriverInfo info{};
  EXPECT_EQ(fake_.Query_QVDriverInfo(adapter_, info), 0);
  EXPECT_EQ(info.chip_code, 4u);

  std::vector<AdapterRecord> list(100);
  EXPECT_EQ(fake_.CreateAllNICAdapterList(list), 2);
  EXPECT_STREQ(list[1].name, "{guid-2}");
  EXPECT_STREQ(list[1].description, "Wireless B");
  EXPECT_STREQ(list[1].instance, "0012");
}

TEST_F(RecordingAdapterTest, AnOpenThatSucceedsStoresAHandleInTheRecord) {
  adapter_.handle = -1;
  fake_.AnswerNext("QvOpenAdapter", 0);
  EXPECT_EQ(fake_.QvOpenAdapter(adapter_), 0);
  EXPECT_EQ(adapter_.handle, -1);
  EXPECT_NE(fake_.QvOpenAdapter(adapter_), 0);
  EXPECT_EQ(adapter_.handle, RecordingAdapterLibrary::kOpenHandle);
}

TEST_F(RecordingAdapterTest, TwoThreadsMayCallAtOnceWithoutLosingACall) {
  // The user-interface thread polls while the supplicant thread writes keys.
  auto poll = [this] {
    AdapterHandle own = adapter_;
    for (int i = 0; i < 500; ++i) fake_.QueryWL_ConnectState(own);
  };
  auto writeKeys = [this] {
    AdapterHandle own = adapter_;
    const std::array<std::uint8_t, 4> record{1, 2, 3, 4};
    for (int i = 0; i < 500; ++i) fake_.WriteOid(own, VZ_OID_ADD_WPA_KEY, record);
  };
  std::thread first(poll), second(writeKeys);
  first.join();
  second.join();
  EXPECT_EQ(fake_.Calls().size(), 1000u);
}

TEST(MakeAdapterRecordTest, CutsEachTextToItsFieldKeepingTheTerminator) {
  const AdapterRecord record = MakeAdapterRecord(std::string(300, 'n'), "d", "123456");
  EXPECT_EQ(std::strlen(record.name), sizeof record.name - 1);
  EXPECT_STREQ(record.instance, "1234");
}

TEST_F(RecordingAdapterTest, ScriptingAFunctionOutsideTheContractIsRefused) {
  EXPECT_THROW(fake_.Answer("QueryWL_Chanel", 6), std::invalid_argument);
  EXPECT_THROW(fake_.AnswerBytes("SetWL_SSID ", {}), std::invalid_argument);
}

}  // namespace
}  // namespace adapter::testing
