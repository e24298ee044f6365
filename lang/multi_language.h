#pragma once
// The language table: which languages a language file offers, which one is selected, and text
// lookup by key in the selected one.
//
// A language file is an initialization file whose index section lists "Language_%d_Section" =
// section name for %d = 1, 2, ... without gaps; each language section holds the texts by key and
// "Language_%d_Description" = the name of language %d in that language.
//
// Calls (all return at once; the file is read once by LoadLanguageFile and kept in memory):
//   LoadLanguageFile(path, index section)  1 when at least one language is listed, else 0;
//                                          selects language 1
//   SelectLanguage(n)                      1, or 0 and nothing changes when n is outside 1..Count()
//   LoadLangString(key, fallback)          the text, or fallback when no language is listed or the
//                                          key is missing; an empty text stays empty; no character
//                                          of the result has a special meaning
//   LoadLangString(TextKey)                the same for a catalogue entry (lang/texts.h)
//   LoadLangList(TextList, max)            the entries of a value list up to the first empty one
//   Count(), CurrentIndex(), Description(i)
//
// Once filled at start-up the table is only read, so lookups from several threads are safe.

#include <cstddef>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lang/text_key.h"
#include "platform/profile/ini_file.h"

namespace lang {

// Longest section name, description and text, in characters; longer ones are cut.
inline constexpr std::size_t kMaxSectionNameLength = 399;
inline constexpr std::size_t kMaxDescriptionLength = 1023;
inline constexpr std::size_t kMaxTextLength = 4095;

// The index section start-up passes to LoadLanguageFile.
inline constexpr std::u16string_view kIndexSection = u"LANGUAGES";

// Key of entry `number` of a value list: its pattern with %d replaced by the number.
std::u16string ListEntryKey(const TextList& list, int number);

class CMultiLanguage {
 public:
  int LoadLanguageFile(const std::filesystem::path& file, std::u16string_view indexSection);
  // The same for a file already read (tests, fuzzing); null reads as an empty file.
  int LoadLanguage(std::shared_ptr<const platform::IniFile> file, std::u16string_view indexSection);

  int SelectLanguage(int index);

  std::u16string LoadLangString(std::u16string_view key, std::u16string_view fallback) const;
  std::u16string LoadLangString(const TextKey& text) const;
  // Entries numbered list.first upward until the first empty text, at most maxEntries of them.
  std::vector<std::u16string> LoadLangList(
      const TextList& list, std::size_t maxEntries = std::numeric_limits<std::size_t>::max()) const;

  int Count() const { return static_cast<int>(sectionNames_.size()); }
  // 1-based; -1 while no language is selected.
  int CurrentIndex() const { return currentIndex_; }
  // Name of language i (1-based) in the current language; "" outside 1..Count().
  std::u16string Description(int index) const;
  const std::u16string& CurrentSection() const { return currentSection_; }
  const std::filesystem::path& FilePath() const { return filePath_; }

 private:
  std::shared_ptr<const platform::IniFile> file_;
  std::filesystem::path filePath_;
  std::u16string indexSection_;
  std::vector<std::u16string> sectionNames_;
  std::vector<std::u16string> descriptions_;
  int currentIndex_ = -1;
  std::u16string currentSection_;
};

// The process-wide table that start-up fills and every window reads.
CMultiLanguage& LanguageTable();

// Lookups in the process-wide table.
std::u16string LoadLangString(std::u16string_view key, std::u16string_view fallback);
std::u16string LoadLangString(const TextKey& text);
std::vector<std::u16string> LoadLangList(
    const TextList& list, std::size_t maxEntries = std::numeric_limits<std::size_t>::max());

}  // namespace lang
