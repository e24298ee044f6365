// The adapter driver library's C functions, each a translation of its arguments onto the world.

#include <algorithm>
#include <cstring>

#include "libs/vuzoza/exports/library_state.h"
#include "libs/vuzoza/include/vuzoza.h"

namespace {

using vuzoza::Bytes;
using vuzoza::CurrentWorld;
using vuzoza::Mac;
using vuzoza::Query;
using vuzoza::Setting;

// Calls reach the driver only through a handle it gave out.
bool IsOpen(const VzAdapterHandle* a) { return a != nullptr && a->handle > 0; }

std::string_view NameOf(const VzAdapterHandle* a) { return {a->name, strnlen(a->name, VZ_ADAPTER_NAME_SIZE)}; }

int32_t Get(VzAdapterHandle* a, Query q) { return IsOpen(a) ? CurrentWorld()->Get(NameOf(a), q) : -1; }

int32_t Set(VzAdapterHandle* a, Setting s, int32_t v) { return IsOpen(a) ? CurrentWorld()->Set(NameOf(a), s, v) : -1; }

void CopyText(char* to, std::size_t room, const std::string& from) {
  const std::size_t n = std::min(from.size(), room - 1);
  std::memcpy(to, from.data(), n);
  to[n] = '\0';
}

int32_t FillList(VzAdapterRecord* list, int32_t capacity, bool othersOnly) {
  const auto entries = CurrentWorld()->ListAdapters(othersOnly);
  const std::size_t n = std::min(entries.size(), static_cast<std::size_t>(capacity));
  for (std::size_t i = 0; i < n; ++i) {
    std::memset(&list[i], 0, sizeof list[i]);
    CopyText(list[i].name, sizeof list[i].name, entries[i].name);
    CopyText(list[i].description, sizeof list[i].description, entries[i].description);
    CopyText(list[i].instance, sizeof list[i].instance, entries[i].instance);
  }
  return static_cast<int32_t>(n);
}

int32_t CopyMac(int32_t result, const Mac& mac, uint8_t* out) {
  if (result == 0) std::copy(mac.begin(), mac.end(), out);
  return result;
}

// A byte list into a buffer whose room comes in *count and whose use goes out in it.
int32_t CopyList(int32_t result, const Bytes& bytes, uint8_t* out, int32_t* count, bool endMark) {
  if (result != 0) return result;
  if (bytes.size() > static_cast<std::size_t>(*count)) return -1;
  std::copy(bytes.begin(), bytes.end(), out);
  if (endMark && bytes.size() < static_cast<std::size_t>(*count)) out[bytes.size()] = 0;
  *count = static_cast<int32_t>(bytes.size());
  return 0;
}

}  // namespace

