#pragma once
// The per-user setting store: the application key, one setting tree per adapter and operating
// mode, and the application values beside them. Reading never fails: an absent value reads as
// empty text or -1. Safe to call from the user-interface and the supplicant thread at once.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/registry/registry.h"

namespace config {

inline constexpr int kStationMode = 0;
inline constexpr int kAccessPointMode = 1;

class SettingStore {
 public:
  explicit SettingStore(platform::Registry& registry);

  // "software\<company>\<program>" below the current user's root.
  void SetApplicationKey(std::u16string_view company, std::u16string_view program);
  // First part of every setting path and application value name ("GENERAL" by default).
  void SetChipMode(std::u16string_view chipMode);
  // The open adapter's four-digit class instance name (8-bit, widened for the path).
  void SetAdapterInstance(std::string_view instance);
  // `OperationMode`: 0 station, 1 access point; selects the tree of every read and write.
  void SetOperationMode(int mode) { operationMode_.store(mode); }
  int OperationMode() const { return operationMode_.load(); }

  std::u16string ApplicationKey() const;
  std::u16string ChipMode() const;
  // Path of the setting tree of `mode` for the open adapter, below the current user's root.
  std::u16string TreePath(int mode) const;

  // The value from the current tree; an empty result is read once more.
  std::u16string ReadSettingString(std::u16string_view key) const;
  // ReadSettingString converted like the C library's atoi on its first 19 characters
  // (saturating at the int range); -1 when the text stays empty.
  int ReadSettingInt(std::u16string_view key) const;
  // 0 on success, -1 when the registry refuses.
  int WriteSetting(std::u16string_view key, std::u16string_view text);
  int WriteSetting(int mode, std::u16string_view key, std::u16string_view text);

  // Fills `buffer` with the stored WEP key of `bits` (64, 128, 256) and `index` (0-3), or the
  // built-in default key when none is stored. -1 for other bits or index, or a capacity below the
  // key length; the buffer is cleared first.
  int ReadStoredWepKey(int bits, int index, std::uint8_t* buffer, std::size_t capacity) const;

  // Application values, named relative to the application key. ChipValue prefixes the chip mode
  // and a backslash ("GENERAL\VUZOzaExit").
  std::u16string ChipValue(std::u16string_view name) const;
  int ReadAppNumber(std::u16string_view name, int absent) const;
  int WriteAppNumber(std::u16string_view name, int value);
  std::u16string ReadAppText(std::u16string_view name) const;
  int WriteAppText(std::u16string_view name, std::u16string_view text);

  // A value below the local machine root; 0 and the text, or -1 when key or value is unreadable.
  int ReadMachineRegistryValue(std::u16string_view keyPath, std::u16string_view name,
                               std::u16string& out) const;

  platform::Registry& Registry() const { return registry_; }

 private:
  std::u16string ReadTreeValue(std::u16string_view key) const;

  platform::Registry& registry_;
  mutable std::mutex mutex_;  // guards the path parts below
  std::u16string applicationKey_ = u"software\\Orvex\\vuzideza";
  std::u16string chipMode_ = u"GENERAL";
  std::u16string instance_;
  std::atomic<int> operationMode_{kStationMode};
};

// The built-in default WEP key: a counting pattern 01 02 03 ... of the key's length.
void FillDefaultWepKey(std::uint8_t* buffer, std::size_t length);

// A stored number's text converted like the C library's atoi on its first 19 characters: leading
// white space, a sign, digits up to the first other character; saturates at the int range.
int SettingTextToInt(std::u16string_view text);

// Text of a registry value as the store reads it: text as is, a number as decimal text,
// other types as absent.
std::u16string RegistryValueAsText(const platform::RegValue& value);

}  // namespace config
