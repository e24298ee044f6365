#pragma once
// Named profiles in the setting store: a singly linked list of keys below the application key.
// The application value "ProfileLink" names the first profile; each key "Profile\<name>" holds
// the profile's fields and, in its own "ProfileLink", the name of the next one. List order is the
// order of creation. Names are stored as typed and compared after trimming blanks, tabs and line
// breaks at both ends and without letter case.
//
// A cursor names the current profile; the walks move it and the field operations address the
// profile it names. The list comes from a store a person may have edited by hand: every walk
// stops at a name it has already passed, so a cycle in the links ends it instead of hanging, and
// at a name that has no key.
//
//   FirstProfile / NextProfile          walk the list (0, or -1 at its end)
//   FindProfile(name)                   cursor on the matching profile
//   AddProfile(name) / DeleteProfile    append a profile / unlink and remove one
//   ProfileNames()                      every name in list order
//   ReadRecord / WriteRecord            the cursor's profile as a whole
//   ReadText / ReadNumber / WriteText / WriteNumber   one field of the cursor's profile

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "config/profile_record.h"
#include "config/setting_store.h"

namespace config {

// What profile names are compared by: trimmed at both ends and upper-cased.
std::u16string ProfileCompareName(std::u16string_view name);
// A name can be stored when it is not blank and names a key of its own: a backslash would
// address a key below another profile's.
bool IsStorableProfileName(std::u16string_view name);

class ProfileStore {
 public:
  explicit ProfileStore(SettingStore& store);

  // The name the cursor holds; empty after a walk ran off the end.
  const std::u16string& Cursor() const { return cursor_; }

  [[nodiscard]] int FirstProfile();
  [[nodiscard]] int NextProfile();
  [[nodiscard]] int FindProfile(std::u16string_view name);
  // -1 for a name that is not storable or already taken (in any letter case).
  [[nodiscard]] int AddProfile(std::u16string_view name);
  // Removes the profile's key with all its values and links its neighbours. -1 when no profile
  // has that name.
  [[nodiscard]] int DeleteProfile(std::u16string_view name);
  std::vector<std::u16string> ProfileNames();

  // Fields of the cursor's profile: absent texts read empty, absent numbers -1. Numbers are
  // stored as 32-bit registry numbers, texts as registry text.
  std::u16string ReadText(std::u16string_view field) const;
  int ReadNumber(std::u16string_view field) const;
  int WriteText(std::u16string_view field, std::u16string_view text);
  int WriteNumber(std::u16string_view field, int value);

  // Every field; the WEP keys under the names built from the key length read first.
  void ReadRecord(ProfileRecord& record) const;
  // Every field, empty texts included, so that nothing of an older profile of that name stays
  // behind; all or nothing. 0, or -1 when the store refuses.
  [[nodiscard]] int WriteRecord(const ProfileRecord& record);

 private:
  std::u16string KeyPath(std::u16string_view name) const;
  // The "ProfileLink" of profile `name`; empty when it has none.
  std::u16string LinkOf(std::u16string_view name) const;
  // Moves the cursor to `name` unless the current walk has passed it already or it has no key.
  int Visit(std::u16string name);

  SettingStore& store_;
  std::u16string cursor_;
  std::unordered_set<std::u16string> passed_;  // compare names of the current walk
};

}  // namespace config
