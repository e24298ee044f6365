#include "libs/dot1x/wpa/eapol_key.h"

#include <algorithm>

namespace wpa {
namespace {

class Reader {
 public:
  explicit Reader(ByteSpan bytes) : bytes_(bytes) {}
  std::uint8_t U8() { return bytes_[pos_++]; }
  std::uint16_t U16() {
    const auto value = static_cast<std::uint16_t>(bytes_[pos_] << 8 | bytes_[pos_ + 1]);
    pos_ += 2;
    return value;
  }
  std::uint64_t U64() {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) value = value << 8 | bytes_[pos_++];
    return value;
  }
  template <std::size_t N>
  void Copy(std::array<std::uint8_t, N>& out) {
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_), N, out.begin());
    pos_ += N;
  }
  ByteSpan Take(std::size_t n) {
    const ByteSpan part = bytes_.subspan(pos_, n);
    pos_ += n;
    return part;
  }

 private:
  ByteSpan bytes_;
  std::size_t pos_ = 0;
};

void PutU16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

}  // namespace

std::string_view ToString(EapolParseError error) {
  switch (error) {
    case EapolParseError::None:
      return "no error";
    case EapolParseError::TruncatedHeader:
      return "frame shorter than the EAPOL header";
    case EapolParseError::NotKeyFrame:
      return "not an EAPOL-Key frame";
    case EapolParseError::TruncatedBody:
      return "body length exceeds the frame";
    case EapolParseError::BodyTooShort:
      return "body shorter than a key descriptor";
    case EapolParseError::UnknownDescriptor:
      return "unknown key descriptor type";
    case EapolParseError::KeyDataOverrun:
      return "key data length exceeds the body";
  }
  return "unknown error";
}

EapolParseError ParseEapolKey(ByteSpan bytes, ParsedEapolKey& out) {
  if (bytes.size() < kEapolHeaderLength) return EapolParseError::TruncatedHeader;
  Reader header(bytes);
  EapolKey key;
  key.eapolVersion = header.U8();
  if (header.U8() != kEapolTypeKey) return EapolParseError::NotKeyFrame;
  const std::size_t bodyLength = header.U16();
  if (bodyLength > bytes.size() - kEapolHeaderLength) return EapolParseError::TruncatedBody;
  if (bodyLength < kKeyDescriptorFixedLength) return EapolParseError::BodyTooShort;

  Reader body(bytes.subspan(kEapolHeaderLength, bodyLength));
  key.descriptorType = body.U8();
  if (key.descriptorType != kDescriptorRsn && key.descriptorType != kDescriptorWpa) {
    return EapolParseError::UnknownDescriptor;
  }
  key.keyInfo = body.U16();
  key.keyLength = body.U16();
  key.replayCounter = body.U64();
  body.Copy(key.nonce);
  body.Copy(key.iv);
  body.Copy(key.rsc);
  body.Copy(key.reserved);
  body.Copy(key.mic);
  const std::size_t keyDataLength = body.U16();
  if (keyDataLength > bodyLength - kKeyDescriptorFixedLength) return EapolParseError::KeyDataOverrun;
  const ByteSpan keyData = body.Take(keyDataLength);
  key.keyData.assign(keyData.begin(), keyData.end());

  out.key = std::move(key);
  out.frameLength = kEapolHeaderLength + bodyLength;
  return EapolParseError::None;
}

Bytes SerializeEapolKey(const EapolKey& key) {
  Bytes out;
  out.reserve(kEapolHeaderLength + kKeyDescriptorFixedLength + key.keyData.size());
  out.push_back(key.eapolVersion);
  out.push_back(kEapolTypeKey);
  PutU16(out, static_cast<std::uint16_t>(kKeyDescriptorFixedLength + key.keyData.size()));
  out.push_back(key.descriptorType);
  PutU16(out, key.keyInfo);
  PutU16(out, key.keyLength);
  for (int shift = 56; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(key.replayCounter >> shift));
  out.insert(out.end(), key.nonce.begin(), key.nonce.end());
  out.insert(out.end(), key.iv.begin(), key.iv.end());
  out.insert(out.end(), key.rsc.begin(), key.rsc.end());
  out.insert(out.end(), key.reserved.begin(), key.reserved.end());
  out.insert(out.end(), key.mic.begin(), key.mic.end());
  PutU16(out, static_cast<std::uint16_t>(key.keyData.size()));
  out.insert(out.end(), key.keyData.begin(), key.keyData.end());
  return out;
}

bool SerializeSignedEapolKey(const EapolKey& key, DescriptorVersion version, const Kck& kck, Bytes& out) {
  Bytes frame = SerializeEapolKey(key);
  std::fill_n(frame.begin() + kKeyMicOffset, Mic{}.size(), 0);
  Mic mic{};
  if (!ComputeKeyMic(version, kck, frame, mic)) return false;
  std::copy(mic.begin(), mic.end(), frame.begin() + kKeyMicOffset);
  out = std::move(frame);
  return true;
}

bool EapolKeyMicValid(ByteSpan bytes, const ParsedEapolKey& parsed, DescriptorVersion version, const Kck& kck) {
  if (parsed.frameLength > bytes.size() || parsed.frameLength < kKeyMicOffset + Mic{}.size()) return false;
  Bytes covered(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(parsed.frameLength));
  std::fill_n(covered.begin() + kKeyMicOffset, Mic{}.size(), 0);
  Mic expected{};
  return ComputeKeyMic(version, kck, covered, expected) && EqualConstantTime(expected, parsed.key.mic);
}

}  // namespace wpa
