#pragma once
// The access point's side of 802.1X / WPA key negotiation, one instance per association of a
// WPA-family network. The world hands it the station's EAPOL frames and the keys the station
// installs through raw requests, and passes traffic only once it reports the keys established.
// The world builds one through an AuthenticatorFactory (the handshake engine's by default).

#include <functional>
#include <memory>
#include <optional>
#include <span>

#include "libs/vuzoza/sim/elements.h"
#include "libs/vuzoza/sim/pmksa_cache.h"
#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza {

struct AuthenticatorContext {
  const NetworkSpec* network = nullptr;  // lives as long as the world
  Mac accessPoint{};
  Mac station{};
  WpaFamily family = WpaFamily::Rsn;
  Cipher pairwise = Cipher::Ccmp;
  Cipher group = Cipher::Ccmp;
  Bytes stationElement;  // the WPA or RSN element of the station's association request
  Bytes accessPointElement;  // the same family's element of the access point's beacon
  std::function<std::int64_t()> nowMs;  // the program's clock, for retransmission timers
  PmksaCache* pmksa = nullptr;  // enterprise access points: PMKs of earlier authentications
};

// A key the station installed in its driver for this association.
struct InstalledKey {
  bool pairwise = false;
  int index = 0;
  Bytes key;
};

class Authenticator {
 public:
  virtual ~Authenticator() = default;
  virtual void OnFrameFromStation(std::span<const std::uint8_t> frame) = 0;
  // The next EAPOL frame the access point sends to the station, if one is waiting.
  virtual std::optional<Bytes> TakeFrameToStation() = 0;
  virtual void OnKeyInstalled(const InstalledKey& key) = 0;
  // True once both sides hold the same pairwise and group keys: traffic may pass.
  virtual bool KeysEstablished() const = 0;
  // While the access point waits for its authentication server: a wait of up to the given
  // milliseconds of real time for the server's answer, callable without the world's lock (the
  // server lives in real time, so the program's clock must not run ahead of it). Empty otherwise.
  virtual std::function<void(std::int64_t)> ServerWait() const { return {}; }
  // True once the access point gave up on the key handshake (no answer to its last message).
  virtual bool GaveUp() const { return false; }
  // True when the access point sends the station away (it must associate again).
  virtual bool WantsDisconnect() { return false; }
};

using AuthenticatorFactory = std::function<std::unique_ptr<Authenticator>(const AuthenticatorContext&)>;

}  // namespace vuzoza
