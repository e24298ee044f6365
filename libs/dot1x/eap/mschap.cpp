#include "libs/dot1x/eap/mschap.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/provider.h>

#include <cctype>
#include <memory>

#include "libs/dot1x/wpa/crypto.h"

namespace eap::mschap {
namespace {

// MD4 and single DES live only in the legacy provider; a private library context keeps it away
// from the process-wide default providers.
class LegacyAlgorithms {
 public:
  LegacyAlgorithms() {
    libctx_ = OSSL_LIB_CTX_new();
    if (libctx_ == nullptr) return;
    legacy_ = OSSL_PROVIDER_load(libctx_, "legacy");
    default_ = OSSL_PROVIDER_load(libctx_, "default");
    if (legacy_ == nullptr) return;
    md4_ = EVP_MD_fetch(libctx_, "MD4", nullptr);
    des_ = EVP_CIPHER_fetch(libctx_, "DES-ECB", nullptr);
  }
  ~LegacyAlgorithms() {
    EVP_MD_free(md4_);
    EVP_CIPHER_free(des_);
    if (default_ != nullptr) OSSL_PROVIDER_unload(default_);
    if (legacy_ != nullptr) OSSL_PROVIDER_unload(legacy_);
    OSSL_LIB_CTX_free(libctx_);
  }
  LegacyAlgorithms(const LegacyAlgorithms&) = delete;
  LegacyAlgorithms& operator=(const LegacyAlgorithms&) = delete;

  static const LegacyAlgorithms& Get() {
    static const LegacyAlgorithms algorithms;
    return algorithms;
  }
  const EVP_MD* md4() const { return md4_; }
  const EVP_CIPHER* des() const { return des_; }

 private:
  OSSL_LIB_CTX* libctx_ = nullptr;
  OSSL_PROVIDER* legacy_ = nullptr;
  OSSL_PROVIDER* default_ = nullptr;
  EVP_MD* md4_ = nullptr;
  EVP_CIPHER* des_ = nullptr;
};

bool Digest(const EVP_MD* md, ByteSpan a, ByteSpan b, ByteSpan c, std::span<std::uint8_t> out) {
  std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> ctx(EVP_MD_CTX_new(), &EVP_MD_CTX_free);
  std::array<std::uint8_t, EVP_MAX_MD_SIZE> full{};
  unsigned length = 0;
  if (md == nullptr || !ctx || EVP_DigestInit_ex(ctx.get(), md, nullptr) != 1 ||
      EVP_DigestUpdate(ctx.get(), a.data(), a.size()) != 1 || EVP_DigestUpdate(ctx.get(), b.data(), b.size()) != 1 ||
      EVP_DigestUpdate(ctx.get(), c.data(), c.size()) != 1 || EVP_DigestFinal_ex(ctx.get(), full.data(), &length) != 1 ||
      length < out.size()) {
    return false;
  }
  std::copy(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(out.size()), out.begin());
  OPENSSL_cleanse(full.data(), full.size());
  return true;
}

// 7 key bytes spread over 8, each with its low bit free (DES ignores parity).
std::array<std::uint8_t, 8> DesKey(const std::uint8_t* k) {
  return {k[0],
          static_cast<std::uint8_t>(k[0] << 7 | k[1] >> 1),
          static_cast<std::uint8_t>(k[1] << 6 | k[2] >> 2),
          static_cast<std::uint8_t>(k[2] << 5 | k[3] >> 3),
          static_cast<std::uint8_t>(k[3] << 4 | k[4] >> 4),
          static_cast<std::uint8_t>(k[4] << 3 | k[5] >> 5),
          static_cast<std::uint8_t>(k[5] << 2 | k[6] >> 6),
          static_cast<std::uint8_t>(k[6] << 1)};
}

bool DesEncrypt(const Challenge8& clear, const std::uint8_t* key7, std::uint8_t* out) {
  const EVP_CIPHER* des = LegacyAlgorithms::Get().des();
  std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(), &EVP_CIPHER_CTX_free);
  auto key = DesKey(key7);
  int written = 0;
  const bool ok = des != nullptr && ctx && EVP_EncryptInit_ex(ctx.get(), des, nullptr, key.data(), nullptr) == 1 &&
                  EVP_CIPHER_CTX_set_padding(ctx.get(), 0) == 1 &&
                  EVP_EncryptUpdate(ctx.get(), out, &written, clear.data(), static_cast<int>(clear.size())) == 1 &&
                  written == 8;
  OPENSSL_cleanse(key.data(), key.size());
  return ok;
}

Bytes Utf16Le(std::string_view text) {
  Bytes out;
  out.reserve(text.size() * 2);
  for (char c : text) {
    out.push_back(static_cast<std::uint8_t>(c));
    out.push_back(0);
  }
  return out;
}

}  // namespace

