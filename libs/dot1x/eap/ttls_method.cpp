#include "libs/dot1x/eap/ttls_method.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>

#include <cctype>

#include "libs/dot1x/eap/mschap.h"
#include "libs/dot1x/eap/tls_method.h"
#include "libs/dot1x/eap/ttls_avp.h"

namespace eap {
namespace {

using ttls::Avp;
using ttls::kVendorMicrosoft;

constexpr std::size_t kPasswordBlock = 16;

Bytes Md5(std::uint8_t ident, std::string_view password, ByteSpan challenge) {
  Bytes out(16);
  unsigned length = 0;
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  if (!ctx || EVP_DigestInit_ex(ctx.get(), EVP_md5(), nullptr) != 1 || EVP_DigestUpdate(ctx.get(), &ident, 1) != 1 ||
      EVP_DigestUpdate(ctx.get(), password.data(), password.size()) != 1 ||
      EVP_DigestUpdate(ctx.get(), challenge.data(), challenge.size()) != 1 ||
      EVP_DigestFinal_ex(ctx.get(), out.data(), &length) != 1) {
    return {};
  }
  return out;
}

class Ttls final : public TlsMethod {
 public:
  Ttls(std::unique_ptr<TlsTunnel> tunnel, TtlsInner inner, InnerCredentials credentials, RandomSource random)
      : TlsMethod(type::kTtls, std::move(tunnel), "ttls keying material"),
        inner_(inner),
        credentials_(std::move(credentials)),
        random_(std::move(random)) {}
  ~Ttls() override { OPENSSL_cleanse(credentials_.password.data(), credentials_.password.size()); }

 protected:
  Bytes OnEstablished() override {
    Bytes out;
    ttls::AppendAvp(out, {ttls::kUserName, 0, true, ToBytes(credentials_.identity)});
    const bool ok = AppendCredentials(out);
    if (!ok) {
      OPENSSL_cleanse(out.data(), out.size());
      Fail();
      return {};
    }
    credentialsSent_ = true;
    return out;
  }

  Bytes OnTunnelData(ByteSpan plain) override {
    const auto avps = ttls::ParseAvps(plain);
    if (!avps) return {};
    if (ttls::Find(*avps, ttls::kMsChapError, kVendorMicrosoft) != nullptr) {
      Fail();
      return {};
    }
    const Avp* success = ttls::Find(*avps, ttls::kMsChap2Success, kVendorMicrosoft);
    if (success != nullptr) {
      // Ident byte, then "S=" and the authenticator response.
      const bool proven = inner_ == TtlsInner::MsChapV2 && expected_ && success->data.size() > 1 &&
                          success->data[0] == ident_ &&
                          mschap::VerifyAuthenticatorResponse(
                              std::string_view(reinterpret_cast<const char*>(success->data.data()) + 1,
                                               success->data.size() - 1),
                              *expected_);
      if (!proven) Fail();
      serverProven_ = proven;
    }
    return {};  // an empty answer acknowledges
  }

  bool InnerSucceeded() const override {
    return credentialsSent_ && (inner_ != TtlsInner::MsChapV2 || serverProven_);
  }

 private:
  // The challenge of CHAP and MS-CHAP comes from the tunnel, so the server cannot replay one.
  bool Challenge(std::span<std::uint8_t> out) const { return tunnel().Export("ttls challenge", out); }

