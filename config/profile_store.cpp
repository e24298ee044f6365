#include "config/profile_store.h"

#include "config/setting_keys.h"
#include "platform/text/text.h"

namespace config {

namespace {

using platform::RegRoot;
using platform::RegStatus;
using platform::RegValue;

constexpr std::u16string_view kLink = u"ProfileLink";
constexpr std::u16string_view kProfileKey = u"\\Profile\\";

// The fields in the order they are written. The WEP keys have no member of their own: their
// names depend on the key length.
struct ProfileField {
  std::u16string_view name;
  int ProfileRecord::*number = nullptr;
  std::u16string ProfileRecord::*text = nullptr;  // neither: the four WEP keys
};

const ProfileField kFields[] = {
    {key::SSID, nullptr, &ProfileRecord::ssid},
    {key::WirelessMode, &ProfileRecord::wirelessMode},
    {key::Channel, &ProfileRecord::channel},
    {key::NetworkType, &ProfileRecord::networkType},
    {key::DesiredRate, nullptr, &ProfileRecord::desiredRate},
    {key::AuthenticationMode, &ProfileRecord::authenticationMode},
    {key::WEPStatus, &ProfileRecord::wepStatus},
    {u"WEPKey"},
    {key::WEPDefaultKeyId, &ProfileRecord::wepDefaultKeyId},
    {key::WEPKeyLength, &ProfileRecord::wepKeyLength},
    {key::WEPKeyFormat, &ProfileRecord::wepKeyFormat},
    {key::PowerSaveMode, &ProfileRecord::powerSaveMode},
    {key::FragmentationThreshold, &ProfileRecord::fragmentationThreshold},
    {key::RTSThreshold, &ProfileRecord::rtsThreshold},
    {key::PreambleMode, &ProfileRecord::preambleMode},
    {key::Dot1xProtocol, &ProfileRecord::dot1xProtocol},
    {key::Dot1xPassphrase, nullptr, &ProfileRecord::dot1xPassphrase},
    {key::Dot1xPassphraseFormat, &ProfileRecord::dot1xPassphraseFormat},
    {key::Dot1xUsername, nullptr, &ProfileRecord::dot1xUsername},
    {key::Dot1xPassword, nullptr, &ProfileRecord::dot1xPassword},
    {key::Dot1xPhase2Auth, nullptr, &ProfileRecord::dot1xPhase2Auth},
    {key::Dot1xValidateServerCertificate, &ProfileRecord::dot1xValidateServerCertificate},
    {key::Dot1xCertSubject, nullptr, &ProfileRecord::dot1xCertSubject},
    {key::Dot1xCertIssuer, nullptr, &ProfileRecord::dot1xCertIssuer},
    {key::Dot1xRC4WEP, &ProfileRecord::dot1xRc4Wep},
};

RegValue Number(int value) { return RegValue::Dword(static_cast<std::uint32_t>(value)); }

}  // namespace

std::u16string ProfileCompareName(std::u16string_view name) {
  return platform::ToUpper(platform::Trim(name));
}

bool IsStorableProfileName(std::u16string_view name) {
  return !platform::Trim(name).empty() && name.find(u'\\') == std::u16string_view::npos;
}

ProfileStore::ProfileStore(SettingStore& store) : store_(store) {}

std::u16string ProfileStore::KeyPath(std::u16string_view name) const {
  return store_.ApplicationKey() + std::u16string(kProfileKey) + std::u16string(name);
}

std::u16string ProfileStore::LinkOf(std::u16string_view name) const {
  RegValue value;
  if (store_.Registry().GetValue(RegRoot::CurrentUser, KeyPath(name), kLink, value) !=
      RegStatus::Ok) {
    return {};
  }
  return RegistryValueAsText(value);
}

int ProfileStore::Visit(std::u16string name) {
  // A name whose key is gone (a damaged store, or the link back to a profile deleted out of a
  // cycle) names no profile: the list ends before it.
  if (name.empty() || !passed_.insert(ProfileCompareName(name)).second ||
      store_.Registry().OpenKey(RegRoot::CurrentUser, KeyPath(name)) != RegStatus::Ok) {
    cursor_.clear();
    return -1;
  }
  cursor_ = std::move(name);
  return 0;
}

int ProfileStore::FirstProfile() {
  passed_.clear();
  return Visit(store_.ReadAppText(kLink));
}

int ProfileStore::NextProfile() {
  if (cursor_.empty()) return -1;
  return Visit(LinkOf(cursor_));
}

int ProfileStore::FindProfile(std::u16string_view name) {
  const std::u16string wanted = ProfileCompareName(name);
  for (int found = FirstProfile(); found == 0; found = NextProfile()) {
    if (ProfileCompareName(cursor_) == wanted) return 0;
  }
  return -1;
}

std::vector<std::u16string> ProfileStore::ProfileNames() {
  std::vector<std::u16string> names;
  for (int found = FirstProfile(); found == 0; found = NextProfile()) names.push_back(cursor_);
  return names;
}

int ProfileStore::AddProfile(std::u16string_view name) {
  if (!IsStorableProfileName(name) || FindProfile(name) == 0) return -1;
  std::u16string last;
  for (int found = FirstProfile(); found == 0; found = NextProfile()) last = cursor_;
  const std::u16string key = KeyPath(name);
  const std::u16string lastKey = last.empty() ? store_.ApplicationKey() : KeyPath(last);
  const RegStatus status = store_.Registry().Batch([&](platform::Registry& registry) {
    // A key of that name outside the list is left over from a damaged store; its old link
    // would splice a stale chain onto the list.
    const RegStatus removed = registry.DeleteKey(RegRoot::CurrentUser, key);
    if (removed != RegStatus::Ok && removed != RegStatus::NotFound) return removed;
    const RegStatus created = registry.CreateKey(RegRoot::CurrentUser, key);
    if (created != RegStatus::Ok) return created;
    return registry.SetValue(RegRoot::CurrentUser, lastKey, kLink,
                             RegValue::Text(std::u16string(name)));
  });
  return status == RegStatus::Ok ? 0 : -1;
}

int ProfileStore::DeleteProfile(std::u16string_view name) {
  const std::u16string wanted = ProfileCompareName(name);
  std::u16string previous;
  for (int found = FirstProfile(); found == 0; found = NextProfile()) {
    if (ProfileCompareName(cursor_) != wanted) {
      previous = cursor_;
      continue;
    }
    std::u16string next = LinkOf(cursor_);
    // A link back into the part already walked is a cycle: the list ends here instead.
    if (passed_.contains(ProfileCompareName(next))) next.clear();
    const std::u16string key = KeyPath(cursor_);
    const std::u16string previousKey =
        previous.empty() ? store_.ApplicationKey() : KeyPath(previous);
    const RegStatus status = store_.Registry().Batch([&](platform::Registry& registry) {
      const RegStatus removed = registry.DeleteKey(RegRoot::CurrentUser, key);
      if (removed != RegStatus::Ok && removed != RegStatus::NotFound) return removed;
      return registry.SetValue(RegRoot::CurrentUser, previousKey, kLink, RegValue::Text(next));
    });
    cursor_.clear();
    return status == RegStatus::Ok ? 0 : -1;
  }
  return -1;
}

std::u16string ProfileStore::ReadText(std::u16string_view field) const {
  RegValue value;
  if (cursor_.empty() || store_.Registry().GetValue(RegRoot::CurrentUser, KeyPath(cursor_), field,
                                                    value) != RegStatus::Ok) {
    return {};
  }
  return RegistryValueAsText(value);
}

int ProfileStore::ReadNumber(std::u16string_view field) const {
  RegValue value;
  if (cursor_.empty() || store_.Registry().GetValue(RegRoot::CurrentUser, KeyPath(cursor_), field,
                                                    value) != RegStatus::Ok) {
    return -1;
  }
  if (const auto* number = std::get_if<std::uint32_t>(&value.data)) {
    return static_cast<std::int32_t>(*number);
  }
  const std::u16string text = RegistryValueAsText(value);
  return text.empty() ? -1 : SettingTextToInt(text);
}

int ProfileStore::WriteText(std::u16string_view field, std::u16string_view text) {
  if (cursor_.empty()) return -1;
  return store_.Registry().SetValue(RegRoot::CurrentUser, KeyPath(cursor_), field,
                                    RegValue::Text(std::u16string(text))) == RegStatus::Ok
             ? 0
             : -1;
}

int ProfileStore::WriteNumber(std::u16string_view field, int value) {
  if (cursor_.empty()) return -1;
  return store_.Registry().SetValue(RegRoot::CurrentUser, KeyPath(cursor_), field,
                                    Number(value)) == RegStatus::Ok
             ? 0
             : -1;
}

void ProfileStore::ReadRecord(ProfileRecord& record) const {
  for (const ProfileField& field : kFields) {
    if (field.number) record.*field.number = ReadNumber(field.name);
    if (field.text) record.*field.text = ReadText(field.name);
  }
  for (int index = 0; index < 4; ++index) {
    record.wepKeys[index] = ReadText(WepKeyName(record.wepKeyLength, index));
  }
}

int ProfileStore::WriteRecord(const ProfileRecord& record) {
  if (cursor_.empty()) return -1;
  const std::u16string key = KeyPath(cursor_);
  const RegStatus status = store_.Registry().Batch([&](platform::Registry& registry) {
    const auto write = [&](std::u16string_view name, const RegValue& value) {
      return registry.SetValue(RegRoot::CurrentUser, key, name, value);
    };
    for (const ProfileField& field : kFields) {
      RegStatus written = RegStatus::Ok;
      if (field.number) {
        written = write(field.name, Number(record.*field.number));
      } else if (field.text) {
        written = write(field.name, RegValue::Text(record.*field.text));
      } else {
        for (int index = 0; index < 4 && written == RegStatus::Ok; ++index) {
          written = write(WepKeyName(record.wepKeyLength, index),
                          RegValue::Text(record.wepKeys[index]));
        }
      }
      if (written != RegStatus::Ok) return written;
    }
    return RegStatus::Ok;
  });
  return status == RegStatus::Ok ? 0 : -1;
}

}  // namespace config