extern "C" {

int32_t QvOpenAdapter(VzAdapterHandle* a) {
  if (a == nullptr) return 0;
  const int handle = CurrentWorld()->Open(NameOf(a));
  if (handle > 0) a->handle = handle;
  return handle > 0 ? 1 : 0;
}

int32_t QvCloseAdapter(VzAdapterHandle* a) {
  if (a != nullptr) a->handle = -1;
  return 0;
}

int32_t CreateAllNICAdapterList(VzAdapterRecord* list, int32_t capacity) {
  return list == nullptr || capacity <= 0 ? 0 : FillList(list, capacity, false);
}

int32_t CreateNICAdapterList(VzAdapterRecord* list, int32_t capacity) {
  return list == nullptr || capacity < 0 ? -1 : FillList(list, capacity, true);
}

int32_t QueryWL_DriverVersion(VzAdapterHandle* a) { return IsOpen(a) ? CurrentWorld()->DriverVersion(NameOf(a)) : -1; }

int32_t Query_QVDriverInfo(VzAdapterHandle* a, VzDriverInfo* info) {
  vuzoza::DriverInfo d;
  if (!IsOpen(a) || info == nullptr || CurrentWorld()->GetDriverInfo(NameOf(a), d) != 0) return -1;
  *info = VzDriverInfo{d.vendorId, d.deviceId, d.firmwareVersion, d.chip, {0, 0, 0, 0}};
  return 0;
}

int32_t QueryWL_ConnectState(VzAdapterHandle* a) { return Get(a, Query::ConnectState); }

int32_t QueryWL_SSID(VzAdapterHandle* a, uint8_t* ssid) {
  Bytes bytes;
  if (!IsOpen(a) || ssid == nullptr || CurrentWorld()->GetSsid(NameOf(a), bytes) < 0) return -1;
  std::copy_n(bytes.begin(), std::min<std::size_t>(bytes.size(), VZ_SSID_SIZE), ssid);
  return static_cast<int32_t>(bytes.size());
}

int32_t QueryWL_BSSID(VzAdapterHandle* a, uint8_t* bssid) {
  Mac mac{};
  if (!IsOpen(a) || bssid == nullptr) return -1;
  return CopyMac(CurrentWorld()->GetBssid(NameOf(a), mac), mac, bssid);
}

int32_t GetNICAdapterMAC(VzAdapterHandle* a, uint8_t* out) {
  Mac mac{};
  if (!IsOpen(a) || out == nullptr) return -1;
  return CopyMac(CurrentWorld()->GetMac(NameOf(a), mac), mac, out);
}

int32_t QueryWL_Channel(VzAdapterHandle* a) { return Get(a, Query::Channel); }
int32_t QueryWL_NetworkType(VzAdapterHandle* a) { return Get(a, Query::NetworkType); }
int32_t QueryWL_WEPStatus(VzAdapterHandle* a) { return Get(a, Query::Encryption); }
int32_t QueryWL_AuthenticationMode(VzAdapterHandle* a) { return Get(a, Query::AuthMode); }
int32_t QueryWL_RSSI(VzAdapterHandle* a) { return Get(a, Query::Rssi); }
int32_t QueryWL_CommQuality(VzAdapterHandle* a) { return Get(a, Query::Quality); }
int32_t QueryWL_CurrentLinkSpeed(VzAdapterHandle* a) { return Get(a, Query::LinkSpeed); }

int32_t GetTxRxFrameCount(VzAdapterHandle* a, uint32_t* sent, uint32_t* received) {
  uint32_t tx = 0, rx = 0;
  if (!IsOpen(a) || sent == nullptr || received == nullptr || CurrentWorld()->GetFrameCounts(NameOf(a), tx, rx) != 0) {
    return -1;
  }
  *sent = tx;
  *received = rx;
  return 0;
}

int32_t QueryWL_802_11_NetworkTypeInUse(VzAdapterHandle* a) { return Get(a, Query::BandInUse); }
int32_t QueryWL_QVWirelessMode(VzAdapterHandle* a) { return Get(a, Query::BandModes); }
int32_t QueryWL_QVAdhocMode(VzAdapterHandle* a) { return Get(a, Query::AdhocRateMode); }
int32_t QueryWL_OperationMode_STA_AP(VzAdapterHandle* a) { return Get(a, Query::OperationMode); }
int32_t QueryWL_OperationRegionCode(VzAdapterHandle* a) { return Get(a, Query::Region); }
int32_t QueryWL_MultiDomainCapability(VzAdapterHandle* a) { return Get(a, Query::MultiDomain); }
int32_t QueryWL_PSMode(VzAdapterHandle* a) { return Get(a, Query::PowerSave); }
int32_t QueryWL_FragmentationThreshold(VzAdapterHandle* a) { return Get(a, Query::Fragmentation); }
int32_t QueryWL_RTS_CTS_Threshold(VzAdapterHandle* a) { return Get(a, Query::RtsThreshold); }
int32_t QueryWL_QVUseQVXOidState(VzAdapterHandle* a) { return Get(a, Query::PrivateRequests); }

int32_t QueryWL_SupportChannel(VzAdapterHandle* a, uint8_t* channels, int32_t* count) {
  Bytes bytes;
  if (!IsOpen(a) || channels == nullptr || count == nullptr || *count < 0) return -1;
  return CopyList(CurrentWorld()->GetSupportedChannels(NameOf(a), bytes), bytes, channels, count, false);
}

int32_t QueryWL_UISupportTxRate(VzAdapterHandle* a, uint8_t* rates, int32_t* count) {
  Bytes bytes;
  if (!IsOpen(a) || rates == nullptr || count == nullptr || *count < 0) return -1;
  return CopyList(CurrentWorld()->GetUiTxRates(NameOf(a), bytes), bytes, rates, count, true);
}

int32_t QueryWL_SupportedRate(VzAdapterHandle* a, uint8_t* rates) {
  Bytes bytes;
  if (!IsOpen(a) || rates == nullptr || CurrentWorld()->GetSupportedRates(NameOf(a), bytes) != 0) return -1;
  std::copy_n(bytes.begin(), VZ_RATE_SET_SIZE, rates);
  return 0;
}

int32_t SetWL_SSID(VzAdapterHandle* a, const uint8_t* ssid, int32_t length) {
  if (!IsOpen(a) || length < 0 || length > VZ_SSID_SIZE || (ssid == nullptr && length > 0)) return -1;
  return CurrentWorld()->SetSsid(NameOf(a), std::span<const uint8_t>(ssid, static_cast<std::size_t>(length)));
}

int32_t SetWL_Channel(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::Channel, v); }
int32_t SetWL_NetworkType(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::NetworkType, v); }
int32_t SetWL_802_11_NetworkTypeInUse(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::BandInUse, v); }
int32_t SetWL_AuthenticationMode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::AuthMode, v); }
int32_t SetWL_WEPStatus(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::Encryption, v); }

