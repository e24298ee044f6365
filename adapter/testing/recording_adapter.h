#pragma once
// A fake adapter driver library for tests: records every call with its arguments, in order,
// and answers from a script.
//
// A call is recorded as its C name and C arguments without the adapter: numbers in decimal,
// request codes as 0x%08X, input bytes as upper-case hex without separators, and of an output
// buffer only the room the C call announces (the survey's 12004, an in/out count's start
// value); fixed-size outputs and the two frame counters add nothing. Examples:
//   "SetWL_Channel(6)", "SetWL_SSID(57414E, 3)", "QueryWL_SupportChannel(100)",
//   "ReadOid(0x0D01011F, 1000)", "QueryWL_SSID()", "QVStopWZCService()".
//
// Answers, per function: the next queued reply if any, else the steady answer, else the
// default. Defaults: setters and commands succeed (0); QvOpenAdapter opens (1); the system is
// an NT-family one without administrator rights, without the start-up wait (CheckOSWinNT 1,
// the other system tests 0); both adapter lists are empty (0 and -1); every query and ReadOid
// fails (-1). Scripted bytes are copied into the call's output buffer, cut to its room; for an
// in/out count the count becomes the number of scripted bytes (so a script longer than the
// room plays a driver that overstates its count). Without scripted bytes outputs are untouched.
// An open that succeeds stores kOpenHandle in the handle record, as the library stores its
// handle there. Thread-safe, like the library.

#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "adapter/adapter_library.h"

namespace adapter::testing {

struct RecordedCall {
  std::string function;
  std::vector<std::string> arguments;
  std::string adapterName;  // the handle record's name; empty for calls without an adapter

  std::string Text() const;  // "SetWL_Channel(6)"
};

class RecordingAdapterLibrary final : public AdapterLibrary {
 public:
  static constexpr std::int32_t kOpenHandle = 1;

  std::vector<std::string> Calls() const;  // Text() of each recorded call, in order
  // Only the calls whose function name starts with `prefix` ("SetWL" for every setter).
  std::vector<std::string> Calls(std::string_view prefix) const;
  std::vector<RecordedCall> Records() const;
  void ClearCalls();

  // Every later call of `function` returns `result` (unless a queued reply comes first).
  void Answer(std::string_view function, std::int32_t result);
  // Every later call of `function` writes `bytes` to its output (unless a queued reply has its
  // own bytes).
  void AnswerBytes(std::string_view function, std::vector<std::uint8_t> bytes);
  // The next call of `function` not yet served by an earlier AnswerNext returns `result` and,
  // when given, writes `bytes` instead of the steady bytes.
  void AnswerNext(std::string_view function, std::int32_t result,
                  std::optional<std::vector<std::uint8_t>> bytes = std::nullopt);

  // Shorthands: the call succeeds with these outputs.
  void AnswerSsid(std::string_view ssid);  // QueryWL_SSID returns the length
  void AnswerFrameCounts(std::uint32_t sent, std::uint32_t received);
  void AnswerDriverInfo(const DriverInfo& info);
  // CreateAllNICAdapterList or CreateNICAdapterList returns the number of records.
  void AnswerAdapterList(std::string_view function, std::span<const AdapterRecord> records);

