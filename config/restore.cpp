#include "config/restore.h"

#include <algorithm>
#include <array>
#include <string>

#include "config/region_channels.h"
#include "config/setting_keys.h"
#include "config/ssid_push.h"
#include "config/text_conversions.h"
#include "lang/texts.h"
#include "platform/text/text.h"

namespace config {

namespace {

constexpr platform::Millis kSupplicantStartDelay{1000};
// The station always asks for the automatic preamble; only the access point offers a choice.
constexpr int kStationPreambleMode = 2;
// Access point band mode (list index + 1) that replaces an unset one: the first entry of the
// list, or the 5 GHz entry on a chip without 2.4 GHz.
constexpr int kApBandFirstEntry = 1;
constexpr int kApBandFiveGHzEntry = 4;
// Stored texts handed to the hexadecimal parser are cut like the 100-byte buffers they fit.
constexpr std::size_t kMaxHexTextCharacters = 99;

using RateSet = std::array<std::uint8_t, VZ_RATE_SET_SIZE>;

struct Restore {
  const ApplierContext& context;
  const RestoreEnvironment& environment;
  bool station;
  int bandValue = 0;  // what step "bands" pushed as the band in use; 0 when not settable

  int Read(std::u16string_view key) const { return context.store.ReadSettingInt(key); }
  int Read(std::u16string_view key, const SettingRange& range) const {
    return range.Apply(Read(key));
  }
  int Capability() const { return context.radio.bandCapability.load(); }

