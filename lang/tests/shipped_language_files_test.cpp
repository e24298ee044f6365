// Checks the language files the build generates into the program folder.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lang/multi_language.h"
#include "lang/texts.h"
#include "platform/text/text.h"

namespace lang {
namespace {

using Texts = std::vector<std::u16string>;

constexpr std::u16string_view kMissing = u"\uFFFF<missing>";
constexpr std::u16string_view kSections[] = {u"English", u"German"};

std::filesystem::path ProgramFolder() {
  const char* dir = std::getenv("VZ_BIN_DIR");
  return dir != nullptr ? dir : "bin";
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class ShippedLanguageFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    utf16Bytes_ = ReadBytes(ProgramFolder() / "QVMLu.INI");
    ansiBytes_ = ReadBytes(ProgramFolder() / "QVMLa.INI");
    ASSERT_FALSE(utf16Bytes_.empty()) << "QVMLu.INI not in " << ProgramFolder();
    ASSERT_FALSE(ansiBytes_.empty()) << "QVMLa.INI not in " << ProgramFolder();
    utf16_ = platform::IniFile::Parse(utf16Bytes_);
    ansi_ = platform::IniFile::Parse(ansiBytes_);
  }

  std::string utf16Bytes_, ansiBytes_;
  std::shared_ptr<const platform::IniFile> utf16_, ansi_;
};

TEST_F(ShippedLanguageFiles, AreEncodedAsTheirNamesSay) {
  EXPECT_TRUE(utf16Bytes_.starts_with("\xFF\xFE"));
  // 8-bit: no BOM, and a German umlaut is one Latin-1 byte, not a UTF-8 pair.
  EXPECT_FALSE(ansiBytes_.starts_with("\xEF\xBB\xBF"));
  EXPECT_NE(ansiBytes_.find("\xF6" "ffnen"), std::string::npos);
  for (const auto& ini : {utf16_, ansi_}) {
    EXPECT_EQ(ini->GetString(u"German", u"MP_Small_Icon_Item_1", kMissing, 4096),
              u"Programmfenster \u00F6ffnen");
  }
}

TEST_F(ShippedLanguageFiles, ListEnglishThenGerman) {
  for (const char* name : {"QVMLu.INI", "QVMLa.INI"}) {
    SCOPED_TRACE(name);
    CMultiLanguage table;
    ASSERT_EQ(table.LoadLanguageFile(ProgramFolder() / name, kIndexSection), 1);
    ASSERT_EQ(table.Count(), 2);
    EXPECT_EQ(table.CurrentSection(), u"English");
    EXPECT_EQ(table.Description(1), u"English");
    EXPECT_EQ(table.Description(2), u"German");
    ASSERT_EQ(table.SelectLanguage(2), 1);
    EXPECT_EQ(table.CurrentSection(), u"German");
    EXPECT_EQ(table.Description(1), u"Englisch");
    EXPECT_EQ(table.Description(2), u"Deutsch");
  }
}

TEST_F(ShippedLanguageFiles, DefineEveryCatalogueTextInEveryLanguage) {
  for (std::u16string_view section : kSections) {
    for (const TextKey& text : AllTexts()) {
      SCOPED_TRACE(platform::ToUtf8(section) + " " + platform::ToUtf8(text.key));
      const std::u16string value = utf16_->GetString(section, text.key, kMissing, kMaxTextLength + 1);
      EXPECT_NE(value, kMissing);
      EXPECT_FALSE(value.empty());
    }
  }
}

// Entry counts follow the fixed index-to-value mappings of the dialogs that show the lists; the
// English texts of the lists whose meaning is fixed by the setting numbers are checked word for word.
TEST_F(ShippedLanguageFiles, OfferEveryValueListWithItsMappedEntries) {
  struct {
    TextList list;
    std::size_t entries;
    Texts english;  // empty: any texts
  } const cases[] = {
      {texts::BS_G_WirelessMode_Value, 2, {u"2.4 GHz (802.11b/g)", u"5 GHz (802.11a)"}},
      {texts::BS_G_Network_Type_Value, 3, {u"Ad-Hoc", u"Infrastructure", u"Pseudo IBSS"}},
      {texts::BS_G_Authentication_Value, 7,
       {u"Open System", u"Shared Key", u"Auto Switch", u"WPA", u"WPA-PSK", u"WPA2", u"WPA2-PSK"}},
      {texts::BS_G_Encrypt_Value, 2, {u"WEP", u"Disabled"}},
      {texts::BS_G_Encrypt_ValueM2, 4, {u"Disabled", u"WEP", u"TKIP", u"AES"}},
      {texts::AP_BS_WirelessMode_Value, 4, {}},
      {texts::AP_BS_TxPower_Value, 4, {u"Level 0", u"Level 1", u"Level 2", u"Level 3"}},
      {texts::AP_BS_WEP_Value, 2, {u"Enable", u"Disable"}},
      {texts::AP_BS_Authentication_Value, 2, {u"Open System", u"Shared Key"}},
      {texts::AP_BS_Preamble_Value, 3, {}},
      {texts::AP_MAC_Filter_Type_Value, 3, {}},
  };
  ASSERT_EQ(std::size(cases), AllTextLists().size()) << "a catalogue list has no case here";

  CMultiLanguage table;
  ASSERT_EQ(table.LoadLanguage(utf16_, kIndexSection), 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.list.pattern));
    ASSERT_EQ(table.SelectLanguage(1), 1);
    const Texts english = table.LoadLangList(c.list);
    EXPECT_EQ(english.size(), c.entries);
    if (!c.english.empty()) {
      EXPECT_EQ(english, c.english);
    }
    ASSERT_EQ(table.SelectLanguage(2), 1);
    EXPECT_EQ(table.LoadLangList(c.list).size(), c.entries);
  }
}

TEST_F(ShippedLanguageFiles, CarryTheSameTextsInBothEncodings) {
  std::vector<std::u16string> keys;
  for (const TextKey& text : AllTexts()) keys.emplace_back(text.key);
  for (const TextList& list : AllTextLists()) {
    for (int n = list.first; n < list.first + 10; ++n) keys.push_back(ListEntryKey(list, n));
  }
  for (int n = 1; n <= 3; ++n) {
    keys.push_back(platform::Format(u"Language_%d_Section", n));
    keys.push_back(platform::Format(u"Language_%d_Description", n));
  }
  for (std::u16string_view section : {u"LANGUAGES", u"English", u"German"}) {
    for (const std::u16string& key : keys) {
      SCOPED_TRACE(platform::ToUtf8(section) + " " + platform::ToUtf8(key));
      EXPECT_EQ(utf16_->GetString(section, key, kMissing, kMaxTextLength + 1),
                ansi_->GetString(section, key, kMissing, kMaxTextLength + 1));
    }
  }
}

}  // namespace
}  // namespace lang
