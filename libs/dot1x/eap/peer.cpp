#include "libs/dot1x/eap/peer.h"

#include <openssl/crypto.h>

namespace eap {

Peer::Peer(std::string outerIdentity, std::function<std::unique_ptr<Method>()> makeMethod)
    : outerIdentity_(std::move(outerIdentity)), makeMethod_(std::move(makeMethod)) {}

Peer::~Peer() { OPENSSL_cleanse(keys_.data(), keys_.size()); }

void Peer::Fail(std::string why) {
  state_ = State::Failed;
  failure_ = std::move(why);
  method_.reset();
}

std::optional<Bytes> Peer::Respond(std::uint8_t id, ByteSpan request, Bytes response) {
  lastId_ = id;
  lastRequest_.assign(request.begin(), request.end());
  lastResponse_ = std::move(response);
  return lastResponse_;
}

std::optional<Bytes> Peer::OnPacket(ByteSpan bytes) {
  if (state_ != State::Running) return std::nullopt;
  const auto packet = ParsePacket(bytes);
  if (!packet) return std::nullopt;
  switch (packet->code) {
    case Code::Response:
      return std::nullopt;
    case Code::Failure:
      Fail("the server refused the authentication");
      return std::nullopt;
    case Code::Success:
      if (!method_ || !method_->MaySucceed()) {
        Fail("success announced before the method completed");
        return std::nullopt;
      }
      if (!method_->Keys(keys_)) {
        Fail("no keying material");
        return std::nullopt;
      }
      state_ = State::Succeeded;
      method_.reset();
      return std::nullopt;
    case Code::Request:
      break;
  }
  // A request sent again because our answer was lost gets the same answer.
  const ByteSpan request(bytes.data(), std::min<std::size_t>(bytes.size(), Get16(bytes.data() + 2)));
  if (lastId_ == packet->id && std::equal(request.begin(), request.end(), lastRequest_.begin(), lastRequest_.end())) {
    return lastResponse_;
  }
  switch (packet->type) {
    case type::kIdentity:
      // A new identity exchange starts the authentication over.
      method_.reset();
      return Respond(packet->id, request, BuildResponse(packet->id, type::kIdentity, AsBytes(outerIdentity_)));
    case type::kNotification:
      return Respond(packet->id, request, BuildResponse(packet->id, type::kNotification, {}));
    default:
      break;
  }
  if (!method_) {
    method_ = makeMethod_();
    if (!method_) {
      Fail("the method cannot be prepared");
      return std::nullopt;
    }
  }
  if (packet->type != method_->type()) {
    const std::uint8_t desired = method_->type();
    return Respond(packet->id, request, BuildResponse(packet->id, type::kNak, ByteSpan(&desired, 1)));
  }
  auto data = method_->OnRequest(packet->data);
  if (method_->Failed()) {
    Fail(method_->failure());
    if (!data) return std::nullopt;
    return BuildResponse(packet->id, packet->type, *data);
  }
  if (!data) return std::nullopt;
  return Respond(packet->id, request, BuildResponse(packet->id, packet->type, *data));
}

}  // namespace eap
