#pragma once
// This utility's version (from the project's version) and the date and time it was built (the
// compiler's, which follow SOURCE_DATE_EPOCH when it is set, so a build can be reproduced).

#include <array>
#include <string>

namespace ui::settings {

// Major, minor, patch and build number.
std::array<int, 4> UtilityVersion();
// "Jan 5 2025": three-letter English month, day, four-digit year.
std::u16string BuildDate();
// "09:41:07".
std::u16string BuildTime();

}  // namespace ui::settings
