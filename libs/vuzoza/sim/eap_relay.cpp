#include "libs/vuzoza/sim/eap_relay.h"

#include <openssl/crypto.h>

#include <deque>

#include "libs/dot1x/eap/eap_packet.h"
#include "libs/dot1x/eap/wep_key_frame.h"
#include "libs/dot1x/wpa/crypto.h"
#include "libs/vuzoza/sim/handshake_authenticator.h"
#include "libs/vuzoza/sim/radius_client.h"

namespace vuzoza {
namespace {

constexpr std::size_t kWepKeyBytes = 13;
constexpr int kBroadcastKeyIndex = 1;
constexpr int kUnicastKeyIndex = 0;

class EapRelay final : public Authenticator {
 public:
  EapRelay(const AuthenticatorContext& context, std::shared_ptr<RadiusClient> client)
      : context_(context), client_(std::move(client)) {
    eapolVersion_ = context_.network->security == Security::Dot1xWep || context_.family == WpaFamily::Wpa ? 1 : 2;
    // A station announcing the PMKID of an earlier authentication here goes straight to the keys.
    if (const auto pmk = CachedPmk()) {
      resumed_ = true;
      phase_ = Phase::Keys;
      handshake_ = CreateKeyHandshake(context_, *pmk);
      return;
    }
    AskIdentity();
  }
  ~EapRelay() override {
    OPENSSL_cleanse(msk_.data(), msk_.size());
  }

  void OnFrameFromStation(std::span<const std::uint8_t> bytes) override {
    Advance();
    const auto frame = eap::ParseEapol(bytes);
    if (!frame) return;
    switch (frame->type) {
      case eap::kEapolStart:
        // A station starting over gets a new authentication, unless the server is busy with it.
        if (!client_->Pending()) AskIdentity();
        return;
      case eap::kEapolLogoff:
        phase_ = Phase::Idle;
        return;
      case eap::kEapolKey:
        if (handshake_) handshake_->OnFrameFromStation(bytes);
        return;
      case eap::kEapolPacket:
        OnEapResponse(frame->body);
        return;
      default:
        return;
    }
  }

  std::optional<Bytes> TakeFrameToStation() override {
    Advance();
    if (handshake_) {
      while (auto frame = handshake_->TakeFrameToStation()) toStation_.push_back(std::move(*frame));
    }
    if (toStation_.empty()) return std::nullopt;
    Bytes frame = std::move(toStation_.front());
    toStation_.pop_front();
    return frame;
  }

  void OnKeyInstalled(const InstalledKey& key) override {
    if (handshake_) {
      handshake_->OnKeyInstalled(key);
    } else {
      installedWep_[static_cast<std::size_t>(key.index) & 3] = key.key;
    }
  }

  bool KeysEstablished() const override {
    if (phase_ != Phase::Keys) return false;
    if (handshake_) return handshake_->KeysEstablished();
    return installedWep_[kUnicastKeyIndex] == unicastKey_ && installedWep_[kBroadcastKeyIndex] == broadcastKey_;
  }

  bool WantsDisconnect() override {
    // A resumed handshake the station never completes: it no longer holds that PMK. The access
    // point forgets it and sends the station away, so it comes back for a full authentication.
    if (!resumed_ || !handshake_ || !handshake_->GaveUp()) return false;
    if (context_.pmksa != nullptr) context_.pmksa->Forget(context_.accessPoint, context_.station);
    return true;
  }

  std::function<void(std::int64_t)> ServerWait() const override {
    if (!client_->Pending()) return {};
    return [client = client_](std::int64_t ms) { client->Wait(ms); };
  }

 private:
  enum class Phase { Idle, Identity, Relaying, Keys, Failed };

  std::optional<wpa::Pmk> CachedPmk() const {
    if (context_.pmksa == nullptr || context_.family != WpaFamily::Rsn) return std::nullopt;
    const auto pmkid = AnnouncedPmkid(context_.stationElement);
    if (!pmkid) return std::nullopt;
    return context_.pmksa->Find(context_.accessPoint, context_.station, *pmkid);
  }

  void AskIdentity() {
    phase_ = Phase::Identity;
    state_.clear();
    handshake_.reset();
    SendRequest(eap::BuildPacket({eap::Code::Request, ++identityId_, eap::type::kIdentity, {}}));
  }

  // An EAP request for the station, sent again while it stays unanswered.
  void SendRequest(Bytes packet) {
    request_ = std::move(packet);
    requestSends_ = 0;
    Transmit();
  }
  void Transmit() {
    ++requestSends_;
    nextResendMs_ = context_.nowMs() + kRetransmitMs;
    toStation_.push_back(eap::BuildEapol(eapolVersion_, eap::kEapolPacket, request_));
  }

