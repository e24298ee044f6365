#pragma once
// The adapter driver library as the core sees it: one virtual function per C function of
// vuzoza.h, same name, same arguments in the same order, same result. Where the C call takes a
// buffer and its room, the C++ call takes a span and passes its size as the room; fixed-size
// buffers are fixed-extent spans. Meanings, results and failure values are documented once, at
// the C declaration of the same name.

#include <cstdint>
#include <span>

#include "vuzoza.h"

namespace adapter {

using AdapterRecord = VzAdapterRecord;
using AdapterHandle = VzAdapterHandle;
using DriverInfo = VzDriverInfo;

using Bytes = std::span<std::uint8_t>;
using ConstBytes = std::span<const std::uint8_t>;
using MacOut = std::span<std::uint8_t, VZ_MAC_SIZE>;
using MacIn = std::span<const std::uint8_t, VZ_MAC_SIZE>;
using RateSetOut = std::span<std::uint8_t, VZ_RATE_SET_SIZE>;
using RateSetIn = std::span<const std::uint8_t, VZ_RATE_SET_SIZE>;
using MacListOut = std::span<std::uint8_t, VZ_MAC_LIST_SIZE>;
using MacListIn = std::span<const std::uint8_t, VZ_MAC_LIST_SIZE>;

// Safe to call from the user-interface thread and the supplicant thread at once, as the
// library is.
class AdapterLibrary {
 public:
  virtual ~AdapterLibrary() = default;

  // Open, lists
  virtual std::int32_t QvOpenAdapter(AdapterHandle& adapter) = 0;
  virtual std::int32_t QvCloseAdapter(AdapterHandle& adapter) = 0;
  virtual std::int32_t CreateAllNICAdapterList(std::span<AdapterRecord> list) = 0;
  virtual std::int32_t CreateNICAdapterList(std::span<AdapterRecord> list) = 0;
  virtual std::int32_t QueryWL_DriverVersion(AdapterHandle& adapter) = 0;
  virtual std::int32_t Query_QVDriverInfo(AdapterHandle& adapter, DriverInfo& info) = 0;

