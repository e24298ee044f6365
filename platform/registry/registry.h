#pragma once
// Hierarchical key/value store with the Win32 registry's semantics.
//
// Keys are addressed by a backslash-separated path below one of two roots. Key and value names
// compare without letter case but keep the spelling of their first write. A value name may
// itself contain backslashes (it is a name, not a path); the empty value name is the key's
// default value. Writes create missing keys. Every call is one atomic transaction.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace platform {

enum class RegRoot { CurrentUser, LocalMachine };

// The forms a value takes. String, Binary and Dword carry their Win32 type numbers; Typed is a
// value of any other type number (REG_EXPAND_SZ, REG_MULTI_SZ, REG_QWORD, REG_NONE, ...), kept as
// its number and raw bytes exactly as written.
enum class RegType : std::uint32_t { String = 1, Binary = 3, Dword = 4, Typed = 0xFFFFFFFF };

// Win32 type numbers the tools name; any other number is kept all the same.
namespace regtype {
inline constexpr std::uint32_t kNone = 0;
inline constexpr std::uint32_t kString = 1;
inline constexpr std::uint32_t kExpandString = 2;
inline constexpr std::uint32_t kBinary = 3;
inline constexpr std::uint32_t kDword = 4;
inline constexpr std::uint32_t kDwordBigEndian = 5;
inline constexpr std::uint32_t kLink = 6;
inline constexpr std::uint32_t kMultiString = 7;
inline constexpr std::uint32_t kResourceList = 8;
inline constexpr std::uint32_t kFullResourceDescriptor = 9;
inline constexpr std::uint32_t kResourceRequirementsList = 10;
inline constexpr std::uint32_t kQword = 11;
}  // namespace regtype

struct TypedData {
  std::uint32_t type = regtype::kNone;
  std::vector<std::uint8_t> bytes;
  bool operator==(const TypedData&) const = default;
};

struct RegValue {
  std::variant<std::u16string, std::uint32_t, std::vector<std::uint8_t>, TypedData> data;

  RegType type() const;
  // The Win32 type number, for every form.
  std::uint32_t TypeNumber() const;
  static RegValue Text(std::u16string text) { return {std::move(text)}; }
  static RegValue Dword(std::uint32_t number) { return {number}; }
  static RegValue Binary(std::vector<std::uint8_t> bytes) { return {std::move(bytes)}; }
  static RegValue Typed(std::uint32_t type, std::vector<std::uint8_t> bytes) {
    return {TypedData{type, std::move(bytes)}};
  }
  bool operator==(const RegValue&) const = default;
};

// Results in the manner of the Win32 error codes the callers test for.
enum class RegStatus {
  Ok,            // ERROR_SUCCESS
  NotFound,      // ERROR_FILE_NOT_FOUND: key or value absent
  AccessDenied,  // ERROR_ACCESS_DENIED; also every write to a store that is read-only
  BadKeyPath,    // a key name longer than 255 characters, or a path deeper than 512 levels
  DiskFull,      // ERROR_DISK_FULL: no room for the write
  Failed,        // the store could not be read or written
};

struct NamedValue {
  std::u16string name;
  RegValue value;
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Read access: NotFound when the key does not exist.
  [[nodiscard]] virtual RegStatus OpenKey(RegRoot root, std::u16string_view path) = 0;
  // Full access as a writer would ask for it; creates nothing. AccessDenied where writes are refused.
  [[nodiscard]] virtual RegStatus OpenKeyForWrite(RegRoot root, std::u16string_view path) = 0;
  [[nodiscard]] virtual RegStatus CreateKey(RegRoot root, std::u16string_view path) = 0;

  [[nodiscard]] virtual RegStatus GetValue(RegRoot root, std::u16string_view path,
                                           std::u16string_view name, RegValue& out) = 0;
  [[nodiscard]] virtual RegStatus SetValue(RegRoot root, std::u16string_view path,
                                           std::u16string_view name, const RegValue& value) = 0;
  [[nodiscard]] virtual RegStatus DeleteValue(RegRoot root, std::u16string_view path,
                                              std::u16string_view name) = 0;
  // Deletes the key with its whole subtree.
  [[nodiscard]] virtual RegStatus DeleteKey(RegRoot root, std::u16string_view path) = 0;

  // Names of the direct subkeys, and the values of a key, in the order of their creation.
  [[nodiscard]] virtual RegStatus EnumSubkeys(RegRoot root, std::u16string_view path,
                                              std::vector<std::u16string>& out) = 0;
  [[nodiscard]] virtual RegStatus EnumValues(RegRoot root, std::u16string_view path,
                                             std::vector<NamedValue>& out) = 0;

  // Runs `body` as one transaction: all its writes land, or none when it returns other than Ok.
  [[nodiscard]] virtual RegStatus Batch(const std::function<RegStatus(Registry&)>& body) = 0;
};

struct OpenRegistryResult {
  std::unique_ptr<Registry> registry;  // null on failure
  std::string error;                   // names the file that could not be used
};

// The folder of the store files: $VUZIDEZA_REGISTRY_DIR when set, else the user's XDG data
// directory ($XDG_DATA_HOME or ~/.local/share) + "/vuzideza".
std::filesystem::path DefaultRegistryDir();

// Fault point for tests: the store's files grow no further than `pageLimit` pages of 4 KB (0: no
// limit), as on a disk that is full.
struct SqliteFaults {
  std::uint32_t pageLimit = 0;
};

// SQLite store, one file per root inside `dir` (created when missing): "HKCU.db" and "HKLM.db",
// owner-only. An unreadable or foreign file is an error naming it; it is never replaced. A file
// that cannot be written (or in a folder that cannot be written) is opened read-only: it reads as
// usual and every write is AccessDenied.
OpenRegistryResult OpenSqliteRegistry(const std::filesystem::path& dir, SqliteFaults faults = {});

// In-memory store for tests. Fault injection: DenyWrites makes OpenKeyForWrite answer
// AccessDenied for that key and every write below it fail.
class MemoryRegistry;
std::unique_ptr<MemoryRegistry> CreateMemoryRegistry();

}  // namespace platform
