#include "lang/multi_language.h"

#include <utility>

#include "platform/text/text.h"

namespace lang {

std::u16string ListEntryKey(const TextList& list, int number) {
  return platform::Format(list.pattern, number);
}

int CMultiLanguage::LoadLanguageFile(const std::filesystem::path& file,
                                     std::u16string_view indexSection) {
  const int listed = LoadLanguage(platform::IniFile::Load(file), indexSection);
  filePath_ = file;
  return listed;
}

int CMultiLanguage::LoadLanguage(std::shared_ptr<const platform::IniFile> file,
                                 std::u16string_view indexSection) {
  file_ = file ? std::move(file) : platform::IniFile::Parse({});
  filePath_.clear();
  indexSection_ = indexSection;
  sectionNames_.clear();
  descriptions_.clear();
  currentSection_.clear();
  currentIndex_ = -1;

  for (int i = 1;; ++i) {
    std::u16string name = file_->GetString(indexSection_, platform::Format(u"Language_%d_Section", i),
                                           u"", kMaxSectionNameLength + 1);
    if (name.empty()) break;
    sectionNames_.push_back(std::move(name));
  }
  if (sectionNames_.empty()) return 0;
  SelectLanguage(1);
  return 1;
}

int CMultiLanguage::SelectLanguage(int index) {
  if (index < 1 || index > Count()) return 0;
  currentIndex_ = index;
  currentSection_ = sectionNames_[static_cast<std::size_t>(index - 1)];
  descriptions_.clear();
  for (int i = 1; i <= Count(); ++i) {
    descriptions_.push_back(file_->GetString(currentSection_,
                                             platform::Format(u"Language_%d_Description", i),
                                             sectionNames_[static_cast<std::size_t>(i - 1)],
                                             kMaxDescriptionLength + 1));
  }
  return 1;
}

std::u16string CMultiLanguage::LoadLangString(std::u16string_view key,
                                              std::u16string_view fallback) const {
  if (sectionNames_.empty()) return std::u16string(fallback);
  return file_->GetString(currentSection_, key, fallback, kMaxTextLength + 1);
}

std::u16string CMultiLanguage::LoadLangString(const TextKey& text) const {
  return LoadLangString(text.key, text.fallback);
}

std::vector<std::u16string> CMultiLanguage::LoadLangList(const TextList& list,
                                                         std::size_t maxEntries) const {
  std::vector<std::u16string> entries;
  for (int number = list.first; entries.size() < maxEntries; ++number) {
    std::u16string entry = LoadLangString(ListEntryKey(list, number), u"");
    if (entry.empty()) break;
    entries.push_back(std::move(entry));
  }
  return entries;
}

std::u16string CMultiLanguage::Description(int index) const {
  if (index < 1 || index > static_cast<int>(descriptions_.size())) return {};
  return descriptions_[static_cast<std::size_t>(index - 1)];
}

CMultiLanguage& LanguageTable() {
  static CMultiLanguage table;
  return table;
}

std::u16string LoadLangString(std::u16string_view key, std::u16string_view fallback) {
  return LanguageTable().LoadLangString(key, fallback);
}

std::u16string LoadLangString(const TextKey& text) { return LanguageTable().LoadLangString(text); }

std::vector<std::u16string> LoadLangList(const TextList& list, std::size_t maxEntries) {
  return LanguageTable().LoadLangList(list, maxEntries);
}

}  // namespace lang
