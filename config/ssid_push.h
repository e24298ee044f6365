#pragma once
// Pushing a station SSID so that the adapter starts a fresh association: first an SSID of 32
// random bytes, which makes the adapter drop whatever it is joined to, then the real one. Used
// by the restore, More Settings, profile loading and the supplicant's re-association.

#include <array>
#include <cstdint>
#include <span>

#include "config/appliers.h"
#include "platform/clock/clock.h"

namespace config {

// The 32 bytes pushed first: successive draws of the generator seeded with the wall-clock
// seconds of `clock`, low 8 bits each.
std::array<std::uint8_t, kMaxSsidBytes> RandomSsid(const platform::Clock& clock);

// Pushes RandomSsid(clock) to the driver, then `ssid` (at most 32 bytes) through the SSID
// applier. Only the real SSID is ever stored: the random one goes to the driver alone, so a
// refused real SSID leaves the stored one as it was instead of a random name. Returns the real
// push's result.
int ApplySsidAfterRandom(const ApplierContext& context, const platform::Clock& clock,
                         std::span<const std::uint8_t> ssid);

}  // namespace config
