// The built libdot1x_dll.so and libVUZOZA.so loaded the way the program loads them, driven the
// way the pre-shared-key worker drives them, against the simulated access point on a virtual
// clock.

#include "libs/dot1x/tests/through_libraries.h"

namespace {

using namespace dot1x_test;

const Network kTkip{"Cafe-WPA-TKIP", 4, 4, "tkip-pass-1234", 221};
const Network kCcmp{"Home-WPA2", 7, 6, "wpa2 pass phrase", 48};

class HandshakeTest : public LibrariesTest {
 protected:
  // What the pre-shared-key worker does once associated, up to its handshake loop.
  void StartNegotiation(const Network& n, const char* passPhrase) {
    PrepareContext(n, false);
    ASSERT_EQ(DOT1X_FN(Get_PSK_Key_32byte)(passPhrase, reinterpret_cast<const std::uint8_t*>(n.ssid),
                                          static_cast<std::int32_t>(std::strlen(n.ssid)), 4096, context_.pmk, 32),
              0);
    ASSERT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, &context_), 0);
    ASSERT_EQ(DOT1X_FN(do_eapol_start)(bssid_, context_.own_mac), 0);
    startedAt_ = g_now;
  }

  std::int64_t startedAt_ = 0;
};

TEST_F(HandshakeTest, RightPassPhraseInstallsEachKeyOnceAndTrafficFlows) {
  for (const Network& n : {kTkip, kCcmp}) {
    SCOPED_TRACE(n.ssid);
    station_.installs.clear();
    Associate(n);
    EXPECT_FALSE(TrafficFlowsOver(2000)) << "no keys yet";
    StartNegotiation(n, n.passPhrase);
    RunFor(3000);
    const auto pairwise = Installs(DOT1X_KEY_PAIRWISE);
    const auto group = Installs(DOT1X_KEY_GROUP);
    ASSERT_EQ(pairwise.size(), 1u);
    ASSERT_EQ(group.size(), 1u);
    EXPECT_EQ(pairwise[0].key.size(), context_.pairwise_cipher == DOT1X_CIPHER_TKIP ? 32u : 16u);
    EXPECT_EQ(group[0].key.size(), context_.group_cipher == DOT1X_CIPHER_TKIP ? 32u : 16u);
    EXPECT_EQ(pairwise[0].index, 0);
    EXPECT_GE(group[0].index, 1);
    EXPECT_LT(pairwise[0].atMs - startedAt_, kRetransmitMs) << "no retransmission was needed";
    EXPECT_TRUE(TrafficFlowsOver(2000));
  }
}

TEST_F(HandshakeTest, WrongPassPhraseNeverInstallsKeysNorPassesTraffic) {
  for (const Network& n : {kTkip, kCcmp}) {
    SCOPED_TRACE(n.ssid);
    Associate(n);
    StartNegotiation(n, "not the pass phrase");
    RunFor(10000);  // past every retransmission of the access point
    EXPECT_TRUE(station_.installs.empty());
    EXPECT_FALSE(TrafficFlowsOver(2000));
  }
}

// Faults on the air between the access point and the station, by frame number of one
// association. To the station: 1 message 1, 2 message 3, 3 (WPA) group message 1. From the
// station: 1 EAPOL-Start, 2 message 2, 3 message 4.
struct AirCase {
  const char* name;
  Network network;
  const char* fault;
  int frame;
  bool delaysKeys;  // the first install waits for a retransmission
};

TEST_F(HandshakeTest, AirFaultsAreRecoveredWithoutReinstallingKeys) {
  const AirCase cases[] = {
      {"lost message 1", kCcmp, "loseToStation", 1, true},
      {"lost message 3", kTkip, "loseToStation", 2, true},
      {"lost message 4: message 3 sent again", kCcmp, "loseFromStation", 3, false},
      {"lost message 4 (WPA): the group key waits for it", kTkip, "loseFromStation", 3, true},
      {"message 3 replayed", kCcmp, "repeatToStation", 2, false},
      {"group message replayed", kTkip, "repeatToStation", 3, false},
      {"message 3 with a forged integrity code", kCcmp, "forgeMicToStation", 2, true},
      {"group message with a forged integrity code", kTkip, "forgeMicToStation", 3, true},
  };
  for (const AirCase& c : cases) {
    SCOPED_TRACE(c.name);
    UseWorld({{c.network.ssid, {{"airFaults", {{c.fault, {c.frame}}}}}}});
    station_.installs.clear();
    Associate(c.network);
    StartNegotiation(c.network, c.network.passPhrase);
    RunFor(6000);
    const auto pairwise = Installs(DOT1X_KEY_PAIRWISE);
    const auto group = Installs(DOT1X_KEY_GROUP);
    ASSERT_EQ(pairwise.size(), 1u);
    ASSERT_EQ(group.size(), 1u);
    const std::int64_t lastInstall = std::max(pairwise[0].atMs, group[0].atMs) - startedAt_;
    if (c.delaysKeys) {
      EXPECT_GE(lastInstall, kRetransmitMs) << "the damaged frame was taken";
    } else {
      EXPECT_LT(lastInstall, kRetransmitMs);
    }
    EXPECT_TRUE(TrafficFlowsOver(2000));
  }
}

