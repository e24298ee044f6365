#pragma once
// This utility's version and the moment it was built, both fixed by the build: the version is
// the project's, the moment the time the build was configured, or SOURCE_DATE_EPOCH when that
// is set, so that a build can be reproduced byte for byte.

#include <array>
#include <cstdint>
#include <string>

namespace ui::settings {

// Major, minor, patch and build number.
std::array<int, 4> UtilityVersion();
// Seconds since 1970 (UTC) of the build.
std::int64_t BuildEpoch();
// "Jan 5 2025": three-letter English month, day, four-digit year (UTC).
std::u16string DateText(std::int64_t epochSeconds);
// "09:41:07" (UTC).
std::u16string TimeText(std::int64_t epochSeconds);

}  // namespace ui::settings
