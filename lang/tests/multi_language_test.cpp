#include "lang/multi_language.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lang/texts.h"
#include "platform/text/text.h"

namespace lang {
namespace {

using Texts = std::vector<std::u16string>;

CMultiLanguage Loaded(const std::string& fileText, int* listed = nullptr) {
  CMultiLanguage table;
  const int result = table.LoadLanguage(platform::IniFile::Parse(fileText), kIndexSection);
  if (listed != nullptr) *listed = result;
  return table;
}

Texts Descriptions(const CMultiLanguage& table) {
  Texts descriptions;
  for (int i = 1; i <= table.Count(); ++i) descriptions.push_back(table.Description(i));
  return descriptions;
}

const char kTwoLanguages[] =
    "[LANGUAGES]\n"
    "Language_1_Section=English\n"
    "Language_2_Section=German\n"
    "[English]\n"
    "Language_1_Description=English\n"
    "Language_2_Description=German\n"
    "MP_Dialog_Title=Title\n"
    "Percent=100%% %d %s\n"
    "Empty=\n"
    "[German]\n"
    "Language_1_Description=Englisch\n"
    "Language_2_Description=Deutsch\n"
    "MP_Dialog_Title=Titel\n";

TEST(CMultiLanguage, ReadsTheLanguageIndex) {
  struct {
    const char* name;
    std::string file;
    int listed;
    Texts descriptions;
    std::u16string currentSection;
  } const cases[] = {
      {"two languages, language 1 selected", kTwoLanguages, 1, {u"English", u"German"}, u"English"},
      {"a gap ends the list",
       "[LANGUAGES]\nLanguage_1_Section=One\nLanguage_3_Section=Three\n", 1, {u"One"}, u"One"},
      {"an empty name ends the list",
       "[LANGUAGES]\nLanguage_1_Section=One\nLanguage_2_Section=\nLanguage_3_Section=Three\n", 1,
       {u"One"}, u"One"},
      {"no descriptions: section names",
       "[LANGUAGES]\nLanguage_1_Section=One\nLanguage_2_Section=Two\n[One]\nLanguage_2_Description=Zwei\n",
       1, {u"One", u"Zwei"}, u"One"},
      {"index section names compare without case",
       "[languages]\nlanguage_1_section=One\n", 1, {u"One"}, u"One"},
      {"empty index section", "[LANGUAGES]\n[English]\nMP_Dialog_Title=Title\n", 0, {}, u""},
      {"no index section", "[English]\nMP_Dialog_Title=Title\n", 0, {}, u""},
      {"empty file", "", 0, {}, u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    int listed = -1;
    const CMultiLanguage table = Loaded(c.file, &listed);
    EXPECT_EQ(listed, c.listed);
    EXPECT_EQ(table.Count(), static_cast<int>(c.descriptions.size()));
    EXPECT_EQ(Descriptions(table), c.descriptions);
    EXPECT_EQ(table.CurrentSection(), c.currentSection);
    EXPECT_EQ(table.CurrentIndex(), c.listed == 1 ? 1 : -1);
  }
}

TEST(CMultiLanguage, LooksUpTextsOfTheCurrentLanguage) {
  const CMultiLanguage table = Loaded(kTwoLanguages);
  struct {
    std::u16string_view key, fallback, expected;
  } const cases[] = {
      {u"MP_Dialog_Title", u"Default", u"Title"},
      {u"mp_dialog_title", u"Default", u"Title"},
      {u"Percent", u"Default", u"100%% %d %s"},  // no character is special
      {u"Empty", u"Default", u""},               // present but empty stays empty
      {u"Missing", u"Default", u"Default"},
      {u"Missing", u"50% %s", u"50% %s"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(platform::ToUtf8(c.key));
    EXPECT_EQ(table.LoadLangString(c.key, c.fallback), c.expected);
  }
  EXPECT_EQ(table.LoadLangString(texts::MP_Dialog_Title), u"Title");
  EXPECT_EQ(table.LoadLangString(texts::MP_Small_Icon_Tip), texts::MP_Small_Icon_Tip.fallback);
}

TEST(CMultiLanguage, WithoutLanguagesEveryLookupGivesItsDefault) {
  // Texts in a section that no index lists are never used.
  CMultiLanguage table = Loaded("[English]\nMP_Dialog_Title=Title\nEmpty=\n");
  EXPECT_EQ(table.LoadLangString(u"MP_Dialog_Title", u"Default"), u"Default");
  EXPECT_EQ(table.LoadLangString(u"Empty", u"Default"), u"Default");
  EXPECT_EQ(table.SelectLanguage(1), 0);
  EXPECT_EQ(table.CurrentIndex(), -1);
  EXPECT_EQ(table.Description(1), u"");
  EXPECT_TRUE(table.LoadLangList(texts::BS_G_Authentication_Value).empty());
}

TEST(CMultiLanguage, MissingFileListsNoLanguage) {
  CMultiLanguage table;
  const auto path = std::filesystem::temp_directory_path() / "vz-no-such-dir" / "QVMLu.INI";
  EXPECT_EQ(table.LoadLanguageFile(path, kIndexSection), 0);
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(table.LoadLangString(texts::MP_Dialog_Title), u"Ventrel Plus");
}

TEST(CMultiLanguage, SelectsOnlyListedLanguages) {
  CMultiLanguage table = Loaded(kTwoLanguages);
  ASSERT_EQ(table.SelectLanguage(2), 1);
  EXPECT_EQ(table.CurrentIndex(), 2);
  EXPECT_EQ(table.LoadLangString(texts::MP_Dialog_Title), u"Titel");
  // Descriptions follow the selected language.
  EXPECT_EQ(Descriptions(table), (Texts{u"Englisch", u"Deutsch"}));

  for (int outside : {0, -1, 3, 1000}) {
    SCOPED_TRACE(outside);
    EXPECT_EQ(table.SelectLanguage(outside), 0);
    EXPECT_EQ(table.CurrentIndex(), 2);
    EXPECT_EQ(table.CurrentSection(), u"German");
    EXPECT_EQ(table.LoadLangString(texts::MP_Dialog_Title), u"Titel");
    EXPECT_EQ(Descriptions(table), (Texts{u"Englisch", u"Deutsch"}));
  }
  EXPECT_EQ(table.Description(0), u"");
  EXPECT_EQ(table.Description(3), u"");
}

TEST(CMultiLanguage, ReloadingForgetsThePreviousFile) {
  CMultiLanguage table = Loaded(kTwoLanguages);
  ASSERT_EQ(table.SelectLanguage(2), 1);
  EXPECT_EQ(table.LoadLanguage(platform::IniFile::Parse("[LANGUAGES]\nLanguage_1_Section=Only\n"),
                               kIndexSection),
            1);
  EXPECT_EQ(table.Count(), 1);
  EXPECT_EQ(table.CurrentIndex(), 1);
  EXPECT_EQ(table.LoadLangString(texts::MP_Dialog_Title), u"Ventrel Plus");
  EXPECT_EQ(table.LoadLanguage(platform::IniFile::Parse(""), kIndexSection), 0);
  EXPECT_EQ(table.Count(), 0);
  EXPECT_EQ(table.CurrentIndex(), -1);
}

TEST(CMultiLanguage, CutsLongTextsToTheirLimits) {
  const std::string longSection(450, 'S');
  const std::string file = "[LANGUAGES]\nLanguage_1_Section=" + longSection + "\n[" +
                           longSection.substr(0, kMaxSectionNameLength) + "]\n" +
                           "Language_1_Description=" + std::string(2000, 'd') + "\n" +
                           "Long=" + std::string(5000, 't') + "\n";
  const CMultiLanguage table = Loaded(file);
  EXPECT_EQ(table.CurrentSection().size(), kMaxSectionNameLength);
  EXPECT_EQ(table.Description(1), std::u16string(kMaxDescriptionLength, u'd'));
  EXPECT_EQ(table.LoadLangString(u"Long", u""), std::u16string(kMaxTextLength, u't'));
  // A default longer than the limit is cut the same way.
  EXPECT_EQ(table.LoadLangString(u"Missing", std::u16string(5000, u'x')).size(), kMaxTextLength);
}

TEST(CMultiLanguage, ReadsValueListsUpToTheFirstEmptyEntry) {
  const CMultiLanguage table = Loaded(
      "[LANGUAGES]\nLanguage_1_Section=L\n[L]\n"
      "BS_G_Network_Type_Value_0=not read\n"
      "BS_G_Network_Type_Value_1=Ad-Hoc\nBS_G_Network_Type_Value_2=Infra\nBS_G_Network_Type_Value_3=Pseudo\n"
      "BS_G_Network_Type_Value_5=after a gap\n"
      "AP_MAC_Filter_Type_0=Off\nAP_MAC_Filter_Type_1=\nAP_MAC_Filter_Type_2=after an empty one\n"
      "AP_BS_TxPower0=P0\nAP_BS_TxPower1=P1\n");
  struct {
    const char* name;
    TextList list;
    std::size_t max;
    Texts expected;
  } const cases[] = {
      {"from 1 to the gap", texts::BS_G_Network_Type_Value, SIZE_MAX, {u"Ad-Hoc", u"Infra", u"Pseudo"}},
      {"at most two", texts::BS_G_Network_Type_Value, 2, {u"Ad-Hoc", u"Infra"}},
      {"none asked for", texts::BS_G_Network_Type_Value, 0, {}},
      {"from 0, an empty entry ends it", texts::AP_MAC_Filter_Type_Value, SIZE_MAX, {u"Off"}},
      {"pattern without underscore", texts::AP_BS_TxPower_Value, SIZE_MAX, {u"P0", u"P1"}},
      {"no entries", texts::BS_G_Authentication_Value, SIZE_MAX, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(table.LoadLangList(c.list, c.max), c.expected);
  }
  EXPECT_EQ(ListEntryKey(texts::AP_BS_TxPower_Value, 3), u"AP_BS_TxPower3");
  EXPECT_EQ(ListEntryKey(texts::BS_G_Encrypt_ValueM2, 12), u"BS_G_Encrypt_ValueM2_12");
}

TEST(CMultiLanguage, ProcessWideTableServesTheFreeLookups) {
  ASSERT_EQ(LanguageTable().LoadLanguage(platform::IniFile::Parse(kTwoLanguages), kIndexSection), 1);
  EXPECT_EQ(LoadLangString(texts::MP_Dialog_Title), u"Title");
  EXPECT_EQ(LoadLangString(u"Missing", u"Default"), u"Default");
  ASSERT_EQ(LanguageTable().LoadLanguage(platform::IniFile::Parse(""), kIndexSection), 0);
  EXPECT_EQ(LoadLangString(texts::MP_Dialog_Title), u"Ventrel Plus");
}

}  // namespace
}  // namespace lang
