// Feeds arbitrary bytes to the initialization-file parser and looks a few names up in the result.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/profile/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto ini = platform::IniFile::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
  static constexpr std::u16string_view kSections[] = {u"LANGUAGES", u"MAIN_INFO", u"S", u""};
  static constexpr std::u16string_view kKeys[] = {u"Language_1_Section", u"Company_Abbrev", u"K", u""};
  static constexpr std::size_t kCapacities[] = {0, 1, 2, 256};
  for (auto section : kSections) {
    for (auto key : kKeys) {
      for (auto capacity : kCapacities) (void)ini->GetString(section, key, u"default", capacity);
      (void)ini->GetInt(section, key, -1);
    }
  }
  return 0;
}
