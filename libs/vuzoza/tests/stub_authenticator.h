#pragma once
// An access point side that trusts any keys of the negotiated ciphers' lengths (TKIP 32 bytes,
// CCMP 16): for tests of how the world reads key records, apart from any handshake.

#include <memory>

#include "libs/vuzoza/sim/authenticator.h"

namespace vuzoza::testing {

inline std::size_t KeyLength(Cipher cipher) { return cipher == Cipher::Tkip ? 32 : 16; }

class StubAuthenticator final : public Authenticator {
 public:
  explicit StubAuthenticator(const AuthenticatorContext& context) : context_(context) {}
  void OnFrameFromStation(std::span<const std::uint8_t>) override {}
  std::optional<Bytes> TakeFrameToStation() override { return std::nullopt; }
  void OnKeyInstalled(const InstalledKey& key) override {
    if (key.pairwise) {
      pairwiseOk_ = key.key.size() == KeyLength(context_.pairwise);
    } else {
      groupOk_ = key.key.size() == KeyLength(context_.group);
    }
  }
  bool KeysEstablished() const override { return pairwiseOk_ && groupOk_; }

 private:
  AuthenticatorContext context_;
  bool pairwiseOk_ = false;
  bool groupOk_ = false;
};

inline std::unique_ptr<Authenticator> CreateStubAuthenticator(const AuthenticatorContext& context) {
  return std::make_unique<StubAuthenticator>(context);
}

}  // namespace vuzoza::testing