  bool AppendCredentials(Bytes& out) {
    const std::string& password = credentials_.password;
    switch (inner_) {
      case TtlsInner::Pap: {
        Bytes padded = ToBytes(password);
        padded.resize(std::max<std::size_t>(kPasswordBlock, (padded.size() + kPasswordBlock - 1) / kPasswordBlock *
                                                                kPasswordBlock),
                      0);
        ttls::AppendAvp(out, {ttls::kUserPassword, 0, true, padded});
        OPENSSL_cleanse(padded.data(), padded.size());
        return true;
      }
      case TtlsInner::Chap: {
        std::array<std::uint8_t, 17> challenge{};
        if (!Challenge(challenge)) return false;
        const ByteSpan sixteen(challenge.data(), 16);
        Bytes response{challenge[16]};
        const Bytes digest = Md5(challenge[16], password, sixteen);
        if (digest.empty()) return false;
        response.insert(response.end(), digest.begin(), digest.end());
        ttls::AppendAvp(out, {ttls::kChapChallenge, 0, true, Bytes(sixteen.begin(), sixteen.end())});
        ttls::AppendAvp(out, {ttls::kChapPassword, 0, true, response});
        return true;
      }
      case TtlsInner::MsChap: {
        std::array<std::uint8_t, 9> challenge{};
        mschap::Challenge8 eight{};
        if (!Challenge(challenge)) return false;
        std::copy(challenge.begin(), challenge.begin() + 8, eight.begin());
        auto hash = mschap::NtPasswordHash(password);
        const auto nt = hash ? mschap::ChallengeResponse(eight, *hash) : std::nullopt;
        if (hash) OPENSSL_cleanse(hash->data(), hash->size());
        if (!nt) return false;
        Bytes response{challenge[8], 1};  // ident, then flags: use the NT response
        response.resize(response.size() + 24, 0);  // no LAN Manager response
        response.insert(response.end(), nt->begin(), nt->end());
        ttls::AppendAvp(out, {ttls::kMsChapChallenge, kVendorMicrosoft, true, Bytes(eight.begin(), eight.end())});
        ttls::AppendAvp(out, {ttls::kMsChapResponse, kVendorMicrosoft, true, response});
        return true;
      }
      case TtlsInner::MsChapV2: {
        std::array<std::uint8_t, 17> challenge{};
        mschap::Challenge16 authenticator{};
        mschap::Challenge16 peer{};
        if (!Challenge(challenge) || !random_(peer)) return false;
        std::copy(challenge.begin(), challenge.begin() + 16, authenticator.begin());
        ident_ = challenge[16];
        const auto nt = mschap::GenerateNtResponseV2(authenticator, peer, credentials_.identity, password);
        if (!nt) return false;
        expected_ = mschap::AuthenticatorResponse(password, *nt, peer, authenticator, credentials_.identity);
        if (!expected_) return false;
        Bytes response{ident_, 0};
        response.insert(response.end(), peer.begin(), peer.end());
        response.resize(response.size() + 8, 0);  // reserved
        response.insert(response.end(), nt->begin(), nt->end());
        ttls::AppendAvp(out,
                        {ttls::kMsChapChallenge, kVendorMicrosoft, true, Bytes(authenticator.begin(), authenticator.end())});
        ttls::AppendAvp(out, {ttls::kMsChap2Response, kVendorMicrosoft, true, response});
        return true;
      }
    }
    return false;
  }

  TtlsInner inner_;
  InnerCredentials credentials_;
  RandomSource random_;
  std::uint8_t ident_ = 0;
  std::optional<std::string> expected_;
  bool credentialsSent_ = false;
  bool serverProven_ = false;
};

}  // namespace

std::optional<TtlsInner> TtlsInnerByName(std::string_view name) {
  auto is = [name](std::string_view want) {
    if (name.size() != want.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(want[i]))) {
        return false;
      }
    }
    return true;
  };
  if (is("PAP")) return TtlsInner::Pap;
  if (is("CHAP")) return TtlsInner::Chap;
  if (is("MSCHAP")) return TtlsInner::MsChap;
  if (is("MSCHAPv2")) return TtlsInner::MsChapV2;
  return std::nullopt;
}

std::unique_ptr<Method> MakeTtls(std::unique_ptr<TlsTunnel> tunnel, TtlsInner inner, InnerCredentials credentials,
                                 RandomSource random) {
  return std::make_unique<Ttls>(std::move(tunnel), inner, std::move(credentials), std::move(random));
}

}  // namespace eap
