#pragma once
// The framing EAP-TLS, EAP-TTLS and PEAP share for their TLS records: a flags byte (length
// included, more fragments, start, method version), an optional 4-byte total length, then a piece
// of the TLS message. Incoming pieces are reassembled with a bound; outgoing messages are cut
// into pieces that each fit one EAP packet.

#include <cstdint>
#include <deque>
#include <optional>

#include "libs/dot1x/eap/eap_packet.h"

namespace eap {

namespace tls_flags {
inline constexpr std::uint8_t kLengthIncluded = 0x80;
inline constexpr std::uint8_t kMoreFragments = 0x40;
inline constexpr std::uint8_t kStart = 0x20;
inline constexpr std::uint8_t kVersionMask = 0x07;
}  // namespace tls_flags

// A TLS message larger than this is refused: no handshake of ours needs more, and a peer must
// not make us hold more.
inline constexpr std::size_t kMaxTlsMessage = 64 * 1024;
// Payload of one outgoing piece; with the headers it stays well inside one EAPOL frame.
inline constexpr std::size_t kFragmentPayload = 1000;

struct TlsPiece {
  std::uint8_t flags = 0;
  std::optional<std::uint32_t> totalLength;
  Bytes data;
};

// Null when there is not even the flags byte, or the length flag is set without its 4 bytes.
std::optional<TlsPiece> ParseTlsPiece(ByteSpan methodData);
Bytes BuildTlsPiece(const TlsPiece& piece);

class TlsReassembly {
 public:
  enum class Result { NeedMore, Complete, Refused };
  // Adds a piece; Refused when the stated or gathered length passes kMaxTlsMessage or the
  // stated total, after which the reassembly stays refused.
  Result Add(const TlsPiece& piece);
  // The complete message; empties the reassembly.
  Bytes Take();
  bool Gathering() const { return !buffer_.empty(); }

 private:
  Bytes buffer_;
  std::optional<std::uint32_t> expected_;
  bool refused_ = false;
};

// Cuts one message into pieces; the first carries the total length when there is more than one.
std::deque<TlsPiece> Fragment(ByteSpan message, std::uint8_t versionBits, std::size_t payload = kFragmentPayload);

}  // namespace eap