int32_t SetWL_DesiredRate(VzAdapterHandle* a, const uint8_t* rates) {
  if (!IsOpen(a) || rates == nullptr) return -1;
  return CurrentWorld()->SetDesiredRates(NameOf(a), std::span<const uint8_t, VZ_RATE_SET_SIZE>(rates, VZ_RATE_SET_SIZE));
}

int32_t SetWL_PSMode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::PowerSave, v); }
int32_t SetWL_FragmentationThreshold(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::Fragmentation, v); }
int32_t SetWL_RTS_CTS_Threshold(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::RtsThreshold, v); }
int32_t SetWL_PreambleMode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::Preamble, v); }
int32_t SetWL_MultiDomainCapability(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::MultiDomain, v); }
int32_t SetWL_OperationRegionCode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::Region, v); }
int32_t SetWL_QVPSPXLinkMode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::PspXLink, v); }
int32_t SetWL_QVWMMQosMode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::Wmm, v); }
int32_t SetWL_QVWirelessMode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::BandMode, v); }
int32_t SetWL_QVUseQVXOidState(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::PrivateRequests, v); }

int32_t SetWL_SupportChannel(VzAdapterHandle* a, const uint8_t* channels, int32_t count) {
  constexpr int32_t kMaxChannels = 100;
  if (!IsOpen(a) || channels == nullptr || count <= 0 || count > kMaxChannels) return -1;
  return CurrentWorld()->SetSupportedChannels(NameOf(a), std::span<const uint8_t>(channels, static_cast<std::size_t>(count)));
}

int32_t SetWL_RegionAndSupportChannel(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::RegionAndChannels, v); }

int32_t SetWL_BSSID(VzAdapterHandle* a, const uint8_t* bssid) {
  if (!IsOpen(a) || bssid == nullptr) return -1;
  Mac mac;
  std::copy_n(bssid, VZ_MAC_SIZE, mac.begin());
  return CurrentWorld()->SetBssid(NameOf(a), mac);
}

