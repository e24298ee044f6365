#include "libs/vuzoza/sim/authenticator.h"

namespace vuzoza {
namespace {

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

}  // namespace

std::size_t KeyLength(Cipher cipher) {
  switch (cipher) {
    case Cipher::Tkip:
      return 32;
    case Cipher::Ccmp:
      return 16;
  }
  return 0;
}

std::unique_ptr<Authenticator> CreateStubAuthenticator(const AuthenticatorContext& context) {
  return std::make_unique<StubAuthenticator>(context);
}

}  // namespace vuzoza
