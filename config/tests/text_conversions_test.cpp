#include "config/text_conversions.h"

#include <gtest/gtest.h>

#include <vector>

namespace config {
namespace {

struct HexCase {
  const char* text;
  std::size_t maximum;
  std::vector<std::uint8_t> bytes;  // produced bytes; the rest of `maximum` must be zero
};

TEST(HexTextToBytes, ReadsTokensPairsAndStops) {
  const HexCase cases[] = {
      {"02 04 0B 16", 16, {0x02, 0x04, 0x0B, 0x16}},
      {"020B16", 16, {0x02, 0x0B, 0x16}},
      {"2 4", 16, {0x02, 0x04}},
      {"0G 11", 16, {}},                      // stops at G, the pending 0 is dropped
      {"11 2G", 16, {0x11}},
      {"01 02 03 04 05 06", 4, {1, 2, 3, 4}},  // stops after the maximum
      {"\t0a\t0B  ", 16, {0x0A, 0x0B}},
      {"123", 16, {0x12, 0x03}},
      {"", 16, {}},
      {"FF", 0, {}},
  };
  for (const auto& c : cases) {
    std::vector<std::uint8_t> out(c.maximum + 1, 0xEE);  // one guard byte past the maximum
    std::size_t produced = HexTextToBytes(c.text, out.data(), c.maximum);
    SCOPED_TRACE(c.text);
    EXPECT_EQ(produced, c.bytes.size());
    for (std::size_t i = 0; i < c.maximum; ++i) {
      EXPECT_EQ(out[i], i < c.bytes.size() ? c.bytes[i] : 0) << "byte " << i;
    }
    EXPECT_EQ(out[c.maximum], 0xEE) << "wrote past the maximum";
  }
}

TEST(BytesToHexText, UpperCasePairsWithOptionalBlanks) {
  const std::uint8_t bytes[] = {0x00, 0x1A, 0xFF};
  EXPECT_EQ(BytesToHexText(bytes, 3, true), "00 1A FF");
  EXPECT_EQ(BytesToHexText(bytes, 3, false), "001AFF");
  EXPECT_EQ(BytesToHexText(bytes, 0, true), "");
}

TEST(WidenNarrow, ByteForByteUpToTheTerminator) {
  EXPECT_EQ(WidenText(std::string("\xE9\x41\0tail", 7)), u"\u00E9A");
  EXPECT_EQ(NarrowText(u"\u0141\u00E9"), "\x41\xE9");  // low 8 bits, no code-page mapping
  std::string all;
  for (int b = 1; b < 256; ++b) all.push_back(static_cast<char>(b));
  EXPECT_EQ(NarrowText(WidenText(all)), all);
}

}  // namespace
}  // namespace config
