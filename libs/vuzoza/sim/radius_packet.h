#pragma once
// RADIUS packets of an 802.1X authenticator (RFC 2865, 3579, 2548): Access-Request with the
// station's EAP message and a Message-Authenticator, and the server's answers checked against
// the shared secret before anything in them is used.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza::radius {

using Authenticator = std::array<std::uint8_t, 16>;

enum Code : std::uint8_t { kAccessRequest = 1, kAccessAccept = 2, kAccessReject = 3, kAccessChallenge = 11 };

namespace attr {
inline constexpr std::uint8_t kUserName = 1;
inline constexpr std::uint8_t kNasPort = 5;
inline constexpr std::uint8_t kFramedMtu = 12;
inline constexpr std::uint8_t kState = 24;
inline constexpr std::uint8_t kVendorSpecific = 26;
inline constexpr std::uint8_t kCalledStationId = 30;
inline constexpr std::uint8_t kCallingStationId = 31;
inline constexpr std::uint8_t kNasIdentifier = 32;
inline constexpr std::uint8_t kNasPortType = 61;
inline constexpr std::uint8_t kEapMessage = 79;
inline constexpr std::uint8_t kMessageAuthenticator = 80;
}  // namespace attr

inline constexpr std::size_t kMaxPacket = 4096;

struct Attribute {
  std::uint8_t type = 0;
  Bytes value;
};

struct Packet {
  std::uint8_t code = 0;
  std::uint8_t id = 0;
  Authenticator authenticator{};
  std::vector<Attribute> attributes;
};

// What one Access-Request carries besides the EAP message.
struct RequestFields {
  std::string userName;
  Bytes state;  // the last challenge's State, empty for the first request
  Mac accessPoint{};
  Bytes ssid;
  Mac station{};
};

// An Access-Request: the EAP message cut into attributes of at most 253 bytes, then the
// Message-Authenticator over the whole packet.
Bytes BuildAccessRequest(std::uint8_t id, const Authenticator& requestAuthenticator, const RequestFields& fields,
                         std::span<const std::uint8_t> eapMessage, std::string_view secret);

// Null when the bytes are no well-formed RADIUS packet (lengths checked throughout).
std::optional<Packet> Parse(std::span<const std::uint8_t> bytes);

// Whether an answer belongs to our request and was made with our secret: its id, its response
// authenticator, and its Message-Authenticator, which every answer carrying EAP must have.
bool VerifyAnswer(std::span<const std::uint8_t> answer, std::uint8_t requestId,
                  const Authenticator& requestAuthenticator, std::string_view secret);

// The EAP message of a packet, its attributes joined.
Bytes EapMessageOf(const Packet& packet);
const Attribute* Find(const Packet& packet, std::uint8_t type);

// The MS-MPPE-Recv-Key and MS-MPPE-Send-Key of an Access-Accept, decrypted (RFC 2548 2.4.2).
struct MppeKeys {
  Bytes recv;  // the first 32 bytes of the keying material: the PMK
  Bytes send;
};
std::optional<MppeKeys> MppeKeysOf(const Packet& accept, const Authenticator& requestAuthenticator,
                                   std::string_view secret);

}  // namespace vuzoza::radius
