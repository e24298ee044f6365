#include "libs/dot1x/eap/wep_key_frame.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <algorithm>
#include <array>

#include "libs/dot1x/wpa/crypto.h"

namespace eap {
namespace {

// Descriptor type, key length, replay counter, IV, index, signature.
constexpr std::size_t kFixedBody = 1 + 2 + 8 + 16 + 1 + 16;
constexpr std::size_t kIvAt = kEapolHeaderSize + 11;
constexpr std::size_t kIndexAt = kEapolHeaderSize + 27;
constexpr std::size_t kSignatureAt = kEapolHeaderSize + 28;
constexpr std::uint8_t kUnicastFlag = 0x80;

bool IsWepKeyLength(std::size_t n) { return n == 5 || n == 13 || n == 29; }

// False when HMAC-MD5 is not available: a frame is then neither signed nor accepted.
bool Signature(ByteSpan msk, ByteSpan frame, std::array<std::uint8_t, 16>& out) {
  unsigned length = 0;
  return HMAC(EVP_md5(), msk.data() + 32, 32, frame.data(), frame.size(), out.data(), &length) != nullptr &&
         length == out.size();
}

bool Crypt(ByteSpan iv, ByteSpan msk, ByteSpan in, Bytes& out) {
  std::array<std::uint8_t, 48> rc4Key{};
  std::copy(iv.begin(), iv.end(), rc4Key.begin());
  std::copy(msk.begin(), msk.begin() + 32, rc4Key.begin() + 16);
  wpa::SecretBytes crypted;
  const bool ok = wpa::Rc4Crypt(rc4Key, 0, in, crypted);
  OPENSSL_cleanse(rc4Key.data(), rc4Key.size());
  if (ok) out.assign(crypted.begin(), crypted.end());
  return ok;
}

}  // namespace

std::optional<Bytes> BuildWepKeyFrame(std::uint8_t eapolVersion, const WepKey& key, ByteSpan msk,
                                      const wpa::KeyIv& iv) {
  if (msk.size() < kWepFrameKeySize || !IsWepKeyLength(key.key.size())) return std::nullopt;
  Bytes encrypted;
  if (!Crypt(iv, msk, key.key, encrypted)) return std::nullopt;
  Bytes body{kRc4KeyDescriptor};
  Append16(body, static_cast<std::uint32_t>(key.key.size()));
  Append32(body, static_cast<std::uint32_t>(key.replayCounter >> 32));
  Append32(body, static_cast<std::uint32_t>(key.replayCounter));
  body.insert(body.end(), iv.begin(), iv.end());
  body.push_back(static_cast<std::uint8_t>((key.unicast ? kUnicastFlag : 0) | (key.index & 3)));
  body.resize(body.size() + 16, 0);  // signature, filled in below
  body.insert(body.end(), encrypted.begin(), encrypted.end());
  Bytes frame = BuildEapol(eapolVersion, kEapolKey, body);
  std::array<std::uint8_t, 16> signature{};
  if (!Signature(msk, frame, signature)) return std::nullopt;
  std::copy(signature.begin(), signature.end(), frame.begin() + kSignatureAt);
  return frame;
}

std::optional<WepKey> OpenWepKeyFrame(ByteSpan eapolFrame, ByteSpan msk) {
  const auto eapol = ParseEapol(eapolFrame);
  if (!eapol || eapol->type != kEapolKey || eapol->body.size() < kFixedBody || eapol->body[0] != kRc4KeyDescriptor ||
      msk.size() < kWepFrameKeySize) {
    return std::nullopt;
  }
  Bytes frame(eapolFrame.begin(), eapolFrame.begin() + static_cast<std::ptrdiff_t>(kEapolHeaderSize + eapol->body.size()));
  std::array<std::uint8_t, 16> given{};
  std::copy(frame.begin() + kSignatureAt, frame.begin() + kSignatureAt + 16, given.begin());
  std::fill(frame.begin() + kSignatureAt, frame.begin() + kSignatureAt + 16, 0);
  std::array<std::uint8_t, 16> expected{};
  if (!Signature(msk, frame, expected) || !wpa::EqualConstantTime(expected, given)) return std::nullopt;
  const std::uint8_t* body = eapol->body.data();
  WepKey key;
  const std::size_t length = Get16(body + 1);
  key.replayCounter = static_cast<std::uint64_t>(Get32(body + 3)) << 32 | Get32(body + 7);
  key.unicast = (frame[kIndexAt] & kUnicastFlag) != 0;
  key.index = frame[kIndexAt] & 3;
  if (!IsWepKeyLength(length)) return std::nullopt;
  const ByteSpan carried(body + kFixedBody, eapol->body.size() - kFixedBody);
  if (carried.empty()) {
    if (!key.unicast) return std::nullopt;
    key.key.assign(msk.begin(), msk.begin() + static_cast<std::ptrdiff_t>(length));
    return key;
  }
  if (carried.size() != length) return std::nullopt;
  if (!Crypt(ByteSpan(frame.data() + kIvAt, 16), msk, carried, key.key)) return std::nullopt;
  return key;
}

}  // namespace eap
