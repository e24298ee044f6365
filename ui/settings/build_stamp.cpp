#include "ui/settings/build_stamp.h"

#include <chrono>

#include "platform/text/text.h"

namespace ui::settings {

namespace {

std::chrono::sys_seconds Moment(std::int64_t epochSeconds) {
  return std::chrono::sys_seconds(std::chrono::seconds(epochSeconds));
}

}  // namespace

std::array<int, 4> UtilityVersion() {
  return {VZ_VERSION_MAJOR, VZ_VERSION_MINOR, VZ_VERSION_PATCH, VZ_VERSION_BUILD};
}

std::int64_t BuildEpoch() { return VZ_BUILD_EPOCH; }

std::u16string DateText(std::int64_t epochSeconds) {
  static constexpr std::u16string_view kMonths[] = {u"Jan", u"Feb", u"Mar", u"Apr",
                                                    u"May", u"Jun", u"Jul", u"Aug",
                                                    u"Sep", u"Oct", u"Nov", u"Dec"};
  const std::chrono::year_month_day date(std::chrono::floor<std::chrono::days>(Moment(epochSeconds)));
  return platform::Format(u"%s %u %d", kMonths[static_cast<unsigned>(date.month()) - 1],
                          static_cast<unsigned>(date.day()), static_cast<int>(date.year()));
}

std::u16string TimeText(std::int64_t epochSeconds) {
  const auto moment = Moment(epochSeconds);
  const std::chrono::hh_mm_ss time(moment - std::chrono::floor<std::chrono::days>(moment));
  return platform::Format(u"%02d:%02d:%02d", static_cast<int>(time.hours().count()),
                          static_cast<int>(time.minutes().count()),
                          static_cast<int>(time.seconds().count()));
}

}  // namespace ui::settings
