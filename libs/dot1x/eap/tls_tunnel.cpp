#include "libs/dot1x/eap/tls_tunnel.h"

#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <algorithm>
#include <array>
#include <cstring>

namespace eap {
namespace {

// The reason at the top of OpenSSL's error queue, which is then emptied so that it cannot leak
// into another session on this thread.
std::string TakeOpenSslError(std::string_view fallback) {
  const unsigned long code = ERR_peek_last_error();
  std::string out(fallback);
  if (code != 0) {
    std::array<char, 256> text{};
    ERR_error_string_n(code, text.data(), text.size());
    out += ": ";
    out += text.data();
  }
  ERR_clear_error();
  return out;
}

int PasswordCallback(char* buffer, int size, int, void* userdata) {
  const auto* password = static_cast<const std::string*>(userdata);
  const int n = static_cast<int>(std::min<std::size_t>(password->size(), static_cast<std::size_t>(size)));
  std::memcpy(buffer, password->data(), static_cast<std::size_t>(n));
  return n;
}

}  // namespace

struct TlsTunnel::Handles {
  ~Handles() {
    SSL_free(ssl);  // frees both memory BIOs with it
    SSL_CTX_free(ctx);
  }
  SSL_CTX* ctx = nullptr;
  SSL* ssl = nullptr;
  BIO* fromPeer = nullptr;
  BIO* toPeer = nullptr;
};

std::unique_ptr<TlsTunnel> TlsTunnel::Create(const TlsConfig& config, std::string& error) {
  ERR_clear_error();
  auto h = std::make_unique<Handles>();
  h->ctx = SSL_CTX_new(TLS_client_method());
  if (h->ctx == nullptr) {
    error = TakeOpenSslError("TLS context");
    return nullptr;
  }
  // EAP methods define their keys for TLS 1.2; session tickets would only lengthen the flights.
  SSL_CTX_set_min_proto_version(h->ctx, TLS1_2_VERSION);
  SSL_CTX_set_max_proto_version(h->ctx, TLS1_2_VERSION);
  SSL_CTX_set_options(h->ctx, SSL_OP_NO_TICKET);
  if (config.validateServer) {
    if (config.authorityFile.empty() || SSL_CTX_load_verify_file(h->ctx, config.authorityFile.c_str()) != 1) {
      error = TakeOpenSslError("authority file " + config.authorityFile + " cannot be used");
      return nullptr;
    }
    SSL_CTX_set_verify(h->ctx, SSL_VERIFY_PEER, nullptr);
  } else {
    SSL_CTX_set_verify(h->ctx, SSL_VERIFY_NONE, nullptr);
  }
  if (!config.certificateFile.empty()) {
    std::string password = config.privateKeyPassword;
    SSL_CTX_set_default_passwd_cb(h->ctx, &PasswordCallback);
    SSL_CTX_set_default_passwd_cb_userdata(h->ctx, &password);
    const bool loaded = SSL_CTX_use_certificate_chain_file(h->ctx, config.certificateFile.c_str()) == 1 &&
                        SSL_CTX_use_PrivateKey_file(h->ctx, config.privateKeyFile.c_str(), SSL_FILETYPE_PEM) == 1 &&
                        SSL_CTX_check_private_key(h->ctx) == 1;
    SSL_CTX_set_default_passwd_cb_userdata(h->ctx, nullptr);
    OPENSSL_cleanse(password.data(), password.size());
    if (!loaded) {
      error = TakeOpenSslError("client certificate " + config.certificateFile + " or its key " +
                               config.privateKeyFile + " cannot be used");
      return nullptr;
    }
  }
  h->ssl = SSL_new(h->ctx);
  h->fromPeer = BIO_new(BIO_s_mem());
  h->toPeer = BIO_new(BIO_s_mem());
  if (h->ssl == nullptr || h->fromPeer == nullptr || h->toPeer == nullptr) {
    BIO_free(h->fromPeer);
    BIO_free(h->toPeer);
    error = TakeOpenSslError("TLS session");
    return nullptr;
  }
  SSL_set_bio(h->ssl, h->fromPeer, h->toPeer);
  SSL_set_connect_state(h->ssl);
  return std::unique_ptr<TlsTunnel>(new TlsTunnel(std::move(h)));
}

TlsTunnel::TlsTunnel(std::unique_ptr<Handles> handles) : handles_(std::move(handles)) {}

TlsTunnel::~TlsTunnel() {
  if (!plain_.empty()) OPENSSL_cleanse(plain_.data(), plain_.size());
}

bool TlsTunnel::Feed(ByteSpan records) {
  if (failed_) return false;
  if (!records.empty() &&
      BIO_write(handles_->fromPeer, records.data(), static_cast<int>(records.size())) != static_cast<int>(records.size())) {
    failed_ = true;
    failure_ = TakeOpenSslError("TLS input");
    return false;
  }
  return Drive();
}

bool TlsTunnel::Drive() {
  SSL* ssl = handles_->ssl;
  if (!SSL_is_init_finished(ssl)) {
    const int r = SSL_do_handshake(ssl);
    if (r != 1) {
      const int e = SSL_get_error(ssl, r);
      if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) return true;
      failed_ = true;
      const long verify = SSL_get_verify_result(ssl);
      failure_ = verify != X509_V_OK ? std::string("server certificate refused: ") +
                                           X509_verify_cert_error_string(verify)
                                     : TakeOpenSslError("TLS handshake failed");
      ERR_clear_error();
      return false;
    }
  }
  // Application data may follow the handshake in the same flight.
  std::array<std::uint8_t, 4096> chunk{};
  for (;;) {
    const int n = SSL_read(ssl, chunk.data(), static_cast<int>(chunk.size()));
    if (n > 0) {
      plain_.insert(plain_.end(), chunk.begin(), chunk.begin() + n);
      if (plain_.size() > kMaxPlain) {
        failed_ = true;
        failure_ = "tunnel data too large";
        return false;
      }
      continue;
    }
    const int e = SSL_get_error(ssl, n);
    if (e == SSL_ERROR_WANT_READ || e == SSL_ERROR_WANT_WRITE) break;
    failed_ = true;
    failure_ = TakeOpenSslError(e == SSL_ERROR_ZERO_RETURN ? "TLS session closed by the server" : "TLS record");
    return false;
  }
  OPENSSL_cleanse(chunk.data(), chunk.size());
  return true;
}

Bytes TlsTunnel::TakeOutput() {
  Bytes out(static_cast<std::size_t>(BIO_ctrl_pending(handles_->toPeer)));
  if (!out.empty()) {
    const int n = BIO_read(handles_->toPeer, out.data(), static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  }
  return out;
}

bool TlsTunnel::Established() const { return !failed_ && SSL_is_init_finished(handles_->ssl) == 1; }

bool TlsTunnel::Write(ByteSpan plain) {
  if (!Established()) return false;
  if (plain.empty()) return true;
  const int n = SSL_write(handles_->ssl, plain.data(), static_cast<int>(plain.size()));
  if (n != static_cast<int>(plain.size())) {
    failed_ = true;
    failure_ = TakeOpenSslError("TLS write");
    return false;
  }
  return true;
}

Bytes TlsTunnel::Read() {
  Bytes out;
  out.swap(plain_);
  return out;
}

bool TlsTunnel::Export(std::string_view label, std::span<std::uint8_t> out) const {
  if (!Established()) return false;
  const bool ok = SSL_export_keying_material(handles_->ssl, out.data(), out.size(), label.data(), label.size(),
                                             nullptr, 0, 0) == 1;
  if (!ok) ERR_clear_error();
  return ok;
}

}  // namespace eap
