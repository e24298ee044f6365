#include "libs/dot1x/eap/peap_method.h"

#include <openssl/crypto.h>

#include "libs/dot1x/eap/mschap.h"
#include "libs/dot1x/eap/tls_method.h"

namespace eap {
namespace {

namespace opcode {
constexpr std::uint8_t kChallenge = 1;
constexpr std::uint8_t kResponse = 2;
constexpr std::uint8_t kSuccess = 3;
constexpr std::uint8_t kFailure = 4;
}  // namespace opcode

constexpr std::uint16_t kTlvMandatory = 0x8000;
constexpr std::uint16_t kTlvResult = 3;
constexpr std::uint16_t kResultSuccess = 1;
constexpr std::uint16_t kResultFailure = 2;
constexpr std::uint8_t kResponseValueSize = 49;

// EAP-MSCHAPv2 as the peer of one exchange.
class MsChapV2 {
 public:
  MsChapV2(const InnerCredentials& credentials, RandomSource random) : credentials_(credentials), random_(std::move(random)) {}

  // The response data (after the type byte), or none when the request is to be dropped.
  std::optional<Bytes> OnRequest(ByteSpan data) {
    if (data.empty()) return std::nullopt;
    switch (data[0]) {
      case opcode::kChallenge:
        return OnChallenge(data);
      case opcode::kSuccess:
        if (!expected_ || !mschap::VerifyAuthenticatorResponse(Message(data), *expected_)) {
          failed_ = true;  // a server that cannot prove it knows the password
          return std::nullopt;
        }
        succeeded_ = true;
        return Bytes{opcode::kSuccess};
      case opcode::kFailure:
        failed_ = true;
        return Bytes{opcode::kFailure};
      default:
        return std::nullopt;
    }
  }
  bool succeeded() const { return succeeded_ && !failed_; }
  bool failed() const { return failed_; }

 private:
  static std::string_view Message(ByteSpan data) {
    constexpr std::size_t kHeader = 4;  // op code, id, length
    if (data.size() < kHeader) return {};
    return std::string_view(reinterpret_cast<const char*>(data.data()) + kHeader, data.size() - kHeader);
  }

  std::optional<Bytes> OnChallenge(ByteSpan data) {
    constexpr std::size_t kChallengeAt = 5;
    if (data.size() < kChallengeAt + 16 || data[4] != 16 || succeeded_) return std::nullopt;
    mschap::Challenge16 authenticator{};
    std::copy(data.begin() + kChallengeAt, data.begin() + kChallengeAt + 16, authenticator.begin());
    mschap::Challenge16 peer{};
    if (!random_(peer)) {
      failed_ = true;
      return std::nullopt;
    }
    const auto nt = mschap::GenerateNtResponseV2(authenticator, peer, credentials_.identity, credentials_.password);
    expected_ = nt ? mschap::AuthenticatorResponse(credentials_.password, *nt, peer, authenticator, credentials_.identity)
                   : std::nullopt;
    if (!expected_) {
      failed_ = true;
      return std::nullopt;
    }
    Bytes out{opcode::kResponse, data[1]};
    Append16(out, static_cast<std::uint32_t>(4 + 1 + kResponseValueSize + credentials_.identity.size()));
    out.push_back(kResponseValueSize);
    out.insert(out.end(), peer.begin(), peer.end());
    out.resize(out.size() + 8, 0);  // reserved
    out.insert(out.end(), nt->begin(), nt->end());
    out.push_back(0);  // flags
    const ByteSpan name = AsBytes(credentials_.identity);
    out.insert(out.end(), name.begin(), name.end());
    return out;
  }

  const InnerCredentials& credentials_;
  RandomSource random_;
  std::optional<std::string> expected_;
  bool succeeded_ = false;
  bool failed_ = false;
};

class Peap final : public TlsMethod {
 public:
  Peap(std::unique_ptr<TlsTunnel> tunnel, InnerCredentials credentials, RandomSource random)
      : TlsMethod(type::kPeap, std::move(tunnel), "client EAP encryption"),
        credentials_(std::move(credentials)),
        inner_(credentials_, std::move(random)) {}
  ~Peap() override { OPENSSL_cleanse(credentials_.password.data(), credentials_.password.size()); }

 protected:
  Bytes OnTunnelData(ByteSpan plain) override {
    if (IsExtensionsRequest(plain)) return OnResult(plain);
    // Header-less inner request: type, then data.
    if (plain.empty()) return {};
    const std::uint8_t innerType = plain[0];
    const ByteSpan data = plain.subspan(1);
    switch (innerType) {
      case type::kIdentity: {
        Bytes out{type::kIdentity};
        const ByteSpan name = AsBytes(credentials_.identity);
        out.insert(out.end(), name.begin(), name.end());
        return out;
      }
      case type::kMsChapV2: {
        auto answer = inner_.OnRequest(data);
        if (inner_.failed()) Fail();
        if (!answer) return {};
        answer->insert(answer->begin(), type::kMsChapV2);
        return *answer;
      }
      default:
        return Bytes{type::kNak, type::kMsChapV2};
    }
  }

  bool InnerSucceeded() const override { return resultSuccess_; }

 private:
  // An extensions request keeps its EAP header: code, id, length equal to the whole, type 33.
  static bool IsExtensionsRequest(ByteSpan plain) {
    return plain.size() > kEapHeaderSize && plain[0] == static_cast<std::uint8_t>(Code::Request) &&
           Get16(plain.data() + 2) == plain.size() && plain[kEapHeaderSize] == type::kExtensions;
  }

  Bytes OnResult(ByteSpan plain) {
    const std::uint8_t id = plain[1];
    std::optional<std::uint16_t> result;
    for (std::size_t at = kEapHeaderSize + 1; at + 4 <= plain.size();) {
      const std::uint16_t tlvType = Get16(plain.data() + at) & ~kTlvMandatory;
      const std::size_t length = Get16(plain.data() + at + 2);
      if (at + 4 + length > plain.size()) break;
      if (tlvType == kTlvResult && length == 2) result = Get16(plain.data() + at + 4);
      at += 4 + length;
    }
    // Success only when the server says so and the inner method already proved the server.
    const bool success = result == kResultSuccess && inner_.succeeded();
    Bytes tlvs;
    Append16(tlvs, kTlvMandatory | kTlvResult);
    Append16(tlvs, 2);
    Append16(tlvs, success ? kResultSuccess : kResultFailure);
    if (success) {
      resultSuccess_ = true;
    } else {
      Fail();
    }
    return BuildPacket({Code::Response, id, type::kExtensions, tlvs});
  }

  InnerCredentials credentials_;
  MsChapV2 inner_;
  bool resultSuccess_ = false;
};

}  // namespace

std::unique_ptr<Method> MakePeap(std::unique_ptr<TlsTunnel> tunnel, InnerCredentials credentials, RandomSource random) {
  return std::make_unique<Peap>(std::move(tunnel), std::move(credentials), std::move(random));
}

}  // namespace eap
