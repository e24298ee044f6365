// EAP, EAPOL, TLS-piece and TTLS attribute framing on untrusted bytes.

#include <gtest/gtest.h>

#include "libs/dot1x/eap/tls_framing.h"
#include "libs/dot1x/eap/ttls_avp.h"
#include "libs/dot1x/wpa/tests/hex.h"

namespace eap {
namespace {

using wpa::test::FromHex;

TEST(EapPacket, ParsesAndRefusesByTheLengthField) {
  const auto identity = ParsePacket(FromHex("0107000601" "41" "ffff"));  // two bytes of padding
  ASSERT_TRUE(identity);
  EXPECT_EQ(identity->code, Code::Request);
  EXPECT_EQ(identity->id, 7);
  EXPECT_EQ(identity->type, type::kIdentity);
  EXPECT_EQ(identity->data, Bytes{0x41});
  const auto success = ParsePacket(FromHex("03090004"));
  ASSERT_TRUE(success);
  EXPECT_EQ(success->code, Code::Success);

  struct Case {
    const char* name;
    const char* hex;
  };
  for (const Case& c : {Case{"short header", "010700"}, Case{"length below the header", "01070003"},
                        Case{"length beyond the bytes", "0107000901"}, Case{"request without type", "01070004"},
                        Case{"unknown code", "09070005" "01"}}) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(ParsePacket(FromHex(c.hex)));
  }
  EXPECT_EQ(BuildPacket(*identity), FromHex("010700060141"));
}

TEST(Eapol, BodyIsExactlyTheStatedLength) {
  const auto frame = ParseEapol(FromHex("0100000403010004" "0000"));
  ASSERT_TRUE(frame);
  EXPECT_EQ(frame->type, kEapolPacket);
  EXPECT_EQ(frame->body, FromHex("03010004"));
  EXPECT_FALSE(ParseEapol(FromHex("01000005030100")));
  EXPECT_FALSE(ParseEapol(FromHex("0100")));
}

TEST(TlsFraming, FragmentsCarryTheLengthFirstAndReassembleToTheMessage) {
  Bytes message(2500);
  for (std::size_t i = 0; i < message.size(); ++i) message[i] = static_cast<std::uint8_t>(i * 7);
  auto pieces = Fragment(message, 0, 1000);
  ASSERT_EQ(pieces.size(), 3u);
  EXPECT_EQ(pieces[0].flags, tls_flags::kLengthIncluded | tls_flags::kMoreFragments);
  EXPECT_EQ(pieces[0].totalLength, 2500u);
  EXPECT_EQ(pieces[1].flags, tls_flags::kMoreFragments);
  EXPECT_EQ(pieces[2].flags, 0);
  TlsReassembly reassembly;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const auto parsed = ParseTlsPiece(BuildTlsPiece(pieces[i]));
    ASSERT_TRUE(parsed);
    EXPECT_EQ(reassembly.Add(*parsed),
              i + 1 < pieces.size() ? TlsReassembly::Result::NeedMore : TlsReassembly::Result::Complete);
  }
  EXPECT_EQ(reassembly.Take(), message);

  const auto single = Fragment(FromHex("16030300"), 0, 1000);
  ASSERT_EQ(single.size(), 1u);
  EXPECT_EQ(single[0].flags, 0) << "one piece needs no length";
  EXPECT_EQ(Fragment({}, 0).size(), 1u) << "an empty message is one acknowledgement";
}

TEST(TlsFraming, ReassemblyIsBounded) {
  struct Case {
    const char* name;
    std::optional<std::uint32_t> total;
    std::size_t pieceSize;
  };
  for (const Case& c : {Case{"stated length over 64 KiB", 65537, 100},
                        Case{"more data than stated", 1500, 1000},
                        Case{"no length, pieces adding up past 64 KiB", std::nullopt, 1400}}) {
    SCOPED_TRACE(c.name);
    TlsReassembly reassembly;
    TlsPiece piece{tls_flags::kMoreFragments, c.total, Bytes(c.pieceSize, 0x16)};
    TlsReassembly::Result result = TlsReassembly::Result::NeedMore;
    for (int i = 0; i < 100 && result == TlsReassembly::Result::NeedMore; ++i) {
      result = reassembly.Add(piece);
      piece.totalLength.reset();
    }
    EXPECT_EQ(result, TlsReassembly::Result::Refused);
    EXPECT_EQ(reassembly.Add({0, std::nullopt, Bytes(1)}), TlsReassembly::Result::Refused) << "stays refused";
  }
  EXPECT_FALSE(ParseTlsPiece(FromHex("800000")));  // length flag without its 4 bytes
  EXPECT_FALSE(ParseTlsPiece({}));
}

TEST(TtlsAvp, RoundTripWithVendorAndPadding) {
  Bytes out;
  ttls::AppendAvp(out, {ttls::kUserName, 0, true, FromHex("616c696365")});
  ttls::AppendAvp(out, {ttls::kMsChap2Success, ttls::kVendorMicrosoft, true, FromHex("0153")});
  EXPECT_EQ(out, FromHex("00000001" "4000000d" "616c696365" "000000" "0000001a" "c000000e" "00000137" "0153" "0000"));
  const auto avps = ttls::ParseAvps(out);
  ASSERT_TRUE(avps);
  ASSERT_EQ(avps->size(), 2u);
  const ttls::Avp* success = ttls::Find(*avps, ttls::kMsChap2Success, ttls::kVendorMicrosoft);
  ASSERT_NE(success, nullptr);
  EXPECT_EQ(success->data, FromHex("0153"));
  EXPECT_EQ(ttls::Find(*avps, ttls::kMsChap2Success), nullptr) << "vendor is part of the name";
  // The last attribute's padding may be left out.
  EXPECT_TRUE(ttls::ParseAvps(FromHex("00000001" "40000009" "61")));
  for (const char* bad : {"00000001" "40000007", "00000001" "40000010" "6161", "00000001" "c000000b" "000001"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ttls::ParseAvps(FromHex(bad)));
  }
}

}  // namespace
}  // namespace eap
