#pragma once
// The EAPOL-Key frames of 802.1X with dynamic WEP keys (RC4 key descriptor): the access point
// sends each WEP key encrypted with RC4 under the frame's IV and the first 32 bytes of the
// authentication's keying material, signed with HMAC-MD5 under the next 32 bytes.

#include <cstdint>
#include <optional>

#include "libs/dot1x/eap/eap_packet.h"
#include "libs/dot1x/wpa/bytes.h"

namespace eap {

inline constexpr std::uint8_t kRc4KeyDescriptor = 1;

struct WepKey {
  std::uint64_t replayCounter = 0;
  bool unicast = false;  // the station's own key; otherwise the broadcast key
  int index = 0;         // 0 to 3
  Bytes key;             // 5, 13 or 29 bytes
};

// The 64 bytes of keying material the frames are protected with (the MSK).
inline constexpr std::size_t kWepFrameKeySize = 64;

std::optional<Bytes> BuildWepKeyFrame(std::uint8_t eapolVersion, const WepKey& key, ByteSpan msk,
                                      const wpa::KeyIv& iv);

// The key of a frame whose signature holds; null for any other frame, a cut one, or a key length
// that is no WEP key's. A frame without key bytes gives the unicast key from the keying material.
std::optional<WepKey> OpenWepKeyFrame(ByteSpan eapolFrame, ByteSpan msk);

}  // namespace eap
