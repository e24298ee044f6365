#pragma once
// What the supplicant and the authenticator share: the negotiated suite, the seams they are
// built on, the verdicts on received frames and the key data ciphers.

#include <functional>
#include <string_view>

#include "libs/dot1x/wpa/bytes.h"
#include "libs/dot1x/wpa/crypto.h"

namespace wpa {

enum class Protocol { Wpa, Rsn };

struct Suite {
  Protocol protocol = Protocol::Rsn;
  Cipher pairwise = Cipher::Ccmp;
  Cipher group = Cipher::Ccmp;
};

[[nodiscard]] std::uint8_t DescriptorTypeOf(Protocol protocol);
[[nodiscard]] std::uint8_t EapolVersionOf(Protocol protocol);
// The pairwise cipher decides the MIC and key data cipher of every frame of the association.
[[nodiscard]] DescriptorVersion DescriptorVersionOf(Cipher pairwise);

// Fills the span with unpredictable bytes; false when no randomness is available.
using NonceSource = std::function<bool(std::span<std::uint8_t>)>;
// Sends one EAPOL frame, header included.
using Transmit = std::function<void(ByteSpan frame)>;

enum class KeyKind { Pairwise = 0, Group = 1 };
// Receive sequence counter, key bytes (their count is the key length), key index, kind.
using InstallKey = std::function<void(const Rsc& rsc, ByteSpan key, int keyIndex, KeyKind kind)>;
// The station's own WPA or RSN element as sent in its association request.
using OwnElement = std::function<Bytes()>;

// What became of one received frame. Everything but Accepted means it was dropped unanswered.
enum class FrameVerdict {
  Accepted,
  Malformed,          // not a parsable EAPOL-Key frame
  Unexpected,         // wrong descriptor, version or key information bits for this state
  BadMic,
  Replayed,           // replay counter not newer than the last accepted, or not one we sent
  NonceMismatch,      // message 3 with another ANonce than message 1
  ElementMismatch,    // the peer's WPA/RSN element differs from the expected one
  ElementUnknown,     // message 3 before the access point's own element is known: it cannot be checked
  BadKeyData,         // key data that does not decrypt or parse, or an unusable key
  NoRandomness,
  CryptoFailure,      // a cryptographic primitive failed (e.g. the provider lacks the algorithm)
};

[[nodiscard]] std::string_view ToString(FrameVerdict verdict);

// Key data ciphers by descriptor version: RC4 with IV || KEK, or AES key wrap (IV unused).
[[nodiscard]] bool EncryptKeyData(DescriptorVersion version, const Kek& kek, const KeyIv& iv, ByteSpan plain,
                                  Bytes& out);
[[nodiscard]] bool DecryptKeyData(DescriptorVersion version, const Kek& kek, const KeyIv& iv, ByteSpan encrypted,
                                  SecretBytes& out);

}  // namespace wpa
