#include "config/setting_store.h"

#include <climits>
#include <cstring>
#include <string>

#include "config/setting_keys.h"
#include "config/text_conversions.h"
#include "platform/text/text.h"

namespace config {

namespace {

constexpr platform::RegRoot kUser = platform::RegRoot::CurrentUser;

}  // namespace

int SettingTextToInt(std::u16string_view text) {
  text = text.substr(0, 19);
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

std::u16string RegistryValueAsText(const platform::RegValue& value) {
  if (const auto* text = std::get_if<std::u16string>(&value.data)) {
    return text->substr(0, text->find(u'\0'));
  }
  if (const auto* number = std::get_if<std::uint32_t>(&value.data)) {
    return platform::Format(u"%d", static_cast<std::int32_t>(*number));
  }
  return {};
}

void FillDefaultWepKey(std::uint8_t* buffer, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) buffer[i] = static_cast<std::uint8_t>(i + 1);
}

SettingStore::SettingStore(platform::Registry& registry) : registry_(registry) {}

void SettingStore::SetApplicationKey(std::u16string_view company, std::u16string_view program) {
  std::lock_guard lock(mutex_);
  applicationKey_ = u"software\\";
  applicationKey_ += company;
  applicationKey_ += u"\\";
  applicationKey_ += program;
}

void SettingStore::SetChipMode(std::u16string_view chipMode) {
  std::lock_guard lock(mutex_);
  chipMode_ = chipMode;
}

void SettingStore::SetAdapterInstance(std::string_view instance) {
  std::lock_guard lock(mutex_);
  instance_ = WidenText(instance);
}

std::u16string SettingStore::ApplicationKey() const {
  std::lock_guard lock(mutex_);
  return applicationKey_;
}

std::u16string SettingStore::ChipMode() const {
  std::lock_guard lock(mutex_);
  return chipMode_;
}

std::u16string SettingStore::TreePath(int mode) const {
  std::lock_guard lock(mutex_);
  return applicationKey_ + u"\\LastSetting\\" + chipMode_ + u"\\" + instance_ + u"\\" +
         (mode == kAccessPointMode ? u"AccessPoint" : u"Station");
}

std::u16string SettingStore::ReadTreeValue(std::u16string_view key) const {
  platform::RegValue value;
  if (registry_.GetValue(kUser, TreePath(OperationMode()), key, value) != platform::RegStatus::Ok) {
    return {};
  }
  return RegistryValueAsText(value);
}

std::u16string SettingStore::ReadSettingString(std::u16string_view key) const {
  std::u16string text = ReadTreeValue(key);
  if (text.empty()) text = ReadTreeValue(key);
  return text;
}

int SettingStore::ReadSettingInt(std::u16string_view key) const {
  std::u16string text = ReadSettingString(key);
  if (text.empty()) text = ReadSettingString(key);
  if (text.empty()) return -1;
  return SettingTextToInt(text);
}

int SettingStore::WriteSetting(std::u16string_view key, std::u16string_view text) {
  return WriteSetting(OperationMode(), key, text);
}

int SettingStore::WriteSetting(int mode, std::u16string_view key, std::u16string_view text) {
  auto status = registry_.SetValue(kUser, TreePath(mode), key,
                                   platform::RegValue::Text(std::u16string(text)));
  return status == platform::RegStatus::Ok ? 0 : -1;
}

int SettingStore::ReadStoredWepKey(int bits, int index, std::uint8_t* buffer,
                                   std::size_t capacity) const {
  if ((bits != 64 && bits != 128 && bits != 256) || index < 0 || index > 3) return -1;
  const auto length = static_cast<std::size_t>(WepKeyBytes(bits));
  if (capacity < length) return -1;
  std::memset(buffer, 0, capacity);
  std::u16string text = ReadSettingString(WepKeyName(bits, index));
  if (text.empty()) {
    FillDefaultWepKey(buffer, length);
    return 0;
  }
  std::string narrow = NarrowText(std::u16string_view(text).substr(0, 99));
  HexTextToBytes(narrow, buffer, length);
  return 0;
}

std::u16string SettingStore::ChipValue(std::u16string_view name) const {
  return ChipMode() + u"\\" + std::u16string(name);
}

int SettingStore::ReadAppNumber(std::u16string_view name, int absent) const {
  platform::RegValue value;
  if (registry_.GetValue(kUser, ApplicationKey(), name, value) != platform::RegStatus::Ok) {
    return absent;
  }
  if (const auto* number = std::get_if<std::uint32_t>(&value.data)) {
    return static_cast<std::int32_t>(*number);
  }
  std::u16string text = RegistryValueAsText(value);
  return text.empty() ? absent : SettingTextToInt(text);
}

int SettingStore::WriteAppNumber(std::u16string_view name, int value) {
  auto status = registry_.SetValue(kUser, ApplicationKey(), name,
                                   platform::RegValue::Dword(static_cast<std::uint32_t>(value)));
  return status == platform::RegStatus::Ok ? 0 : -1;
}

std::u16string SettingStore::ReadAppText(std::u16string_view name) const {
  platform::RegValue value;
  if (registry_.GetValue(kUser, ApplicationKey(), name, value) != platform::RegStatus::Ok) {
    return {};
  }
  return RegistryValueAsText(value);
}

int SettingStore::WriteAppText(std::u16string_view name, std::u16string_view text) {
  auto status = registry_.SetValue(kUser, ApplicationKey(), name,
                                   platform::RegValue::Text(std::u16string(text)));
  return status == platform::RegStatus::Ok ? 0 : -1;
}

int SettingStore::ReadMachineRegistryValue(std::u16string_view keyPath, std::u16string_view name,
                                           std::u16string& out) const {
  platform::RegValue value;
  if (registry_.GetValue(platform::RegRoot::LocalMachine, keyPath, name, value) !=
      platform::RegStatus::Ok) {
    return -1;
  }
  out = RegistryValueAsText(value);
  return 0;
}

}  // namespace config
