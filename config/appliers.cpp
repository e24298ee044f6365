#include "config/appliers.h"

#include <algorithm>
#include <array>
#include <string>

#include "config/setting_keys.h"
#include "config/text_conversions.h"
#include "platform/text/text.h"

namespace config {

namespace {

std::u16string Decimal(int value) { return platform::Format(u"%d", value); }

// Stores `value` when the driver accepted it, and turns the library's answer into 0 or -1.
int StoreIfAccepted(const ApplierContext& context, std::int32_t libraryResult,
                    std::u16string_view key, std::u16string_view value) {
  if (libraryResult != 0) return -1;
  (void)context.store.WriteSetting(key, value);
  return 0;
}

int StoreNumberIfAccepted(const ApplierContext& context, std::int32_t libraryResult,
                          std::u16string_view key, int value) {
  return StoreIfAccepted(context, libraryResult, key, Decimal(value));
}

std::u16string HexSetting(const std::uint8_t* bytes, std::size_t count) {
  return WidenText(BytesToHexText(bytes, count, true));
}

}  // namespace

int ApplySsid(const ApplierContext& context, std::span<const std::uint8_t> ssid) {
  ssid = ssid.first(std::min(ssid.size(), kMaxSsidBytes));
  context.radio.wasDisconnected.store(0);
  const std::int32_t result = context.driver.SetWL_SSID(context.adapter, ssid);
  const std::string bytes(ssid.begin(), ssid.end());
  return StoreIfAccepted(context, result, key::SSID, platform::WidenCodePage(
                                                         bytes.substr(0, bytes.find('\0'))));
}

int ApplyNetworkType(const ApplierContext& context, int networkType) {
  const std::int32_t result = context.driver.SetWL_NetworkType(context.adapter, networkType);
  // Dialogs and lists follow the type last asked for, whether or not the driver took it.
  context.radio.currentNetworkType.store(networkType);
  return StoreNumberIfAccepted(context, result, key::NetworkType, networkType);
}

int ApplyBand(const ApplierContext& context, int band) {
  return StoreNumberIfAccepted(
      context, context.driver.SetWL_802_11_NetworkTypeInUse(context.adapter, band),
      key::WirelessMode, band);
}

int ApplyChannel(const ApplierContext& context, int channel) {
  return StoreNumberIfAccepted(context, context.driver.SetWL_Channel(context.adapter, channel),
                               key::Channel, channel);
}

int ApplyAuthentication(const ApplierContext& context, int mode) {
  return StoreNumberIfAccepted(
      context, context.driver.SetWL_AuthenticationMode(context.adapter, mode),
      key::AuthenticationMode, mode);
}

int ApplyEncryption(const ApplierContext& context, int status) {
  return StoreNumberIfAccepted(context, context.driver.SetWL_WEPStatus(context.adapter, status),
                               key::WEPStatus, status);
}

int ApplyDesiredRates(const ApplierContext& context, adapter::RateSetIn rates) {
  return StoreIfAccepted(context, context.driver.SetWL_DesiredRate(context.adapter, rates),
                         key::DesiredRate, HexSetting(rates.data(), rates.size()));
}

int ApplyPowerSave(const ApplierContext& context, int level) {
  return StoreNumberIfAccepted(context, context.driver.SetWL_PSMode(context.adapter, level),
                               key::PowerSaveMode, level);
}

int ApplyFragmentationThreshold(const ApplierContext& context, int bytes) {
  return StoreNumberIfAccepted(
      context, context.driver.SetWL_FragmentationThreshold(context.adapter, bytes),
      key::FragmentationThreshold, bytes);
}

int ApplyRtsThreshold(const ApplierContext& context, int bytes) {
  return StoreNumberIfAccepted(
      context, context.driver.SetWL_RTS_CTS_Threshold(context.adapter, bytes), key::RTSThreshold,
      bytes);
}

int ApplyPreamble(const ApplierContext& context, int mode) {
  return StoreNumberIfAccepted(context, context.driver.SetWL_PreambleMode(context.adapter, mode),
                               key::PreambleMode, mode);
}

int ApplyMultiDomain(const ApplierContext& context, int enabled) {
  return StoreNumberIfAccepted(
      context, context.driver.SetWL_MultiDomainCapability(context.adapter, enabled),
      key::MultiDomainCapability, enabled);
}

int ApplyRegion(const ApplierContext& context, int region) {
  if (context.driver.SetWL_OperationRegionCode(context.adapter, region) != 0) return -1;
  // The region is a property of the radio, not of the mode: both trees follow it.
  const std::u16string text = Decimal(region);
  (void)context.store.WriteSetting(kStationMode, key::OperationRegion, text);
  (void)context.store.WriteSetting(kAccessPointMode, key::OperationRegion, text);
  return 0;
}

int ApplySupportChannels(const ApplierContext& context, std::span<const std::uint8_t> channels) {
  return context.driver.SetWL_SupportChannel(context.adapter, channels) == 0 ? 0 : -1;
}

int ApplyPspXLink(const ApplierContext& context, int mode) {
  return StoreNumberIfAccepted(context, context.driver.SetWL_QVPSPXLinkMode(context.adapter, mode),
                               key::PSPXLinkMode, mode);
}

int ApplyWmm(const ApplierContext& context, int mode) {
  return StoreNumberIfAccepted(context, context.driver.SetWL_QVWMMQosMode(context.adapter, mode),
                               key::WMMQosMode, mode);
}

int ApplyHideSsid(const ApplierContext& context, int hidden) {
  return StoreNumberIfAccepted(
      context, context.driver.SetWLAP_HideSSIDState(context.adapter, hidden), key::HideSSID,
      hidden);
}

int ApplyApBand(const ApplierContext& context, int mode) {
  return StoreNumberIfAccepted(context, context.driver.SetWL_ApWirelessMode(context.adapter, mode),
                               key::ApWirelessMode, mode);
}

int ApplyApProtection(const ApplierContext& context, int mode) {
  return StoreNumberIfAccepted(
      context, context.driver.SetWL_ApProtectionMode(context.adapter, mode),
      key::ApProtectionMode, mode);
}

int ApplyTxPower(const ApplierContext& context, int level) {
  const std::int32_t result = context.driver.SetWLAP_TxPowerLevel(context.adapter, level);
  // The access point dialog shows the stored level as the user's choice even when the chip
  // cannot change its power, so it is kept either way.
  (void)context.store.WriteSetting(key::TxPowerLevel, Decimal(level));
  return result == 0 ? 0 : -1;
}

int ApplyFilterMode(const ApplierContext& context, int mode) {
  return StoreNumberIfAccepted(context, context.driver.SetWLAP_FilterMode(context.adapter, mode),
                               key::MACFilterMode, mode);
}

int ApplyFilterList(const ApplierContext& context, adapter::MacListIn list) {
  if (context.driver.SetWLAP_FilterList(context.adapter, list) != 0) return -1;
  for (int entry = 0; entry < kMacFilterEntries; ++entry) {
    const std::uint8_t* address = list.data() + entry * VZ_MAC_LIST_ENTRY_SIZE + 1;
    (void)context.store.WriteSetting(MacFilterAddrName(entry),
                                     HexSetting(address, VZ_MAC_SIZE));
  }
  return 0;
}

int ApplyWepKey(const ApplierContext& context, int index, int lengthCode, bool defaultKey,
                std::span<const std::uint8_t> key) {
  // The library reads as many bytes as the length code says, whatever the caller handed over.
  std::array<std::uint8_t, kMaxWepKeyBytes> padded{};
  std::copy_n(key.begin(), std::min(key.size(), padded.size()), padded.begin());
  if (context.driver.SetWL_WriteKey(context.adapter, index, lengthCode, defaultKey ? 1 : 0,
                                    padded) != 0) {
    return -1;
  }
  const int bits = lengthCode == 1 ? 128 : lengthCode == 2 ? 256 : 64;
  (void)context.store.WriteSetting(WepKeyName(bits, index),
                                   HexSetting(padded.data(), WepKeyBytes(bits)));
  (void)context.store.WriteSetting(key::WEPKeyLength, Decimal(bits));
  if (defaultKey) (void)context.store.WriteSetting(key::WEPDefaultKeyId, Decimal(index));
  return 0;
}

void PushStoredWepKeys(const ApplierContext& context, int bits, int defaultIndex) {
  for (int index = 0; index < 4; ++index) {
    std::array<std::uint8_t, kMaxWepKeyBytes> key{};
    (void)context.store.ReadStoredWepKey(bits, index, key.data(), key.size());
    (void)ApplyWepKey(context, index, WepLengthCode(bits), index == defaultIndex, key);
  }
}

int ApplyWep(const ApplierContext& context, bool enable, int defaultIndex) {
  if (defaultIndex == -1) {
    defaultIndex = range::WEPDefaultKeyId.Apply(context.store.ReadSettingInt(key::WEPDefaultKeyId));
  }
  const int bits = ValidWepKeyBits(context.store.ReadSettingInt(key::WEPKeyLength));
  PushStoredWepKeys(context, bits, defaultIndex);
  return ApplyEncryption(context, enable ? encryption::WepOn : encryption::Off);
}

}  // namespace config
