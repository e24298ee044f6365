#include "libs/dot1x/wpa/supplicant.h"

#include <openssl/crypto.h>

namespace wpa {

Supplicant::Supplicant(SupplicantConfig config, SupplicantSeams seams)
    : config_(std::move(config)), seams_(std::move(seams)), version_(DescriptorVersionOf(config_.suite.pairwise)) {}

// The keys wipe themselves; the PMK is a plain array.
Supplicant::~Supplicant() { OPENSSL_cleanse(config_.pmk.data(), config_.pmk.size()); }

FrameVerdict Supplicant::OnFrame(ByteSpan frame) {
  ParsedEapolKey parsed;
  if (ParseEapolKey(frame, parsed) != EapolParseError::None) return FrameVerdict::Malformed;
  const EapolKey& key = parsed.key;
  if (key.descriptorType != DescriptorTypeOf(config_.suite.protocol) ||
      key.Version() != static_cast<std::uint8_t>(version_)) {
    return FrameVerdict::Unexpected;
  }
  if (!key.Has(key_info::kAck) || (key.keyInfo & (key_info::kRequest | key_info::kError)) != 0) {
    return FrameVerdict::Unexpected;
  }
  if (key.Has(key_info::kPairwise)) {
    return key.Has(key_info::kMic) ? OnMessage3(frame, parsed) : OnMessage1(key);
  }
  if (!key.Has(key_info::kMic | key_info::kSecure)) return FrameVerdict::Unexpected;
  return OnGroupMessage1(frame, parsed);
}

FrameVerdict Supplicant::OnMessage1(const EapolKey& key) {
  if (IsReplay(key.replayCounter)) return FrameVerdict::Replayed;
  // A repeated message 1 of the running handshake keeps the SNonce, so whichever message 2
  // the authenticator accepts matches the PTK kept here.
  Nonce sNonce = sNonce_;
  if (state_ != State::WaitingForMessage3 && !seams_.nonce(sNonce)) return FrameVerdict::NoRandomness;
  Ptk candidate;
  Bytes reply;
  if (!DerivePtk(config_.pmk, config_.authenticatorAddress, config_.ownAddress, key.nonce, sNonce,
                 config_.suite.pairwise, candidate) ||
      !SignReply(key, static_cast<std::uint16_t>(key_info::kPairwise | key_info::kMic), sNonce,
                 seams_.ownElement ? seams_.ownElement() : Bytes{}, candidate.kck, reply)) {
    return FrameVerdict::CryptoFailure;
  }
  sNonce_ = sNonce;
  aNonce_ = key.nonce;
  candidatePtk_ = std::move(candidate);
  Transmit(reply);
  Enter(State::WaitingForMessage3);
  return FrameVerdict::Accepted;
}

FrameVerdict Supplicant::OnMessage3(ByteSpan frame, const ParsedEapolKey& parsed) {
  const EapolKey& key = parsed.key;
  const bool rsn = config_.suite.protocol == Protocol::Rsn;
  if (!key.Has(key_info::kInstall) || (rsn && !key.Has(key_info::kSecure | key_info::kEncryptedKeyData))) {
    return FrameVerdict::Unexpected;
  }
  bool newHandshake = false;
  switch (state_) {
    case State::WaitingForMessage1:
      return FrameVerdict::Unexpected;
    case State::WaitingForMessage3:
      newHandshake = true;
      break;
    case State::Established:
      break;  // a retransmission because our message 4 was lost
  }
  const Ptk& ptk = newHandshake ? candidatePtk_ : ptk_;
  if (!EapolKeyMicValid(frame, parsed, version_, ptk.kck)) return FrameVerdict::BadMic;
  if (IsReplay(key.replayCounter)) return FrameVerdict::Replayed;
  if (key.nonce != aNonce_) return FrameVerdict::NonceMismatch;
  if (!KnowsAuthenticatorElement()) return FrameVerdict::ElementUnknown;

  KeyDataElements elements;
  SecretBytes plain;
  if (rsn && !DecryptKeyData(version_, ptk.kek, key.iv, key.keyData, plain)) return FrameVerdict::BadKeyData;
  if (ParseKeyData(rsn ? ByteSpan(plain) : ByteSpan(key.keyData), elements) != KeyDataParseError::None) {
    return FrameVerdict::BadKeyData;
  }
  if (config_.expectedAuthenticatorElement != (rsn ? elements.rsnElement : elements.wpaElement)) {
    return FrameVerdict::ElementMismatch;
  }
  if (rsn && (!elements.groupKey || !UsableGroupKey(*elements.groupKey))) return FrameVerdict::BadKeyData;

  Bytes reply;
  if (!SignReply(key, static_cast<std::uint16_t>(key_info::kPairwise | key_info::kMic | (rsn ? key_info::kSecure : 0)),
                 Nonce{}, {}, ptk.kck, reply)) {
    return FrameVerdict::CryptoFailure;
  }
  Accept(key.replayCounter);
  Transmit(reply);
  if (newHandshake) {
    ptk_ = candidatePtk_;
    Install(Rsc{}, ptk_.tk, 0, KeyKind::Pairwise);
  }
  // WPA sends its group key later, in the group key handshake; never trust one in clear text.
  if (rsn) InstallGroupKey(key.rsc, *elements.groupKey);
  Enter(State::Established);
  return FrameVerdict::Accepted;
}

FrameVerdict Supplicant::OnGroupMessage1(ByteSpan frame, const ParsedEapolKey& parsed) {
  const EapolKey& key = parsed.key;
  const bool rsn = config_.suite.protocol == Protocol::Rsn;
  if (rsn && !key.Has(key_info::kEncryptedKeyData)) return FrameVerdict::Unexpected;
  switch (state_) {
    case State::WaitingForMessage1:
    case State::WaitingForMessage3:
      if (ptk_.tk.empty()) return FrameVerdict::Unexpected;  // no pairwise keys yet
      break;
    case State::Established:
      break;
  }
  if (!EapolKeyMicValid(frame, parsed, version_, ptk_.kck)) return FrameVerdict::BadMic;
  if (IsReplay(key.replayCounter)) return FrameVerdict::Replayed;

  SecretBytes plain;
  if (!DecryptKeyData(version_, ptk_.kek, key.iv, key.keyData, plain)) return FrameVerdict::BadKeyData;
  GroupKey groupKey;
  if (rsn) {
    KeyDataElements elements;
    if (ParseKeyData(plain, elements) != KeyDataParseError::None || !elements.groupKey) {
      return FrameVerdict::BadKeyData;
    }
    groupKey = std::move(*elements.groupKey);
  } else {
    // WPA carries the bare key; the key length field tells how much of the plain text it is.
    groupKey.keyIndex = key.KeyIndex();
    groupKey.key.assign(plain.begin(), plain.begin() + std::min<std::size_t>(key.keyLength, plain.size()));
  }
  if (!UsableGroupKey(groupKey)) return FrameVerdict::BadKeyData;

  const auto index = static_cast<std::uint16_t>(rsn ? 0 : key.keyInfo & key_info::kIndexMask);
  Bytes reply;
  if (!SignReply(key, static_cast<std::uint16_t>(key_info::kMic | key_info::kSecure | index), Nonce{}, {}, ptk_.kck,
                 reply)) {
    return FrameVerdict::CryptoFailure;
  }
  Accept(key.replayCounter);
  Transmit(reply);
  InstallGroupKey(key.rsc, groupKey);
  return FrameVerdict::Accepted;
}

void Supplicant::LearnAuthenticatorElement(Bytes element) {
  config_.expectedAuthenticatorElement = std::move(element);
}

bool Supplicant::IsReplay(std::uint64_t counter) const {
  return haveReplayCounter_ && counter <= lastReplayCounter_;
}

void Supplicant::Accept(std::uint64_t counter) {
  haveReplayCounter_ = true;
  lastReplayCounter_ = counter;
}

bool Supplicant::SignReply(const EapolKey& received, std::uint16_t keyInfo, const Nonce& nonce, Bytes keyData,
                           const Kck& kck, Bytes& out) const {
  EapolKey reply;
  reply.eapolVersion = EapolVersionOf(config_.suite.protocol);
  reply.descriptorType = received.descriptorType;
  reply.keyInfo = static_cast<std::uint16_t>(keyInfo | static_cast<std::uint8_t>(version_));
  // WPA echoes the key length; RSN leaves it zero in the station's frames.
  reply.keyLength = config_.suite.protocol == Protocol::Wpa ? received.keyLength : 0;
  reply.replayCounter = received.replayCounter;
  reply.nonce = nonce;
  reply.keyData = std::move(keyData);
  return SerializeSignedEapolKey(reply, version_, kck, out);
}

void Supplicant::Transmit(const Bytes& frame) {
  if (seams_.transmit) seams_.transmit(frame);
}

void Supplicant::Install(const Rsc& rsc, ByteSpan key, int keyIndex, KeyKind kind) {
  if (IsAllZero(key) || !seams_.installKey) return;
  seams_.installKey(rsc, key, keyIndex, kind);
}

void Supplicant::InstallGroupKey(const Rsc& rsc, const GroupKey& groupKey) {
  // Installing the same key again would reset its receive counter and reopen replays.
  if (groupKey.key == installedGroupKey_) return;
  installedGroupKey_ = groupKey.key;
  Install(rsc, groupKey.key, groupKey.keyIndex, KeyKind::Group);
}

bool Supplicant::UsableGroupKey(const GroupKey& groupKey) const {
  return groupKey.key.size() == TemporalKeyLength(config_.suite.group) && !IsAllZero(groupKey.key);
}

void Supplicant::Enter(State next) {
  state_ = next;
  switch (next) {
    case State::WaitingForMessage1:
    case State::WaitingForMessage3:
      break;
    case State::Established:
      // The candidate was either promoted or belonged to a stale handshake.
      candidatePtk_ = Ptk{};
      break;
  }
}

}  // namespace wpa
