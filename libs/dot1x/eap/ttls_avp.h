#pragma once
// The Diameter-style attribute-value pairs EAP-TTLS carries through its tunnel (RFC 5281):
// code (4 bytes), flags, length (3 bytes, header and data without padding), vendor id when the
// vendor flag is set, data, padding to 4 bytes.

#include <cstdint>
#include <optional>
#include <vector>

#include "libs/dot1x/eap/eap_packet.h"

namespace eap::ttls {

inline constexpr std::uint8_t kFlagVendor = 0x80;
inline constexpr std::uint8_t kFlagMandatory = 0x40;
inline constexpr std::uint32_t kVendorMicrosoft = 311;

// Attribute codes (RADIUS numbering) of the inner methods.
inline constexpr std::uint32_t kUserName = 1;
inline constexpr std::uint32_t kUserPassword = 2;
inline constexpr std::uint32_t kChapPassword = 3;
inline constexpr std::uint32_t kReplyMessage = 18;
inline constexpr std::uint32_t kChapChallenge = 60;
inline constexpr std::uint32_t kEapMessage = 79;
// Microsoft vendor attributes.
inline constexpr std::uint32_t kMsChapResponse = 1;
inline constexpr std::uint32_t kMsChapError = 2;
inline constexpr std::uint32_t kMsChapChallenge = 11;
inline constexpr std::uint32_t kMsChap2Response = 25;
inline constexpr std::uint32_t kMsChap2Success = 26;

struct Avp {
  std::uint32_t code = 0;
  std::uint32_t vendor = 0;  // 0: no vendor id
  bool mandatory = true;
  Bytes data;
};

void AppendAvp(Bytes& out, const Avp& avp);

// Null when any attribute's length is below its header or runs past the bytes.
std::optional<std::vector<Avp>> ParseAvps(ByteSpan bytes);

const Avp* Find(const std::vector<Avp>& avps, std::uint32_t code, std::uint32_t vendor = 0);

}  // namespace eap::ttls
