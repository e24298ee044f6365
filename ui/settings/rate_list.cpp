#include "ui/settings/rate_list.h"

#include "config/setting_keys.h"
#include "config/text_conversions.h"
#include "lang/texts.h"
#include "platform/text/text.h"

namespace ui::settings {

namespace {

constexpr std::uint8_t kBasicRateBit = 0x80;
// Stored texts handed to the hexadecimal parser are cut like the 100-byte buffers they fit.
constexpr std::size_t kMaxHexTextCharacters = 99;

bool IsBRate(int rate) { return rate == 2 || rate == 4 || rate == 11 || rate == 22; }

bool Offered(int rate, ListBand band, int currentNetworkType, int adhocRateMode) {
  switch (band) {
    case ListBand::None: return false;
    case ListBand::Five: return !IsBRate(rate);
    case ListBand::TwoPointFour:
      if (currentNetworkType != config::network_type::AdHoc) return true;
      switch (adhocRateMode) {
        case adhoc_rates::OnlyB: return IsBRate(rate);
        case adhoc_rates::All: return true;
        case adhoc_rates::NoB: return !IsBRate(rate);
        default: return false;  // a mode the driver should not report
      }
  }
  return false;
}

}  // namespace

SupportedRates OfferedRates(std::span<const std::uint8_t> report, ListBand band,
                            int currentNetworkType, int adhocRateMode) {
  SupportedRates offered{};
  std::size_t count = 0;
  for (std::size_t i = 0; i < report.size() && i < offered.size() && report[i] != 0; ++i) {
    const std::uint8_t rate = report[i] & ~kBasicRateBit;
    if (Offered(rate, band, currentNetworkType, adhocRateMode)) offered[count++] = rate;
  }
  return offered;
}

std::u16string RateText(std::uint8_t rate, std::u16string_view unit) {
  if (rate % 2 == 0) return platform::Format(u"%d %s", rate / 2, unit);
  return platform::Format(u"%.1f %s", rate / 2.0, unit);
}

int RateEntryForStoredSet(std::span<const std::uint8_t> stored, const SupportedRates& offered) {
  int matches = 0;
  int position = -1;
  for (std::size_t i = 0; i < stored.size() && i < VZ_RATE_SET_SIZE && stored[i] != 0; ++i) {
    for (std::size_t k = 0; k < offered.size() && offered[k] != 0; ++k) {
      if (offered[k] == stored[i]) {
        ++matches;
        position = static_cast<int>(k);
        break;
      }
    }
  }
  return matches > 1 ? 0 : position + 1;
}

std::array<std::uint8_t, VZ_RATE_SET_SIZE> StoredRateSet(std::u16string_view text) {
  std::array<std::uint8_t, VZ_RATE_SET_SIZE> set{};
  (void)config::HexTextToBytes(config::NarrowText(text.substr(0, kMaxHexTextCharacters)),
                               set.data(), set.size());
  return set;
}

void FillRateBox(platform::window::Dialog& dialog, int boxId, ListBand band,
                 int currentNetworkType, const RateBoxSources& sources, SupportedRates& rates) {
  int adhocRateMode = adhoc_rates::All;
  if (currentNetworkType == config::network_type::AdHoc) {
    adhocRateMode = sources.driver.QueryWL_QVAdhocMode(sources.adapter);
  }
  dialog.ComboReset(boxId);
  rates = SupportedRates{};

  std::array<std::uint8_t, VZ_RATE_SET_SIZE> report{};
  std::int32_t count = 0;
  std::int32_t answer = sources.driver.QueryWL_UISupportTxRate(sources.adapter, report, count);
  if (answer != 0) {
    report = {};
    answer = sources.driver.QueryWL_SupportedRate(sources.adapter, report);
  }
  const lang::CMultiLanguage& language = sources.language;
  dialog.ComboAdd(boxId, language.LoadLangString(lang::texts::BS_G_TxRate_Value_Auto));
  if (answer != -1) {
    rates = OfferedRates(report, band, currentNetworkType, adhocRateMode);
    const std::u16string unit = language.LoadLangString(lang::texts::BS_G_TxRate_Value_Unit);
    for (std::size_t k = 0; k < rates.size() && rates[k] != 0; ++k) {
      dialog.ComboAdd(boxId, RateText(rates[k], unit));
    }
  }
  const auto stored = StoredRateSet(sources.store.ReadSettingString(config::key::DesiredRate));
  dialog.ComboSelect(boxId, RateEntryForStoredSet(stored, rates));
}

}  // namespace ui::settings
