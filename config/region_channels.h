#pragma once
// Regulatory region codes and the 2.4 GHz channels each allows.

#include <cstdint>
#include <optional>
#include <vector>

namespace config {

// Bit i set: channel i + 1 allowed. No value for a code outside the table (e.g. 124, 255).
std::optional<std::uint16_t> RegionChannelMask(int regionCode);

// The channels of a mask, ascending.
std::vector<std::uint8_t> ChannelsOfMask(std::uint16_t mask);

}  // namespace config
