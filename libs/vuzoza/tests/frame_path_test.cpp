#include <gtest/gtest.h>

#include <thread>

#include "libs/vuzoza/sim/association.h"
#include "libs/vuzoza/tests/sim_fixture.h"
#include "libs/vuzoza/tests/stub_authenticator.h"

namespace vuzoza::testing {
namespace {

// An access point side that answers every frame with the frame reversed, and remembers what the
// world told it.
struct EchoLog {
  std::vector<Bytes> received;
  std::vector<InstalledKey> keys;
  AuthenticatorContext context;
};

class EchoAuthenticator final : public Authenticator {
 public:
  explicit EchoAuthenticator(EchoLog& log) : log_(log) {}
  void OnFrameFromStation(std::span<const std::uint8_t> frame) override {
    log_.received.emplace_back(frame.begin(), frame.end());
    out_.emplace_back(frame.rbegin(), frame.rend());
  }
  std::optional<Bytes> TakeFrameToStation() override {
    if (out_.empty()) return std::nullopt;
    Bytes f = out_.front();
    out_.erase(out_.begin());
    return f;
  }
  void OnKeyInstalled(const InstalledKey& key) override { log_.keys.push_back(key); }
  bool KeysEstablished() const override { return false; }

 private:
  EchoLog& log_;
  std::vector<Bytes> out_;
};

Bytes SendRecord(const Bytes& frame) {
  Bytes r(kEapolHeader + frame.size(), 0);
  r[4] = static_cast<std::uint8_t>(frame.size());
  r[5] = static_cast<std::uint8_t>(frame.size() >> 8);
  std::copy(frame.begin(), frame.end(), r.begin() + kEapolHeader);
  return r;
}

Bytes ReceiveRecord(std::size_t room, std::uint32_t timeoutMs) {
  Bytes r(room, 0);
  for (int i = 0; i < 4; ++i) r[i] = static_cast<std::uint8_t>(timeoutMs >> (8 * i));
  return r;
}

class FramePathTest : public WorldTest {
 protected:
  void SetUp() override {
    Load(DefaultScenarioJson(), [this](const AuthenticatorContext& c) {
      log.context = c;
      return std::make_unique<EchoAuthenticator>(log);
    });
    ASSERT_EQ(Set(Setting::AuthMode, kAuthWpa2Psk), 0);
    ASSERT_EQ(Set(Setting::Encryption, kAes), 0);
  }
  EchoLog log;
};

TEST_F(FramePathTest, FramesTravelBetweenStationAndAccessPoint) {
  const Bytes frame{0x01, 0x01, 0x00, 0x00};  // EAPOL-Start
  EXPECT_EQ(world->WriteOid(kUsbAdapter, kOidEapolSend, SendRecord(frame)), -1) << "not associated yet";
  Connect("Home-WPA2");
  ASSERT_EQ(Get(Query::ConnectState), 0);
  EXPECT_EQ(log.context.station, (Mac{0x02, 0x5A, 0x71, 0x00, 0x00, 0x01}));
  EXPECT_EQ(log.context.accessPoint, MacOf(0x05));
  EXPECT_EQ(log.context.pairwise, Cipher::Ccmp);
  EXPECT_EQ(log.context.stationElement.front(), kElementRsn);
  EXPECT_EQ(log.context.accessPointElement.front(), kElementRsn);
  ASSERT_TRUE(log.context.nowMs);
  EXPECT_EQ(log.context.nowMs(), time.now);

  ASSERT_EQ(world->WriteOid(kUsbAdapter, kOidEapolSend, SendRecord(frame)), 0);
  ASSERT_EQ(log.received, std::vector<Bytes>{frame});

  Bytes small = ReceiveRecord(kEapolHeader + 2, 0);
  EXPECT_EQ(world->ReadOid(kUsbAdapter, kOidEapolReceive, small), -1);
  EXPECT_EQ(small[4], 4) << "needed size reported";
  Bytes in = ReceiveRecord(kEapolHeader + 64, 0);
  ASSERT_EQ(world->ReadOid(kUsbAdapter, kOidEapolReceive, in), 0) << "the frame stayed queued";
  EXPECT_EQ(in[4], 4);
  EXPECT_TRUE(std::equal(log.context.accessPoint.begin(), log.context.accessPoint.end(), in.begin() + 8));
  EXPECT_EQ(Bytes(in.begin() + kEapolHeader, in.begin() + kEapolHeader + 4), (Bytes{0x00, 0x00, 0x01, 0x01}));

  Bytes truncated = SendRecord(frame);
  truncated.pop_back();
  EXPECT_EQ(world->WriteOid(kUsbAdapter, kOidEapolSend, truncated), -1);
}

TEST_F(FramePathTest, ReceiveWaitsOnTheProgramsClock) {
  Connect("Home-WPA2");
  const std::int64_t before = time.now;
  Bytes in = ReceiveRecord(kEapolHeader + 64, 250);
  EXPECT_EQ(world->ReadOid(kUsbAdapter, kOidEapolReceive, in), -1);
  EXPECT_GE(time.now - before, 250);
  EXPECT_LT(time.now - before, 300);
}

TEST_F(WorldTest, WaitingForAFrameLeavesTheAdapterToTheOtherThread) {
  // The user-interface thread polls while the supplicant thread waits for a frame: the wait
  // must not hold the world's lock (if it did, the poll below would never return).
  World* shared = nullptr;
  int polled = -2;
  SimClock clock{[this] { return time.now; },
                 [&](std::uint32_t ms) {
                   time.now += ms;
                   std::thread ui([&] { polled = shared->Get(kUsbAdapter, Query::ConnectState); });
                   ui.join();
                 }};
  World w(MustParse(DefaultScenarioJson()), clock, CreateStubAuthenticator);  // sends nothing: the receive waits
  shared = &w;
  ASSERT_EQ(w.Set(kUsbAdapter, Setting::AuthMode, kAuthWpa2Psk), 0);
  ASSERT_EQ(w.Set(kUsbAdapter, Setting::Encryption, kAes), 0);
  ASSERT_EQ(w.SetSsid(kUsbAdapter, Text("Home-WPA2")), 0);
  time.now += kAssociationMs;
  Bytes in = ReceiveRecord(kEapolHeader + 64, 50);
  EXPECT_EQ(w.ReadOid(kUsbAdapter, kOidEapolReceive, in), -1);
  EXPECT_EQ(polled, 0);
}

TEST_F(FramePathTest, InstalledKeysReachTheAccessPointSide) {
  Connect("Home-WPA2");
  Bytes record(32 + 16 + 7, 0);
  record[0] = static_cast<std::uint8_t>(record.size());
  record[4] = 2;                  // group key index 2
  record[7] = 0x20;
  record[8] = 16;
  const Mac bssid = MacOf(0x05);
  std::copy(bssid.begin(), bssid.end(), record.begin() + 12);
  record[32] = 0xAB;
  ASSERT_EQ(world->WriteOid(kUsbAdapter, kOidAddWpaKey, record), 0);
  ASSERT_EQ(log.keys.size(), 1u);
  EXPECT_FALSE(log.keys[0].pairwise);
  EXPECT_EQ(log.keys[0].index, 2);
  EXPECT_EQ(log.keys[0].key.size(), 16u);
  EXPECT_EQ(log.keys[0].key[0], 0xAB);
}

TEST_F(WorldTest, WepKeysFromTheRawRequestDecideWepTraffic) {
  LoadDefault();
  ASSERT_EQ(Set(Setting::AuthMode, kAuthOpen), 0);
  ASSERT_EQ(Set(Setting::Encryption, kWepOn), 0);
  Connect("Lab-WEP64");
  ASSERT_EQ(Get(Query::ConnectState), 0);
  EXPECT_FALSE(TrafficFlowsOver(2000));
  Bytes record{20, 0, 0, 0, 0, 0, 0, 0x80, 5, 0, 0, 0, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E, 0, 0, 0};
  ASSERT_EQ(world->WriteOid(kUsbAdapter, kOidAddWepKey, record), 0);
  EXPECT_TRUE(TrafficFlowsOver(2000));
  record[8] = 6;  // no such key length
  EXPECT_EQ(world->WriteOid(kUsbAdapter, kOidAddWepKey, record), -1);
  EXPECT_EQ(world->WriteOid(kUsbAdapter, 0xFF12FFFF, record), -1);
}

}  // namespace
}  // namespace vuzoza::testing
