#include "libs/dot1x/eap/tls_method.h"

namespace eap {

TlsMethod::TlsMethod(std::uint8_t methodType, std::unique_ptr<TlsTunnel> tunnel, std::string keyLabel)
    : type_(methodType), tunnel_(std::move(tunnel)), keyLabel_(std::move(keyLabel)) {}

Bytes TlsMethod::Acknowledgement() const { return BuildTlsPiece({version_, std::nullopt, {}}); }

Bytes TlsMethod::SendMessage(ByteSpan message) {
  if (message.empty()) return Acknowledgement();
  outgoing_ = Fragment(message, version_);
  Bytes first = BuildTlsPiece(outgoing_.front());
  outgoing_.pop_front();
  return first;
}

std::optional<Bytes> TlsMethod::OnRequest(ByteSpan data) {
  if (Failed()) return std::nullopt;
  const auto piece = ParseTlsPiece(data);
  if (!piece) return std::nullopt;
  if ((piece->flags & tls_flags::kStart) != 0) {
    // A second start would begin another handshake inside this one.
    if (started_) {
      Fail("a second TLS start");
      return std::nullopt;
    }
    started_ = true;
    // We speak version 0 of PEAP and TTLS; a server offering more takes ours.
    version_ = 0;
    if (!tunnel_->Feed({})) return std::nullopt;
    return SendMessage(tunnel_->TakeOutput());
  }
  if (!started_) return std::nullopt;
  if (!outgoing_.empty()) {
    // The server acknowledges the piece before; anything else breaks the exchange.
    if (!piece->data.empty()) {
      Fail("data instead of an acknowledgement");
      return std::nullopt;
    }
    Bytes next = BuildTlsPiece(outgoing_.front());
    outgoing_.pop_front();
    return next;
  }
  switch (reassembly_.Add(*piece)) {
    case TlsReassembly::Result::NeedMore:
      return Acknowledgement();
    case TlsReassembly::Result::Refused:
      Fail("a TLS message over the size limit");
      return std::nullopt;
    case TlsReassembly::Result::Complete:
      break;
  }
  const Bytes message = reassembly_.Take();
  return OnComplete(message);
}

std::optional<Bytes> TlsMethod::OnComplete(ByteSpan message) {
  if (!tunnel_->Feed(message)) {
    // The alert OpenSSL wrote tells the server why; the attempt is over either way.
    const Bytes alert = tunnel_->TakeOutput();
    if (alert.empty()) return std::nullopt;
    return SendMessage(alert);
  }
  if (tunnel_->Established()) {
    Bytes plain;
    if (!establishedSeen_) {
      establishedSeen_ = true;
      plain = OnEstablished();
    }
    const Bytes received = tunnel_->Read();
    if (!received.empty()) {
      const Bytes answer = OnTunnelData(received);
      plain.insert(plain.end(), answer.begin(), answer.end());
    }
    if (Failed() || !tunnel_->Write(plain)) return std::nullopt;
  }
  return SendMessage(tunnel_->TakeOutput());
}

bool TlsMethod::Keys(KeyingMaterial& out) const {
  return MaySucceed() && tunnel_->Export(keyLabel_, out);
}

std::unique_ptr<Method> MakeEapTls(std::unique_ptr<TlsTunnel> tunnel) {
  return std::make_unique<TlsMethod>(type::kTls, std::move(tunnel), "client EAP encryption");
}

}  // namespace eap
