// Published and reference vectors for every derivation and cipher, checked byte for byte.

#include <gtest/gtest.h>

#include <openssl/evp.h>

#include <functional>

#include "libs/dot1x/wpa/crypto.h"
#include "libs/dot1x/wpa/tests/failing_provider.h"
#include "libs/dot1x/wpa/tests/hex.h"

namespace wpa {
namespace {

using test::ArrayFromHex;
using test::AsBytes;
using test::FromHex;
using test::ToHex;

// The message 2 of a CCMP handshake whose MIC field is zero.
const Bytes kMicFrame = FromHex(
    "0103007502010a00100000000000000001"
    "59168bc3a5df18d71efb6423f340088dab9e1ba2bbc58659e07b3764b0de8570"
    "00000000000000000000000000000000"  // IV
    "0000000000000000"                  // RSC
    "0000000000000000"                  // reserved
    "00000000000000000000000000000000"  // MIC
    "0016"
    "30140100000fac040100000fac040100000fac020100");
const Kck kMicKck = ArrayFromHex<Kck>("9a75ef0bde7c209ccae13f54b1b33ea3");

const Pmk kPmkOfThisIsAPassword =
    ArrayFromHex<Pmk>("0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af");

Ptk ReferencePtk() {
  Ptk ptk;
  EXPECT_TRUE(DerivePtk(kPmkOfThisIsAPassword, ArrayFromHex<MacAddress>("a0a1a1a3a4a5"),
                        ArrayFromHex<MacAddress>("b0b1b2b3b4b5"),
                        ArrayFromHex<Nonce>("e0e1e2e3e4e5e6e7e8e9f0f1f2f3f4f5f6f7f8f9fafbfcfdfeff000102030405"),
                        ArrayFromHex<Nonce>("c0c1c2c3c4c5c6c7c8c9d0d1d2d3d4d5d6d7d8d9dadbdcdddedfe0e1e2e3e4e5"),
                        Cipher::Tkip, ptk));
  return ptk;
}

Bytes MicOf(DescriptorVersion version) {
  Mic mic{};
  EXPECT_TRUE(ComputeKeyMic(version, kMicKck, kMicFrame, mic));
  return Bytes(mic.begin(), mic.end());
}

Bytes Pbkdf2(std::string_view password, std::string_view salt, unsigned iterations, std::size_t length) {
  Bytes out(length);
  Pbkdf2HmacSha1(AsBytes(password), AsBytes(salt), iterations, out);
  return out;
}

struct Vector {
  const char* name;
  std::function<Bytes()> compute;
  const char* expectedHex;
};

const Vector kVectors[] = {
    {"psk password/IEEE", [] { const Pmk p = PassPhraseToPmk("password", AsBytes("IEEE")); return Bytes(p.begin(), p.end()); },
     "f42c6fc52df0ebef9ebb4b90b38a5f902e83fe1b135a70e23aed762e9710a12e"},
    {"psk ThisIsAPassword/ThisIsASSID",
     [] { const Pmk p = PassPhraseToPmk("ThisIsAPassword", AsBytes("ThisIsASSID")); return Bytes(p.begin(), p.end()); },
     "0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af"},
    {"pbkdf2 rfc6070 4096 rounds 20 bytes", [] { return Pbkdf2("password", "salt", 4096, 20); },
     "4b007901b765489abead49d926f721d065a429c1"},
    {"pbkdf2 rfc6070 1 round", [] { return Pbkdf2("password", "salt", 1, 20); },
     "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
    {"pbkdf2 rfc6070 25 bytes, long password and salt",
     [] { return Pbkdf2("passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25); },
     "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
    {"pbkdf2 rfc6070 embedded zero bytes", [] { return Pbkdf2(std::string_view("pass\0word", 9), std::string_view("sa\0lt", 5), 4096, 16); },
     "56fa6aa75548099dcc37d7f03425e0c3"},
    {"prf-512 sha1", [] {
       Bytes out(64);
       EXPECT_TRUE(PrfSha1(Bytes(20, 0x0b), "prefix", AsBytes("Hi There"), out));
       return out;
     },
     "bcd4c650b30b9684951829e0d75f9d54b862175ed9f00606e17d8da35402ffee75df78c3d31e0f889f012120c0862beb67753e7439ae242edb8373698356cf5a"},
    {"ptk kck", [] { const Ptk p = ReferencePtk(); return Bytes(p.kck.begin(), p.kck.end()); },
     "379f9852d0199236b94e407ce4c00ec8"},
    {"ptk kek", [] { const Ptk p = ReferencePtk(); return Bytes(p.kek.begin(), p.kek.end()); },
     "47c9edc01c2c6e5b4910caddfb3e51a7"},
    {"ptk tkip tk", [] { const Ptk p = ReferencePtk(); return Bytes(p.tk.begin(), p.tk.end()); },
     "b2360c79e9710fdd58bea93deaf06599db980afbc29c152855740a6ce5ae3827"},
    {"mic hmac-sha1-128", [] { return MicOf(DescriptorVersion::HmacSha1Aes); },
     "6f0489cf7406acf0ae8fcb32bce57c37"},
    {"mic hmac-md5", [] { return MicOf(DescriptorVersion::HmacMd5Rc4); },
     "9cc3faa0c685961d8406bb657745135d"},
    // Reference values for these two were computed with an independent implementation.
    {"pmkid", [] {
       Pmkid p{};
       EXPECT_TRUE(ComputePmkid(kPmkOfThisIsAPassword, ArrayFromHex<MacAddress>("a0a1a1a3a4a5"),
                                ArrayFromHex<MacAddress>("b0b1b2b3b4b5"), p));
       return Bytes(p.begin(), p.end());
     },
     "6ed6b22f7c9bc8dee4b3920e93ca53b2"},
    {"rc4 with 256 bytes skipped, key iv || kek", [] {
       SecretBytes out;
       EXPECT_TRUE(Rc4SkipCrypt(ArrayFromHex<KeyIv>("101112131415161718191a1b1c1d1e1f"),
                                ArrayFromHex<Kek>("000102030405060708090a0b0c0d0e0f"),
                                FromHex("a0a1a2a3a4a5a6a7a8a9aaabacadaeaf"), out));
       return Bytes(out.begin(), out.end());
     },
     "ed6b976927ca0cb89e7446cc12a7aaf0"},
    {"aes key wrap rfc3394 4.1", [] {
       Bytes out;
       EXPECT_TRUE(AesKeyWrap(ArrayFromHex<Kek>("000102030405060708090a0b0c0d0e0f"),
                              FromHex("00112233445566778899aabbccddeeff"), out));
       return out;
     },
     "1fa68b0a8112b447aef34bd8fb5a7b829d3e862371d2cfe5"},
};

TEST(CryptoVectors, MatchByteForByte) {
  for (const Vector& v : kVectors) EXPECT_EQ(ToHex(v.compute()), v.expectedHex) << v.name;
}

// Lengths around the hash block and digest sizes, where a precomputed key schedule or the
// block loop would go wrong first; OpenSSL's own PBKDF2 is the reference.
TEST(Pbkdf2, AgreesWithReferenceAcrossLengths) {
  struct Case {
    std::size_t passwordLength, saltLength;
    unsigned iterations;
    std::size_t outLength;
  };
  const Case cases[] = {{0, 0, 1, 20},  {8, 4, 2, 1},   {63, 32, 3, 32},   {64, 32, 3, 40},
                        {65, 32, 3, 41}, {200, 100, 5, 64}, {13, 64, 4096, 21}};
  for (const Case& c : cases) {
    Bytes password(c.passwordLength);
    Bytes salt(c.saltLength);
    for (std::size_t i = 0; i < password.size(); ++i) password[i] = static_cast<std::uint8_t>(i * 7 + 1);
    for (std::size_t i = 0; i < salt.size(); ++i) salt[i] = static_cast<std::uint8_t>(i * 13 + 5);
    Bytes ours(c.outLength);
    Bytes reference(c.outLength);
    Pbkdf2HmacSha1(password, salt, c.iterations, ours);
    ASSERT_EQ(PKCS5_PBKDF2_HMAC_SHA1(reinterpret_cast<const char*>(password.data()), static_cast<int>(password.size()),
                                     salt.data(), static_cast<int>(salt.size()), static_cast<int>(c.iterations),
                                     static_cast<int>(reference.size()), reference.data()),
              1);
    EXPECT_EQ(ToHex(ours), ToHex(reference)) << c.passwordLength << "/" << c.saltLength << "/" << c.outLength;
  }
}

TEST(AesKeyWrap, UnwrapRestoresAndDetectsCorruption) {
  const Kek kek = ArrayFromHex<Kek>("000102030405060708090a0b0c0d0e0f");
  const Bytes wrapped = FromHex("1fa68b0a8112b447aef34bd8fb5a7b829d3e862371d2cfe5");
  SecretBytes plain;
  ASSERT_TRUE(AesKeyUnwrap(kek, wrapped, plain));
  EXPECT_EQ(ToHex(plain), "00112233445566778899aabbccddeeff");

  for (std::size_t at : {std::size_t{0}, std::size_t{8}, wrapped.size() - 1}) {
    Bytes corrupted = wrapped;
    corrupted[at] ^= 0x01;
    EXPECT_FALSE(AesKeyUnwrap(kek, corrupted, plain)) << "byte " << at;
  }
  EXPECT_FALSE(AesKeyUnwrap(ArrayFromHex<Kek>("ff0102030405060708090a0b0c0d0e0f"), wrapped, plain));
  // Sizes a wrap can never have produced are refused before the cipher sees them.
  EXPECT_FALSE(AesKeyUnwrap(kek, ByteSpan(wrapped).first(16), plain));
  EXPECT_FALSE(AesKeyUnwrap(kek, ByteSpan(wrapped).first(23), plain));
  Bytes out;
  EXPECT_FALSE(AesKeyWrap(kek, Bytes(12, 1), out));
}

TEST(Rc4Skip, DecryptsWhatItEncrypted) {
  const KeyIv iv = ArrayFromHex<KeyIv>("101112131415161718191a1b1c1d1e1f");
  const Kek kek = ArrayFromHex<Kek>("000102030405060708090a0b0c0d0e0f");
  const Bytes plain(40, 0x5a);
  SecretBytes encrypted, decrypted;
  ASSERT_TRUE(Rc4SkipCrypt(iv, kek, plain, encrypted));
  ASSERT_TRUE(Rc4SkipCrypt(iv, kek, encrypted, decrypted));
  EXPECT_EQ(ToHex(decrypted), ToHex(plain));
}

// Without the hash algorithms nothing may come out that looks like a result (a zero MIC would
// match a frame whose MIC field is zero; zero keys would be installed).
TEST(CryptoFailure, EveryDerivationAndIntegrityCodeIsRefused) {
  test::FailingProvider failing;
  Mic mic{};
  EXPECT_FALSE(ComputeKeyMic(DescriptorVersion::HmacMd5Rc4, kMicKck, kMicFrame, mic));
  EXPECT_FALSE(ComputeKeyMic(DescriptorVersion::HmacSha1Aes, kMicKck, kMicFrame, mic));
  Bytes prf(64, 0x77);
  EXPECT_FALSE(PrfSha1(Bytes(20, 0x0b), "prefix", AsBytes("Hi There"), prf));
  EXPECT_TRUE(IsAllZero(prf)) << "a partial output is wiped";
  Ptk ptk;
  EXPECT_FALSE(DerivePtk(kPmkOfThisIsAPassword, MacAddress{1}, MacAddress{2}, Nonce{3}, Nonce{4}, Cipher::Ccmp, ptk));
  EXPECT_TRUE(ptk.tk.empty());
  Pmkid pmkid{};
  EXPECT_FALSE(ComputePmkid(kPmkOfThisIsAPassword, MacAddress{1}, MacAddress{2}, pmkid));
  SecretBytes plain;
  EXPECT_FALSE(AesKeyUnwrap(ArrayFromHex<Kek>("000102030405060708090a0b0c0d0e0f"),
                            FromHex("1fa68b0a8112b447aef34bd8fb5a7b829d3e862371d2cfe5"), plain));
}

// Memory of a secret buffer reads as zeros by the time it is handed back, whichever way it goes.
template <typename T>
struct InspectingAllocator {
  using value_type = T;
  static inline std::vector<Bytes>* returned = nullptr;
  InspectingAllocator() = default;
  template <typename U>
  InspectingAllocator(const InspectingAllocator<U>&) {}
  T* allocate(std::size_t n) { return std::allocator<T>().allocate(n); }
  void deallocate(T* p, std::size_t n) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(p);
    returned->emplace_back(bytes, bytes + n * sizeof(T));
    std::allocator<T>().deallocate(p, n);
  }
  friend bool operator==(const InspectingAllocator&, const InspectingAllocator&) { return true; }
};

TEST(SecretBytes, MemoryIsWipedOnGrowthAndDestruction) {
  std::vector<Bytes> returned;
  InspectingAllocator<std::uint8_t>::returned = &returned;
  {
    std::vector<std::uint8_t, WipingAllocator<std::uint8_t, InspectingAllocator<std::uint8_t>>> secret(16, 0x5a);
    secret.resize(4096, 0xa5);  // moves to a larger block
  }
  ASSERT_EQ(returned.size(), 2u);
  for (const Bytes& block : returned) EXPECT_TRUE(IsAllZero(block)) << block.size() << " bytes";
  InspectingAllocator<std::uint8_t>::returned = nullptr;
}

TEST(KeyHelpers, AllZeroAndConstantTimeEquality) {
  EXPECT_TRUE(IsAllZero(Bytes(16, 0)));
  EXPECT_TRUE(IsAllZero(Bytes{}));
  Bytes lastSet(32, 0);
  lastSet.back() = 1;
  EXPECT_FALSE(IsAllZero(lastSet));
  EXPECT_TRUE(EqualConstantTime(lastSet, lastSet));
  EXPECT_FALSE(EqualConstantTime(lastSet, Bytes(32, 0)));
  EXPECT_FALSE(EqualConstantTime(lastSet, Bytes(31, 0)));
}

}  // namespace
}  // namespace wpa
