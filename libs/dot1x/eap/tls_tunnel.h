#pragma once
// A TLS client over memory buffers: the records it sends and receives travel inside EAP, not on a
// socket. Holds the server-certificate check, the client certificate of EAP-TLS, the tunnel's
// application data of PEAP and TTLS, and the keying material exported from the session.

#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "libs/dot1x/eap/eap_packet.h"

namespace eap {

struct TlsConfig {
  bool validateServer = true;
  std::string authorityFile;    // PEM file of the trusted authorities; needed when validating
  std::string certificateFile;  // PEM client certificate (EAP-TLS), empty for none
  std::string privateKeyFile;   // PEM private key of that certificate
  std::string privateKeyPassword;
};

class TlsTunnel {
 public:
  // Null, with the reason in `error`, when the configuration's files cannot be used. The reason
  // names files, never their contents or the password.
  static std::unique_ptr<TlsTunnel> Create(const TlsConfig& config, std::string& error);
  ~TlsTunnel();
  TlsTunnel(const TlsTunnel&) = delete;
  TlsTunnel& operator=(const TlsTunnel&) = delete;

  // Starts the handshake (the first flight) or takes the peer's records and moves it on. False
  // once the session failed (a bad record, a refused certificate, an alert).
  [[nodiscard]] bool Feed(ByteSpan records);
  // Records waiting to be sent.
  Bytes TakeOutput();
  bool Established() const;
  bool Failed() const { return failed_; }
  // Why it failed, for the library's diagnostics (never secret material).
  const std::string& failure() const { return failure_; }

  // Application data through the established tunnel: Write queues records for TakeOutput; Read
  // gives what the records fed so far decrypted to (empty when none).
  [[nodiscard]] bool Write(ByteSpan plain);
  Bytes Read();

  // RFC 5705 export from the established session; false before it is established.
  [[nodiscard]] bool Export(std::string_view label, std::span<std::uint8_t> out) const;

 private:
  struct Handles;
  explicit TlsTunnel(std::unique_ptr<Handles> handles);
  bool Drive();

  std::unique_ptr<Handles> handles_;
  bool failed_ = false;
  std::string failure_;
  // Decrypted data not yet read; no inner method sends more than this at once.
  static constexpr std::size_t kMaxPlain = 64 * 1024;
  Bytes plain_;
};

}  // namespace eap
