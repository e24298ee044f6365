#pragma once
// The EAP peer of one authentication: answers identity and notification requests, refuses other
// methods with a Nak naming its own, hands its method's requests to it, answers a repeated
// request with the same response, and takes the server's success only when the method may
// succeed.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "libs/dot1x/eap/method.h"

namespace eap {

class Peer {
 public:
  enum class State { Running, Succeeded, Failed };

  // `makeMethod` builds a fresh method for each new identity exchange (a restart of the
  // authentication by the server); null when the method cannot be built.
  Peer(std::string outerIdentity, std::function<std::unique_ptr<Method>()> makeMethod);
  ~Peer();

  // One EAP packet from the authenticator; the packet to answer with, if any.
  std::optional<Bytes> OnPacket(ByteSpan packet);
  State state() const { return state_; }
  // Why it failed, for diagnostics (never secret material).
  const std::string& failure() const { return failure_; }
  // The keying material of a succeeded authentication.
  const KeyingMaterial& keys() const { return keys_; }

 private:
  std::optional<Bytes> Respond(std::uint8_t id, ByteSpan request, Bytes response);
  void Fail(std::string why);

  std::string outerIdentity_;
  std::function<std::unique_ptr<Method>()> makeMethod_;
  std::unique_ptr<Method> method_;
  State state_ = State::Running;
  std::string failure_;
  KeyingMaterial keys_{};
  std::optional<std::uint8_t> lastId_;
  Bytes lastRequest_;
  Bytes lastResponse_;
};

}  // namespace eap
