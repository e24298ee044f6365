#pragma once
// 802.11i key derivations, EAPOL-Key integrity codes and key data ciphers. Every function that
// can fail says so in its result: a failed primitive (for example a provider that offers no MD5)
// must refuse the frame or the derivation, never yield zeros that look like a result.

#include <string_view>

#include "libs/dot1x/wpa/bytes.h"
#include "libs/dot1x/wpa/secret_bytes.h"

namespace wpa {

// PBKDF2 with HMAC-SHA1; any output length. Zero iterations count as one.
void Pbkdf2HmacSha1(ByteSpan password, ByteSpan salt, unsigned iterations, std::span<std::uint8_t> out);

// The pass-phrase mapping: PBKDF2-HMAC-SHA1(pass phrase, SSID, 4096 rounds, 32 bytes).
[[nodiscard]] Pmk PassPhraseToPmk(std::string_view passPhrase, ByteSpan ssid);

// HMAC-SHA1-128(PMK, "PMK Name" || AA || SPA).
[[nodiscard]] bool ComputePmkid(ByteSpan pmk, const MacAddress& aa, const MacAddress& spa, Pmkid& out);

// PRF-n with HMAC-SHA1: HMAC(key, label || 0 || data || i) for i = 0, 1, ... cut to out.size().
// On failure out is wiped.
[[nodiscard]] bool PrfSha1(ByteSpan key, std::string_view label, ByteSpan data, std::span<std::uint8_t> out);

enum class Cipher { Tkip, Ccmp };

// Temporal key length of a cipher (TKIP carries its two Michael keys in the key).
[[nodiscard]] std::size_t TemporalKeyLength(Cipher cipher);

// Every copy wipes its keys when it goes.
struct Ptk {
  Kck kck{};
  Kek kek{};
  SecretBytes tk;  // 32 bytes for TKIP, 16 for CCMP

  Ptk() = default;
  Ptk(const Ptk&) = default;
  Ptk(Ptk&&) = default;
  Ptk& operator=(const Ptk&) = default;
  Ptk& operator=(Ptk&&) = default;
  ~Ptk();
};

// "Pairwise key expansion" over min/max of the addresses and of the nonces. On failure out is
// left empty (no keys).
[[nodiscard]] bool DerivePtk(ByteSpan pmk, const MacAddress& aa, const MacAddress& spa, const Nonce& aNonce,
                             const Nonce& sNonce, Cipher pairwise, Ptk& out);

// Key descriptor version: 1 selects HMAC-MD5 and RC4, 2 selects HMAC-SHA1-128 and AES key wrap.
enum class DescriptorVersion : std::uint8_t { HmacMd5Rc4 = 1, HmacSha1Aes = 2 };

[[nodiscard]] bool ComputeKeyMic(DescriptorVersion version, const Kck& kck, ByteSpan frame, Mic& out);

// RC4 with the first `skip` key stream bytes discarded. Symmetric.
[[nodiscard]] bool Rc4Crypt(ByteSpan key, std::size_t skip, ByteSpan in, SecretBytes& out);
// RC4 with the first 256 key stream bytes discarded, key = IV || KEK. Symmetric.
[[nodiscard]] bool Rc4SkipCrypt(const KeyIv& iv, const Kek& kek, ByteSpan in, SecretBytes& out);

// AES key wrap (RFC 3394). Wrap needs whole 8-byte blocks, at least two of them.
[[nodiscard]] bool AesKeyWrap(const Kek& kek, ByteSpan plain, Bytes& out);
// Fails when the integrity check does not hold.
[[nodiscard]] bool AesKeyUnwrap(const Kek& kek, ByteSpan wrapped, SecretBytes& out);

// Fills out from the system's cryptographic random generator.
[[nodiscard]] bool RandomBytes(std::span<std::uint8_t> out);

[[nodiscard]] bool IsAllZero(ByteSpan bytes);

// Comparison whose time does not depend on where the inputs differ.
[[nodiscard]] bool EqualConstantTime(ByteSpan a, ByteSpan b);

}  // namespace wpa
