#include "config/ssid_push.h"

namespace config {

std::array<std::uint8_t, kMaxSsidBytes> RandomSsid(const platform::Clock& clock) {
  platform::RandomGenerator random;
  random.Seed(static_cast<std::uint32_t>(clock.UnixSeconds()));
  std::array<std::uint8_t, kMaxSsidBytes> noise{};
  for (auto& byte : noise) byte = static_cast<std::uint8_t>(random.Next() & 0xFF);
  return noise;
}

int ApplySsidAfterRandom(const ApplierContext& context, const platform::Clock& clock,
                         std::span<const std::uint8_t> ssid) {
  const auto noise = RandomSsid(clock);
  context.radio.wasDisconnected.store(0);
  (void)context.driver.SetWL_SSID(context.adapter, noise);
  return ApplySsid(context, ssid);
}

}  // namespace config
