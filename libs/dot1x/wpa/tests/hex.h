#pragma once
// Hex text helpers for test vectors.

#include <string>
#include <string_view>

#include "libs/dot1x/wpa/bytes.h"
#include "libs/dot1x/wpa/secret_bytes.h"

namespace wpa::test {

inline Bytes FromHex(std::string_view hex) {
  auto nibble = [](char c) -> std::uint8_t {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    return static_cast<std::uint8_t>((c | 0x20) - 'a' + 10);
  };
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(static_cast<std::uint8_t>(nibble(hex[i]) << 4 | nibble(hex[i + 1])));
  }
  return out;
}

inline std::string ToHex(ByteSpan bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : bytes) {
    out.push_back(kDigits[b >> 4]);
    out.push_back(kDigits[b & 15]);
  }
  return out;
}

template <typename Array>
Array ArrayFromHex(std::string_view hex) {
  Array out{};
  const Bytes bytes = FromHex(hex);
  std::copy_n(bytes.begin(), std::min(bytes.size(), out.size()), out.begin());
  return out;
}

inline SecretBytes SecretFromHex(std::string_view hex) {
  const Bytes bytes = FromHex(hex);
  return SecretBytes(bytes.begin(), bytes.end());
}

inline ByteSpan AsBytes(std::string_view text) {
  return ByteSpan(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

}  // namespace wpa::test
