#include "libs/dot1x/wpa/crypto.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/provider.h>
#include <openssl/rand.h>

#include <algorithm>
#include <memory>

namespace wpa {
namespace {

struct CipherCtxFree {
  void operator()(EVP_CIPHER_CTX* ctx) const { EVP_CIPHER_CTX_free(ctx); }
};
using CipherCtx = std::unique_ptr<EVP_CIPHER_CTX, CipherCtxFree>;

// One HMAC; false when the provider cannot compute it (nothing is then written to out).
bool Hmac(const EVP_MD* md, ByteSpan key, ByteSpan data, SecretBytes& out) {
  SecretBytes mac(EVP_MAX_MD_SIZE);
  unsigned length = 0;
  if (md == nullptr ||
      HMAC(md, key.data(), static_cast<int>(key.size()), data.data(), data.size(), mac.data(), &length) == nullptr ||
      length == 0) {
    return false;
  }
  mac.resize(length);
  out = std::move(mac);
  return true;
}

// The first out.size() bytes of an HMAC.
bool TruncatedHmac(const EVP_MD* md, ByteSpan key, ByteSpan data, std::span<std::uint8_t> out) {
  SecretBytes mac;
  if (!Hmac(md, key, data, mac) || mac.size() < out.size()) return false;
  std::copy_n(mac.begin(), out.size(), out.begin());
  return true;
}

// RC4 lives only in the legacy provider; a private library context keeps it away from the
// process-wide default providers.
class LegacyRc4 {
 public:
  LegacyRc4() {
    libctx_ = OSSL_LIB_CTX_new();
    if (libctx_ == nullptr) return;
    provider_ = OSSL_PROVIDER_load(libctx_, "legacy");
    if (provider_ != nullptr) cipher_ = EVP_CIPHER_fetch(libctx_, "RC4", nullptr);
  }
  ~LegacyRc4() {
    EVP_CIPHER_free(cipher_);
    if (provider_ != nullptr) OSSL_PROVIDER_unload(provider_);
    OSSL_LIB_CTX_free(libctx_);
  }
  LegacyRc4(const LegacyRc4&) = delete;
  LegacyRc4& operator=(const LegacyRc4&) = delete;
  const EVP_CIPHER* cipher() const { return cipher_; }

