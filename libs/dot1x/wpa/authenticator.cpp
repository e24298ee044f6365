#include "libs/dot1x/wpa/authenticator.h"

#include <openssl/crypto.h>

namespace wpa {

Authenticator::Authenticator(AuthenticatorConfig config, AuthenticatorSeams seams)
    : config_(std::move(config)), seams_(std::move(seams)), version_(DescriptorVersionOf(config_.suite.pairwise)) {}

// The keys wipe themselves; the PMK is a plain array.
Authenticator::~Authenticator() { OPENSSL_cleanse(config_.pmk.data(), config_.pmk.size()); }

void Authenticator::Start() { Enter(State::PtkStart); }

bool Authenticator::RekeyGroup(GroupKey groupKey) {
  if (state_ != State::Established) return false;
  config_.groupKey = std::move(groupKey);
  config_.groupRsc = Rsc{};
  Enter(State::GroupKeyNegotiating);
  return true;
}

void Authenticator::Tick() {
  switch (state_) {
    case State::Idle:
    case State::Established:
    case State::Failed:
      return;
    case State::PtkStart:
    case State::PtkInitNegotiating:
    case State::GroupKeyNegotiating:
      break;
  }
  if (sends_ >= config_.maxSends) {
    Fail(micMismatchSeen_ ? AuthenticatorFailure::MicMismatch : AuthenticatorFailure::NoReply);
    return;
  }
  SendCurrent();
}

FrameVerdict Authenticator::OnFrame(ByteSpan frame) {
  ParsedEapolKey parsed;
  if (ParseEapolKey(frame, parsed) != EapolParseError::None) return FrameVerdict::Malformed;
  const EapolKey& key = parsed.key;
  if (key.descriptorType != DescriptorTypeOf(config_.suite.protocol) ||
      key.Version() != static_cast<std::uint8_t>(version_) || key.Has(key_info::kAck) || !key.Has(key_info::kMic) ||
      (key.keyInfo & (key_info::kRequest | key_info::kError)) != 0) {
    return FrameVerdict::Unexpected;
  }
  const bool counterSent = key.replayCounter >= firstCounterOfMessage_ && key.replayCounter <= replayCounter_;
  const bool rsn = config_.suite.protocol == Protocol::Rsn;
  switch (state_) {
    case State::Idle:
    case State::Established:
    case State::Failed:
      return FrameVerdict::Unexpected;

    case State::PtkStart: {
      if (!key.Has(key_info::kPairwise)) return FrameVerdict::Unexpected;
      if (!counterSent) return FrameVerdict::Replayed;
      Ptk candidate;
      if (!DerivePtk(config_.pmk, config_.ownAddress, config_.stationAddress, aNonce_, key.nonce,
                     config_.suite.pairwise, candidate)) {
        return FrameVerdict::CryptoFailure;
      }
      if (!EapolKeyMicValid(frame, parsed, version_, candidate.kck)) {
        micMismatchSeen_ = true;
        return FrameVerdict::BadMic;
      }
      if (!config_.expectedStationElement.empty()) {
        KeyDataElements elements;
        if (ParseKeyData(key.keyData, elements) != KeyDataParseError::None ||
            config_.expectedStationElement != (rsn ? elements.rsnElement : elements.wpaElement)) {
          Fail(AuthenticatorFailure::StationElementMismatch);
          return FrameVerdict::ElementMismatch;
        }
      }
      ptk_ = std::move(candidate);
      Enter(State::PtkInitNegotiating);
      return FrameVerdict::Accepted;
    }

    case State::PtkInitNegotiating:
      // Message 4 carries no key data, which tells it from a late message 2.
      if (!key.Has(key_info::kPairwise) || !key.keyData.empty()) return FrameVerdict::Unexpected;
      if (!counterSent) return FrameVerdict::Replayed;
      if (!EapolKeyMicValid(frame, parsed, version_, ptk_.kck)) return FrameVerdict::BadMic;
      Enter(rsn ? State::Established : State::GroupKeyNegotiating);
      return FrameVerdict::Accepted;

    case State::GroupKeyNegotiating:
      if (key.Has(key_info::kPairwise) || !key.Has(key_info::kSecure)) return FrameVerdict::Unexpected;
      if (!counterSent) return FrameVerdict::Replayed;
      if (!EapolKeyMicValid(frame, parsed, version_, ptk_.kck)) return FrameVerdict::BadMic;
      Enter(State::Established);
      return FrameVerdict::Accepted;
  }
  return FrameVerdict::Unexpected;
}

void Authenticator::SendCurrent() {
  ++sends_;
  ++replayCounter_;
  if (sends_ == 1) firstCounterOfMessage_ = replayCounter_;
  switch (state_) {
    case State::PtkStart:
      SendMessage1();
      break;
    case State::PtkInitNegotiating:
      SendMessage3();
      break;
    case State::GroupKeyNegotiating:
      SendGroupMessage1();
      break;
    case State::Idle:
    case State::Established:
    case State::Failed:
      break;
  }
}

void Authenticator::SendMessage1() {
  EapolKey frame;
  frame.keyInfo = key_info::kPairwise | key_info::kAck;
  frame.keyLength = static_cast<std::uint16_t>(TemporalKeyLength(config_.suite.pairwise));
  frame.nonce = aNonce_;
  Send(std::move(frame), false);
}

void Authenticator::SendMessage3() {
  EapolKey frame;
  frame.keyLength = static_cast<std::uint16_t>(TemporalKeyLength(config_.suite.pairwise));
  frame.nonce = aNonce_;
  frame.rsc = config_.groupRsc;
  switch (config_.suite.protocol) {
    case Protocol::Wpa:
      frame.keyInfo = key_info::kPairwise | key_info::kInstall | key_info::kAck | key_info::kMic;
      frame.keyData = config_.ownElement;
      break;
    case Protocol::Rsn: {
      frame.keyInfo = key_info::kPairwise | key_info::kInstall | key_info::kAck | key_info::kMic | key_info::kSecure |
                      key_info::kEncryptedKeyData;
      SecretBytes plain(config_.ownElement.begin(), config_.ownElement.end());
      const SecretBytes kde = BuildGroupKeyKde(config_.groupKey);
      plain.insert(plain.end(), kde.begin(), kde.end());
      if (!EncryptInto(frame, std::move(plain))) return;
      break;
    }
  }
  Send(std::move(frame), true);
}

void Authenticator::SendGroupMessage1() {
  EapolKey frame;
  frame.rsc = config_.groupRsc;
  SecretBytes plain;
  switch (config_.suite.protocol) {
    case Protocol::Wpa:
      frame.keyInfo = static_cast<std::uint16_t>(key_info::kMic | key_info::kSecure | key_info::kAck |
                                                 ((config_.groupKey.keyIndex << key_info::kIndexShift) &
                                                  key_info::kIndexMask));
      frame.keyLength = static_cast<std::uint16_t>(config_.groupKey.key.size());
      plain = config_.groupKey.key;
      break;
    case Protocol::Rsn:
      frame.keyInfo = key_info::kMic | key_info::kSecure | key_info::kAck | key_info::kEncryptedKeyData;
      plain = BuildGroupKeyKde(config_.groupKey);
      break;
  }
  if (!EncryptInto(frame, std::move(plain))) return;
  Send(std::move(frame), true);
}

bool Authenticator::EncryptInto(EapolKey& frame, SecretBytes plain) {
  switch (version_) {
    case DescriptorVersion::HmacMd5Rc4:
      // RC4 must never see the same IV twice under one KEK.
      if (!seams_.nonce(frame.iv)) {
        Fail(AuthenticatorFailure::NoRandomness);
        return false;
      }
      break;
    case DescriptorVersion::HmacSha1Aes:
      PadKeyDataForWrap(plain);
      break;
  }
  const bool ok = EncryptKeyData(version_, ptk_.kek, frame.iv, plain, frame.keyData);
  if (!ok) Fail(AuthenticatorFailure::KeyDataEncryptionFailed);
  return ok;
}

void Authenticator::Send(EapolKey frame, bool sign) {
  frame.eapolVersion = EapolVersionOf(config_.suite.protocol);
  frame.descriptorType = DescriptorTypeOf(config_.suite.protocol);
  frame.keyInfo = static_cast<std::uint16_t>(frame.keyInfo | static_cast<std::uint8_t>(version_));
  frame.replayCounter = replayCounter_;
  Bytes bytes;
  if (!sign) {
    bytes = SerializeEapolKey(frame);
  } else if (!SerializeSignedEapolKey(frame, version_, ptk_.kck, bytes)) {
    return;  // nothing unsigned goes out; the retransmission timer tries again, then gives up
  }
  if (seams_.transmit) seams_.transmit(bytes);
}

void Authenticator::Fail(AuthenticatorFailure reason) {
  failure_ = reason;
  Enter(State::Failed);
}

void Authenticator::Enter(State next) {
  state_ = next;
  switch (next) {
    case State::Idle:
      break;
    case State::PtkStart:
      sends_ = 0;
      micMismatchSeen_ = false;
      ptk_ = Ptk{};
      if (!seams_.nonce(aNonce_)) {
        Fail(AuthenticatorFailure::NoRandomness);
        return;
      }
      SendCurrent();
      break;
    case State::PtkInitNegotiating:
    case State::GroupKeyNegotiating:
      sends_ = 0;
      SendCurrent();
      break;
    case State::Established:
      if (seams_.keysEstablished) seams_.keysEstablished(EstablishedKeys{ptk_, config_.groupKey});
      break;
    case State::Failed:
      if (seams_.failed) seams_.failed(failure_);
      break;
  }
}

}  // namespace wpa
