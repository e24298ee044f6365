#pragma once
// 802.1X (EAPOL) frames and the EAP packets they carry: parsing from untrusted bytes and building.

#include <cstdint>
#include <optional>
#include <string_view>

#include "libs/dot1x/wpa/bytes.h"

namespace eap {

using wpa::Bytes;
using wpa::ByteSpan;

// EAPOL packet types.
inline constexpr std::uint8_t kEapolPacket = 0;
inline constexpr std::uint8_t kEapolStart = 1;
inline constexpr std::uint8_t kEapolLogoff = 2;
inline constexpr std::uint8_t kEapolKey = 3;
inline constexpr std::size_t kEapolHeaderSize = 4;

struct EapolFrame {
  std::uint8_t version = 0;
  std::uint8_t type = 0;
  Bytes body;  // exactly the length the header states; padding after it is dropped
};

// Null when the header is cut short or states more body than the bytes hold.
std::optional<EapolFrame> ParseEapol(ByteSpan bytes);
Bytes BuildEapol(std::uint8_t version, std::uint8_t type, ByteSpan body);

enum class Code : std::uint8_t { Request = 1, Response = 2, Success = 3, Failure = 4 };

// Method types this peer knows by name; others arrive as plain numbers.
namespace type {
inline constexpr std::uint8_t kIdentity = 1;
inline constexpr std::uint8_t kNotification = 2;
inline constexpr std::uint8_t kNak = 3;
inline constexpr std::uint8_t kTls = 13;
inline constexpr std::uint8_t kTtls = 21;
inline constexpr std::uint8_t kPeap = 25;
inline constexpr std::uint8_t kMsChapV2 = 26;
inline constexpr std::uint8_t kExtensions = 33;
}  // namespace type

inline constexpr std::size_t kEapHeaderSize = 4;

struct Packet {
  Code code = Code::Request;
  std::uint8_t id = 0;
  std::uint8_t type = 0;  // Request and Response only
  Bytes data;             // after the type byte
};

// Null when the bytes are no EAP packet: unknown code, length field below the header or beyond
// the bytes, a request or response without its type. Bytes past the length field are padding.
std::optional<Packet> ParsePacket(ByteSpan bytes);
Bytes BuildPacket(const Packet& packet);
Bytes BuildResponse(std::uint8_t id, std::uint8_t methodType, ByteSpan data);

inline ByteSpan AsBytes(std::string_view text) {
  return ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}
inline Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

// Big-endian fields of EAP and its methods.
inline std::uint16_t Get16(const std::uint8_t* at) { return static_cast<std::uint16_t>(at[0] << 8 | at[1]); }
inline std::uint32_t Get32(const std::uint8_t* at) {
  return static_cast<std::uint32_t>(at[0]) << 24 | static_cast<std::uint32_t>(at[1]) << 16 |
         static_cast<std::uint32_t>(at[2]) << 8 | at[3];
}
inline void Append16(Bytes& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}
inline void Append32(Bytes& out, std::uint32_t v) {
  Append16(out, v >> 16);
  Append16(out, v);
}

}  // namespace eap
