#pragma once
// The access point's side of the 4-way and group key handshakes for one station. Time is
// driven from outside: each Tick() is one retransmission period. One thread drives an object.

#include "libs/dot1x/wpa/eapol_key.h"
#include "libs/dot1x/wpa/handshake_frames.h"
#include "libs/dot1x/wpa/key_data.h"

namespace wpa {

struct AuthenticatorConfig {
  MacAddress ownAddress{};
  MacAddress stationAddress{};
  Pmk pmk{};
  Suite suite;
  Bytes ownElement;  // the access point's WPA/RSN element, repeated in message 3
  // When not empty, message 2 must carry exactly this element (the one from the station's
  // association request).
  Bytes expectedStationElement;
  GroupKey groupKey;
  Rsc groupRsc{};
  int maxSends = 4;  // sends of one message before the station is given up
};

struct EstablishedKeys {
  Ptk ptk;
  GroupKey groupKey;
};

enum class AuthenticatorFailure {
  NoReply,                 // retransmissions used up without a valid answer
  MicMismatch,             // ... and a message 2 failed its MIC: most likely another pass phrase
  StationElementMismatch,
  NoRandomness,
  KeyDataEncryptionFailed,
};

struct AuthenticatorSeams {
  NonceSource nonce = RandomBytes;
  Transmit transmit;
  // Called whenever the station holds every current key: after the 4-way handshake (WPA:
  // after the group key handshake that follows it) and after each completed group rekey.
  std::function<void(const EstablishedKeys&)> keysEstablished;
  std::function<void(AuthenticatorFailure)> failed;
};

class Authenticator {
 public:
  enum class State { Idle, PtkStart, PtkInitNegotiating, GroupKeyNegotiating, Established, Failed };

  Authenticator(AuthenticatorConfig config, AuthenticatorSeams seams);
  ~Authenticator();
  Authenticator(const Authenticator&) = delete;
  Authenticator& operator=(const Authenticator&) = delete;

  // Starts (or restarts) the 4-way handshake with message 1.
  void Start();
  // One EAPOL frame received from the station, header included.
  FrameVerdict OnFrame(ByteSpan frame);
  // One retransmission period passed: resend the unanswered message or give up.
  void Tick();
  // Hands out a new group key; only once the station is established.
  [[nodiscard]] bool RekeyGroup(GroupKey groupKey);

  State state() const { return state_; }

 private:
  void SendMessage1();
  void SendMessage3();
  void SendGroupMessage1();
  void SendCurrent();
  bool NextKeyIv(KeyIv& iv);
  bool EncryptInto(EapolKey& frame, SecretBytes plain);
  void Send(EapolKey frame, bool sign);
  void Fail(AuthenticatorFailure reason);
  void Enter(State next);

  AuthenticatorConfig config_;
  AuthenticatorSeams seams_;
  DescriptorVersion version_;
  State state_ = State::Idle;
  Nonce aNonce_{};
  Ptk ptk_;
  std::uint64_t replayCounter_ = 0;
  std::uint64_t firstCounterOfMessage_ = 0;  // answers may quote any counter sent since
  int sends_ = 0;
  bool micMismatchSeen_ = false;
  AuthenticatorFailure failure_ = AuthenticatorFailure::NoReply;
};

}  // namespace wpa
