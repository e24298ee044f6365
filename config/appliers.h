#pragma once
// Setting appliers: the one way a setting reaches the driver. Each pushes one value with the
// matching library call and, when the driver accepts it, writes the same value into the current
// mode's setting tree, so the trees always hold what the driver last accepted.
//
// Every applier returns 0 when the library call returned 0, else -1. Most callers ignore the
// result on purpose (a refused push is not reported to the user; the tree keeps its previous
// value), so results are not marked [[nodiscard]]. Registry write failures are ignored.
//
// Appliers hold no state and may run on the supplicant thread while the user-interface thread
// uses the store: the store, the library and RadioState are safe from two threads.
//
// | Applier                     | Library call                    | Stored key                  |
// |-----------------------------|---------------------------------|-----------------------------|
// | ApplySsid                   | SetWL_SSID                      | SSID (clears WasDisconnected first) |
// | ApplyNetworkType            | SetWL_NetworkType               | NetworkType (+ CurrentNetworkType) |
// | ApplyBand                   | SetWL_802_11_NetworkTypeInUse   | WirelessMode                |
// | ApplyChannel                | SetWL_Channel                   | Channel                     |
// | ApplyAuthentication         | SetWL_AuthenticationMode        | AuthenticationMode          |
// | ApplyEncryption             | SetWL_WEPStatus                 | WEPStatus                   |
// | ApplyDesiredRates           | SetWL_DesiredRate               | DesiredRate (16 bytes hex)  |
// | ApplyPowerSave              | SetWL_PSMode                    | PowerSaveMode               |
// | ApplyFragmentationThreshold | SetWL_FragmentationThreshold    | FragmentationThreshold      |
// | ApplyRtsThreshold           | SetWL_RTS_CTS_Threshold         | RTSThreshold                |
// | ApplyPreamble               | SetWL_PreambleMode              | PreambleMode                |
// | ApplyMultiDomain            | SetWL_MultiDomainCapability     | MultiDomainCapability       |
// | ApplyRegion                 | SetWL_OperationRegionCode       | OperationRegion, both trees |
// | ApplySupportChannels        | SetWL_SupportChannel            | nothing                     |
// | ApplyPspXLink               | SetWL_QVPSPXLinkMode            | PSPXLinkMode                |
// | ApplyWmm                    | SetWL_QVWMMQosMode              | WMMQosMode                  |
// | ApplyHideSsid               | SetWLAP_HideSSIDState           | HideSSID                    |
// | ApplyApBand                 | SetWL_ApWirelessMode            | ApWirelessMode              |
// | ApplyApProtection           | SetWL_ApProtectionMode          | ApProtectionMode            |
// | ApplyTxPower                | SetWLAP_TxPowerLevel            | TxPowerLevel, even when refused |
// | ApplyFilterMode             | SetWLAP_FilterMode              | MACFilterMode               |
// | ApplyFilterList             | SetWLAP_FilterList              | MACFilterAddr0..15          |
// | ApplyWepKey                 | SetWL_WriteKey                  | WEPKey<bits>_<i>, WEPKeyLength, WEPDefaultKeyId |
// | ApplyWep                    | ApplyWepKey x4, ApplyEncryption | (through those)             |

#include <cstdint>
#include <span>

#include "adapter/adapter_library.h"
#include "config/radio_state.h"
#include "config/setting_store.h"

namespace config {

// What every applier works on. The references outlive the call; the context is cheap to copy.
struct ApplierContext {
  adapter::AdapterLibrary& driver;
  adapter::AdapterHandle& adapter;
  SettingStore& store;
  RadioState& radio;
};

inline constexpr std::size_t kMaxSsidBytes = 32;

// Up to 32 bytes (more are cut). Stored as text up to the first NUL byte.
int ApplySsid(const ApplierContext& context, std::span<const std::uint8_t> ssid);
int ApplyNetworkType(const ApplierContext& context, int networkType);
// Band in use: band::FiveGHz, TwoPointFourGHz or Automatic.
int ApplyBand(const ApplierContext& context, int band);
int ApplyChannel(const ApplierContext& context, int channel);
int ApplyAuthentication(const ApplierContext& context, int mode);
int ApplyEncryption(const ApplierContext& context, int status);
int ApplyDesiredRates(const ApplierContext& context, adapter::RateSetIn rates);
int ApplyPowerSave(const ApplierContext& context, int level);
int ApplyFragmentationThreshold(const ApplierContext& context, int bytes);
int ApplyRtsThreshold(const ApplierContext& context, int bytes);
int ApplyPreamble(const ApplierContext& context, int mode);
int ApplyMultiDomain(const ApplierContext& context, int enabled);
// Stores into the station and the access point tree whatever the current mode.
int ApplyRegion(const ApplierContext& context, int region);
int ApplySupportChannels(const ApplierContext& context, std::span<const std::uint8_t> channels);
int ApplyPspXLink(const ApplierContext& context, int mode);
int ApplyWmm(const ApplierContext& context, int mode);
int ApplyHideSsid(const ApplierContext& context, int hidden);
int ApplyApBand(const ApplierContext& context, int mode);
int ApplyApProtection(const ApplierContext& context, int mode);
// Stores the level even when the driver refuses it; the result still reports the refusal.
int ApplyTxPower(const ApplierContext& context, int level);
int ApplyFilterMode(const ApplierContext& context, int mode);
// 16 entries of 7 bytes (in-use byte, 6 address bytes); every entry's address is stored.
int ApplyFilterList(const ApplierContext& context, adapter::MacListIn list);

// Pushes WEP key `index` (0-3) with `lengthCode` (0, 1, 2 for 5, 13, 29 bytes; any other code is
// passed on but stored as a 64-bit key). Missing key bytes count as zero. When accepted, stores
// the key, "WEPKeyLength" and, for the default key, "WEPDefaultKeyId".
int ApplyWepKey(const ApplierContext& context, int index, int lengthCode, bool defaultKey,
                std::span<const std::uint8_t> key);

// Pushes the four stored keys of `bits` (64, 128, 256) with the key at `defaultIndex` flagged as
// the default; results are ignored, as a refused key leaves its stored value.
void PushStoredWepKeys(const ApplierContext& context, int bits, int defaultIndex);

// Pushes the four stored keys of the stored length (the default one flagged), then switches
// encryption on (WEP) or off. `defaultIndex` -1 takes the stored default key index. Returns the
// encryption push's result.
int ApplyWep(const ApplierContext& context, bool enable, int defaultIndex = -1);

}  // namespace config