 private:
  OSSL_LIB_CTX* libctx_ = nullptr;
  OSSL_PROVIDER* provider_ = nullptr;
  EVP_CIPHER* cipher_ = nullptr;
};

// The buffer may hold plain text, so it is a secret one whether the run succeeds or not.
bool RunCipher(EVP_CIPHER_CTX* ctx, ByteSpan in, std::size_t outCapacity, SecretBytes& out) {
  SecretBytes buffer(outCapacity + 16);
  int written = 0;
  int finalWritten = 0;
  if (EVP_CipherUpdate(ctx, buffer.data(), &written, in.data(), static_cast<int>(in.size())) != 1) return false;
  if (EVP_CipherFinal_ex(ctx, buffer.data() + written, &finalWritten) != 1) return false;
  buffer.resize(static_cast<std::size_t>(written + finalWritten));
  out = std::move(buffer);
  return true;
}

bool AesWrapCipher(const Kek& kek, ByteSpan in, int encrypt, std::size_t outCapacity, SecretBytes& out) {
  CipherCtx ctx(EVP_CIPHER_CTX_new());
  if (!ctx) return false;
  EVP_CIPHER_CTX_set_flags(ctx.get(), EVP_CIPHER_CTX_FLAG_WRAP_ALLOW);
  if (EVP_CipherInit_ex(ctx.get(), EVP_aes_128_wrap(), nullptr, kek.data(), nullptr, encrypt) != 1) return false;
  return RunCipher(ctx.get(), in, outCapacity, out);
}

}  // namespace

Pmk PassPhraseToPmk(std::string_view passPhrase, ByteSpan ssid) {
  Pmk pmk{};
  Pbkdf2HmacSha1(ByteSpan(reinterpret_cast<const std::uint8_t*>(passPhrase.data()), passPhrase.size()), ssid, 4096,
                 pmk);
  return pmk;
}

bool ComputePmkid(ByteSpan pmk, const MacAddress& aa, const MacAddress& spa, Pmkid& out) {
  static constexpr std::string_view kLabel = "PMK Name";
  Bytes data(kLabel.begin(), kLabel.end());
  data.insert(data.end(), aa.begin(), aa.end());
  data.insert(data.end(), spa.begin(), spa.end());
  return TruncatedHmac(EVP_sha1(), pmk, data, out);
}

bool PrfSha1(ByteSpan key, std::string_view label, ByteSpan data, std::span<std::uint8_t> out) {
  SecretBytes input(label.begin(), label.end());
  input.push_back(0);
  input.insert(input.end(), data.begin(), data.end());
  input.push_back(0);  // block counter
  std::size_t done = 0;
  for (std::uint8_t counter = 0; done < out.size(); ++counter) {
    input.back() = counter;
    SecretBytes block;
    if (!Hmac(EVP_sha1(), key, input, block)) {
      WipeMemory(out.data(), out.size());
      return false;
    }
    const std::size_t take = std::min(block.size(), out.size() - done);
    std::copy_n(block.begin(), take, out.begin() + static_cast<std::ptrdiff_t>(done));
    done += take;
  }
  return true;
}

std::size_t TemporalKeyLength(Cipher cipher) {
  switch (cipher) {
    case Cipher::Tkip:
      return 32;
    case Cipher::Ccmp:
      return 16;
  }
  return 16;
}

Ptk::~Ptk() {
  OPENSSL_cleanse(kck.data(), kck.size());
  OPENSSL_cleanse(kek.data(), kek.size());
}

bool DerivePtk(ByteSpan pmk, const MacAddress& aa, const MacAddress& spa, const Nonce& aNonce, const Nonce& sNonce,
               Cipher pairwise, Ptk& out) {
  Bytes data;
  data.reserve(2 * 6 + 2 * 32);
  const auto& lowMac = std::min(aa, spa);
  const auto& highMac = std::max(aa, spa);
  const auto& lowNonce = std::min(aNonce, sNonce);
  const auto& highNonce = std::max(aNonce, sNonce);
  data.insert(data.end(), lowMac.begin(), lowMac.end());
  data.insert(data.end(), highMac.begin(), highMac.end());
  data.insert(data.end(), lowNonce.begin(), lowNonce.end());
  data.insert(data.end(), highNonce.begin(), highNonce.end());

  const std::size_t tkLength = TemporalKeyLength(pairwise);
  SecretBytes expanded(32 + tkLength);
  out = Ptk{};
  if (!PrfSha1(pmk, "Pairwise key expansion", data, expanded)) return false;
  std::copy_n(expanded.begin(), 16, out.kck.begin());
  std::copy_n(expanded.begin() + 16, 16, out.kek.begin());
  out.tk.assign(expanded.begin() + 32, expanded.end());
  return true;
}

bool ComputeKeyMic(DescriptorVersion version, const Kck& kck, ByteSpan frame, Mic& out) {
  const EVP_MD* md = nullptr;
  switch (version) {
    case DescriptorVersion::HmacMd5Rc4:
      md = EVP_md5();
      break;
    case DescriptorVersion::HmacSha1Aes:
      md = EVP_sha1();
      break;
  }
  return TruncatedHmac(md, kck, frame, out);
}

bool Rc4Crypt(ByteSpan key, std::size_t skip, ByteSpan in, SecretBytes& out) {
  static const LegacyRc4 rc4;
  if (rc4.cipher() == nullptr || key.empty()) return false;
  CipherCtx ctx(EVP_CIPHER_CTX_new());
  const bool ok = ctx && EVP_CipherInit_ex(ctx.get(), rc4.cipher(), nullptr, nullptr, nullptr, 1) == 1 &&
                  EVP_CIPHER_CTX_set_key_length(ctx.get(), static_cast<int>(key.size())) == 1 &&
                  EVP_CipherInit_ex(ctx.get(), nullptr, nullptr, key.data(), nullptr, 1) == 1;
  if (!ok) return false;
  std::array<std::uint8_t, 256> discard{};
  bool discarded = true;
  for (std::size_t left = skip; left > 0 && discarded;) {
    const std::size_t n = std::min(left, discard.size());
    int written = 0;
    discarded = EVP_CipherUpdate(ctx.get(), discard.data(), &written, discard.data(), static_cast<int>(n)) == 1;
    left -= n;
  }
  OPENSSL_cleanse(discard.data(), discard.size());  // key stream
  return discarded && RunCipher(ctx.get(), in, in.size(), out);
}

bool Rc4SkipCrypt(const KeyIv& iv, const Kek& kek, ByteSpan in, SecretBytes& out) {
  std::array<std::uint8_t, 32> key{};
  std::copy(iv.begin(), iv.end(), key.begin());
  std::copy(kek.begin(), kek.end(), key.begin() + 16);
  const bool ok = Rc4Crypt(key, 256, in, out);
  OPENSSL_cleanse(key.data(), key.size());
  return ok;
}

bool AesKeyWrap(const Kek& kek, ByteSpan plain, Bytes& out) {
  if (plain.size() < 16 || plain.size() % 8 != 0) return false;
  SecretBytes wrapped;
  if (!AesWrapCipher(kek, plain, 1, plain.size() + 8, wrapped)) return false;
  out.assign(wrapped.begin(), wrapped.end());
  return true;
}

bool AesKeyUnwrap(const Kek& kek, ByteSpan wrapped, SecretBytes& out) {
  if (wrapped.size() < 24 || wrapped.size() % 8 != 0) return false;
  return AesWrapCipher(kek, wrapped, 0, wrapped.size(), out);
}

bool RandomBytes(std::span<std::uint8_t> out) {
  return RAND_bytes(out.data(), static_cast<int>(out.size())) == 1;
}

void WipeMemory(void* memory, std::size_t size) { OPENSSL_cleanse(memory, size); }

bool IsAllZero(ByteSpan bytes) {
  return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; });
}

bool EqualConstantTime(ByteSpan a, ByteSpan b) {
  return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace wpa