TEST_F(HandshakeTest, Message3IsCheckedAgainstTheSurveyedBeacon) {
  // The access point announced CCMP; a message 3 announcing TKIP (a downgrade) installs nothing.
  UseWorld({{kCcmp.ssid,
             {{"airFaults", {{"message3Element", "30140100000fac040100000fac020100000fac020000"}}}}}});
  Associate(kCcmp);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  RunFor(10000);
  EXPECT_TRUE(station_.installs.empty());
  EXPECT_FALSE(TrafficFlowsOver(2000));

  // No survey yet: the library surveys itself and takes a repeated message 3 once it knows the
  // beacon.
  SetUp();
  Associate(kCcmp, false);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  RunFor(6000);
  const auto pairwise = Installs(DOT1X_KEY_PAIRWISE);
  ASSERT_EQ(pairwise.size(), 1u);
  EXPECT_GE(pairwise[0].atMs - startedAt_, kSurveyMs);
  EXPECT_EQ(Installs(DOT1X_KEY_GROUP).size(), 1u);
  EXPECT_TRUE(TrafficFlowsOver(2000));
}

TEST_F(HandshakeTest, GroupRekeyInstallsEachNewGroupKeyOnce) {
  UseWorld({{kCcmp.ssid, {{"groupRekeyMs", 4000}}}});
  Associate(kCcmp);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  RunFor(9500);  // established at once, then rekeyed after 4 s and 8 s
  EXPECT_EQ(Installs(DOT1X_KEY_PAIRWISE).size(), 1u);
  const auto group = Installs(DOT1X_KEY_GROUP);
  ASSERT_EQ(group.size(), 3u);
  for (std::size_t i = 1; i < group.size(); ++i) {
    EXPECT_NE(group[i].key, group[i - 1].key);
    EXPECT_NE(group[i].index, group[i - 1].index) << "the old key stays usable while the new one arrives";
  }
  EXPECT_TRUE(TrafficFlowsOver(2000));
}

TEST_F(HandshakeTest, NegotiationIsRefusedCleanly) {
  Associate(kCcmp);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  const Dot1xKeyContext good = context_;
  struct Case {
    const char* name;
    std::function<void(Dot1xKeyContext&)> spoil;
  };
  const Case cases[] = {
      {"no tag", [](Dot1xKeyContext& c) { std::memset(c.tag, 0, sizeof c.tag); }},
      {"all-zero PMK", [](Dot1xKeyContext& c) { std::memset(c.pmk, 0, sizeof c.pmk); }},
      {"WEP pairwise cipher", [](Dot1xKeyContext& c) { c.pairwise_cipher = DOT1X_CIPHER_WEP104; }},
      {"cipher not determined", [](Dot1xKeyContext& c) { c.group_cipher = DOT1X_CIPHER_UNKNOWN; }},
      {"no key callback", [](Dot1xKeyContext& c) { c.key_callback = nullptr; }},
      {"no element callback", [](Dot1xKeyContext& c) { c.element_callback = nullptr; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    context_ = good;
    c.spoil(context_);
    EXPECT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, &context_), -1);
    EXPECT_EQ(DOT1X_FN(do_eapol_start)(bssid_, context_.own_mac), -1);
    // Once the access point's frames are drained, each step waits its full time.
    const std::int64_t before = g_now;
    for (int i = 0; i < 20; ++i) EXPECT_EQ(DOT1X_FN(do_key_negotiation_run)(&context_), -1);
    EXPECT_GE(g_now - before, 1000) << "the steps still wait";
  }
  EXPECT_EQ(DOT1X_FN(do_key_negotiation_init)(&station_.handle, nullptr), -1);
  EXPECT_TRUE(station_.installs.empty());
  EXPECT_EQ(DOT1X_FN(Shutdown_Dot1x_Module)(), 0);
  EXPECT_EQ(DOT1X_FN(do_key_negotiation_run)(&context_), -1);
}

TEST_F(HandshakeTest, ShutdownReleasesTheNegotiationAndALaterOneWorks) {
  Associate(kCcmp);
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  ASSERT_EQ(DOT1X_FN(Shutdown_Dot1x_Module)(), 0);
  EXPECT_EQ(DOT1X_FN(do_key_negotiation_run)(&context_), -1);
  EXPECT_EQ(DOT1X_FN(do_eapol_start)(bssid_, context_.own_mac), -1);
  // The access point gave up meanwhile; a new attempt starts it again.
  g_now += 10 * kRetransmitMs;
  StartNegotiation(kCcmp, kCcmp.passPhrase);
  RunFor(3000);
  EXPECT_EQ(Installs(DOT1X_KEY_PAIRWISE).size(), 1u);
  EXPECT_TRUE(TrafficFlowsOver(2000));
}

}  // namespace
