#include "libs/dot1x/wpa/handshake_frames.h"

#include "libs/dot1x/wpa/eapol_key.h"

namespace wpa {

std::uint8_t DescriptorTypeOf(Protocol protocol) {
  switch (protocol) {
    case Protocol::Wpa:
      return kDescriptorWpa;
    case Protocol::Rsn:
      return kDescriptorRsn;
  }
  return kDescriptorRsn;
}

std::uint8_t EapolVersionOf(Protocol protocol) {
  switch (protocol) {
    case Protocol::Wpa:
      return 1;
    case Protocol::Rsn:
      return 2;
  }
  return 2;
}

DescriptorVersion DescriptorVersionOf(Cipher pairwise) {
  switch (pairwise) {
    case Cipher::Tkip:
      return DescriptorVersion::HmacMd5Rc4;
    case Cipher::Ccmp:
      return DescriptorVersion::HmacSha1Aes;
  }
  return DescriptorVersion::HmacSha1Aes;
}

std::string_view ToString(FrameVerdict verdict) {
  switch (verdict) {
    case FrameVerdict::Accepted:
      return "accepted";
    case FrameVerdict::Malformed:
      return "malformed frame";
    case FrameVerdict::Unexpected:
      return "unexpected frame";
    case FrameVerdict::BadMic:
      return "bad MIC";
    case FrameVerdict::Replayed:
      return "replayed frame";
    case FrameVerdict::NonceMismatch:
      return "ANonce differs from message 1";
    case FrameVerdict::ElementMismatch:
      return "security element mismatch";
    case FrameVerdict::ElementUnknown:
      return "access point's security element not known";
    case FrameVerdict::BadKeyData:
      return "bad key data";
    case FrameVerdict::NoRandomness:
      return "no randomness";
    case FrameVerdict::CryptoFailure:
      return "cryptographic primitive failed";
  }
  return "unknown verdict";
}

bool EncryptKeyData(DescriptorVersion version, const Kek& kek, const KeyIv& iv, ByteSpan plain, Bytes& out) {
  switch (version) {
    case DescriptorVersion::HmacMd5Rc4: {
      SecretBytes encrypted;
      if (!Rc4SkipCrypt(iv, kek, plain, encrypted)) return false;
      out.assign(encrypted.begin(), encrypted.end());
      return true;
    }
    case DescriptorVersion::HmacSha1Aes:
      return AesKeyWrap(kek, plain, out);
  }
  return false;
}

bool DecryptKeyData(DescriptorVersion version, const Kek& kek, const KeyIv& iv, ByteSpan encrypted,
                    SecretBytes& out) {
  switch (version) {
    case DescriptorVersion::HmacMd5Rc4:
      return Rc4SkipCrypt(iv, kek, encrypted, out);
    case DescriptorVersion::HmacSha1Aes:
      return AesKeyUnwrap(kek, encrypted, out);
  }
  return false;
}

}  // namespace wpa
