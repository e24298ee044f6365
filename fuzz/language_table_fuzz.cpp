// Feeds arbitrary bytes as a language file to the language table: index, every selection, the
// descriptions, texts and value lists.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "lang/multi_language.h"
#include "lang/texts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  lang::CMultiLanguage table;
  (void)table.LoadLanguage(platform::IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size)),
                           lang::kIndexSection);
  for (int index = 0; index <= table.Count() + 1; ++index) {
    (void)table.SelectLanguage(index);
    for (int i = 0; i <= table.Count() + 1; ++i) (void)table.Description(i);
    (void)table.LoadLangString(lang::texts::MP_Dialog_Title);
    for (const lang::TextList& list : lang::AllTextLists()) (void)table.LoadLangList(list, 64);
  }
  return 0;
}
