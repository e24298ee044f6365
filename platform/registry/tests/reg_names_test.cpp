#include <gtest/gtest.h>

#include "platform/registry/reg_names.h"

namespace platform::regnames {
namespace {

TEST(RegNames, Utf8DecodingAcceptsWellFormedTextOnly) {
  EXPECT_EQ(Utf8ToUtf16("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), std::u16string(u"aé€😀"));
  EXPECT_EQ(Utf8ToUtf16(""), std::u16string());
  EXPECT_EQ(Utf8ToUtf16(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
  const char* malformed[] = {
      "\x80",              // continuation without a lead
      "\xC3",              // truncated
      "\xE2\x82",          // truncated
      "\xC0\xAF",          // overlong '/'
      "\xE0\x80\xAF",      // overlong '/'
      "\xED\xA0\x80",      // encoded surrogate
      "\xF4\x90\x80\x80",  // above U+10FFFF
      "\xFF",
      "a\xC3(",
  };
  for (const char* bytes : malformed) EXPECT_FALSE(Utf8ToUtf16(bytes)) << bytes;
}

TEST(RegNames, Utf8EncodingRoundTripsAndReplacesUnpairedSurrogates) {
  const std::u16string text = u"Größe €😀";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  EXPECT_EQ(Utf16ToUtf8(std::u16string{u'a', 0xD800, u'b'}), "a\xEF\xBF\xBD" "b");
  EXPECT_EQ(Utf16ToUtf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace platform::regnames
