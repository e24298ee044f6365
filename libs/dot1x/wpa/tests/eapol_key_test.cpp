// EAPOL-Key frame codec: field placement, lengths checked against the real size, MIC handling.

#include <gtest/gtest.h>

#include "libs/dot1x/wpa/eapol_key.h"
#include "libs/dot1x/wpa/tests/hex.h"

namespace wpa {
namespace {

using test::ArrayFromHex;
using test::FromHex;
using test::ToHex;

// A CCMP message 2 with its MIC field zero; 22 bytes of key data (the station's RSN element).
const Bytes kMessage2 = FromHex(
    "0103007502010a00100000000000000001"
    "59168bc3a5df18d71efb6423f340088dab9e1ba2bbc58659e07b3764b0de8570"
    "00000000000000000000000000000000"  // IV
    "0000000000000000"                  // RSC
    "0000000000000000"                  // reserved
    "00000000000000000000000000000000"  // MIC
    "0016"
    "30140100000fac040100000fac040100000fac020100");

TEST(EapolKeyCodec, ParsesEveryFieldOfAReferenceFrame) {
  ParsedEapolKey parsed;
  ASSERT_EQ(ParseEapolKey(kMessage2, parsed), EapolParseError::None);
  const EapolKey& key = parsed.key;
  EXPECT_EQ(parsed.frameLength, 121u);
  EXPECT_EQ(key.eapolVersion, 1);
  EXPECT_EQ(key.descriptorType, kDescriptorRsn);
  EXPECT_EQ(key.keyInfo, 0x010a);
  EXPECT_EQ(key.Version(), 2);
  EXPECT_TRUE(key.Has(key_info::kPairwise | key_info::kMic));
  EXPECT_FALSE(key.Has(key_info::kAck));
  EXPECT_EQ(key.keyLength, 16);
  EXPECT_EQ(key.replayCounter, 1u);
  EXPECT_EQ(ToHex(key.nonce), "59168bc3a5df18d71efb6423f340088dab9e1ba2bbc58659e07b3764b0de8570");
  EXPECT_EQ(ToHex(key.keyData), "30140100000fac040100000fac040100000fac020100");
  EXPECT_EQ(SerializeEapolKey(key), kMessage2);
}

TEST(EapolKeyCodec, RoundTripKeepsEveryFieldAndIgnoresLinkPadding) {
  EapolKey key;
  key.eapolVersion = 2;
  key.descriptorType = kDescriptorWpa;
  key.keyInfo = 0x13c9;
  key.keyLength = 32;
  key.replayCounter = 0x0102030405060708;
  key.nonce = ArrayFromHex<Nonce>("000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f");
  key.iv = ArrayFromHex<KeyIv>("a0a1a2a3a4a5a6a7a8a9aaabacadaeaf");
  key.rsc = ArrayFromHex<Rsc>("b0b1b2b3b4b5b6b7");
  key.reserved = ArrayFromHex<std::array<std::uint8_t, 8>>("c0c1c2c3c4c5c6c7");
  key.mic = ArrayFromHex<Mic>("d0d1d2d3d4d5d6d7d8d9dadbdcdddedf");
  key.keyData = FromHex("dd0500501234ff");
  Bytes bytes = SerializeEapolKey(key);
  ASSERT_EQ(bytes.size(), 4u + 95u + 7u);
  EXPECT_EQ(ToHex(ByteSpan(bytes).first(7)), "02030066fe13c9");
  bytes.insert(bytes.end(), 10, 0xee);  // link-layer padding after the body

  ParsedEapolKey parsed;
  ASSERT_EQ(ParseEapolKey(bytes, parsed), EapolParseError::None);
  EXPECT_EQ(parsed.frameLength, 106u);
  EXPECT_EQ(parsed.key.KeyIndex(), 0);
  EXPECT_EQ(SerializeEapolKey(parsed.key), SerializeEapolKey(key));
}

TEST(EapolKeyCodec, RejectsMalformedFrames) {
  auto with = [](std::size_t offset, std::initializer_list<std::uint8_t> patch) {
    Bytes bytes = kMessage2;
    std::copy(patch.begin(), patch.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
    return bytes;
  };
  auto truncated = [](std::size_t size) { return Bytes(kMessage2.begin(), kMessage2.begin() + static_cast<std::ptrdiff_t>(size)); };
  // A frame whose body is one byte short of a descriptor, and sized to match.
  Bytes shortBody = with(2, {0x00, 94});
  shortBody.resize(4 + 94);

  struct Case {
    const char* name;
    Bytes bytes;
    EapolParseError expected;
  };
  const Case cases[] = {
      {"empty", {}, EapolParseError::TruncatedHeader},
      {"three bytes", truncated(3), EapolParseError::TruncatedHeader},
      {"EAP packet type", with(1, {0x00}), EapolParseError::NotKeyFrame},
      {"EAPOL-Start", FromHex("01010000"), EapolParseError::NotKeyFrame},
      {"body length past the end", with(2, {0x00, 0x76}), EapolParseError::TruncatedBody},
      {"frame cut inside the key data", truncated(120), EapolParseError::TruncatedBody},
      {"frame cut inside the descriptor", truncated(50), EapolParseError::TruncatedBody},
      {"header only", FromHex("01030000"), EapolParseError::BodyTooShort},
      {"body shorter than a descriptor", shortBody, EapolParseError::BodyTooShort},
      {"descriptor type 1", with(4, {0x01}), EapolParseError::UnknownDescriptor},
      {"key data length one too many", with(97, {0x00, 0x17}), EapolParseError::KeyDataOverrun},
      {"key data length maximal", with(97, {0xff, 0xff}), EapolParseError::KeyDataOverrun},
  };
  for (const Case& c : cases) {
    ParsedEapolKey parsed;
    EXPECT_EQ(ParseEapolKey(c.bytes, parsed), c.expected) << c.name << ": " << ToString(ParseEapolKey(c.bytes, parsed));
  }
}

TEST(EapolKeyCodec, SignedFrameCarriesTheMicAndAnyAlteredByteBreaksIt) {
  const Kck kck = ArrayFromHex<Kck>("9a75ef0bde7c209ccae13f54b1b33ea3");
  ParsedEapolKey parsed;
  ASSERT_EQ(ParseEapolKey(kMessage2, parsed), EapolParseError::None);
  Bytes signed_;
  ASSERT_TRUE(SerializeSignedEapolKey(parsed.key, DescriptorVersion::HmacSha1Aes, kck, signed_));
  EXPECT_EQ(ToHex(ByteSpan(signed_).subspan(kKeyMicOffset, 16)), "6f0489cf7406acf0ae8fcb32bce57c37");

  ASSERT_EQ(ParseEapolKey(signed_, parsed), EapolParseError::None);
  EXPECT_TRUE(EapolKeyMicValid(signed_, parsed, DescriptorVersion::HmacSha1Aes, kck));
  EXPECT_FALSE(EapolKeyMicValid(signed_, parsed, DescriptorVersion::HmacMd5Rc4, kck));

  // Link padding after the body is not part of the frame: the MIC covers the declared length only.
  Bytes padded = signed_;
  padded.insert(padded.end(), {0x00, 0x00, 0x5a, 0xa5});
  ParsedEapolKey paddedParsed;
  ASSERT_EQ(ParseEapolKey(padded, paddedParsed), EapolParseError::None);
  EXPECT_TRUE(EapolKeyMicValid(padded, paddedParsed, DescriptorVersion::HmacSha1Aes, kck));

  for (std::size_t at : {std::size_t{0}, std::size_t{6}, kKeyMicOffset, signed_.size() - 1}) {
    Bytes altered = signed_;
    altered[at] ^= 0x40;
    ParsedEapolKey alteredParsed;
    ASSERT_EQ(ParseEapolKey(altered, alteredParsed), EapolParseError::None);
    EXPECT_FALSE(EapolKeyMicValid(altered, alteredParsed, DescriptorVersion::HmacSha1Aes, kck)) << "byte " << at;
  }
}

}  // namespace
}  // namespace wpa
