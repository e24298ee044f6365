#include "libs/vuzoza/sim/handshake_authenticator.h"

#include <array>
#include <deque>

#include "libs/dot1x/wpa/authenticator.h"
#include "libs/vuzoza/sim/eap_relay.h"

namespace vuzoza {
namespace {

wpa::Cipher EngineCipher(Cipher c) {
  switch (c) {
    case Cipher::Tkip:
      return wpa::Cipher::Tkip;
    case Cipher::Ccmp:
      return wpa::Cipher::Ccmp;
  }
  return wpa::Cipher::Ccmp;
}

// Enterprise networks until EAP is offered: the station never gets keys from us.
class SilentAuthenticator final : public Authenticator {
 public:
  void OnFrameFromStation(std::span<const std::uint8_t>) override {}
  std::optional<Bytes> TakeFrameToStation() override { return std::nullopt; }
  void OnKeyInstalled(const InstalledKey&) override {}
  bool KeysEstablished() const override { return false; }
};

class HandshakeAuthenticator final : public Authenticator {
 public:
  HandshakeAuthenticator(const AuthenticatorContext& context, const wpa::Pmk& pmk)
      : nowMs_(context.nowMs), rekeyMs_(context.network->groupRekeyMs), groupCipher_(EngineCipher(context.group)) {
    wpa::AuthenticatorConfig config;
    config.ownAddress = context.accessPoint;
    config.stationAddress = context.station;
    config.pmk = pmk;
    config.suite = {context.family == WpaFamily::Wpa ? wpa::Protocol::Wpa : wpa::Protocol::Rsn,
                    EngineCipher(context.pairwise), groupCipher_};
    config.ownElement = context.accessPointElement;
    config.expectedStationElement = context.stationElement;
    config.groupKey = NewGroupKey(1);
    wpa::AuthenticatorSeams seams;
    seams.transmit = [this](wpa::ByteSpan frame) {
      toStation_.emplace_back(frame.begin(), frame.end());
      nextTickMs_ = clockMs_ + kRetransmitMs;
    };
    seams.keysEstablished = [this](const wpa::EstablishedKeys& keys) {
      expected_ = Expected{Bytes(keys.ptk.tk.begin(), keys.ptk.tk.end()), keys.groupKey.keyIndex,
                           Bytes(keys.groupKey.key.begin(), keys.groupKey.key.end())};
      if (!nextRekeyMs_) nextRekeyMs_ = clockMs_ + rekeyMs_;
    };
    engine_ = std::make_unique<wpa::Authenticator>(std::move(config), std::move(seams));
    clockMs_ = nowMs_();
    engine_->Start();
  }

  void OnFrameFromStation(std::span<const std::uint8_t> frame) override {
    Advance();
    constexpr std::uint8_t kEapolStart = 1;
    if (frame.size() >= 4 && frame[1] == kEapolStart) {
      // A station that gives its attempt a new start gets a new handshake once ours gave up.
      if (engine_->state() == wpa::Authenticator::State::Failed) engine_->Start();
      return;
    }
    (void)engine_->OnFrame(frame);
  }

  std::optional<Bytes> TakeFrameToStation() override {
    Advance();
    if (toStation_.empty()) return std::nullopt;
    Bytes frame = std::move(toStation_.front());
    toStation_.pop_front();
    return frame;
  }

  void OnKeyInstalled(const InstalledKey& key) override {
    if (key.pairwise) {
      installedPairwise_ = key.key;
    } else {
      installedGroup_[static_cast<std::size_t>(key.index) & 3] = key.key;
    }
  }

  bool GaveUp() const override { return engine_->state() == wpa::Authenticator::State::Failed; }

  bool KeysEstablished() const override {
    return expected_ && installedPairwise_ == expected_->pairwise &&
           installedGroup_[static_cast<std::size_t>(expected_->groupIndex) & 3] == expected_->group;
  }

 private:
  struct Expected {
    Bytes pairwise;
    int groupIndex = 1;
    Bytes group;
  };

  // Brings the retransmission timer and the rekey timer up to the program's clock. The world
  // moves lazily, so every retransmission period that passed since the last call is caught up,
  // each at its own time.
  void Advance() {
    const std::int64_t now = nowMs_();
    while (nextTickMs_ && now >= *nextTickMs_) {
      clockMs_ = *nextTickMs_;
      nextTickMs_.reset();
      engine_->Tick();
    }
    clockMs_ = now;
    if (rekeyMs_ > 0 && nextRekeyMs_ && now >= *nextRekeyMs_ &&
        engine_->state() == wpa::Authenticator::State::Established) {
      // Alternating indexes let the station keep receiving with the old key until it has the new one.
      if (engine_->RekeyGroup(NewGroupKey(expected_->groupIndex == 1 ? 2 : 1))) *nextRekeyMs_ = now + rekeyMs_;
    }
  }

  wpa::GroupKey NewGroupKey(int index) const {
    wpa::GroupKey key;
    key.keyIndex = index;
    key.key.resize(wpa::TemporalKeyLength(groupCipher_));
    if (!wpa::RandomBytes(key.key) || wpa::IsAllZero(key.key)) {
      // Without randomness a simulated access point may still hand out a key nobody else has.
      for (std::size_t i = 0; i < key.key.size(); ++i) key.key[i] = static_cast<std::uint8_t>(0xA5 ^ (i + index));
    }
    return key;
  }

  std::function<std::int64_t()> nowMs_;
  std::int64_t clockMs_ = 0;  // the time the engine's current step happens at
  std::int64_t rekeyMs_;
  wpa::Cipher groupCipher_;
  std::unique_ptr<wpa::Authenticator> engine_;
  std::deque<Bytes> toStation_;
  std::optional<std::int64_t> nextTickMs_;
  std::optional<std::int64_t> nextRekeyMs_;
  std::optional<Expected> expected_;
  Bytes installedPairwise_;
  std::array<Bytes, 4> installedGroup_;
};

}  // namespace

std::unique_ptr<Authenticator> CreateHandshakeAuthenticator(const AuthenticatorContext& context) {
  if (context.network != nullptr && context.network->radius) {
    if (auto relay = CreateEapRelay(context)) return relay;
  }
  if (context.network == nullptr || context.network->passphrase.empty() || !context.nowMs) {
    return std::make_unique<SilentAuthenticator>();
  }
  return std::make_unique<HandshakeAuthenticator>(
      context, wpa::PassPhraseToPmk(context.network->passphrase, context.network->ssid));
}

std::unique_ptr<Authenticator> CreateKeyHandshake(const AuthenticatorContext& context, const wpa::Pmk& pmk) {
  return std::make_unique<HandshakeAuthenticator>(context, pmk);
}

}  // namespace vuzoza
