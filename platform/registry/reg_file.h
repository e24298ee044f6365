#pragma once
// The registry editor's text format (.reg, "Windows Registry Editor Version 5.00"): export of a
// key subtree and all-or-nothing import.
//
//   [HKEY_CURRENT_USER\Software\Orvex]      key (created when missing)
//   [-HKEY_CURRENT_USER\Software\Old]       key deleted with its subtree
//   "Name"="text"   @="default value"       text; \\ and \" are the only escapes
//   "Count"=dword:0000000a                  32-bit number, hexadecimal
//   "Bytes"=hex:01,02,\                     binary; a trailing backslash continues the line
//     03
//   "Odd"=hex(1):41,00,0a,00,00,00          typed hex data: 1 text (UTF-16LE), 3 binary,
//                                           4 number (4 bytes little-endian); every other type
//                                           (2 expandable text, 7 multiple texts, b 64-bit
//                                           number, 0 none, any number) is kept as typed bytes
//   "Gone"=-                                value deleted
//   ; comment
// Roots: HKEY_CURRENT_USER or HKCU, HKEY_LOCAL_MACHINE or HKLM, in any letter case.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry/registry.h"

namespace platform {

// "HKEY_CURRENT_USER" or "HKEY_LOCAL_MACHINE".
std::u16string RootName(RegRoot root);

struct RootedKey {
  RegRoot root;
  std::u16string path;  // below the root, as written
};
// Splits "HKCU\Software\x" (any accepted root spelling) into root and path; nullopt for an
// unknown root.
std::optional<RootedKey> ParseRootedKey(std::u16string_view key);

struct RegFileOp {
  enum class Kind { CreateKey, DeleteKey, SetValue, DeleteValue };
  Kind kind;
  std::size_t line;  // where it was written, for messages
  RegRoot root;
  std::u16string path;
  std::u16string name;  // SetValue, DeleteValue
  RegValue value;       // SetValue
};

struct RegFileParse {
  std::vector<RegFileOp> ops;
  std::string error;  // "line N: why"; empty when the whole file is well-formed
};

// Parses a whole file: UTF-16LE with byte-order mark, or UTF-8 with or without one.
RegFileParse ParseRegFile(std::span<const std::uint8_t> bytes);

struct RegImportResult {
  RegStatus status;
  std::string error;  // empty on success
};
// Parses the whole file first, then applies it in one Batch, so a bad line or a refused write
// changes nothing. Deleting a key or value that does not exist is not an error.
[[nodiscard]] RegImportResult ImportRegFile(Registry& registry, std::span<const std::uint8_t> bytes);

// The .reg text of the key at `path` with its values and its whole subtree, keys in the
// spelling they were created with. NotFound when the key does not exist.
[[nodiscard]] RegStatus ExportRegText(Registry& registry, RegRoot root, std::u16string_view path,
                                      std::u16string& out);
// The bytes of a .reg file as the registry editor writes it: UTF-16LE with a byte-order mark.
std::vector<std::uint8_t> EncodeRegFile(std::u16string_view text);

// Writes an exported file: a new file beside `path`, created exclusively with mode 0600 (never
// through a planted link), written whole and then renamed over `path`. Empty on success, else why.
[[nodiscard]] std::string WriteRegFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

}  // namespace platform
