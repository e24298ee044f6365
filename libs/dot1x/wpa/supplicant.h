#pragma once
// The station's side of the 4-way and group key handshakes. It only reacts to received frames:
// retransmission is the authenticator's job. One thread drives an object; the seams are
// called from within OnFrame.

#include "libs/dot1x/wpa/eapol_key.h"
#include "libs/dot1x/wpa/handshake_frames.h"
#include "libs/dot1x/wpa/key_data.h"

namespace wpa {

struct SupplicantConfig {
  MacAddress ownAddress{};
  MacAddress authenticatorAddress{};
  Pmk pmk{};
  Suite suite;
  // The access point's WPA or RSN element (of the suite's protocol) as its beacon announced it.
  // Message 3 must carry exactly this element, so a downgraded suite is noticed; while it is not
  // known, message 3 cannot be checked and is not answered.
  Bytes expectedAuthenticatorElement;
};

struct SupplicantSeams {
  NonceSource nonce = RandomBytes;
  Transmit transmit;
  InstallKey installKey;
  OwnElement ownElement;
};

class Supplicant {
 public:
  enum class State { WaitingForMessage1, WaitingForMessage3, Established };

  Supplicant(SupplicantConfig config, SupplicantSeams seams);
  ~Supplicant();
  Supplicant(const Supplicant&) = delete;
  Supplicant& operator=(const Supplicant&) = delete;

  // One received EAPOL frame, header included.
  FrameVerdict OnFrame(ByteSpan frame);

  // The access point's element, when it becomes known only after the handshake started.
  void LearnAuthenticatorElement(Bytes element);
  bool KnowsAuthenticatorElement() const { return !config_.expectedAuthenticatorElement.empty(); }

  State state() const { return state_; }

 private:
  FrameVerdict OnMessage1(const EapolKey& key);
  FrameVerdict OnMessage3(ByteSpan frame, const ParsedEapolKey& parsed);
  FrameVerdict OnGroupMessage1(ByteSpan frame, const ParsedEapolKey& parsed);
  bool IsReplay(std::uint64_t counter) const;
  void Accept(std::uint64_t counter);
  // The signed answer to a received frame; false when it cannot be signed.
  bool SignReply(const EapolKey& received, std::uint16_t keyInfo, const Nonce& nonce, Bytes keyData, const Kck& kck,
                 Bytes& out) const;
  void Transmit(const Bytes& frame);
  void Install(const Rsc& rsc, ByteSpan key, int keyIndex, KeyKind kind);
  void InstallGroupKey(const Rsc& rsc, const GroupKey& groupKey);
  bool UsableGroupKey(const GroupKey& groupKey) const;
  void Enter(State next);

  SupplicantConfig config_;
  SupplicantSeams seams_;
  DescriptorVersion version_;
  State state_ = State::WaitingForMessage1;
  Nonce aNonce_{};
  Nonce sNonce_{};
  Ptk candidatePtk_;  // from message 1; becomes ptk_ only once message 3 proves it
  Ptk ptk_;
  bool haveReplayCounter_ = false;
  std::uint64_t lastReplayCounter_ = 0;
  SecretBytes installedGroupKey_;
};

}  // namespace wpa
