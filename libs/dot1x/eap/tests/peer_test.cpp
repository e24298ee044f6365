// The peer's rules around its method, with a scripted method standing in for TLS.

#include <gtest/gtest.h>

#include "libs/dot1x/eap/peer.h"
#include "libs/dot1x/wpa/tests/hex.h"

namespace eap {
namespace {

using wpa::test::FromHex;

// Answers each request with its data reversed; may succeed once `ready` is set.
struct ScriptedMethod final : Method {
  explicit ScriptedMethod(bool& ready) : ready_(ready) {}
  std::uint8_t type() const override { return type::kPeap; }
  std::optional<Bytes> OnRequest(ByteSpan data) override {
    ++requests;
    return Bytes(data.rbegin(), data.rend());
  }
  bool Failed() const override { return false; }
  bool MaySucceed() const override { return ready_; }
  bool Keys(KeyingMaterial& out) const override {
    out.fill(0x5A);
    return ready_;
  }
  bool& ready_;
  int requests = 0;
};

class PeerTest : public ::testing::Test {
 protected:
  Peer peer_{"alice", [this] {
               auto m = std::make_unique<ScriptedMethod>(ready_);
               method_ = m.get();
               return m;
             }};
  bool ready_ = false;
  ScriptedMethod* method_ = nullptr;
};

TEST_F(PeerTest, IdentityNakAndMethodRequests) {
  EXPECT_EQ(peer_.OnPacket(FromHex("0101000501")), FromHex("0201000a01616c696365"));
  // Another method is refused with ours.
  EXPECT_EQ(peer_.OnPacket(FromHex("0102000615" "20")), FromHex("0202000603" "19"));
  EXPECT_EQ(peer_.OnPacket(FromHex("0103000719" "0102")), FromHex("0203000719" "0201"));
  // The same request again (our answer was lost) gets the same answer, not a second step.
  EXPECT_EQ(peer_.OnPacket(FromHex("0103000719" "0102")), FromHex("0203000719" "0201"));
  EXPECT_EQ(method_->requests, 1);
  // Noise and responses are dropped.
  EXPECT_FALSE(peer_.OnPacket(FromHex("01")));
  EXPECT_FALSE(peer_.OnPacket(FromHex("0204000719" "0102")));
  EXPECT_EQ(peer_.state(), Peer::State::Running);
}

TEST_F(PeerTest, SuccessCountsOnlyOnceTheMethodMaySucceed) {
  (void)peer_.OnPacket(FromHex("0101000601" "00"));
  (void)peer_.OnPacket(FromHex("0102000619" "20"));
  EXPECT_FALSE(peer_.OnPacket(FromHex("03020004")));
  EXPECT_EQ(peer_.state(), Peer::State::Failed) << "a success before the method is done is a forgery";
  EXPECT_EQ(peer_.keys(), KeyingMaterial{});
  // Nothing moves it afterwards.
  ready_ = true;
  EXPECT_FALSE(peer_.OnPacket(FromHex("03030004")));
  EXPECT_EQ(peer_.state(), Peer::State::Failed);
}

TEST_F(PeerTest, SuccessAfterTheMethodGivesItsKeys) {
  EXPECT_FALSE(peer_.OnPacket(FromHex("03010004"))) << "no method ran yet";
  EXPECT_EQ(peer_.state(), Peer::State::Failed);

  Peer again{"alice", [this] { return std::make_unique<ScriptedMethod>(ready_); }};
  (void)again.OnPacket(FromHex("0102000619" "20"));
  ready_ = true;
  (void)again.OnPacket(FromHex("03020004"));
  EXPECT_EQ(again.state(), Peer::State::Succeeded);
  EXPECT_EQ(again.keys()[0], 0x5A);
}

TEST_F(PeerTest, FailureEndsTheAttempt) {
  (void)peer_.OnPacket(FromHex("0102000619" "20"));
  ready_ = true;
  EXPECT_FALSE(peer_.OnPacket(FromHex("04020004")));
  EXPECT_EQ(peer_.state(), Peer::State::Failed);
  EXPECT_FALSE(peer_.OnPacket(FromHex("03030004")));
  EXPECT_EQ(peer_.state(), Peer::State::Failed);
}

}  // namespace
}  // namespace eap
