#include "platform/text/text.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(CodePage, EveryByteSurvivesARoundTrip) {
  std::string bytes;
  for (int b = 0; b < 256; ++b) bytes.push_back(static_cast<char>(b));
  const std::u16string wide = WidenCodePage(bytes);
  ASSERT_EQ(wide.size(), 256u);
  for (int b = 0; b < 256; ++b) EXPECT_EQ(wide[b], static_cast<char16_t>(b));
  EXPECT_EQ(NarrowCodePage(wide), bytes);
}

TEST(CodePage, CharactersBeyondLatin1NarrowToQuestionMarks) {
  EXPECT_EQ(NarrowCodePage(u"a\u20ACb\u0100\u00FF"), "a?b?\xFF");
}

struct Utf8Case {
  const char* name;
  std::string utf8;
  std::u16string utf16;
};

TEST(Utf8, DecodesWellFormedAndReplacesMalformedSequences) {
  const Utf8Case cases[] = {
      {"ascii", "Link", u"Link"},
      {"two bytes", "Gr\xC3\xB6\xC3\x9F" "e", u"Gr\u00F6\u00DFe"},
      {"three bytes", "\xE2\x82\xAC", u"\u20AC"},
      {"four bytes make a surrogate pair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"largest code point", "\xF4\x8F\xBF\xBF", u"\xDBFF\xDFFF"},
      {"stray continuation byte", "a\x80" "b", u"a\uFFFDb"},
      {"cut sequence keeps the next character", "\xE2\x82" "A", u"\uFFFD" "A"},
      {"cut at the end", "x\xF0\x9F\x98", u"x\uFFFD"},
      {"overlong slash", "\xC0\xAF", u"\uFFFD\uFFFD"},
      {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},
      {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"bytes never used", "\xFE\xFF", u"\uFFFD\uFFFD"},
      {"embedded NUL kept", std::string("a\0b", 3), std::u16string(u"a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.utf8), c.utf16) << c.name;
}

TEST(Utf8, EncodesPairsAndReplacesLoneSurrogates) {
  const Utf8Case cases[] = {
      {"mixed", "Gr\xC3\xB6\xC3\x9F" "e \xE2\x82\xAC", u"Gr\u00F6\u00DFe \u20AC"},
      {"pair", "\xF0\x9F\x98\x80", u"\xD83D\xDE00"},
      {"lone high at the end", "a\xEF\xBF\xBD", u"a\xD83D"},
      {"lone high before a letter", "\xEF\xBF\xBDz", u"\xD83Dz"},
      {"lone low", "\xEF\xBF\xBD", u"\xDE00"},
      {"reversed pair", "\xEF\xBF\xBD\xEF\xBF\xBD", u"\xDE00\xD83D"},
  };
  for (const auto& c : cases) EXPECT_EQ(ToUtf8(c.utf16), c.utf8) << c.name;
  EXPECT_EQ(FromUtf8(ToUtf8(cases[0].utf16)), cases[0].utf16);
}

TEST(Utf8, StrictDecodingRefusesEveryMalformedForm) {
  EXPECT_EQ(FromUtf8Strict("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), std::u16string(u"a\u00E9\u20AC\U0001F600"));
  EXPECT_EQ(FromUtf8Strict(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
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
  for (const char* bytes : malformed) EXPECT_FALSE(FromUtf8Strict(bytes)) << bytes;
}

TEST(Utf16, CutNeverLeavesHalfAPair) {
  const std::u16string text = u"ab\U0001F600c";
  EXPECT_EQ(CutUtf16(text, 3), u"ab");
  EXPECT_EQ(CutUtf16(text, 4), u"ab\U0001F600");
  EXPECT_EQ(CutUtf16(text, 10), text);
  EXPECT_EQ(CutUtf16(text, 0), u"");
}

TEST(LetterCase, FoldsAsciiAndLatin1LettersOnly) {
  EXPECT_EQ(ToUpper(u"Language_1_section \u00E4\u00E9\u00FE\u00FF"), u"LANGUAGE_1_SECTION \u00C4\u00C9\u00DE\u0178");
  // Not letters, or without a one-character capital: left alone.
  EXPECT_EQ(ToUpper(u"\u00F7\u00DF\u00B5 1;[]"), u"\u00F7\u00DF\u00B5 1;[]");
}

TEST(LetterCase, ComparesWithoutCase) {
  struct {
    std::u16string_view a, b;
    bool equal;
  } const cases[] = {
      {u"MAIN_INFO", u"main_info", true},
      {u"\u00E9t\u00E9", u"\u00C9T\u00C9", true},
      {u"", u"", true},
      {u"abc", u"abd", false},
      {u"abc", u"abcd", false},
      {u"\u00F7", u"\u00D7", false},  // division and multiplication signs differ by 0x20 too
      {u"@", u"`", false},
  };
  for (const auto& c : cases) EXPECT_EQ(EqualsIgnoreCase(c.a, c.b), c.equal) << ToUtf8(c.a) << " / " << ToUtf8(c.b);
}

TEST(Trim, RemovesBlanksTabsAndLineEndsAtBothEndsOnly) {
  EXPECT_EQ(Trim(u" \t\r\n a b \t\r\n"), u"a b");
  EXPECT_EQ(Trim(u" \t "), u"");
  EXPECT_EQ(Trim(u""), u"");
  EXPECT_EQ(Trim(u"\u00A0x"), u"\u00A0x");
}

}  // namespace
}  // namespace platform
