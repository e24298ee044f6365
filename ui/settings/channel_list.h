#pragma once
// The channel list of the settings dialogs: the channels the adapter offers on one band, asked
// from the driver with built-in lists as the fallback, shown as numbers in a drop-down box. The
// calling dialog keeps the ChannelList, which says what channel each box entry stands for;
// applying a selection reads the channel from it, never from the box text.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "adapter/adapter_library.h"
#include "platform/window/dialog.h"

namespace ui::settings {

// The band a list is built for; None when the dialog has no band chosen (the lists stay empty).
enum class ListBand { None, TwoPointFour, Five };

inline constexpr std::size_t kMaxChannels = 100;
// Separates the 2.4 GHz channels of the driver's report from the 5 GHz ones.
inline constexpr std::uint8_t kBandSeparator = 0xFF;

struct ChannelList {
  std::array<std::uint8_t, kMaxChannels> channels{};
  int count = 0;
};

// The channels of `band`: from the driver's report when it gave one (2.4 GHz: the entries before
// the first separator; 5 GHz: those after it, without further separators), else the built-in
// list of the band.
std::vector<std::uint8_t> ChannelsOfBand(ListBand band,
                                         std::optional<std::span<const std::uint8_t>> report);

// The entry to select for the adapter's current channel: the first equal one, else entry 0.
int ChannelEntry(const ChannelList& list, int currentChannel);

// Fills box `boxId` and `list` with the channels of `band` the adapter offers and selects the
// adapter's current channel.
void FillChannelBox(platform::window::Dialog& dialog, int boxId, ListBand band,
                    adapter::AdapterLibrary& driver, adapter::AdapterHandle& adapter,
                    ChannelList& list);

}  // namespace ui::settings
