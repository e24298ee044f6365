#pragma once
// The transmit-rate list of the More Settings dialog: "Auto" followed by the rates the adapter
// offers on the chosen band (and, in an ad hoc network, in the ad hoc rate mode), asked from the
// driver. SupportedRates keeps what rate each entry after "Auto" stands for.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "adapter/adapter_library.h"
#include "config/setting_store.h"
#include "lang/multi_language.h"
#include "platform/window/dialog.h"
#include "ui/settings/channel_list.h"

namespace ui::settings {

// Rates in 500 kbit/s units, basic-rate bit cleared, ended by 0 when fewer than 16. Box entry
// k + 1 is rate k; entry 0 is "Auto".
using SupportedRates = std::array<std::uint8_t, VZ_RATE_SET_SIZE>;

// Ad hoc rate modes the driver reports: only the four 802.11b rates, every rate, all but them.
namespace adhoc_rates {
inline constexpr int OnlyB = 0, All = 1, NoB = 2;
}

// The rates of the driver's report (at most 16, up to the first 0) the box offers: on 5 GHz no
// 802.11b rate; on 2.4 GHz in an ad hoc network those the ad hoc rate mode allows; nothing
// without a band.
SupportedRates OfferedRates(std::span<const std::uint8_t> report, ListBand band,
                            int currentNetworkType, int adhocRateMode);

// "11 Mbps", "5.5 Mbps": half the rate code, with one decimal when it is odd.
std::u16string RateText(std::uint8_t rate, std::u16string_view unit);

// The entry for a stored rate set: the one rate of the set that is offered, or "Auto" (0) when
// none or several are.
int RateEntryForStoredSet(std::span<const std::uint8_t> stored, const SupportedRates& offered);

// A stored "DesiredRate" text as the set it names (16 bytes, unused ones 0).
std::array<std::uint8_t, VZ_RATE_SET_SIZE> StoredRateSet(std::u16string_view text);

struct RateBoxSources {
  adapter::AdapterLibrary& driver;
  adapter::AdapterHandle& adapter;
  const config::SettingStore& store;  // "DesiredRate"
  const lang::CMultiLanguage& language;
};

// Fills box `boxId` and `rates` for `band` and selects the entry of the stored rate set.
void FillRateBox(platform::window::Dialog& dialog, int boxId, ListBand band,
                 int currentNetworkType, const RateBoxSources& sources, SupportedRates& rates);

}  // namespace ui::settings
