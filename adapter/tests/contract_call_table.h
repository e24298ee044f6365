#pragma once
// One call of every contract function with the text it must be recorded as. Run against the
// recording fake (what it records) and against a loaded C library (what arrives there).

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "adapter/adapter_library.h"

namespace adapter::testing {

struct ContractCall {
  std::string text;
  std::function<std::int32_t(AdapterLibrary&, AdapterHandle&)> call;
};

inline std::vector<ContractCall> EveryContractCall() {
  using L = AdapterLibrary;
  using H = AdapterHandle;
  std::array<std::uint8_t, VZ_MAC_LIST_SIZE> filter{};
  filter[0] = 1;
  filter[1] = 0x02;
  filter[6] = 0x10;
  const std::string filterText = "01020000000010" + std::string(2 * (VZ_MAC_LIST_SIZE - 7), '0');

  return {
      {"QvOpenAdapter()", [](L& l, H& a) { return l.QvOpenAdapter(a); }},
      {"QvCloseAdapter()", [](L& l, H& a) { return l.QvCloseAdapter(a); }},
      {"CreateAllNICAdapterList(100)",
       [](L& l, H&) {
         std::vector<AdapterRecord> list(100);
         return l.CreateAllNICAdapterList(list);
       }},
      {"CreateNICAdapterList(30)",
       [](L& l, H&) {
         std::vector<AdapterRecord> list(30);
         return l.CreateNICAdapterList(list);
       }},
      {"QueryWL_DriverVersion()", [](L& l, H& a) { return l.QueryWL_DriverVersion(a); }},
      {"Query_QVDriverInfo()",
       [](L& l, H& a) {
         DriverInfo info{};
         return l.Query_QVDriverInfo(a, info);
       }},
      {"QueryWL_ConnectState()", [](L& l, H& a) { return l.QueryWL_ConnectState(a); }},
      {"QueryWL_SSID()",
       [](L& l, H& a) {
         std::array<std::uint8_t, VZ_SSID_SIZE> ssid{};
         return l.QueryWL_SSID(a, ssid);
       }},
      {"QueryWL_BSSID()",
       [](L& l, H& a) {
         std::array<std::uint8_t, VZ_MAC_SIZE> bssid{};
         return l.QueryWL_BSSID(a, bssid);
       }},
      {"GetNICAdapterMAC()",
       [](L& l, H& a) {
         std::array<std::uint8_t, VZ_MAC_SIZE> mac{};
         return l.GetNICAdapterMAC(a, mac);
       }},
      {"QueryWL_Channel()", [](L& l, H& a) { return l.QueryWL_Channel(a); }},
      {"QueryWL_NetworkType()", [](L& l, H& a) { return l.QueryWL_NetworkType(a); }},
      {"QueryWL_WEPStatus()", [](L& l, H& a) { return l.QueryWL_WEPStatus(a); }},
      {"QueryWL_AuthenticationMode()",
       [](L& l, H& a) { return l.QueryWL_AuthenticationMode(a); }},
      {"QueryWL_RSSI()", [](L& l, H& a) { return l.QueryWL_RSSI(a); }},
      {"QueryWL_CommQuality()", [](L& l, H& a) { return l.QueryWL_CommQuality(a); }},
      {"QueryWL_CurrentLinkSpeed()", [](L& l, H& a) { return l.QueryWL_CurrentLinkSpeed(a); }},
      {"GetTxRxFrameCount()",
       [](L& l, H& a) {
         std::uint32_t sent = 0, received = 0;
         return l.GetTxRxFrameCount(a, sent, received);
       }},
      {"QueryWL_802_11_NetworkTypeInUse()",
       [](L& l, H& a) { return l.QueryWL_802_11_NetworkTypeInUse(a); }},
      {"QueryWL_QVWirelessMode()", [](L& l, H& a) { return l.QueryWL_QVWirelessMode(a); }},
      {"QueryWL_QVAdhocMode()", [](L& l, H& a) { return l.QueryWL_QVAdhocMode(a); }},
      {"QueryWL_OperationMode_STA_AP()",
       [](L& l, H& a) { return l.QueryWL_OperationMode_STA_AP(a); }},
      {"QueryWL_OperationRegionCode()",
       [](L& l, H& a) { return l.QueryWL_OperationRegionCode(a); }},
      {"QueryWL_MultiDomainCapability()",
       [](L& l, H& a) { return l.QueryWL_MultiDomainCapability(a); }},
      {"QueryWL_PSMode()", [](L& l, H& a) { return l.QueryWL_PSMode(a); }},
      {"QueryWL_FragmentationThreshold()",
       [](L& l, H& a) { return l.QueryWL_FragmentationThreshold(a); }},
      {"QueryWL_RTS_CTS_Threshold()", [](L& l, H& a) { return l.QueryWL_RTS_CTS_Threshold(a); }},
      {"QueryWL_QVUseQVXOidState()", [](L& l, H& a) { return l.QueryWL_QVUseQVXOidState(a); }},
      {"QueryWL_SupportChannel(100)",
       [](L& l, H& a) {
         std::array<std::uint8_t, 100> channels{};
         std::int32_t count = 0;
         return l.QueryWL_SupportChannel(a, channels, count);
       }},
      {"QueryWL_UISupportTxRate(16)",
       [](L& l, H& a) {
         std::array<std::uint8_t, 16> rates{};
         std::int32_t count = 0;
         return l.QueryWL_UISupportTxRate(a, rates, count);
       }},
      {"QueryWL_SupportedRate()",
       [](L& l, H& a) {
         std::array<std::uint8_t, VZ_RATE_SET_SIZE> rates{};
         return l.QueryWL_SupportedRate(a, rates);
       }},
      {"SetWL_SSID(57414E, 3)",
       [](L& l, H& a) {
         const std::array<std::uint8_t, 3> ssid{'W', 'A', 'N'};
         return l.SetWL_SSID(a, ssid);
       }},
      {"SetWL_Channel(6)", [](L& l, H& a) { return l.SetWL_Channel(a, 6); }},
      {"SetWL_NetworkType(1)", [](L& l, H& a) { return l.SetWL_NetworkType(a, 1); }},
      {"SetWL_802_11_NetworkTypeInUse(3)",
       [](L& l, H& a) { return l.SetWL_802_11_NetworkTypeInUse(a, 3); }},
      {"SetWL_AuthenticationMode(7)", [](L& l, H& a) { return l.SetWL_AuthenticationMode(a, 7); }},
      {"SetWL_WEPStatus(6)", [](L& l, H& a) { return l.SetWL_WEPStatus(a, 6); }},
      {"SetWL_DesiredRate(6C000000000000000000000000000000)",
       [](L& l, H& a) {
         const std::array<std::uint8_t, VZ_RATE_SET_SIZE> rates{0x6C};
         return l.SetWL_DesiredRate(a, rates);
       }},
      {"SetWL_PSMode(2)", [](L& l, H& a) { return l.SetWL_PSMode(a, 2); }},
      {"SetWL_FragmentationThreshold(2346)",
       [](L& l, H& a) { return l.SetWL_FragmentationThreshold(a, 2346); }},
      {"SetWL_RTS_CTS_Threshold(2347)", [](L& l, H& a) { return l.SetWL_RTS_CTS_Threshold(a, 2347); }},
      {"SetWL_PreambleMode(2)", [](L& l, H& a) { return l.SetWL_PreambleMode(a, 2); }},
      {"SetWL_MultiDomainCapability(1)",
       [](L& l, H& a) { return l.SetWL_MultiDomainCapability(a, 1); }},
      {"SetWL_OperationRegionCode(48)",
       [](L& l, H& a) { return l.SetWL_OperationRegionCode(a, 48); }},
      {"SetWL_QVPSPXLinkMode(1)", [](L& l, H& a) { return l.SetWL_QVPSPXLinkMode(a, 1); }},
      {"SetWL_QVWMMQosMode(1)", [](L& l, H& a) { return l.SetWL_QVWMMQosMode(a, 1); }},
      {"SetWL_QVWirelessMode(4)", [](L& l, H& a) { return l.SetWL_QVWirelessMode(a, 4); }},
      {"SetWL_QVUseQVXOidState(0)", [](L& l, H& a) { return l.SetWL_QVUseQVXOidState(a, 0); }},
      {"SetWL_SupportChannel(0102030405060708090A0B, 11)",
       [](L& l, H& a) {
         const std::array<std::uint8_t, 11> channels{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
         return l.SetWL_SupportChannel(a, channels);
       }},
      {"SetWL_RegionAndSupportChannel(16)",
       [](L& l, H& a) { return l.SetWL_RegionAndSupportChannel(a, 16); }},
      {"SetWL_BSSID(020000000001)",
       [](L& l, H& a) {
         const std::array<std::uint8_t, VZ_MAC_SIZE> bssid{0x02, 0, 0, 0, 0, 0x01};
         return l.SetWL_BSSID(a, bssid);
       }},
      {"SetWL_WriteKey(2, 1, 1, 0102030405060708090A0B0C0D)",
       [](L& l, H& a) {
         const std::array<std::uint8_t, 13> key{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
         return l.SetWL_WriteKey(a, 2, 1, 1, key);
       }},
      {"SetWL_OperationMode_STA_AP(1)",
       [](L& l, H& a) { return l.SetWL_OperationMode_STA_AP(a, 1); }},
      {"SetWL_ApWirelessMode(4)", [](L& l, H& a) { return l.SetWL_ApWirelessMode(a, 4); }},
      {"SetWL_ApProtectionMode(3)", [](L& l, H& a) { return l.SetWL_ApProtectionMode(a, 3); }},
      {"SetWLAP_HideSSIDState(1)", [](L& l, H& a) { return l.SetWLAP_HideSSIDState(a, 1); }},
      {"SetWLAP_TxPowerLevel(3)", [](L& l, H& a) { return l.SetWLAP_TxPowerLevel(a, 3); }},
      {"SetWLAP_FilterMode(2)", [](L& l, H& a) { return l.SetWLAP_FilterMode(a, 2); }},
      {"SetWLAP_FilterList(" + filterText + ", 112)",
       [filter](L& l, H& a) { return l.SetWLAP_FilterList(a, filter); }},
      {"WL_SiteSurveyStart()", [](L& l, H& a) { return l.WL_SiteSurveyStart(a); }},
      {"WL_RetrieveSiteSurveyData(12004)",
       [](L& l, H& a) {
         std::vector<std::uint8_t> survey(VZ_SURVEY_BUFFER_SIZE);
         return l.WL_RetrieveSiteSurveyData(a, survey);
       }},
      {"WL_RetrieveStationList(112)",
       [](L& l, H& a) {
         std::array<std::uint8_t, VZ_MAC_LIST_SIZE> stations{};
         return l.WL_RetrieveStationList(a, stations);
       }},
      {"QVStartWZCService()", [](L& l, H&) { return l.QVStartWZCService(); }},
      {"QVStopWZCService()", [](L& l, H&) { return l.QVStopWZCService(); }},
      {"QueryWL_CheckWZCStatus()", [](L& l, H& a) { return l.QueryWL_CheckWZCStatus(a); }},
      {"CheckOSWinNT()", [](L& l, H&) { return l.CheckOSWinNT(); }},
      {"QueryWL_IsWindows2000()", [](L& l, H&) { return l.QueryWL_IsWindows2000(); }},
      {"QueryWL_IsWindows95()", [](L& l, H&) { return l.QueryWL_IsWindows95(); }},
      {"IsAdmin()", [](L& l, H&) { return l.IsAdmin(); }},
      {"NonAdminUserEnabler()", [](L& l, H&) { return l.NonAdminUserEnabler(); }},
      {"QV_GetOSVersion()", [](L& l, H&) { return l.QV_GetOSVersion(); }},
      {"Query_FixWindisPnPBug()", [](L& l, H&) { return l.Query_FixWindisPnPBug(); }},
      {"ReadOid(0x0D01011F, 1000)",
       [](L& l, H& a) {
         std::vector<std::uint8_t> info(1000);
         return l.ReadOid(a, VZ_OID_ASSOCIATION_INFORMATION, info);
       }},
      {"WriteOid(0xFF12FF23, 01020304, 4)",
       [](L& l, H& a) {
         const std::array<std::uint8_t, 4> record{1, 2, 3, 4};
         return l.WriteOid(a, VZ_OID_PMKID, record);
       }},
  };
}

}  // namespace adapter::testing
