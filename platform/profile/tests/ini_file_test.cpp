#include "platform/profile/ini_file.h"

#include <climits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "platform/text/text.h"

namespace platform {
namespace {

constexpr std::size_t kBuffer = 4096;

std::string Utf16Bytes(std::u16string_view text, bool bigEndian) {
  std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (char16_t c : text) {
    const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
    bytes += bigEndian ? std::string{high, low} : std::string{low, high};
  }
  return bytes;
}

// A literal with the NUL bytes inside it kept.
template <std::size_t N>
std::string Bytes(const char (&literal)[N]) {
  return std::string(literal, N - 1);
}

// One 8-bit file with every rule of the format in it.
const char kRules[] =
    "; comment\n"
    "# also a comment\n"
    "Orphan=before any section\n"
    "[Main_Info]\n"
    "Company_Abbrev = Acme Radio \n"
    "company_abbrev=second\n"
    " \tTabbed\t=\tvalue with tabs\t\n"
    "Empty=\n"
    "Quoted=\"  padded  \"\n"
    "Single='x'\n"
    "Mismatched=\"x'\n"
    "OnlyQuote=\"\n"
    "Inner=a \"b\" c\n"
    "Trailing=value ; not a comment\n"
    "Equals=a=b\n"
    "NoEquals\n"
    "=no name\n"
    "  ; Indented=comment\n"
    "[ main_info ]\n"
    "Late=under a repeated header\n"
    "[Other]\n"
    "Key=other\n"
    "[\xC4nderung]\n"
    "\xDC" "ber=\xE4\xF6\xFC\n"
    "[Unclosed\n"
    "K=v\n"
    "[Lang] trailing text\n"
    "T=t\n";

TEST(IniFile, FindsValuesByTheRulesOfThePlatform) {
  const auto ini = IniFile::Parse(kRules);
  struct {
    std::u16string_view section, key, expected;
  } const cases[] = {
      {u"Main_Info", u"Company_Abbrev", u"Acme Radio"},
      {u"MAIN_INFO", u"COMPANY_ABBREV", u"Acme Radio"},  // and the first key wins
      {u"main_info", u"tabbed", u"value with tabs"},
      {u"Main_Info", u"Empty", u""},  // present but empty is not missing
      {u"Main_Info", u"Quoted", u"  padded  "},
      {u"Main_Info", u"Single", u"x"},
      {u"Main_Info", u"Mismatched", u"\"x'"},
      {u"Main_Info", u"OnlyQuote", u"\""},
      {u"Main_Info", u"Inner", u"a \"b\" c"},
      {u"Main_Info", u"Trailing", u"value ; not a comment"},
      {u"Main_Info", u"Equals", u"a=b"},
      {u"Main_Info", u"NoEquals", u"<missing>"},
      {u"Main_Info", u"", u"<missing>"},
      {u"Main_Info", u"; Indented", u"<missing>"},
      {u"Main_Info", u"Late", u"<missing>"},  // the first section wins
      {u"Main_Info", u"Key", u"<missing>"},
      {u"Other", u"Key", u"other"},
      {u"Other", u"Company_Abbrev", u"<missing>"},
      {u"", u"Orphan", u"<missing>"},
      {u"\u00E4NDERUNG", u"\u00FCBER", u"\u00E4\u00F6\u00FC"},
      {u"Unclosed", u"K", u"v"},
      {u"Lang", u"T", u"t"},
      {u"Missing", u"Key", u"<missing>"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(ini->GetString(c.section, c.key, u"<missing>", kBuffer)), ToUtf8(c.expected))
        << ToUtf8(c.section) << "/" << ToUtf8(c.key);
  }
}

TEST(IniFile, ReadsEveryEncodingAndLineEnd) {
  const std::u16string text = u"[Sec]\r\nKey=Gr\u00F6\u00DFe \u20AC \xD83D\xDE00\r\nNext=2\r\n";
  const std::u16string latin1Text = u"[Sec]\r\nKey=Gr\u00F6\u00DFe\r\nNext=2\r\n";
  struct {
    const char* name;
    std::string bytes;
    std::u16string expected;
  } const cases[] = {
      {"UTF-16 LE", Utf16Bytes(text, false), u"Gr\u00F6\u00DFe \u20AC \xD83D\xDE00"},
      {"UTF-16 BE", Utf16Bytes(text, true), u"Gr\u00F6\u00DFe \u20AC \xD83D\xDE00"},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + ToUtf8(text), u"Gr\u00F6\u00DFe \u20AC \xD83D\xDE00"},
      {"8-bit", NarrowCodePage(latin1Text), u"Gr\u00F6\u00DFe"},
      {"UTF-8 without BOM is 8-bit", "[Sec]\nKey=Gr\xC3\xB6\nNext=2", u"Gr\u00C3\u00B6"},
      {"LF", "[Sec]\nKey=v\nNext=2\n", u"v"},
      {"CR", "[Sec]\rKey=v\rNext=2\r", u"v"},
      {"mixed, no final line end", "[Sec]\r\n\n\rKey=v\r\r\nNext=2", u"v"},
      {"odd-length UTF-16 drops the last byte", Utf16Bytes(u"[Sec]\nKey=v\nNext=2", false) + "X", u"v"},
      {"UTF-16 without BOM, ASCII only", Bytes("[\0S\0e\0c\0]\0\n\0K\0e\0y\0=\0v\0\n\0N\0e\0x\0t\0=\0\x32\0"),
       u"v"},
      {"NUL bytes dropped", Bytes("[Sec]\nKey=v\0\0\nNext=\0\x32\n"), u"v"},
      {"broken UTF-8", "\xEF\xBB\xBF[Sec]\nKey=a\xC3\nNext=2", u"a\uFFFD"},
  };
  for (const auto& c : cases) {
    const auto ini = IniFile::Parse(c.bytes);
    EXPECT_EQ(ToUtf8(ini->GetString(u"sec", u"key", u"<missing>", kBuffer)), ToUtf8(c.expected)) << c.name;
    EXPECT_EQ(ini->GetInt(u"sec", u"next", -1), 2) << c.name;
  }
}

TEST(IniFile, CutsValuesAndFallbacksToTheBuffer) {
  const auto ini = IniFile::Parse("[S]\nK=abcdef\nPair=a\xF0\x9F\x98\x80z\nLong=" + std::string(300, 'x') + "\n");
  const auto utf8 = IniFile::Parse("\xEF\xBB\xBF[S]\nPair=a\xF0\x9F\x98\x80z\n");
  struct {
    const IniFile& file;
    std::u16string_view key;
    std::size_t capacity;
    std::u16string expected;
  } const cases[] = {
      {*ini, u"K", 0, u""},
      {*ini, u"K", 1, u""},
      {*ini, u"K", 4, u"abc"},
      {*ini, u"K", 6, u"abcde"},
      {*ini, u"K", 7, u"abcdef"},
      {*ini, u"Missing", 4, u"fal"},
      {*ini, u"Missing", 0, u""},
      {*ini, u"Long", 256, std::u16string(255, u'x')},
      {*utf8, u"Pair", 3, u"a"},  // never half of a surrogate pair
      {*utf8, u"Pair", 4, u"a\xD83D\xDE00"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(c.file.GetString(u"S", c.key, u"fallback", c.capacity)), ToUtf8(c.expected))
        << ToUtf8(c.key) << " " << c.capacity;
  }
}

TEST(IniFile, ReadsNumbersLikeThePlatform) {
  const auto ini = IniFile::Parse(
      "[N]\n"
      "A=  -42abc\nB=abc\nC=+7\nD=42\nE=\nF=- 5\nG=0x10\nH=3.9\nI=--1\nJ=\" 12\"\nK=007\n"
      "Max=2147483647\nOver=2147483648\nMin=-2147483648\nUnder=-99999999999999999999999\n");
  struct {
    std::u16string_view key;
    int expected;
  } const cases[] = {
      {u"A", -42}, {u"B", 0},        {u"C", 7},       {u"D", 42},          {u"E", 1000},  // empty: the fallback
      {u"F", 0},   {u"G", 0},        {u"H", 3},       {u"I", 0},           {u"J", 12},
      {u"K", 7},   {u"Max", INT_MAX}, {u"Over", INT_MAX}, {u"Min", INT_MIN}, {u"Under", INT_MIN},
      {u"Missing", 1000},
  };
  for (const auto& c : cases) EXPECT_EQ(ini->GetInt(u"n", c.key, 1000), c.expected) << ToUtf8(c.key);
  EXPECT_EQ(ini->GetInt(u"Missing", u"A", -105), -105);
}

TEST(IniFile, SurvivesHostileInput) {
  std::mt19937 random(7);
  std::string garbage(1 << 16, '\0');
  for (char& b : garbage) b = static_cast<char>(random());
  const std::string hugeLine(1 << 20, 'a');
  const std::string inputs[] = {
      garbage,
      "\xFF\xFE" + garbage,
      "\xEF\xBB\xBF" + garbage,
      "",
      "\xFF\xFE",
      "\xFF",
      "[",
      "[S]\nK=v\n[" + hugeLine,
      "[S]\n" + hugeLine + "=x\nK=v\n",
      "[S]\nBig=" + hugeLine + "\nK=v\n",
      std::string(1 << 20, '\n') + "[S]\nK=v",
      std::string(1 << 20, '\0') + "[S]\nK=v",
  };
  for (const auto& bytes : inputs) {
    const auto ini = IniFile::Parse(bytes);
    EXPECT_EQ(ini->GetString(u"Nowhere", u"K", u"fb", 16), u"fb");
    EXPECT_EQ(ini->GetInt(u"Nowhere", u"K", 5), 5);
    const std::u16string k = ini->GetString(u"S", u"K", u"", 16);
    EXPECT_TRUE(k.empty() || k == u"v");
  }
  EXPECT_EQ(IniFile::Parse(inputs[9])->GetString(u"S", u"K", u"", 16), u"v");
  EXPECT_EQ(IniFile::Parse(inputs[9])->GetString(u"S", u"Big", u"", 256), std::u16string(255, u'a'));
  EXPECT_EQ(IniFile::Parse(inputs[10])->GetString(u"S", u"K", u"", 16), u"v");
}

}  // namespace
}  // namespace platform
