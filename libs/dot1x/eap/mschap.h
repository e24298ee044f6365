#pragma once
// MS-CHAP (RFC 2433) and MS-CHAPv2 (RFC 2759) computations of the peer.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "libs/dot1x/eap/eap_packet.h"

namespace eap::mschap {

using NtHash = std::array<std::uint8_t, 16>;
using NtResponse = std::array<std::uint8_t, 24>;
using Challenge8 = std::array<std::uint8_t, 8>;
using Challenge16 = std::array<std::uint8_t, 16>;

// MD4 over the password as UTF-16LE; each 8-bit unit of the password becomes one code unit.
// Null when the crypto provider is missing.
std::optional<NtHash> NtPasswordHash(std::string_view password);

// DES of the 8-byte challenge under the three keys cut from the padded hash.
std::optional<NtResponse> ChallengeResponse(const Challenge8& challenge, const NtHash& hash);

// The MS-CHAPv2 challenge hash over both challenges and the user name without its domain.
Challenge8 ChallengeHash(const Challenge16& peerChallenge, const Challenge16& authenticatorChallenge,
                         std::string_view userName);

std::optional<NtResponse> GenerateNtResponseV2(const Challenge16& authenticatorChallenge,
                                               const Challenge16& peerChallenge, std::string_view userName,
                                               std::string_view password);

// "S=" and 40 upper-case hexadecimal digits.
std::optional<std::string> AuthenticatorResponse(std::string_view password, const NtResponse& ntResponse,
                                                 const Challenge16& peerChallenge,
                                                 const Challenge16& authenticatorChallenge, std::string_view userName);

// Whether a server's success message begins with the authenticator response we expect; the
// comparison takes the same time wherever they differ.
bool VerifyAuthenticatorResponse(std::string_view message, std::string_view expected);

// The user name as the challenge hash takes it: after a "DOMAIN\" prefix.
std::string_view WithoutDomain(std::string_view userName);

}  // namespace eap::mschap
