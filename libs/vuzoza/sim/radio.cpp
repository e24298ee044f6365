#include "libs/vuzoza/sim/radio.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace vuzoza {
namespace {

constexpr std::uint8_t kChannels5[] = {36, 40, 44, 48, 52, 56, 60, 64, 100, 104, 108, 112, 116, 120, 124,
                                       128, 132, 136, 140, 149, 153, 157, 161, 165, 184, 188, 192, 196};
constexpr std::int64_t kSwingPeriodMs = 40'000;

}  // namespace

bool IsFiveGhzChannel(int channel) {
  return std::find(std::begin(kChannels5), std::end(kChannels5), channel) != std::end(kChannels5);
}

bool IsValidChannel(std::int64_t channel, bool fiveGhz) {
  if (fiveGhz) return channel > 0 && channel < 256 && IsFiveGhzChannel(static_cast<int>(channel));
  return channel >= 1 && channel <= 14;
}

std::uint32_t ChannelToKhz(int channel) {
  if (channel == 14) return 2'484'000;
  if (channel >= 1 && channel <= 13) return 2'407'000 + 5'000 * static_cast<std::uint32_t>(channel);
  return 5'000'000 + 5'000 * static_cast<std::uint32_t>(channel);
}

std::vector<std::uint8_t> DefaultChannels24() { return {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}; }
std::vector<std::uint8_t> DefaultChannels5() { return {std::begin(kChannels5), std::end(kChannels5)}; }

Bytes DefaultRates24() { return {0x82, 0x84, 0x8B, 0x96, 0x0C, 0x12, 0x18, 0x24, 0x30, 0x48, 0x60, 0x6C}; }
Bytes DefaultRates11b() { return {0x82, 0x84, 0x8B, 0x96}; }
Bytes DefaultRates5() { return {0x8C, 0x12, 0x98, 0x24, 0xB0, 0x48, 0x60, 0x6C}; }

int MaxRateKbps(const Bytes& rates) {
  int best = 0;
  for (auto r : rates) best = std::max(best, (r & 0x7F) * 500);
  return best;
}

int SignalAt(const NetworkSpec& network, std::int64_t nowMs) {
  const auto& track = network.signal;
  double dbm = track.front().dbm;
  if (nowMs >= track.back().atMs) {
    dbm = track.back().dbm;
  } else {
    for (std::size_t i = 1; i < track.size(); ++i) {
      if (nowMs < track[i].atMs) {
        const auto& a = track[i - 1];
        const auto& b = track[i];
        if (nowMs > a.atMs) {
          const double f = static_cast<double>(nowMs - a.atMs) / static_cast<double>(b.atMs - a.atMs);
          dbm = a.dbm + (b.dbm - a.dbm) * f;
        } else {
          dbm = a.dbm;
        }
        break;
      }
    }
  }
  const double phase = network.bssid[5] * 0.37 + network.bssid[4] * 0.11;
  const double angle = 2 * std::numbers::pi * static_cast<double>(nowMs % kSwingPeriodMs) / kSwingPeriodMs;
  dbm += network.signalSwing * std::sin(angle + phase);
  return static_cast<int>(std::lround(dbm));
}

int QualityFor(int dbm) { return std::clamp((dbm + 95) * 100 / 55, 0, 100); }

}  // namespace vuzoza
