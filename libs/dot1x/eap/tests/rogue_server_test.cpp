// A server whose certificate nobody checks (validation off) must still not get a success past the
// inner method: it runs the TLS handshake, then announces success without proving it knows the
// password. The peer refuses and gives no keys.

#include <openssl/ssl.h>

#include <gtest/gtest.h>

#include "libs/dot1x/eap/peap_method.h"
#include "libs/dot1x/eap/peer.h"
#include "libs/dot1x/eap/tls_framing.h"
#include "libs/dot1x/eap/ttls_method.h"
#include "libs/dot1x/testing/test_pki.h"
#include "libs/dot1x/wpa/crypto.h"

namespace eap {
namespace {

namespace fs = std::filesystem;

// The server's TLS side over memory buffers, speaking through EAP requests of one method type.
class RogueServer {
 public:
  RogueServer(const dot1x::testing::IssuedFiles& certificate, std::uint8_t methodType) : type_(methodType) {
    ctx_ = SSL_CTX_new(TLS_server_method());
    SSL_CTX_set_max_proto_version(ctx_, TLS1_2_VERSION);
    EXPECT_EQ(SSL_CTX_use_certificate_file(ctx_, certificate.certificate.c_str(), SSL_FILETYPE_PEM), 1);
    EXPECT_EQ(SSL_CTX_use_PrivateKey_file(ctx_, certificate.key.c_str(), SSL_FILETYPE_PEM), 1);
    ssl_ = SSL_new(ctx_);
    in_ = BIO_new(BIO_s_mem());
    out_ = BIO_new(BIO_s_mem());
    SSL_set_bio(ssl_, in_, out_);
    SSL_set_accept_state(ssl_);
  }
  ~RogueServer() {
    SSL_free(ssl_);
    SSL_CTX_free(ctx_);
  }

  // Identity, the TLS start, and the handshake to its end. False when the peer stopped answering.
  bool Handshake(Peer& peer) {
    if (!peer.OnPacket(BuildPacket({Code::Request, ++id_, type::kIdentity, {}}))) return false;
    auto answer = Send(peer, {tls_flags::kStart, std::nullopt, {}});
    while (answer && !SSL_is_init_finished(ssl_)) {
      BIO_write(in_, answer->data(), static_cast<int>(answer->size()));
      SSL_do_handshake(ssl_);
      answer = SendMessage(peer, TakeOutput());
    }
    return answer.has_value() && SSL_is_init_finished(ssl_);
  }

  // Sends application data through the tunnel; the peer's answer, decrypted.
  std::optional<Bytes> Tunnel(Peer& peer, ByteSpan plain) {
    EXPECT_EQ(SSL_write(ssl_, plain.data(), static_cast<int>(plain.size())), static_cast<int>(plain.size()));
    auto answer = SendMessage(peer, TakeOutput());
    if (!answer) return std::nullopt;
    BIO_write(in_, answer->data(), static_cast<int>(answer->size()));
    Bytes out(4096);
    const int n = SSL_read(ssl_, out.data(), static_cast<int>(out.size()));
    out.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return out;
  }

  void Succeed(Peer& peer) { (void)peer.OnPacket(BuildPacket({Code::Success, ++id_, 0, {}})); }

 private:
  Bytes TakeOutput() {
    Bytes out(static_cast<std::size_t>(BIO_ctrl_pending(out_)));
    if (!out.empty()) BIO_read(out_, out.data(), static_cast<int>(out.size()));
    return out;
  }

  // One request; the peer's TLS data, gathered over its fragments.
  std::optional<Bytes> Send(Peer& peer, const TlsPiece& piece) {
    Bytes gathered;
    TlsPiece next = piece;
    for (;;) {
      const auto response = peer.OnPacket(BuildPacket({Code::Request, ++id_, type_, BuildTlsPiece(next)}));
      if (!response) return std::nullopt;
      const auto packet = ParsePacket(*response);
      const auto answer = packet ? ParseTlsPiece(packet->data) : std::nullopt;
      if (!answer) return std::nullopt;
      gathered.insert(gathered.end(), answer->data.begin(), answer->data.end());
      if ((answer->flags & tls_flags::kMoreFragments) == 0) return gathered;
      next = {0, std::nullopt, {}};  // acknowledge the fragment
    }
  }

  std::optional<Bytes> SendMessage(Peer& peer, ByteSpan message) {
    auto pieces = Fragment(message, 0);
    std::optional<Bytes> answer;
    for (const TlsPiece& piece : pieces) answer = Send(peer, piece);
    return answer;
  }

  std::uint8_t type_;
  std::uint8_t id_ = 0;
  SSL_CTX* ctx_ = nullptr;
  SSL* ssl_ = nullptr;
  BIO* in_ = nullptr;
  BIO* out_ = nullptr;
};

class RogueServerTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = fs::temp_directory_path() / ("eap-rogue-" + std::to_string(::getpid()));
    pki_ = dot1x::testing::MakeTestPki(folder_);
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  static std::function<std::unique_ptr<Method>()> Make(std::uint8_t methodType) {
    return [methodType]() -> std::unique_ptr<Method> {
      TlsConfig config;
      config.validateServer = false;
      std::string error;
      auto tunnel = TlsTunnel::Create(config, error);
      if (!tunnel) return nullptr;
      RandomSource random = [](std::span<std::uint8_t> out) { return wpa::RandomBytes(out); };
      if (methodType == type::kPeap) return MakePeap(std::move(tunnel), {"alice", "wonderland"}, random);
      return MakeTtls(std::move(tunnel), TtlsInner::MsChapV2, {"alice", "wonderland"}, random);
    };
  }

  static inline fs::path folder_;
  static inline dot1x::testing::TestPki pki_;
};

TEST_F(RogueServerTest, SuccessRightAfterTheHandshakeIsRefused) {
  for (const std::uint8_t methodType : {type::kPeap, type::kTtls}) {
    SCOPED_TRACE(methodType == type::kPeap ? "PEAP" : "TTLS-MSCHAPv2");
    Peer peer("anonymous", Make(methodType));
    RogueServer server(pki_.rogueServer, methodType);
    ASSERT_TRUE(server.Handshake(peer)) << "the unchecked server completes TLS";
    EXPECT_EQ(peer.state(), Peer::State::Running);
    server.Succeed(peer);
    EXPECT_EQ(peer.state(), Peer::State::Failed);
    EXPECT_EQ(peer.keys(), KeyingMaterial{});
  }
}

TEST_F(RogueServerTest, PeapResultSuccessWithoutInnerMethodIsRefused) {
  Peer peer("alice", Make(type::kPeap));
  RogueServer server(pki_.rogueServer, type::kPeap);
  ASSERT_TRUE(server.Handshake(peer));
  // The result exchange, full header, type 33, result TLV "success".
  const Bytes result = {0x01, 0x09, 0x00, 0x0B, type::kExtensions, 0x80, 0x03, 0x00, 0x02, 0x00, 0x01};
  (void)server.Tunnel(peer, result);
  EXPECT_EQ(peer.state(), Peer::State::Failed);
  server.Succeed(peer);
  EXPECT_EQ(peer.state(), Peer::State::Failed);
  EXPECT_EQ(peer.keys(), KeyingMaterial{});
}

}  // namespace
}  // namespace eap
