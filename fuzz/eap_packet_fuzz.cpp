// EAP packets, TLS pieces, TTLS attributes and dynamic WEP key frames from the air: parsing never reads past the input,
// and reassembly stays bounded whatever the pieces claim.

#include <cstddef>
#include <cstdint>

#include "libs/dot1x/eap/tls_framing.h"
#include "libs/dot1x/eap/ttls_avp.h"
#include "libs/dot1x/eap/wep_key_frame.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const eap::ByteSpan bytes(data, size);
  if (const auto frame = eap::ParseEapol(bytes)) (void)eap::ParsePacket(frame->body);
  if (const auto packet = eap::ParsePacket(bytes)) {
    eap::TlsReassembly reassembly;
    // The same piece again and again, as a peer that never stops sending more fragments.
    if (const auto piece = eap::ParseTlsPiece(packet->data)) {
      for (int i = 0; i < 80; ++i) {
        if (reassembly.Add(*piece) != eap::TlsReassembly::Result::NeedMore) break;
      }
      if (reassembly.Gathering() && reassembly.Take().size() > eap::kMaxTlsMessage) __builtin_trap();
    }
  }
  (void)eap::ttls::ParseAvps(bytes);
  static const std::uint8_t kMsk[eap::kWepFrameKeySize] = {1, 2, 3};
  (void)eap::OpenWepKeyFrame(bytes, kMsk);
  return 0;
}
