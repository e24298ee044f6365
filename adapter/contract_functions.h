#pragma once
// Every function of the adapter driver library's contract (vuzoza.h), in the order of its table.
// The loader resolves them in this order, so a library missing several is reported by the
// first one here.

#include <array>
#include <string_view>

// X(name) for each function.
#define VZ_ADAPTER_CONTRACT(X) \
  X(QvOpenAdapter) \
  X(QvCloseAdapter) \
  X(CreateAllNICAdapterList) \
  X(CreateNICAdapterList) \
  X(QueryWL_DriverVersion) \
  X(Query_QVDriverInfo) \
  X(QueryWL_ConnectState) \
  X(QueryWL_SSID) \
  X(QueryWL_BSSID) \
  X(GetNICAdapterMAC) \
  X(QueryWL_Channel) \
  X(QueryWL_NetworkType) \
  X(QueryWL_WEPStatus) \
  X(QueryWL_AuthenticationMode) \
  X(QueryWL_RSSI) \
  X(QueryWL_CommQuality) \
  X(QueryWL_CurrentLinkSpeed) \
  X(GetTxRxFrameCount) \
  X(QueryWL_802_11_NetworkTypeInUse) \
  X(QueryWL_QVWirelessMode) \
  X(QueryWL_QVAdhocMode) \
  X(QueryWL_OperationMode_STA_AP) \
  X(QueryWL_OperationRegionCode) \
  X(QueryWL_MultiDomainCapability) \
  X(QueryWL_PSMode) \
  X(QueryWL_FragmentationThreshold) \
  X(QueryWL_RTS_CTS_Threshold) \
  X(QueryWL_QVUseQVXOidState) \
  X(QueryWL_SupportChannel) \
  X(QueryWL_UISupportTxRate) \
  X(QueryWL_SupportedRate) \
  X(SetWL_SSID) \
  X(SetWL_Channel) \
  X(SetWL_NetworkType) \
  X(SetWL_802_11_NetworkTypeInUse) \
  X(SetWL_AuthenticationMode) \
  X(SetWL_WEPStatus) \
  X(SetWL_DesiredRate) \
  X(SetWL_PSMode) \
  X(SetWL_FragmentationThreshold) \
  X(SetWL_RTS_CTS_Threshold) \
  X(SetWL_PreambleMode) \
  X(SetWL_MultiDomainCapability) \
  X(SetWL_OperationRegionCode) \
  X(SetWL_QVPSPXLinkMode) \
  X(SetWL_QVWMMQosMode) \
  X(SetWL_QVWirelessMode) \
  X(SetWL_QVUseQVXOidState) \
  X(SetWL_SupportChannel) \
  X(SetWL_RegionAndSupportChannel) \
  X(SetWL_BSSID) \
  X(SetWL_WriteKey) \
  X(SetWL_OperationMode_STA_AP) \
  X(SetWL_ApWirelessMode) \
  X(SetWL_ApProtectionMode) \
  X(SetWLAP_HideSSIDState) \
  X(SetWLAP_TxPowerLevel) \
  X(SetWLAP_FilterMode) \
  X(SetWLAP_FilterList) \
  X(WL_SiteSurveyStart) \
  X(WL_RetrieveSiteSurveyData) \
  X(WL_RetrieveStationList) \
  X(QVStartWZCService) \
  X(QVStopWZCService) \
  X(QueryWL_CheckWZCStatus) \
  X(CheckOSWinNT) \
  X(QueryWL_IsWindows2000) \
  X(QueryWL_IsWindows95) \
  X(IsAdmin) \
  X(NonAdminUserEnabler) \
  X(QV_GetOSVersion) \
  X(Query_FixWindisPnPBug) \
  X(ReadOid) \
  X(WriteOid)

namespace adapter {

#define VZ_CONTRACT_NAME(name) std::string_view{#name},
inline constexpr std::array kContractFunctionNames{VZ_ADAPTER_CONTRACT(VZ_CONTRACT_NAME)};
#undef VZ_CONTRACT_NAME

}  // namespace adapter