std::optional<NtHash> NtPasswordHash(std::string_view password) {
  Bytes unicode = Utf16Le(password);
  NtHash hash{};
  const bool ok = Digest(LegacyAlgorithms::Get().md4(), unicode, {}, {}, hash);
  OPENSSL_cleanse(unicode.data(), unicode.size());
  if (!ok) return std::nullopt;
  return hash;
}

std::optional<NtResponse> ChallengeResponse(const Challenge8& challenge, const NtHash& hash) {
  std::array<std::uint8_t, 21> padded{};
  std::copy(hash.begin(), hash.end(), padded.begin());
  NtResponse response{};
  bool ok = true;
  for (int i = 0; i < 3; ++i) ok = ok && DesEncrypt(challenge, padded.data() + 7 * i, response.data() + 8 * i);
  OPENSSL_cleanse(padded.data(), padded.size());
  if (!ok) return std::nullopt;
  return response;
}

std::string_view WithoutDomain(std::string_view userName) {
  const auto slash = userName.find('\\');
  return slash == std::string_view::npos ? userName : userName.substr(slash + 1);
}

Challenge8 ChallengeHash(const Challenge16& peerChallenge, const Challenge16& authenticatorChallenge,
                         std::string_view userName) {
  Challenge8 out{};
  (void)Digest(EVP_sha1(), peerChallenge, authenticatorChallenge, AsBytes(WithoutDomain(userName)), out);
  return out;
}

std::optional<NtResponse> GenerateNtResponseV2(const Challenge16& authenticatorChallenge,
                                               const Challenge16& peerChallenge, std::string_view userName,
                                               std::string_view password) {
  auto hash = NtPasswordHash(password);
  if (!hash) return std::nullopt;
  auto response = ChallengeResponse(ChallengeHash(peerChallenge, authenticatorChallenge, userName), *hash);
  OPENSSL_cleanse(hash->data(), hash->size());
  return response;
}

std::optional<std::string> AuthenticatorResponse(std::string_view password, const NtResponse& ntResponse,
                                                 const Challenge16& peerChallenge,
                                                 const Challenge16& authenticatorChallenge, std::string_view userName) {
  static constexpr char kMagic1[] = "Magic server to client signing constant";
  static constexpr char kMagic2[] = "Pad to make it do more than one iteration";
  auto hash = NtPasswordHash(password);
  if (!hash) return std::nullopt;
  NtHash hashHash{};
  std::array<std::uint8_t, 20> digest{};
  const Challenge8 challenge = ChallengeHash(peerChallenge, authenticatorChallenge, userName);
  const bool ok = Digest(LegacyAlgorithms::Get().md4(), *hash, {}, {}, hashHash) &&
                  Digest(EVP_sha1(), hashHash, ntResponse, AsBytes(std::string_view(kMagic1, sizeof kMagic1 - 1)),
                         digest) &&
                  Digest(EVP_sha1(), digest, challenge, AsBytes(std::string_view(kMagic2, sizeof kMagic2 - 1)), digest);
  OPENSSL_cleanse(hash->data(), hash->size());
  OPENSSL_cleanse(hashHash.data(), hashHash.size());
  if (!ok) return std::nullopt;
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out = "S=";
  for (std::uint8_t b : digest) {
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 15]);
  }
  return out;
}

bool VerifyAuthenticatorResponse(std::string_view message, std::string_view expected) {
  if (message.size() < expected.size()) return false;
  // Servers differ in the case of the hexadecimal digits.
  std::string got(message.substr(0, expected.size()));
  for (char& c : got) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return wpa::EqualConstantTime(AsBytes(got), AsBytes(expected));
}

}  // namespace eap::mschap
