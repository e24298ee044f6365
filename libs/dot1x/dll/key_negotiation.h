#pragma once
// One key negotiation with the access point the adapter is associated with: the station's side of
// the 4-way and group key handshakes, fed with the frames that arrive through the adapter
// library's raw frame path and installing keys through the key context's callback.

#include <memory>
#include <optional>

#include "libs/dot1x/include/dot1x_dll.h"
#include "libs/dot1x/wpa/supplicant.h"

namespace dot1x {

// How long one run step waits for the access point's next frame, on the adapter library's clock.
inline constexpr std::uint32_t kStepWaitMs = 100;

// The suite a key context asks for, or none when its ciphers or element are not offered.
struct SuiteChoice {
  wpa::Suite suite;
  wpa::Bytes ownElement;  // the station's WPA or RSN element from its association request
};
std::optional<SuiteChoice> ChooseSuite(const Dot1xKeyContext& context);

class KeyNegotiation {
 public:
  // Null when the context cannot be used or the adapter's BSSID cannot be read.
  static std::unique_ptr<KeyNegotiation> Prepare(VzAdapterHandle* adapter, Dot1xKeyContext& context);

  const Dot1xKeyContext* context() const { return context_; }
  // Sends EAPOL-Start to `bssid` (null: the access point of this negotiation). False when refused.
  [[nodiscard]] bool SendStart(const std::uint8_t* bssid);
  // Takes one frame, if one arrives in time, and answers it. True when a key was installed.
  bool Step();

 private:
  KeyNegotiation(VzAdapterHandle* adapter, Dot1xKeyContext& context, const wpa::MacAddress& bssid,
                 const SuiteChoice& choice);

  VzAdapterHandle* adapter_;
  Dot1xKeyContext* context_;
  wpa::MacAddress bssid_;
  wpa::Protocol protocol_;
  int installs_ = 0;
  std::unique_ptr<wpa::Supplicant> supplicant_;
};

// Waits up to `waitMs` for the next EAPOL frame on the adapter; false when none came. The frame
// is the 802.1X PDU, `sender` the transmitter's address. A frame held back comes first.
bool ReceiveFrame(VzAdapterHandle* adapter, std::uint32_t waitMs, wpa::Bytes& frame, wpa::MacAddress& sender);
// Keeps a frame that arrived during authentication but belongs to the key negotiation that
// follows; the next ReceiveFrame returns it. One at most; DropHeldFrame forgets it.
void HoldFrame(const wpa::Bytes& frame, const wpa::MacAddress& sender);
void DropHeldFrame();
// Queues one 802.1X PDU for `peer`. False when the adapter refuses it.
bool SendFrame(VzAdapterHandle* adapter, const wpa::MacAddress& peer, wpa::ByteSpan frame);

}  // namespace dot1x
