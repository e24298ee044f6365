#pragma once
// Channels, frequencies, rate sets and how a network's signal moves over time.

#include <cstdint>
#include <vector>

#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza {

bool IsValidChannel(std::int64_t channel, bool fiveGhz);
bool IsFiveGhzChannel(int channel);
std::uint32_t ChannelToKhz(int channel);

std::vector<std::uint8_t> DefaultChannels24();
std::vector<std::uint8_t> DefaultChannels5();
Bytes DefaultRates24();  // 802.11b/g, the four 802.11b rates basic
Bytes DefaultRates11b();
Bytes DefaultRates5();   // 802.11a

// The highest rate of a set, in kbit/s.
int MaxRateKbps(const Bytes& rates);

// Signal in dBm at `nowMs`: the scenario's track, linearly interpolated, plus a slow swing whose
// phase differs per network so that networks do not move in step.
int SignalAt(const NetworkSpec& network, std::int64_t nowMs);

// Link quality in percent for a signal.
int QualityFor(int dbm);

}  // namespace vuzoza
