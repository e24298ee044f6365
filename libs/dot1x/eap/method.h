#pragma once
// One EAP method of the peer, fed the data of the requests of its type.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

#include "libs/dot1x/eap/eap_packet.h"

namespace eap {

inline constexpr std::size_t kKeyingMaterialSize = 128;
using KeyingMaterial = std::array<std::uint8_t, kKeyingMaterialSize>;

// Fills its argument with random bytes; false when no randomness is to be had. Tests inject
// fixed values here.
using RandomSource = std::function<bool(std::span<std::uint8_t>)>;

class Method {
 public:
  virtual ~Method() = default;
  virtual std::uint8_t type() const = 0;
  // The data of the response (after its type byte) to one request of this type, or none to
  // send nothing.
  virtual std::optional<Bytes> OnRequest(ByteSpan data) = 0;
  virtual bool Failed() const = 0;
  // Why it failed, for diagnostics (never secret material).
  virtual std::string failure() const { return "the method failed"; }
  // True once everything that must come before the server's success has happened: the TLS
  // handshake, and in a tunnel the inner method's own success. A success announced earlier is a
  // forgery and ends the attempt.
  virtual bool MaySucceed() const = 0;
  // The method's keying material; false unless MaySucceed().
  [[nodiscard]] virtual bool Keys(KeyingMaterial& out) const = 0;
};

}  // namespace eap
