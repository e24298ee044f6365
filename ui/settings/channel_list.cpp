#include "ui/settings/channel_list.h"

#include <algorithm>

#include "platform/text/text.h"

namespace ui::settings {

namespace {

constexpr std::uint8_t kBuiltIn5GHz[] = {8,   12,  16,  34,  36,  38,  40,  42,  44,  46,  48,  52,
                                         56,  60,  64,  100, 104, 108, 112, 116, 120, 124, 128, 132,
                                         136, 140, 149, 153, 157, 161, 184, 188, 192, 196};
constexpr int kBuiltIn24GHzLast = 14;

}  // namespace

std::vector<std::uint8_t> ChannelsOfBand(ListBand band,
                                         std::optional<std::span<const std::uint8_t>> report) {
  std::vector<std::uint8_t> channels;
  switch (band) {
    case ListBand::None:
      break;
    case ListBand::TwoPointFour:
      if (report) {
        channels.assign(report->begin(), std::find(report->begin(), report->end(), kBandSeparator));
      } else {
        for (int channel = 1; channel <= kBuiltIn24GHzLast; ++channel) {
          channels.push_back(static_cast<std::uint8_t>(channel));
        }
      }
      break;
    case ListBand::Five:
      if (report) {
        const auto separator = std::find(report->begin(), report->end(), kBandSeparator);
        if (separator != report->end()) {
          std::copy_if(separator + 1, report->end(), std::back_inserter(channels),
                       [](std::uint8_t channel) { return channel != kBandSeparator; });
        }
      } else {
        channels.assign(std::begin(kBuiltIn5GHz), std::end(kBuiltIn5GHz));
      }
      break;
  }
  return channels;
}

int ChannelEntry(const ChannelList& list, int currentChannel) {
  for (int entry = 0; entry < list.count; ++entry) {
    if (list.channels[entry] == currentChannel) return entry;
  }
  return 0;
}

void FillChannelBox(platform::window::Dialog& dialog, int boxId, ListBand band,
                    adapter::AdapterLibrary& driver, adapter::AdapterHandle& adapter,
                    ChannelList& list) {
  dialog.ComboReset(boxId);
  std::array<std::uint8_t, kMaxChannels> buffer{};
  std::int32_t count = 0;
  std::optional<std::span<const std::uint8_t>> report;
  if (driver.QueryWL_SupportChannel(adapter, buffer, count) == 0) {
    // The count is the driver's word; never more than the buffer holds.
    report = std::span<const std::uint8_t>(buffer).first(
        static_cast<std::size_t>(std::clamp<std::int32_t>(count, 0, kMaxChannels)));
  }
  const std::vector<std::uint8_t> channels = ChannelsOfBand(band, report);
  list = ChannelList{};
  for (const std::uint8_t channel : channels) {
    if (list.count == static_cast<int>(kMaxChannels)) break;
    list.channels[static_cast<std::size_t>(list.count++)] = channel;
    dialog.ComboAdd(boxId, platform::Format(u"%d", channel));
  }
  dialog.ComboSelect(boxId, ChannelEntry(list, driver.QueryWL_Channel(adapter)));
}

}  // namespace ui::settings
