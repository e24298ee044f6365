#include "config/profile_actions.h"

namespace config {

int LoadProfile(ProfileStore& profiles, const ApplierContext& context,
                const ProfileEnvironment& environment, std::u16string_view name) {
  if (profiles.FindProfile(name) != 0) return -1;
  ProfileRecord record;
  profiles.ReadRecord(record);
  ApplyProfileRecord(context, environment, record);
  return 0;
}

int SaveCurrentAsProfile(ProfileStore& profiles, const SettingStore& store,
                         std::u16string_view name) {
  if (profiles.FindProfile(name) != 0 && profiles.AddProfile(name) != 0) return -1;
  if (profiles.FindProfile(name) != 0) return -1;
  ProfileRecord record;
  CaptureCurrentSettings(store, record);
  return profiles.WriteRecord(record);
}

}  // namespace config