  void Bands();
  void MacFilterList();
  void RateSetFromStore();
  void FixedRate();
  void SupplicantIfNeeded();
  void Ssid();
};

// The band mode the product asks for, in the driver's numbering.
int RequestedBandMode(int productWirelessMode) {
  switch (productWirelessMode) {
    case 1: return band::FiveGHz;
    case 2: return band::Automatic;
    default: return band::TwoPointFourGHz;  // 0, and values the product file should not hold
  }
}

int CapabilityOfBandMode(int answer) {
  switch (answer) {
    case band::FiveGHz: return band_capability::FiveOnly;
    case band::Automatic: return band_capability::Both;
    default: return band_capability::TwoPointFourOnly;
  }
}

void Restore::Bands() {
  RadioState& radio = context.radio;
  if (context.driver.SetWL_QVWirelessMode(
          context.adapter, RequestedBandMode(environment.productWirelessMode)) != 0) {
    radio.wirelessModeSettable.store(0);
    radio.bandCapability.store(band_capability::TwoPointFourOnly);
    bandValue = 0;
    return;
  }
  radio.wirelessModeSettable.store(1);
  radio.bandCapability.store(
      CapabilityOfBandMode(context.driver.QueryWL_QVWirelessMode(context.adapter)));
  const int stored = Read(key::WirelessMode);
  switch (Capability()) {
    case band_capability::TwoPointFourOnly: bandValue = band::TwoPointFourGHz; break;
    case band_capability::FiveOnly: bandValue = band::FiveGHz; break;
    default:
      bandValue = stored >= band::FiveGHz && stored <= band::Automatic ? stored : band::Automatic;
      break;
  }
  (void)ApplyBand(context, bandValue);
}

// The in-use byte follows the address: an all-zero address is an empty entry.
void Restore::MacFilterList() {
  std::array<std::uint8_t, VZ_MAC_LIST_SIZE> list{};
  for (int entry = 0; entry < kMacFilterEntries; ++entry) {
    std::uint8_t* record = list.data() + entry * VZ_MAC_LIST_ENTRY_SIZE;
    const std::u16string text = context.store.ReadSettingString(MacFilterAddrName(entry));
    (void)HexTextToBytes(platform::NarrowCodePage(text.substr(0, kMaxHexTextCharacters)),
                         record + 1, VZ_MAC_SIZE);
    record[0] = std::any_of(record + 1, record + 1 + VZ_MAC_SIZE, [](auto b) { return b != 0; });
  }
  (void)ApplyFilterList(context, list);
}

void Restore::RateSetFromStore() {
  const std::u16string stored(platform::Trim(context.store.ReadSettingString(key::DesiredRate)));
  RateSet rates{};
  if (!stored.empty()) {
    (void)HexTextToBytes(NarrowText(std::u16string_view(stored).substr(0, kMaxHexTextCharacters)),
                         rates.data(), rates.size());
    // A set with several empty slots was cut short somewhere; the adapter's own set is safer.
    if (std::count(rates.begin(), rates.end(), 0) <= 1) {
      (void)ApplyDesiredRates(context, rates);
      return;
    }
  }
  RateSet supported{};  // fresh: a driver may fill less than the whole set
  if (context.driver.QueryWL_SupportedRate(context.adapter, supported) != -1) {
    (void)ApplyDesiredRates(context, supported);
  }
}

bool IsCckRate(int rate) { return rate == 2 || rate == 4 || rate == 11 || rate == 22; }

void Restore::FixedRate() {
  const int stored = Read(key::STATxRate);
  if (stored <= 0) return;
  int rate = stored & 0xFF;
  if (context.radio.currentNetworkType.load() == network_type::AdHoc) {
    // An ad hoc network may be limited to 802.11b rates or exclude them; a fixed rate of the
    // wrong kind would leave the station unable to send.
    const int adhocMode = context.driver.QueryWL_QVAdhocMode(context.adapter);
    if (bandValue == band::TwoPointFourGHz || bandValue == 0) {
      if (adhocMode == 0 && !IsCckRate(rate)) rate = 22;
      else if (adhocMode == 2 && IsCckRate(rate)) rate = 96;
    } else if (bandValue == band::FiveGHz && IsCckRate(rate)) {
      rate = 96;
    }
  }
  if (rate == 0) return;
  RateSet rates{};
  rates[0] = static_cast<std::uint8_t>(rate);
  (void)ApplyDesiredRates(context, rates);
}

void Restore::SupplicantIfNeeded() {
  const int authentication = Read(key::AuthenticationMode);
  if (authentication >= auth_mode::Wpa && authentication <= auth_mode::Wpa2Psk) {
    environment.clock.Sleep(kSupplicantStartDelay);
    environment.supplicant.StartSupplicant();
    return;
  }
  if (authentication == auth_mode::Open || authentication == auth_mode::AutoSwitch) {
    // 802.1X with keys from the authentication server: the driver must stay open.
    if (Read(key::Dot1xRC4WEP) == 1 && Read(key::WEPStatus) == encryption::WepOn) {
      (void)context.driver.SetWL_AuthenticationMode(context.adapter, auth_mode::Open);
      environment.clock.Sleep(kSupplicantStartDelay);
      environment.supplicant.StartSupplicant();
    }
  }
}

void Restore::Ssid() {
  std::u16string ssid = context.store.ReadSettingString(key::SSID);
  ssid.resize(std::min(ssid.size(), kMaxSsidBytes));
  if (!station && ssid.empty()) {
    ssid = environment.language.LoadLangString(lang::texts::MP_AP_Curr_Net_Setting_SSID_Default);
    ssid.resize(std::min(ssid.size(), kMaxSsidBytes));
  }
  const std::string bytes = platform::NarrowCodePage(ssid);
  const std::span ssidBytes(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  // A station drops its current association first, so the stored name starts a fresh one.
  if (station) {
    (void)ApplySsidAfterRandom(context, environment.clock, ssidBytes);
  } else {
    (void)ApplySsid(context, ssidBytes);
  }
}

}  // namespace

int RestoreConfiguration(const ApplierContext& context, const RestoreEnvironment& environment) {
  Restore restore{context, environment, context.store.OperationMode() == kStationMode};
  const bool station = restore.station;
  restore.Bands();

  int networkType = network_type::Infrastructure;
  if (station) {
    networkType = restore.Read(key::NetworkType, range::NetworkType);
    context.radio.currentNetworkType.store(networkType);
    (void)ApplyNetworkType(context, networkType);
  }
  (void)ApplyAuthentication(
      context, restore.Read(key::AuthenticationMode,
                            station ? range::StationAuthentication : range::ApAuthentication));
  if (!station || networkType != network_type::Infrastructure) {
    (void)ApplyChannel(context,
                       restore.Read(key::Channel, range::RestoreChannel(restore.Capability())));
  }

  PushStoredWepKeys(context, ValidWepKeyBits(restore.Read(key::WEPKeyLength)),
                    restore.Read(key::WEPDefaultKeyId, range::WEPDefaultKeyId));
  (void)ApplyEncryption(context, restore.Read(key::WEPStatus, range::WEPStatus));

  if (!station) {
    restore.MacFilterList();
    (void)ApplyFilterMode(context, restore.Read(key::MACFilterMode, range::MACFilterMode));
    (void)ApplyTxPower(context, restore.Read(key::TxPowerLevel, range::TxPowerLevel));
    int apBand = restore.Read(key::ApWirelessMode, range::ApWirelessMode);
    if (apBand == 0) {
      apBand = restore.Capability() == band_capability::FiveOnly ? kApBandFiveGHzEntry
                                                                 : kApBandFirstEntry;
    }
    (void)ApplyApBand(context, apBand);
    (void)ApplyApProtection(context, restore.Read(key::ApProtectionMode, range::ApProtectionMode));
    (void)ApplyPreamble(context, restore.Read(key::PreambleMode, range::ApPreambleMode));
  } else {
    (void)ApplyPreamble(context, kStationPreambleMode);
  }

  (void)ApplyFragmentationThreshold(
      context, restore.Read(key::FragmentationThreshold, range::FragmentationThreshold));
  (void)ApplyRtsThreshold(context, restore.Read(key::RTSThreshold, range::RTSThreshold));
  if (station) {
    const int powerSave = restore.Read(key::PowerSaveMode, range::PowerSaveMode);
    if (powerSave != 0) (void)ApplyPowerSave(context, powerSave);
  }
  (void)ApplyMultiDomain(context,
                         restore.Read(key::MultiDomainCapability, range::MultiDomainCapability));
  (void)ApplyRegion(context, restore.Read(key::OperationRegion, range::OperationRegion));

  const int driverRegion = context.driver.QueryWL_OperationRegionCode(context.adapter);
  if (environment.chipType == 1) {
    (void)ApplyRegionChannels(context, environment.chipType, driverRegion);
  }

  if (station) {
    restore.RateSetFromStore();
    restore.FixedRate();
    restore.SupplicantIfNeeded();
  }
  restore.Ssid();
  if (!station) (void)ApplyHideSsid(context, restore.Read(key::HideSSID, range::HideSSID));
  (void)ApplyPspXLink(context, restore.Read(key::PSPXLinkMode, range::PSPXLinkMode));
  (void)ApplyWmm(context, restore.Read(key::WMMQosMode, range::WMMQosMode));
  return 0;
}

int ApplyRegionChannels(const ApplierContext& context, int chipType, int regionCode) {
  if (context.driver.QvOpenAdapter(context.adapter) == 0) return -1;
  const std::optional<std::uint16_t> mask = RegionChannelMask(regionCode);
  if (!mask) return -1;
  const std::vector<std::uint8_t> channels = ChannelsOfMask(*mask);
  (void)ApplyRegion(context, regionCode);
  if (chipType == 1) (void)ApplySupportChannels(context, channels);
  return 0;
}

}  // namespace config
