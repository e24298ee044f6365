#pragma once
// The TLS part shared by EAP-TLS, PEAP and EAP-TTLS: the handshake through the EAP framing, with
// acknowledgements of fragments both ways; the tunnel's application data goes to the method that
// runs inside it. EAP-TLS itself is this with nothing inside.

#include <deque>
#include <memory>
#include <string>

#include "libs/dot1x/eap/method.h"
#include "libs/dot1x/eap/tls_framing.h"
#include "libs/dot1x/eap/tls_tunnel.h"

namespace eap {

class TlsMethod : public Method {
 public:
  // `keyLabel` names the keying material of the method (RFC 5216, 5281).
  TlsMethod(std::uint8_t methodType, std::unique_ptr<TlsTunnel> tunnel, std::string keyLabel);

  std::uint8_t type() const override { return type_; }
  std::optional<Bytes> OnRequest(ByteSpan data) final;
  bool Failed() const override { return failed_ || tunnel_->Failed(); }
  std::string failure() const override { return tunnel_->Failed() ? tunnel_->failure() : failure_; }
  bool MaySucceed() const override { return !Failed() && tunnel_->Established() && InnerSucceeded(); }
  bool Keys(KeyingMaterial& out) const override;

 protected:
  // Inner methods: what to send through the tunnel once it is up, and in answer to the server's
  // tunnel data. Empty: nothing to send (an acknowledgement goes out).
  virtual Bytes OnEstablished() { return {}; }
  virtual Bytes OnTunnelData(ByteSpan) { return {}; }
  virtual bool InnerSucceeded() const { return true; }
  void Fail(std::string why = "the inner method failed") {
    failed_ = true;
    failure_ = std::move(why);
  }
  const TlsTunnel& tunnel() const { return *tunnel_; }

 private:
  Bytes Acknowledgement() const;
  Bytes SendMessage(ByteSpan message);
  std::optional<Bytes> OnComplete(ByteSpan message);

  std::uint8_t type_;
  std::unique_ptr<TlsTunnel> tunnel_;
  std::string keyLabel_;
  std::uint8_t version_ = 0;
  bool started_ = false;
  bool establishedSeen_ = false;
  bool failed_ = false;
  std::string failure_;
  TlsReassembly reassembly_;
  std::deque<TlsPiece> outgoing_;  // pieces of our message still to send, each after an ACK
};

std::unique_ptr<Method> MakeEapTls(std::unique_ptr<TlsTunnel> tunnel);

}  // namespace eap