  std::int32_t QvOpenAdapter(AdapterHandle& adapter) override;
  std::int32_t QvCloseAdapter(AdapterHandle& adapter) override;
  std::int32_t CreateAllNICAdapterList(std::span<AdapterRecord> list) override;
  std::int32_t CreateNICAdapterList(std::span<AdapterRecord> list) override;
  std::int32_t QueryWL_DriverVersion(AdapterHandle& adapter) override;
  std::int32_t Query_QVDriverInfo(AdapterHandle& adapter, DriverInfo& info) override;
  std::int32_t QueryWL_ConnectState(AdapterHandle& adapter) override;
  std::int32_t QueryWL_SSID(AdapterHandle& adapter,
                            std::span<std::uint8_t, VZ_SSID_SIZE> ssid) override;
  std::int32_t QueryWL_BSSID(AdapterHandle& adapter, MacOut bssid) override;
  std::int32_t GetNICAdapterMAC(AdapterHandle& adapter, MacOut mac) override;
  std::int32_t QueryWL_Channel(AdapterHandle& adapter) override;
  std::int32_t QueryWL_NetworkType(AdapterHandle& adapter) override;
  std::int32_t QueryWL_WEPStatus(AdapterHandle& adapter) override;
  std::int32_t QueryWL_AuthenticationMode(AdapterHandle& adapter) override;
  std::int32_t QueryWL_RSSI(AdapterHandle& adapter) override;
  std::int32_t QueryWL_CommQuality(AdapterHandle& adapter) override;
  std::int32_t QueryWL_CurrentLinkSpeed(AdapterHandle& adapter) override;
  std::int32_t GetTxRxFrameCount(AdapterHandle& adapter, std::uint32_t& sent,
                                 std::uint32_t& received) override;
  std::int32_t QueryWL_802_11_NetworkTypeInUse(AdapterHandle& adapter) override;
  std::int32_t QueryWL_QVWirelessMode(AdapterHandle& adapter) override;
  std::int32_t QueryWL_QVAdhocMode(AdapterHandle& adapter) override;
  std::int32_t QueryWL_OperationMode_STA_AP(AdapterHandle& adapter) override;
  std::int32_t QueryWL_OperationRegionCode(AdapterHandle& adapter) override;
  std::int32_t QueryWL_MultiDomainCapability(AdapterHandle& adapter) override;
  std::int32_t QueryWL_PSMode(AdapterHandle& adapter) override;
  std::int32_t QueryWL_FragmentationThreshold(AdapterHandle& adapter) override;
  std::int32_t QueryWL_RTS_CTS_Threshold(AdapterHandle& adapter) override;
  std::int32_t QueryWL_QVUseQVXOidState(AdapterHandle& adapter) override;
  std::int32_t QueryWL_SupportChannel(AdapterHandle& adapter, Bytes channels,
                                      std::int32_t& count) override;
  std::int32_t QueryWL_UISupportTxRate(AdapterHandle& adapter, Bytes rates,
                                       std::int32_t& count) override;
  std::int32_t QueryWL_SupportedRate(AdapterHandle& adapter, RateSetOut rates) override;
  std::int32_t SetWL_SSID(AdapterHandle& adapter, ConstBytes ssid) override;
  std::int32_t SetWL_Channel(AdapterHandle& adapter, std::int32_t channel) override;
  std::int32_t SetWL_NetworkType(AdapterHandle& adapter, std::int32_t networkType) override;
  std::int32_t SetWL_802_11_NetworkTypeInUse(AdapterHandle& adapter,
                                             std::int32_t networkTypeInUse) override;
  std::int32_t SetWL_AuthenticationMode(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWL_WEPStatus(AdapterHandle& adapter, std::int32_t status) override;
  std::int32_t SetWL_DesiredRate(AdapterHandle& adapter, RateSetIn rates) override;
  std::int32_t SetWL_PSMode(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWL_FragmentationThreshold(AdapterHandle& adapter, std::int32_t bytes) override;
  std::int32_t SetWL_RTS_CTS_Threshold(AdapterHandle& adapter, std::int32_t bytes) override;
  std::int32_t SetWL_PreambleMode(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWL_MultiDomainCapability(AdapterHandle& adapter, std::int32_t enabled) override;
  std::int32_t SetWL_OperationRegionCode(AdapterHandle& adapter, std::int32_t region) override;
  std::int32_t SetWL_QVPSPXLinkMode(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWL_QVWMMQosMode(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWL_QVWirelessMode(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWL_QVUseQVXOidState(AdapterHandle& adapter, std::int32_t state) override;
  std::int32_t SetWL_SupportChannel(AdapterHandle& adapter, ConstBytes channels) override;
  std::int32_t SetWL_RegionAndSupportChannel(AdapterHandle& adapter,
                                             std::int32_t region) override;
  std::int32_t SetWL_BSSID(AdapterHandle& adapter, MacIn bssid) override;
  std::int32_t SetWL_WriteKey(AdapterHandle& adapter, std::int32_t index, std::int32_t lengthCode,
                              std::int32_t defaultKey, ConstBytes key) override;
  std::int32_t SetWL_OperationMode_STA_AP(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWL_ApWirelessMode(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWL_ApProtectionMode(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWLAP_HideSSIDState(AdapterHandle& adapter, std::int32_t hidden) override;
  std::int32_t SetWLAP_TxPowerLevel(AdapterHandle& adapter, std::int32_t level) override;
  std::int32_t SetWLAP_FilterMode(AdapterHandle& adapter, std::int32_t mode) override;
  std::int32_t SetWLAP_FilterList(AdapterHandle& adapter, MacListIn list) override;
  std::int32_t WL_SiteSurveyStart(AdapterHandle& adapter) override;
  std::int32_t WL_RetrieveSiteSurveyData(AdapterHandle& adapter, Bytes buffer) override;
  std::int32_t WL_RetrieveStationList(AdapterHandle& adapter, MacListOut buffer) override;
  std::int32_t QVStartWZCService() override;
  std::int32_t QVStopWZCService() override;
  std::int32_t QueryWL_CheckWZCStatus(AdapterHandle& adapter) override;
  std::int32_t CheckOSWinNT() override;
  std::int32_t QueryWL_IsWindows2000() override;
  std::int32_t QueryWL_IsWindows95() override;
  std::int32_t IsAdmin() override;
  std::int32_t NonAdminUserEnabler() override;
  std::int32_t QV_GetOSVersion() override;
  std::int32_t Query_FixWindisPnPBug() override;
  std::int32_t ReadOid(AdapterHandle& adapter, std::uint32_t oid, Bytes buffer) override;
  std::int32_t WriteOid(AdapterHandle& adapter, std::uint32_t oid, ConstBytes buffer) override;

 private:
  struct Reply {
    std::int32_t result = 0;
    std::optional<std::vector<std::uint8_t>> bytes;
  };
  struct Script {
    std::optional<std::int32_t> result;
    std::optional<std::vector<std::uint8_t>> bytes;
    std::deque<Reply> next;
  };

  // Records the call and picks its reply.
  Reply Serve(std::string_view function, const AdapterHandle* adapter,
              std::vector<std::string> arguments);
  Script& ScriptOf(std::string_view function);  // throws on a name outside the contract

  mutable std::mutex mutex_;
  std::vector<RecordedCall> calls_;
  std::map<std::string, Script, std::less<>> scripts_;
};

// An adapter list entry with the given texts, each cut to its field and NUL-terminated.
AdapterRecord MakeAdapterRecord(std::string_view name, std::string_view description,
                                std::string_view instance);

// Upper-case hexadecimal without separators, as calls are recorded.
std::string HexText(std::span<const std::uint8_t> bytes);

}  // namespace adapter::testing
