#include "security/testing/recording_supplicant.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>

namespace security::testing {
namespace {

using ::testing::ElementsAre;

TEST(RecordingSupplicantTest, RecordsCallsWithTheirInputs) {
  RecordingSupplicantLibrary l;
  AdapterHandle adapter{};
  const std::array<std::uint8_t, 6> bssid{0x02, 0x5A, 0xA0, 0, 0, 5};
  const std::array<std::uint8_t, 6> mac{0x02, 0x5A, 0x71, 0, 0, 1};
  const std::array<std::uint8_t, 4> ssid{'H', 'o', 'm', 'e'};
  std::array<std::uint8_t, 32> pmk{};
  std::array<std::uint8_t, DOT1X_EAP_BLOCK_SIZE> block{};
  block[3171] = 'T';
  KeyContext context{};
  context.pairwise_cipher = DOT1X_CIPHER_CCMP;

  EXPECT_EQ(l.genMyCertFile(u"alice", u"Root CA"), 0);
  EXPECT_EQ(l.do_eapol_init(adapter, 0, mac, bssid, block), 0);
  EXPECT_EQ(l.do_eapol_run(), 1) << "authenticated by default";
  EXPECT_EQ(l.Get_PSK_Key_32byte("90817263", ssid, 4096, pmk), 0);
  EXPECT_EQ(l.do_key_negotiation_init(adapter, context), 0);
  EXPECT_EQ(l.do_eapol_start(bssid, mac), 0);
  EXPECT_THAT(l.Calls(), ElementsAre("genMyCertFile(alice, Root CA)", "do_eapol_init(0, 025A71000001, 025AA0000005)",
                                     "do_eapol_run()", "Get_PSK_Key_32byte(90817263, 486F6D65, 4096, 32)",
                                     "do_key_negotiation_init()", "do_eapol_start(025AA0000005, 025A71000001)"));
  EXPECT_EQ(l.LastEapBlock().at(3171), 'T');
  ASSERT_TRUE(l.LastKeyContext().has_value());
  EXPECT_EQ(l.LastKeyContext()->pairwise_cipher, static_cast<std::uint32_t>(DOT1X_CIPHER_CCMP));
  l.ClearCalls();
  EXPECT_TRUE(l.Calls().empty());
}

TEST(RecordingSupplicantTest, QueuedRepliesComeBeforeSteadyOnesAndBytesAreCutToTheRoom) {
  RecordingSupplicantLibrary l;
  l.Answer("do_eapol_run", 0);
  l.AnswerNext("do_eapol_run", 1);
  EXPECT_EQ(l.do_eapol_run(), 1);
  EXPECT_EQ(l.do_eapol_run(), 0);
  EXPECT_EQ(l.do_eapol_run(), 0);

  std::vector<std::uint8_t> material(200, 0x5A);
  l.AnswerBytes("Get_EAP_Derived_Key", material);
  l.AnswerNext("Get_EAP_Derived_Key", -1, std::vector<std::uint8_t>{1, 2});
  std::array<std::uint8_t, 128> out{};
  EXPECT_EQ(l.Get_EAP_Derived_Key(out), -1);
  EXPECT_EQ(out[0], 1);
  EXPECT_EQ(out[2], 0) << "only the queued bytes";
  EXPECT_EQ(l.Get_EAP_Derived_Key(out), 0);
  EXPECT_EQ(out[127], 0x5A);
}

TEST(RecordingSupplicantTest, RunHookPlaysTheLibrarysSideOfAStep) {
  RecordingSupplicantLibrary l;
  static int installs = 0;
  installs = 0;
  KeyContext context{};
  context.key_callback = [](const uint8_t*, const uint8_t*, int32_t, int32_t, int32_t) { ++installs; };
  l.OnKeyNegotiationRun([](KeyContext& c) {
    const std::uint8_t rsc[8] = {};
    const std::uint8_t key[16] = {1};
    c.key_callback(rsc, key, 16, 0, DOT1X_KEY_PAIRWISE);
  });
  EXPECT_EQ(l.do_key_negotiation_run(context), 0);
  EXPECT_EQ(installs, 1);
}

}  // namespace
}  // namespace security::testing
