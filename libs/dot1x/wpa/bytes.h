#pragma once
// Byte containers shared by the key handshake engine.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace wpa {

using Bytes = std::vector<std::uint8_t>;
using ByteSpan = std::span<const std::uint8_t>;
using MacAddress = std::array<std::uint8_t, 6>;
using Nonce = std::array<std::uint8_t, 32>;
using Pmk = std::array<std::uint8_t, 32>;
using Kck = std::array<std::uint8_t, 16>;
using Kek = std::array<std::uint8_t, 16>;
using Mic = std::array<std::uint8_t, 16>;
using Pmkid = std::array<std::uint8_t, 16>;
using KeyIv = std::array<std::uint8_t, 16>;
using Rsc = std::array<std::uint8_t, 8>;

}  // namespace wpa
