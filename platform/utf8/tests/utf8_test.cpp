#include <gtest/gtest.h>

#include "platform/utf8/utf8.h"

namespace platform::utf8 {
namespace {

TEST(Utf8, RoundTripsAndReplacesWhatIsMalformed) {
  struct Case {
    std::string utf8;
    std::u16string utf16;
  };
  const Case valid[] = {
      {"", u""},
      {"abc", u"abc"},
      {"caf\xc3\xa9", u"caf\u00e9"},
      {"\xe2\x82\xac", u"\u20ac"},
      {"\xf0\x9f\x98\x80", u"\U0001F600"},
  };
  for (const Case& c : valid) {
    EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16);
    EXPECT_EQ(Utf8FromUtf16(c.utf16), c.utf8);
  }
  const Case malformed[] = {
      {"a\xff" "b", u"a\uFFFDb"},
      {"\xc3", u"\uFFFD"},                 // cut short
      {"\xc3(", u"\uFFFD("},               // broken continuation resumes at the breaking byte
      {"\xc0\xaf", u"\uFFFD"},             // overlong
      {"\xed\xa0\x80", u"\uFFFD"},         // an encoded surrogate
      {"\xf4\x90\x80\x80", u"\uFFFD"},     // beyond U+10FFFF
  };
  for (const Case& c : malformed) EXPECT_EQ(Utf16FromUtf8(c.utf8), c.utf16) << c.utf8;
  EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xD800)) + u"x"), "\xef\xbf\xbdx");
  EXPECT_EQ(Utf8FromUtf16(std::u16string(1, char16_t(0xDC00))), "\xef\xbf\xbd");
}

TEST(Utf8, CutKeepsSurrogatePairsWhole) {
  const std::u16string text = u"ab\U0001F600c";
  EXPECT_EQ(CutUtf16(text, 10), text);
  EXPECT_EQ(CutUtf16(text, 4), u"ab\U0001F600");
  EXPECT_EQ(CutUtf16(text, 3), u"ab");
  EXPECT_EQ(CutUtf16(text, 0), u"");
}

}  // namespace
}  // namespace platform::utf8
