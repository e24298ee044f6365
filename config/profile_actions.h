#pragma once
// What the profile buttons of the More Settings dialog do, on top of the profile store.

#include <string_view>

#include "config/profile_record.h"
#include "config/profile_store.h"

namespace config {

// Finds the profile and pushes its record onto the adapter. -1 when no profile has that name.
[[nodiscard]] int LoadProfile(ProfileStore& profiles, const ApplierContext& context,
                              const ProfileEnvironment& environment, std::u16string_view name);

// Saves the current station configuration under `name`, creating the profile (named as typed)
// when none of that name exists and overwriting every field of one that does. -1 when the name
// cannot be stored or the store refuses.
[[nodiscard]] int SaveCurrentAsProfile(ProfileStore& profiles, const SettingStore& store,
                                       std::u16string_view name);

}  // namespace config