int32_t SetWL_WriteKey(VzAdapterHandle* a, int32_t index, int32_t lengthCode, int32_t isDefault, const uint8_t* key) {
  if (!IsOpen(a)) return -1;
  return CurrentWorld()->WriteKey(NameOf(a), index, lengthCode, isDefault != 0, key);
}

int32_t SetWL_OperationMode_STA_AP(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::OperationMode, v); }
int32_t SetWL_ApWirelessMode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::ApBandMode, v); }
int32_t SetWL_ApProtectionMode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::ApProtection, v); }
int32_t SetWLAP_HideSSIDState(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::HideSsid, v); }
int32_t SetWLAP_TxPowerLevel(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::TxPower, v); }
int32_t SetWLAP_FilterMode(VzAdapterHandle* a, int32_t v) { return Set(a, Setting::FilterMode, v); }

int32_t SetWLAP_FilterList(VzAdapterHandle* a, const uint8_t* list, int32_t length) {
  if (!IsOpen(a) || list == nullptr || length != VZ_MAC_LIST_SIZE) return -1;
  return CurrentWorld()->SetFilterList(NameOf(a), std::span<const uint8_t>(list, VZ_MAC_LIST_SIZE));
}

int32_t WL_SiteSurveyStart(VzAdapterHandle* a) { return IsOpen(a) ? CurrentWorld()->StartSurvey(NameOf(a)) : -1; }

int32_t WL_RetrieveSiteSurveyData(VzAdapterHandle* a, uint8_t* buffer, int32_t size) {
  Bytes bytes;
  if (!IsOpen(a) || buffer == nullptr || size <= 0) return -1;
  if (CurrentWorld()->GetSurvey(NameOf(a), static_cast<std::size_t>(size), bytes) != 0) return -1;
  std::copy(bytes.begin(), bytes.end(), buffer);
  return 0;
}

int32_t WL_RetrieveStationList(VzAdapterHandle* a, uint8_t* buffer, int32_t size) {
  Bytes bytes;
  if (!IsOpen(a) || buffer == nullptr || size < VZ_MAC_LIST_SIZE) return -1;
  if (CurrentWorld()->GetStationList(NameOf(a), bytes) != 0) return -1;
  std::copy(bytes.begin(), bytes.end(), buffer);
  return 0;
}

int32_t QVStartWZCService(void) { return CurrentWorld()->StartWzc(); }
int32_t QVStopWZCService(void) { return CurrentWorld()->StopWzc(); }
int32_t QueryWL_CheckWZCStatus(VzAdapterHandle* a) { return Get(a, Query::WzcStatus); }

// The simulated machine presents itself as an NT 5.0 system, run by an administrator.
int32_t CheckOSWinNT(void) { return 1; }
int32_t QueryWL_IsWindows2000(void) { return 1; }
int32_t QueryWL_IsWindows95(void) { return 0; }
int32_t IsAdmin(void) { return 1; }
int32_t NonAdminUserEnabler(void) { return 0; }
int32_t QV_GetOSVersion(void) { return 0x0500; }
int32_t Query_FixWindisPnPBug(void) { return CurrentWorld()->PnpWait() ? 1 : 0; }

int32_t ReadOid(VzAdapterHandle* a, uint32_t oid, uint8_t* buffer, uint32_t size) {
  if (!IsOpen(a) || buffer == nullptr) return -1;
  return CurrentWorld()->ReadOid(NameOf(a), oid, std::span<uint8_t>(buffer, size));
}

int32_t WriteOid(VzAdapterHandle* a, uint32_t oid, const uint8_t* buffer, uint32_t size) {
  if (!IsOpen(a) || buffer == nullptr) return -1;
  return CurrentWorld()->WriteOid(NameOf(a), oid, std::span<const uint8_t>(buffer, size));
}

void VzSim_SetClock(const VzSimClock* clock) { vuzoza::UseClock(clock); }

}  // extern "C"