  void OnEapResponse(std::span<const std::uint8_t> body) {
    const auto packet = eap::ParsePacket(body);
    if (!packet || packet->code != eap::Code::Response || request_.empty() || packet->id != request_[1] ||
        (phase_ != Phase::Identity && phase_ != Phase::Relaying) || client_->Pending()) {
      return;
    }
    if (packet->type == eap::type::kIdentity) identity_.assign(packet->data.begin(), packet->data.end());
    request_.clear();
    radius::RequestFields fields{identity_, state_, context_.accessPoint, context_.network->ssid, context_.station};
    const std::size_t length = eap::Get16(body.data() + 2);
    phase_ = client_->Send(fields, body.first(length)) ? Phase::Relaying : Phase::Failed;
  }

  void Advance() {
    if (!request_.empty() && context_.nowMs() >= nextResendMs_) {
      if (requestSends_ < kEapRequestSends) {
        Transmit();
      } else {
        request_.clear();
        phase_ = Phase::Failed;
      }
    }
    if (!client_->Pending()) return;
    if (auto answer = client_->Poll()) {
      OnAnswer(*answer);
    } else if (client_->GaveUp()) {
      phase_ = Phase::Failed;
    }
  }

  void OnAnswer(const radius::Packet& answer) {
    const Bytes eapMessage = radius::EapMessageOf(answer);
    switch (answer.code) {
      case radius::kAccessChallenge:
        if (const auto* state = radius::Find(answer, radius::attr::kState)) state_ = state->value;
        if (eapMessage.size() < eap::kEapHeaderSize) {
          phase_ = Phase::Failed;
          return;
        }
        SendRequest(eapMessage);
        return;
      case radius::kAccessAccept:
        if (const auto keys = radius::MppeKeysOf(answer, client_->answeredRequest(), client_->server().secret)) {
          if (!eapMessage.empty()) toStation_.push_back(eap::BuildEapol(eapolVersion_, eap::kEapolPacket, eapMessage));
          StartKeys(*keys);
          return;
        }
        phase_ = Phase::Failed;  // an acceptance without keys protects nothing
        return;
      case radius::kAccessReject:
        if (!eapMessage.empty()) toStation_.push_back(eap::BuildEapol(eapolVersion_, eap::kEapolPacket, eapMessage));
        phase_ = Phase::Failed;
        return;
      default:
        return;
    }
  }

  void StartKeys(const radius::MppeKeys& keys) {
    phase_ = Phase::Keys;
    std::copy(keys.recv.begin(), keys.recv.begin() + 32, msk_.begin());
    std::copy(keys.send.begin(), keys.send.begin() + 32, msk_.begin() + 32);
    if (context_.network->security != Security::Dot1xWep) {
      wpa::Pmk pmk{};
      std::copy(msk_.begin(), msk_.begin() + 32, pmk.begin());
      handshake_ = CreateKeyHandshake(context_, pmk);
      if (context_.pmksa != nullptr && context_.family == WpaFamily::Rsn) {
        context_.pmksa->Store(context_.accessPoint, context_.station, pmk);
      }
      OPENSSL_cleanse(pmk.data(), pmk.size());
      return;
    }
    unicastKey_ = RandomKey();
    broadcastKey_ = RandomKey();
    for (const auto& [unicast, index, key] : {std::tuple{false, kBroadcastKeyIndex, broadcastKey_},
                                              std::tuple{true, kUnicastKeyIndex, unicastKey_}}) {
      wpa::KeyIv iv{};
      if (!wpa::RandomBytes(iv)) iv.fill(static_cast<std::uint8_t>(replayCounter_));
      const auto frame = eap::BuildWepKeyFrame(eapolVersion_, {++replayCounter_, unicast, index, key}, msk_, iv);
      if (frame) toStation_.push_back(*frame);
    }
  }

  static Bytes RandomKey() {
    Bytes key(kWepKeyBytes);
    if (!wpa::RandomBytes(key) || wpa::IsAllZero(key)) {
      for (std::size_t i = 0; i < key.size(); ++i) key[i] = static_cast<std::uint8_t>(0x3C ^ (i * 29));
    }
    return key;
  }

  AuthenticatorContext context_;
  std::shared_ptr<RadiusClient> client_;
  std::uint8_t eapolVersion_ = 2;
  Phase phase_ = Phase::Idle;
  bool resumed_ = false;  // keys from the PMK of an earlier authentication
  std::uint8_t identityId_ = 0;
  std::string identity_;
  Bytes state_;
  Bytes request_;  // the EAP request the station has not answered yet
  int requestSends_ = 0;
  std::int64_t nextResendMs_ = 0;
  std::deque<Bytes> toStation_;
  std::array<std::uint8_t, 64> msk_{};
  std::unique_ptr<Authenticator> handshake_;
  std::uint64_t replayCounter_ = 0;
  Bytes unicastKey_;
  Bytes broadcastKey_;
  std::array<Bytes, 4> installedWep_;
};

}  // namespace

std::unique_ptr<Authenticator> CreateEapRelay(const AuthenticatorContext& context) {
  if (context.network == nullptr || !context.network->radius || !context.nowMs) return nullptr;
  auto client = RadiusClient::Open(*context.network->radius);
  if (!client) return nullptr;
  return std::make_unique<EapRelay>(context, std::move(client));
}

}  // namespace vuzoza