  // Station queries
  virtual std::int32_t QueryWL_ConnectState(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_SSID(AdapterHandle& adapter,
                                    std::span<std::uint8_t, VZ_SSID_SIZE> ssid) = 0;
  virtual std::int32_t QueryWL_BSSID(AdapterHandle& adapter, MacOut bssid) = 0;
  virtual std::int32_t GetNICAdapterMAC(AdapterHandle& adapter, MacOut mac) = 0;
  virtual std::int32_t QueryWL_Channel(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_NetworkType(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_WEPStatus(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_AuthenticationMode(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_RSSI(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_CommQuality(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_CurrentLinkSpeed(AdapterHandle& adapter) = 0;
  virtual std::int32_t GetTxRxFrameCount(AdapterHandle& adapter, std::uint32_t& sent,
                                         std::uint32_t& received) = 0;
  virtual std::int32_t QueryWL_802_11_NetworkTypeInUse(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_QVWirelessMode(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_QVAdhocMode(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_OperationMode_STA_AP(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_OperationRegionCode(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_MultiDomainCapability(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_PSMode(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_FragmentationThreshold(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_RTS_CTS_Threshold(AdapterHandle& adapter) = 0;
  virtual std::int32_t QueryWL_QVUseQVXOidState(AdapterHandle& adapter) = 0;
  // `count` is out only: the room offered is channels.size(). It is the library's answer and
  // may exceed the room when the driver misbehaves.
  virtual std::int32_t QueryWL_SupportChannel(AdapterHandle& adapter, Bytes channels,
                                              std::int32_t& count) = 0;
  // As QueryWL_SupportChannel: the room is rates.size(), `count` is out only.
  virtual std::int32_t QueryWL_UISupportTxRate(AdapterHandle& adapter, Bytes rates,
                                               std::int32_t& count) = 0;
  virtual std::int32_t QueryWL_SupportedRate(AdapterHandle& adapter, RateSetOut rates) = 0;

  // Station settings; the length or count of a variable buffer is its size.
  virtual std::int32_t SetWL_SSID(AdapterHandle& adapter, ConstBytes ssid) = 0;
  virtual std::int32_t SetWL_Channel(AdapterHandle& adapter, std::int32_t channel) = 0;
  virtual std::int32_t SetWL_NetworkType(AdapterHandle& adapter, std::int32_t networkType) = 0;
  virtual std::int32_t SetWL_802_11_NetworkTypeInUse(AdapterHandle& adapter,
                                                     std::int32_t networkTypeInUse) = 0;
  virtual std::int32_t SetWL_AuthenticationMode(AdapterHandle& adapter, std::int32_t mode) = 0;
  virtual std::int32_t SetWL_WEPStatus(AdapterHandle& adapter, std::int32_t status) = 0;
  virtual std::int32_t SetWL_DesiredRate(AdapterHandle& adapter, RateSetIn rates) = 0;
  virtual std::int32_t SetWL_PSMode(AdapterHandle& adapter, std::int32_t mode) = 0;
  virtual std::int32_t SetWL_FragmentationThreshold(AdapterHandle& adapter,
                                                    std::int32_t bytes) = 0;
  virtual std::int32_t SetWL_RTS_CTS_Threshold(AdapterHandle& adapter, std::int32_t bytes) = 0;
  virtual std::int32_t SetWL_PreambleMode(AdapterHandle& adapter, std::int32_t mode) = 0;
  virtual std::int32_t SetWL_MultiDomainCapability(AdapterHandle& adapter,
                                                   std::int32_t enabled) = 0;
  virtual std::int32_t SetWL_OperationRegionCode(AdapterHandle& adapter, std::int32_t region) = 0;
  virtual std::int32_t SetWL_QVPSPXLinkMode(AdapterHandle& adapter, std::int32_t mode) = 0;
  virtual std::int32_t SetWL_QVWMMQosMode(AdapterHandle& adapter, std::int32_t mode) = 0;
  virtual std::int32_t SetWL_QVWirelessMode(AdapterHandle& adapter, std::int32_t mode) = 0;
  virtual std::int32_t SetWL_QVUseQVXOidState(AdapterHandle& adapter, std::int32_t state) = 0;
  virtual std::int32_t SetWL_SupportChannel(AdapterHandle& adapter, ConstBytes channels) = 0;
  virtual std::int32_t SetWL_RegionAndSupportChannel(AdapterHandle& adapter,
                                                     std::int32_t region) = 0;
  virtual std::int32_t SetWL_BSSID(AdapterHandle& adapter, MacIn bssid) = 0;
  // The library reads as many key bytes as the length code says, whatever key.size() is;
  // implementations hand it at least VZ_WEP_KEY_MAX readable bytes (the key, then zeros).
  virtual std::int32_t SetWL_WriteKey(AdapterHandle& adapter, std::int32_t index,
                                      std::int32_t lengthCode, std::int32_t defaultKey,
                                      ConstBytes key) = 0;
  virtual std::int32_t SetWL_OperationMode_STA_AP(AdapterHandle& adapter, std::int32_t mode) = 0;

  // Access point
  virtual std::int32_t SetWL_ApWirelessMode(AdapterHandle& adapter, std::int32_t mode) = 0;
  virtual std::int32_t SetWL_ApProtectionMode(AdapterHandle& adapter, std::int32_t mode) = 0;
  virtual std::int32_t SetWLAP_HideSSIDState(AdapterHandle& adapter, std::int32_t hidden) = 0;
  virtual std::int32_t SetWLAP_TxPowerLevel(AdapterHandle& adapter, std::int32_t level) = 0;
  virtual std::int32_t SetWLAP_FilterMode(AdapterHandle& adapter, std::int32_t mode) = 0;
  virtual std::int32_t SetWLAP_FilterList(AdapterHandle& adapter, MacListIn list) = 0;

  // Scans
  virtual std::int32_t WL_SiteSurveyStart(AdapterHandle& adapter) = 0;
  virtual std::int32_t WL_RetrieveSiteSurveyData(AdapterHandle& adapter, Bytes buffer) = 0;
  virtual std::int32_t WL_RetrieveStationList(AdapterHandle& adapter, MacListOut buffer) = 0;

  // The operating system's wireless configuration service
  virtual std::int32_t QVStartWZCService() = 0;
  virtual std::int32_t QVStopWZCService() = 0;
  virtual std::int32_t QueryWL_CheckWZCStatus(AdapterHandle& adapter) = 0;

  // System
  virtual std::int32_t CheckOSWinNT() = 0;
  virtual std::int32_t QueryWL_IsWindows2000() = 0;
  virtual std::int32_t QueryWL_IsWindows95() = 0;
  virtual std::int32_t IsAdmin() = 0;
  virtual std::int32_t NonAdminUserEnabler() = 0;
  virtual std::int32_t QV_GetOSVersion() = 0;
  virtual std::int32_t Query_FixWindisPnPBug() = 0;

  // Raw driver requests
  virtual std::int32_t ReadOid(AdapterHandle& adapter, std::uint32_t oid, Bytes buffer) = 0;
  virtual std::int32_t WriteOid(AdapterHandle& adapter, std::uint32_t oid, ConstBytes buffer) = 0;
};

}  // namespace adapter
