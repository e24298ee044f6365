#pragma once
// EAPOL frames carrying an EAPOL-Key descriptor: parsing from untrusted bytes and building.

#include <string_view>

#include "libs/dot1x/wpa/bytes.h"
#include "libs/dot1x/wpa/crypto.h"

namespace wpa {

inline constexpr std::uint8_t kEapolTypeKey = 3;
inline constexpr std::uint8_t kDescriptorRsn = 2;
inline constexpr std::uint8_t kDescriptorWpa = 254;

// Header (4) + descriptor type, key information, key length, replay counter, nonce, IV, RSC,
// reserved, MIC, key data length.
inline constexpr std::size_t kEapolHeaderLength = 4;
inline constexpr std::size_t kKeyDescriptorFixedLength = 95;
inline constexpr std::size_t kKeyMicOffset = 81;

// Bits of the key information field.
namespace key_info {
inline constexpr std::uint16_t kVersionMask = 0x0007;
inline constexpr std::uint16_t kPairwise = 0x0008;
inline constexpr std::uint16_t kIndexMask = 0x0030;  // WPA group key index
inline constexpr int kIndexShift = 4;
inline constexpr std::uint16_t kInstall = 0x0040;
inline constexpr std::uint16_t kAck = 0x0080;
inline constexpr std::uint16_t kMic = 0x0100;
inline constexpr std::uint16_t kSecure = 0x0200;
inline constexpr std::uint16_t kError = 0x0400;
inline constexpr std::uint16_t kRequest = 0x0800;
inline constexpr std::uint16_t kEncryptedKeyData = 0x1000;
}  // namespace key_info

struct EapolKey {
  std::uint8_t eapolVersion = 1;
  std::uint8_t descriptorType = kDescriptorRsn;
  std::uint16_t keyInfo = 0;
  std::uint16_t keyLength = 0;
  std::uint64_t replayCounter = 0;
  Nonce nonce{};
  KeyIv iv{};
  Rsc rsc{};
  std::array<std::uint8_t, 8> reserved{};
  Mic mic{};
  Bytes keyData;

  bool Has(std::uint16_t bits) const { return (keyInfo & bits) == bits; }
  std::uint8_t Version() const { return static_cast<std::uint8_t>(keyInfo & key_info::kVersionMask); }
  int KeyIndex() const { return (keyInfo & key_info::kIndexMask) >> key_info::kIndexShift; }
};

enum class EapolParseError {
  None,
  TruncatedHeader,       // fewer than the 4 header bytes
  NotKeyFrame,           // packet type other than EAPOL-Key
  TruncatedBody,         // body length says more than the bytes hold
  BodyTooShort,          // body cannot hold the fixed key descriptor
  UnknownDescriptor,     // neither the RSN nor the WPA descriptor type
  KeyDataOverrun,        // key data length runs past the body
};

[[nodiscard]] std::string_view ToString(EapolParseError error);

// Reads a frame from bytes starting at the EAPOL header. Bytes after the body (link padding)
// are ignored; frameLength tells how many bytes the frame and its MIC cover.
struct ParsedEapolKey {
  EapolKey key;
  std::size_t frameLength = 0;
};
[[nodiscard]] EapolParseError ParseEapolKey(ByteSpan bytes, ParsedEapolKey& out);

// Serialises with body and key data lengths taken from the contents.
[[nodiscard]] Bytes SerializeEapolKey(const EapolKey& key);

// Serialises and fills in the MIC computed over the frame with a zero MIC field. False, and
// out untouched, when the MIC cannot be computed: such a frame must not be sent.
[[nodiscard]] bool SerializeSignedEapolKey(const EapolKey& key, DescriptorVersion version, const Kck& kck,
                                           Bytes& out);

// True when the MIC in a parsed frame matches the one computed over its bytes; false when it
// cannot be computed.
[[nodiscard]] bool EapolKeyMicValid(ByteSpan bytes, const ParsedEapolKey& parsed, DescriptorVersion version,
                                    const Kck& kck);

}  // namespace wpa
