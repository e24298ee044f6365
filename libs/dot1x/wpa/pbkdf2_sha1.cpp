// PBKDF2-HMAC-SHA1 with the HMAC key schedule computed once. Every iteration hashes one
// 20-byte message under a fixed 64-byte key block, so after the ipad/opad blocks each of the
// inner and outer hashes is exactly one compression of a pre-padded block. Driving the SHA-1
// compression directly on copies of the keyed states needs the low-level interface, which is
// deprecated in favour of EVP; the EVP context copy costs more than the compression itself.
#define OPENSSL_SUPPRESS_DEPRECATED

#include <openssl/crypto.h>
#include <openssl/sha.h>

#include <algorithm>

#include "libs/dot1x/wpa/crypto.h"

namespace wpa {
namespace {

constexpr std::size_t kBlock = SHA_CBLOCK;
constexpr std::size_t kDigest = SHA_DIGEST_LENGTH;

struct KeyedStates {
  SHA_CTX inner;
  SHA_CTX outer;
};

KeyedStates KeySchedule(ByteSpan password) {
  std::array<std::uint8_t, kBlock> key{};
  if (password.size() > kBlock) {
    SHA1(password.data(), password.size(), key.data());
  } else {
    std::copy(password.begin(), password.end(), key.begin());
  }
  std::array<std::uint8_t, kBlock> pad{};
  KeyedStates states;
  for (std::size_t i = 0; i < kBlock; ++i) pad[i] = key[i] ^ 0x36;
  SHA1_Init(&states.inner);
  SHA1_Update(&states.inner, pad.data(), pad.size());
  for (std::size_t i = 0; i < kBlock; ++i) pad[i] = key[i] ^ 0x5c;
  SHA1_Init(&states.outer);
  SHA1_Update(&states.outer, pad.data(), pad.size());
  OPENSSL_cleanse(key.data(), key.size());
  OPENSSL_cleanse(pad.data(), pad.size());
  return states;
}

// A 20-byte message following one key block: the message, 0x80, zeros, and the bit length
// (64 + 20) * 8 = 672 in the last two bytes.
struct PaddedDigestBlock {
  std::array<std::uint8_t, kBlock> bytes{};
  PaddedDigestBlock() {
    bytes[kDigest] = 0x80;
    bytes[kBlock - 2] = 0x02;
    bytes[kBlock - 1] = 0xa0;
  }
  std::uint8_t* message() { return bytes.data(); }
};

void StoreDigest(const SHA_CTX& state, std::uint8_t* out) {
  const SHA_LONG words[5] = {state.h0, state.h1, state.h2, state.h3, state.h4};
  for (int i = 0; i < 5; ++i) {
    out[4 * i] = static_cast<std::uint8_t>(words[i] >> 24);
    out[4 * i + 1] = static_cast<std::uint8_t>(words[i] >> 16);
    out[4 * i + 2] = static_cast<std::uint8_t>(words[i] >> 8);
    out[4 * i + 3] = static_cast<std::uint8_t>(words[i]);
  }
}

// One HMAC of a 20-byte message held in block.message(); the result replaces it.
inline void HmacDigestInPlace(const KeyedStates& keyed, PaddedDigestBlock& block) {
  SHA_CTX state = keyed.inner;
  SHA1_Transform(&state, block.bytes.data());
  StoreDigest(state, block.message());
  state = keyed.outer;
  SHA1_Transform(&state, block.bytes.data());
  StoreDigest(state, block.message());
}

}  // namespace

void Pbkdf2HmacSha1(ByteSpan password, ByteSpan salt, unsigned iterations, std::span<std::uint8_t> out) {
  KeyedStates keyed = KeySchedule(password);
  PaddedDigestBlock block;
  std::array<std::uint8_t, kDigest> sum{};
  std::size_t done = 0;
  for (std::uint32_t index = 1; done < out.size(); ++index) {
    const std::uint8_t counter[4] = {static_cast<std::uint8_t>(index >> 24), static_cast<std::uint8_t>(index >> 16),
                                     static_cast<std::uint8_t>(index >> 8), static_cast<std::uint8_t>(index)};
    // U1 = HMAC(P, S || INT(i)): the salt has any length, so it takes the general path.
    SHA_CTX state = keyed.inner;
    SHA1_Update(&state, salt.data(), salt.size());
    SHA1_Update(&state, counter, sizeof counter);
    SHA1_Final(block.message(), &state);
    state = keyed.outer;
    SHA1_Update(&state, block.message(), kDigest);
    SHA1_Final(block.message(), &state);
    std::copy_n(block.message(), kDigest, sum.begin());

    for (unsigned round = 1; round < iterations; ++round) {
      HmacDigestInPlace(keyed, block);
      for (std::size_t i = 0; i < kDigest; ++i) sum[i] ^= block.bytes[i];
    }
    const std::size_t take = std::min(kDigest, out.size() - done);
    std::copy_n(sum.begin(), take, out.begin() + static_cast<std::ptrdiff_t>(done));
    done += take;
  }
  OPENSSL_cleanse(sum.data(), sum.size());
  OPENSSL_cleanse(block.bytes.data(), block.bytes.size());
  OPENSSL_cleanse(&keyed, sizeof keyed);
}

}  // namespace wpa
