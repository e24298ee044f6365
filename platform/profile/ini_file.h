#pragma once
// Initialization files read with the semantics of GetPrivateProfileStringW/GetPrivateProfileIntW.
//
// Section and key names compare without letter case; the first occurrence of a section and of a
// key wins (keys under a repeated section header are not seen); blanks and tabs around names and
// values are trimmed; lines whose first non-blank character is ';' or '#' are comments; a value
// enclosed in a matching pair of double or single quotes loses the quotes. Lines without '=',
// with an empty name, or before the first section header are ignored. A file is UTF-16 (LE or BE,
// with BOM), UTF-8 with BOM, or otherwise 8-bit text in the system code page; NUL characters are
// dropped. A missing, unreadable or unreasonably large file reads as all defaults. A file is read
// once; lookups do not touch the disk.

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class IniFile {
 public:
  // Never fails: a missing or unreadable file gives an empty IniFile.
  static std::shared_ptr<const IniFile> Load(const std::filesystem::path& path);
  static std::shared_ptr<const IniFile> Parse(std::string_view fileBytes);

  virtual ~IniFile() = default;

  // The value, or `fallback` when the section or key is missing, cut to `capacity` - 1
  // characters as the platform's buffer would cut it (capacity 0 gives ""). A cut never leaves
  // half of a surrogate pair behind. A key present with an empty value gives "".
  virtual std::u16string GetString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view fallback, std::size_t capacity) const = 0;
  // Leading blanks, an optional sign, then decimal digits up to the first other character;
  // `fallback` when the key is missing or its value is empty; 0 when the value has no digits.
  // Numbers beyond the range of int read as the nearest bound.
  virtual int GetInt(std::u16string_view section, std::u16string_view key, int fallback) const = 0;
};

}  // namespace platform
