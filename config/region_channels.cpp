#include "config/region_channels.h"

#include <array>

namespace config {

namespace {

constexpr std::uint16_t Channels(int first, int last) {
  std::uint16_t mask = 0;
  for (int channel = first; channel <= last; ++channel) mask |= std::uint16_t(1u << (channel - 1));
  return mask;
}

struct RegionRow {
  int firstCode;
  int lastCode;
  std::uint16_t mask;
};

constexpr std::uint16_t k1To11 = Channels(1, 11);
constexpr std::uint16_t k1To13 = Channels(1, 13);
constexpr std::uint16_t k10To13 = Channels(10, 13);

constexpr std::array kRegions = {
    RegionRow{0, 0, 0},
    RegionRow{16, 16, k1To11},      RegionRow{32, 34, k1To11},     RegionRow{51, 51, k1To11},
    RegionRow{66, 70, k1To11},      RegionRow{105, 105, k1To11},   RegionRow{111, 112, k1To11},
    RegionRow{121, 121, k1To11},    RegionRow{125, 130, k1To11},
    RegionRow{48, 49, k1To13},      RegionRow{52, 54, k1To13},     RegionRow{72, 72, k1To13},
    RegionRow{82, 104, k1To13},     RegionRow{106, 110, k1To13},   RegionRow{113, 120, k1To13},
    RegionRow{122, 123, k1To13},    RegionRow{131, 133, k1To13},
    RegionRow{50, 50, k10To13},     RegionRow{71, 71, k10To13},
    RegionRow{64, 65, Channels(1, 14)},
    RegionRow{80, 80, Channels(3, 9)},
    RegionRow{81, 81, Channels(10, 10)},
};

}  // namespace

std::optional<std::uint16_t> RegionChannelMask(int regionCode) {
  for (const RegionRow& row : kRegions) {
    if (regionCode >= row.firstCode && regionCode <= row.lastCode) return row.mask;
  }
  return std::nullopt;
}

std::vector<std::uint8_t> ChannelsOfMask(std::uint16_t mask) {
  std::vector<std::uint8_t> channels;
  for (int bit = 0; bit < 16; ++bit) {
    if (mask & (1u << bit)) channels.push_back(static_cast<std::uint8_t>(bit + 1));
  }
  return channels;
}

}  // namespace config
