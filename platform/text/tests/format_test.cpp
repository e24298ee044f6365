#include <clocale>
#include <cmath>
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "platform/text/text.h"

namespace platform {
namespace {

struct FormatCase {
  std::u16string result;
  std::u16string expected;
};

void ExpectAll(std::initializer_list<FormatCase> cases) {
  int row = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(c.result), ToUtf8(c.expected)) << "row " << row;
    ++row;
  }
}

TEST(Format, EveryFormatTheSystemUses) {
  const std::u16string unit = u"Mbps";
  ExpectAll({
      {Format(u"%s   %s", u"Ventrel Plus", u"CHIP5"), u"Ventrel Plus   CHIP5"},
      {Format(u"%d", -2346), u"-2346"},
      {Format(u"%d%%", 57), u"57%"},
      {Format(u"%d dBm", -67), u"-67 dBm"},
      {Format(u"%s BSSID=%s", u"Connected to Access Point.", u"02:1A:2B:3C:4D:5E"),
       u"Connected to Access Point. BSSID=02:1A:2B:3C:4D:5E"},
      {Format(u"%d.%d.%02d%02X.%04d", 1, 2, 3, 0x0A, 2005), u"1.2.030A.2005"},
      {Format(u"%d.%d.%02d%02X.%04d", 4, 10, 11, 0xC4, 7), u"4.10.11C4.0007"},
      {Format(u"%d.%d.%d.%d - %s %s", 2, 26, 3, 0, u"Mar  5 2026", u"09:05:01"),
       u"2.26.3.0 - Mar  5 2026 09:05:01"},
      {Format(u"%d %s", 11, unit), u"11 Mbps"},
      {Format(u"%.1f %s", 5.5, unit), u"5.5 Mbps"},
      {Format(u"%.1f %s", 2346 / 1000.0, unit), u"2.3 Mbps"},
      {Format(u"%2x ", 0x5), u" 5 "},
      {Format(u"%2x ", 0xAB), u"ab "},
      {Format(u"#%d", 4), u"#4"},
      {Format(u"%s%d", u"MatchingDeviceId", 19), u"MatchingDeviceId19"},
      {Format(u"%s%d_%d", u"WEPKey", 64, 1), u"WEPKey64_1"},
      {Format(u"%s -W \"%s\" -E \"%s\"", u"QVBrgApp.EXE", u"Wireless 1", u"Wired 2"),
       u"QVBrgApp.EXE -W \"Wireless 1\" -E \"Wired 2\""},
      {Format(u"%s -issued by %s", u"Station 7", u"Test CA"), u"Station 7 -issued by Test CA"},
      {Format(u"%s(%d)", u"Unknown type", 9), u"Unknown type(9)"},
      {Format(u"Q:%s S:%s", u"E", u"?"), u"Q:E S:?"},
      {Format(u"%s\n%s\n", u"Line 1", u"Line 2"), u"Line 1\nLine 2\n"},
      {Format(u"%s: \"%s\".", u"Profile not found", u"home"), u"Profile not found: \"home\"."},
      {Format(u"< %d (%s) >", 2346, u"Disable"), u"< 2346 (Disable) >"},
      {Format(u"< %d >", 512), u"< 512 >"},
      {Format(u"Language_%d_Section", 3), u"Language_3_Section"},
      {Format(u"SYSTEM\\Services\\%s", u"VUZoza"), u"SYSTEM\\Services\\VUZoza"},
      {Format(u"%lu", std::uint32_t{4'000'000'000u}), u"4000000000"},
      {Format(u"%s", u"Gr\u00F6\u00DFe \u20AC \xD83D\xDE00"), u"Gr\u00F6\u00DFe \u20AC \xD83D\xDE00"},
  });
}

TEST(Format, IntegersAreThirtyTwoBitsUnlessLongLong) {
  ExpectAll({
      {Format(u"%d", -1), u"-1"},
      {Format(u"%i", 42), u"42"},
      {Format(u"%u", -1), u"4294967295"},
      {Format(u"%x %X", -1, 255), u"ffffffff FF"},
      {Format(u"%d", std::uint32_t{0xFFFFFFFFu}), u"-1"},
      {Format(u"%ld %lu", -5L, 7UL), u"-5 7"},
      {Format(u"%hd", 12), u"12"},
      {Format(u"%lld", std::int64_t{-9'000'000'000}), u"-9000000000"},
      {Format(u"%llu", std::uint64_t{18'446'744'073'709'551'615u}), u"18446744073709551615"},
      {Format(u"%llX", std::uint64_t{0x1234567890ABCDEFu}), u"1234567890ABCDEF"},
  });
}

TEST(Format, FlagsWidthAndPrecision) {
  ExpectAll({
      {Format(u"[%5d]", 42), u"[   42]"},
      {Format(u"[%-5d]", 42), u"[42   ]"},
      {Format(u"[%05d]", -42), u"[-0042]"},
      {Format(u"[%+d][% d]", 3, 3), u"[+3][ 3]"},
      {Format(u"[%#x]", 255), u"[0xff]"},
      {Format(u"[%.3d]", 7), u"[007]"},
      {Format(u"[%6s][%-6s]", u"ab", u"cd"), u"[    ab][cd    ]"},
      {Format(u"[%.2s]", u"abcdef"), u"[ab]"},
      {Format(u"[%3c][%-3c]", u'x', 0xE9), u"[  x][\u00E9  ]"},
      {Format(u"[%8.3f]", 3.14159), u"[   3.142]"},
      {Format(u"[%f]", 0.5), u"[0.500000]"},
      {Format(u"[%07.2f][%-7.1f][%+.0f][% .1f]", -3.14159, 2.25, 2.5, 1.0), u"[-003.14][2.2    ][+2][ 1.0]"},
      {Format(u"[%#.0f][%5f][%05f]", 3.0, INFINITY, -INFINITY), u"[3.][  inf][ -inf]"},
      {Format(u"100%%"), u"100%"},
  });
}

TEST(Format, DecimalPointIgnoresTheProcessLocale) {
  const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no locale with a decimal comma";
  const std::u16string text = Format(u"%.1f %s", 5.5, u"Mbps");
  std::setlocale(LC_NUMERIC, previous.c_str());
  EXPECT_EQ(text, u"5.5 Mbps");
}

TEST(Format, BadFormatsOrArgumentsNeverReadPastTheList) {
  ExpectAll({
      {Format(u"a%db"), u"ab"},
      {Format(u"%s and %s", u"one"), u"one and "},
      {Format(u"[%d][%s]", u"text", 5), u"[][]"},
      {Format(u"[%f][%c]", 5, u"x"), u"[][]"},
      {Format(u"%d", 1, 2, 3), u"1"},
      {Format(u"ends in %", 1), u"ends in %"},
      {Format(u"cut %-0", 1), u"cut %-0"},
      {Format(u"%y%d", 7), u"%y7"},
      {Format(u"%n%d", 7), u"%n7"},
      {Format(u"%5%"), u"%5%"},
      {Format(u"%s", static_cast<const char16_t*>(nullptr)), u""},
  });
}

TEST(Format, HugeWidthsAndPrecisionsAreCapped) {
  EXPECT_EQ(Format(u"%99999999999d", 1).size(), 4096u);
  EXPECT_EQ(Format(u"%-99999s|", u"x").size(), 4097u);
  const std::u16string longNumber = Format(u"%.99999f", 1e308);
  EXPECT_EQ(longNumber.size(), 309u + 1u + 4096u);
}

}  // namespace
}  // namespace platform
