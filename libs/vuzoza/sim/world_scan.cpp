// Site surveys and the soft access point's station list.

#include "libs/vuzoza/sim/device.h"
#include "libs/vuzoza/sim/elements.h"
#include "libs/vuzoza/sim/world.h"

namespace vuzoza {

int World::StartSurvey(std::string_view adapter) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "WL_SiteSurveyStart");
  if (d == nullptr) return -1;
  // A second start while scanning joins the running scan.
  if (!d->scanStartedMs) d->scanStartedMs = Now();
  return 0;
}

int World::GetSurvey(std::string_view adapter, std::size_t capacity, Bytes& out) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "WL_RetrieveSiteSurveyData");
  if (d == nullptr || capacity < 4) return -1;
  out = EncodeBssidList(d->survey, capacity);
  return 0;
}

int World::GetStationList(std::string_view adapter, Bytes& out) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "WL_RetrieveStationList");
  if (d == nullptr) return -1;
  out.assign(kMacListSize, 0);
  if (d->operationMode != 1) return 0;
  const std::int64_t since = Now() - d->apUpSinceMs;
  std::size_t slot = 0;
  for (const StationSpec& s : scenario_.stations) {
    if (slot == kMacListEntries) break;
    if (!StationPresent(d->ap, s, since)) continue;
    out[7 * slot] = 1;
    std::copy(s.mac.begin(), s.mac.end(), out.begin() + 7 * slot + 1);
    ++slot;
  }
  return 0;
}

}  // namespace vuzoza
