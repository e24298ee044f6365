#include "ui/settings/build_stamp.h"

#include <cstdlib>
#include <string_view>

#include "platform/text/text.h"

namespace ui::settings {

std::array<int, 4> UtilityVersion() {
  return {VZ_VERSION_MAJOR, VZ_VERSION_MINOR, VZ_VERSION_PATCH, VZ_VERSION_BUILD};
}

std::u16string BuildDate() {
  // The compiler's form is "Mmm dd yyyy" with a blank before a one-digit day.
  const std::string_view date = __DATE__;
  const int day = std::atoi(std::string(date.substr(4, 2)).c_str());
  return platform::Format(u"%s %d %s", platform::FromUtf8(date.substr(0, 3)), day,
                          platform::FromUtf8(date.substr(7, 4)));
}

std::u16string BuildTime() { return platform::FromUtf8(__TIME__); }

}  // namespace ui::settings
