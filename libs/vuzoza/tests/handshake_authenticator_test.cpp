// The access point's handshake side inside the world, driven by the station's engine directly
// through the raw requests: traffic passes only with exactly the keys the handshake established.

#include <gtest/gtest.h>

#include "libs/dot1x/wpa/supplicant.h"
#include "libs/vuzoza/sim/association.h"
#include "libs/vuzoza/sim/elements.h"
#include "libs/vuzoza/tests/sim_fixture.h"

namespace vuzoza::testing {
namespace {

Bytes SendRecord(wpa::ByteSpan frame) {
  Bytes r(kEapolHeader + frame.size(), 0);
  r[4] = static_cast<std::uint8_t>(frame.size());
  r[5] = static_cast<std::uint8_t>(frame.size() >> 8);
  std::copy(frame.begin(), frame.end(), r.begin() + kEapolHeader);
  return r;
}

Bytes KeyRecord(const Mac& bssid, bool pairwise, int index, wpa::ByteSpan key) {
  Bytes r(32 + key.size() + 7, 0);
  r[0] = static_cast<std::uint8_t>(r.size());
  const std::uint32_t word = 0x20000000u | (pairwise ? 0xC0000000u : static_cast<std::uint32_t>(index));
  for (int i = 0; i < 4; ++i) r[4 + i] = static_cast<std::uint8_t>(word >> (8 * i));
  r[8] = static_cast<std::uint8_t>(key.size());
  std::copy(bssid.begin(), bssid.end(), r.begin() + 12);
  std::copy(key.begin(), key.end(), r.begin() + 32);
  return r;
}

class HandshakeAuthenticatorTest : public WorldTest {
 protected:
  struct Installed {
    bool pairwise;
    int index;
    Bytes key;
  };

  // Runs the station's side of the handshake until the access point stops sending; returns the
  // keys the station would install, without installing them.
  std::vector<Installed> Negotiate(const char* ssid, int authMode, int encryption, std::string_view passPhrase) {
    LoadDefault();
    EXPECT_EQ(Set(Setting::AuthMode, authMode), 0);
    EXPECT_EQ(Set(Setting::Encryption, encryption), 0);
    Connect(ssid);
    const NetworkSpec* network = nullptr;
    for (const auto& n : world->scenario().networks) {
      if (n.ssid == Text(ssid)) network = &n;
    }
    StationConfig settings;
    settings.authMode = authMode;
    settings.encryption = encryption;
    const auto setup = KeySetupOf(settings);
    wpa::SupplicantConfig config;
    config.ownAddress = world->scenario().adapters[0].mac;
    config.authenticatorAddress = network->bssid;
    config.pmk = wpa::PassPhraseToPmk(passPhrase, network->ssid);
    config.suite = {setup->family == WpaFamily::Wpa ? wpa::Protocol::Wpa : wpa::Protocol::Rsn,
                    setup->pairwise == Cipher::Tkip ? wpa::Cipher::Tkip : wpa::Cipher::Ccmp,
                    network->group == Cipher::Tkip ? wpa::Cipher::Tkip : wpa::Cipher::Ccmp};
    AppendSecurityElement(config.expectedAuthenticatorElement, setup->family, network->group, network->pairwise,
                          AkmOf(network->security));
    std::vector<Installed> installed;
    wpa::SupplicantSeams seams;
    seams.transmit = [&](wpa::ByteSpan frame) { EXPECT_EQ(world->WriteOid(kUsbAdapter, kOidEapolSend, SendRecord(frame)), 0); };
    seams.installKey = [&](const wpa::Rsc&, wpa::ByteSpan key, int index, wpa::KeyKind kind) {
      installed.push_back({kind == wpa::KeyKind::Pairwise, index, Bytes(key.begin(), key.end())});
    };
    seams.ownElement = [&] { return StationSecurityElement(*network, *setup, StationConfig{}); };
    wpa::Supplicant station(config, seams);
    for (int i = 0; i < 100; ++i) {
      Bytes in(kEapolHeader + kEapolFrameMax, 0);
      in[0] = 100;
      if (world->ReadOid(kUsbAdapter, kOidEapolReceive, in) != 0) continue;
      (void)station.OnFrame(wpa::ByteSpan(in).subspan(kEapolHeader, in[4] | in[5] << 8));
    }
    bssid = network->bssid;
    return installed;
  }

  void Install(const Installed& k) {
    ASSERT_EQ(world->WriteOid(kUsbAdapter, kOidAddWpaKey, KeyRecord(bssid, k.pairwise, k.index, k.key)), 0);
  }

  Mac bssid{};
};

TEST_F(HandshakeAuthenticatorTest, TrafficNeedsExactlyTheEstablishedKeys) {
  struct Case {
    const char* ssid;
    int authMode;
    int encryption;
    const char* passPhrase;
  };
  const Case cases[] = {{"Cafe-WPA-TKIP", kAuthWpaPsk, kTkip, "tkip-pass-1234"},
                        {"Home-WPA2", kAuthWpa2Psk, kAes, "wpa2 pass phrase"},
                        {"Office-Mixed", kAuthWpaPsk, kTkip, "mixed-mode-key"},
                        {"Office-Mixed", kAuthWpa2Psk, kAes, "mixed-mode-key"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ssid) + " mode " + std::to_string(c.authMode));
    std::vector<Installed> keys = Negotiate(c.ssid, c.authMode, c.encryption, c.passPhrase);
    ASSERT_EQ(keys.size(), 2u);
    const Installed& pairwise = keys[0].pairwise ? keys[0] : keys[1];
    const Installed& group = keys[0].pairwise ? keys[1] : keys[0];

    Installed wrong = pairwise;
    wrong.key[0] ^= 0x01;  // right length, wrong key
    Install(wrong);
    Install(group);
    EXPECT_FALSE(TrafficFlowsOver(2000));
    Install(pairwise);
    EXPECT_TRUE(TrafficFlowsOver(2000));
    Installed otherSlot = group;
    otherSlot.index = group.index == 1 ? 2 : 1;
    otherSlot.key[0] ^= 0x01;
    Install(otherSlot);  // a key in another slot leaves the established one in use
    EXPECT_TRUE(TrafficFlowsOver(2000));
  }
}

TEST_F(HandshakeAuthenticatorTest, WrongPassPhraseGetsNoKeys) {
  EXPECT_TRUE(Negotiate("Home-WPA2", kAuthWpa2Psk, kAes, "not the pass phrase").empty());
  EXPECT_FALSE(TrafficFlowsOver(2000));
}

}  // namespace
}  // namespace vuzoza::testing
