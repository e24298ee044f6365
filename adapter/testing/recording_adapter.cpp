#include "adapter/testing/recording_adapter.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "adapter/contract_functions.h"

namespace adapter::testing {
namespace {

std::int32_t DefaultResult(std::string_view function) {
  static constexpr std::array kSucceeding{
      std::string_view{"QvCloseAdapter"},      std::string_view{"WL_SiteSurveyStart"},
      std::string_view{"QVStartWZCService"},   std::string_view{"QVStopWZCService"},
      std::string_view{"NonAdminUserEnabler"}, std::string_view{"QV_GetOSVersion"},
      std::string_view{"WriteOid"},            std::string_view{"CreateAllNICAdapterList"},
      std::string_view{"QueryWL_IsWindows2000"}, std::string_view{"QueryWL_IsWindows95"},
      std::string_view{"IsAdmin"},             std::string_view{"Query_FixWindisPnPBug"}};
  if (function.starts_with("SetWL")) return 0;
  if (std::find(kSucceeding.begin(), kSucceeding.end(), function) != kSucceeding.end()) return 0;
  if (function == "QvOpenAdapter" || function == "CheckOSWinNT") return 1;
  return -1;
}

std::string Number(std::int64_t value) { return std::to_string(value); }

std::string Oid(std::uint32_t oid) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(oid));
  return text;
}

std::string NameOf(const AdapterHandle& adapter) {
  return std::string(adapter.name, strnlen(adapter.name, sizeof adapter.name));
}

// Copies scripted bytes into an output, cut to its room; returns how many were scripted.
std::size_t Fill(std::span<std::uint8_t> out, const std::optional<std::vector<std::uint8_t>>& bytes) {
  if (!bytes) return 0;
  std::copy_n(bytes->begin(), std::min(bytes->size(), out.size()), out.begin());
  return bytes->size();
}

template <typename Record>
std::span<std::uint8_t> RawBytes(std::span<Record> records) {
  return {reinterpret_cast<std::uint8_t*>(records.data()), records.size_bytes()};
}

std::uint32_t LittleEndian32(const std::uint8_t* p) {
  return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
         std::uint32_t{p[3]} << 24;
}

void PutLittleEndian32(std::uint32_t value, std::uint8_t* p) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::string RecordedCall::Text() const {
  std::string text = function + "(";
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    if (i > 0) text += ", ";
    text += arguments[i];
  }
  return text + ")";
}

std::string HexText(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (std::uint8_t b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0x0F];
  }
  return text;
}

AdapterRecord MakeAdapterRecord(std::string_view name, std::string_view description,
                                std::string_view instance) {
  AdapterRecord record{};
  auto put = [](char* field, std::size_t size, std::string_view text) {
    std::copy_n(text.begin(), std::min(text.size(), size - 1), field);
  };
  put(record.name, sizeof record.name, name);
  put(record.description, sizeof record.description, description);
  put(record.instance, sizeof record.instance, instance);
  return record;
}

std::vector<std::string> RecordingAdapterLibrary::Calls() const { return Calls(""); }

std::vector<std::string> RecordingAdapterLibrary::Calls(std::string_view prefix) const {
  std::lock_guard lock(mutex_);
  std::vector<std::string> texts;
  for (const RecordedCall& call : calls_) {
    if (call.function.starts_with(prefix)) texts.push_back(call.Text());
  }
  return texts;
}

std::vector<RecordedCall> RecordingAdapterLibrary::Records() const {
  std::lock_guard lock(mutex_);
  return calls_;
}

void RecordingAdapterLibrary::ClearCalls() {
  std::lock_guard lock(mutex_);
  calls_.clear();
}

RecordingAdapterLibrary::Script& RecordingAdapterLibrary::ScriptOf(std::string_view function) {
  if (std::find(kContractFunctionNames.begin(), kContractFunctionNames.end(), function) ==
      kContractFunctionNames.end()) {
    throw std::invalid_argument("not a function of the adapter library: " + std::string(function));
  }
  auto it = scripts_.find(function);
  if (it == scripts_.end()) it = scripts_.emplace(std::string(function), Script{}).first;
  return it->second;
}

void RecordingAdapterLibrary::Answer(std::string_view function, std::int32_t result) {
  std::lock_guard lock(mutex_);
  ScriptOf(function).result = result;
}

void RecordingAdapterLibrary::AnswerBytes(std::string_view function,
                                          std::vector<std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  ScriptOf(function).bytes = std::move(bytes);
}

void RecordingAdapterLibrary::AnswerNext(std::string_view function, std::int32_t result,
                                         std::optional<std::vector<std::uint8_t>> bytes) {
  std::lock_guard lock(mutex_);
  ScriptOf(function).next.push_back({result, std::move(bytes)});
}

void RecordingAdapterLibrary::AnswerSsid(std::string_view ssid) {
  Answer("QueryWL_SSID", static_cast<std::int32_t>(ssid.size()));
  AnswerBytes("QueryWL_SSID", std::vector<std::uint8_t>(ssid.begin(), ssid.end()));
}

void RecordingAdapterLibrary::AnswerFrameCounts(std::uint32_t sent, std::uint32_t received) {
  std::vector<std::uint8_t> bytes(8);
  PutLittleEndian32(sent, bytes.data());
  PutLittleEndian32(received, bytes.data() + 4);
  Answer("GetTxRxFrameCount", 0);
  AnswerBytes("GetTxRxFrameCount", std::move(bytes));
}

void RecordingAdapterLibrary::AnswerDriverInfo(const DriverInfo& info) {
  const auto* raw = reinterpret_cast<const std::uint8_t*>(&info);
  Answer("Query_QVDriverInfo", 0);
  AnswerBytes("Query_QVDriverInfo", std::vector<std::uint8_t>(raw, raw + sizeof info));
}

void RecordingAdapterLibrary::AnswerAdapterList(std::string_view function,
                                                std::span<const AdapterRecord> records) {
  const auto* raw = reinterpret_cast<const std::uint8_t*>(records.data());
  Answer(function, static_cast<std::int32_t>(records.size()));
  AnswerBytes(function, std::vector<std::uint8_t>(raw, raw + records.size_bytes()));
}

RecordingAdapterLibrary::Reply RecordingAdapterLibrary::Serve(std::string_view function,
                                                              const AdapterHandle* adapter,
                                                              std::vector<std::string> arguments) {
  std::lock_guard lock(mutex_);
  calls_.push_back({std::string(function), std::move(arguments),
                    adapter != nullptr ? NameOf(*adapter) : std::string()});
  Script& script = ScriptOf(function);
  Reply reply{script.result.value_or(DefaultResult(function)), script.bytes};
  if (!script.next.empty()) {
    reply.result = script.next.front().result;
    if (script.next.front().bytes) reply.bytes = std::move(script.next.front().bytes);
    script.next.pop_front();
  }
  return reply;
}

// Plain calls: recorded, answered with a number.
#define VZ_ADAPTER_ONLY(name)                                              \
  std::int32_t RecordingAdapterLibrary::name(AdapterHandle& adapter) {     \
    return Serve(#name, &adapter, {}).result;                              \
  }
#define VZ_ADAPTER_AND_NUMBER(name)                                                      \
  std::int32_t RecordingAdapterLibrary::name(AdapterHandle& adapter, std::int32_t value) { \
    return Serve(#name, &adapter, {Number(value)}).result;                               \
  }
#define VZ_NO_ARGUMENTS(name) \
  std::int32_t RecordingAdapterLibrary::name() { return Serve(#name, nullptr, {}).result; }

VZ_ADAPTER_ONLY(QvCloseAdapter)
VZ_ADAPTER_ONLY(QueryWL_DriverVersion)
VZ_ADAPTER_ONLY(QueryWL_ConnectState)
VZ_ADAPTER_ONLY(QueryWL_Channel)
VZ_ADAPTER_ONLY(QueryWL_NetworkType)
VZ_ADAPTER_ONLY(QueryWL_WEPStatus)
VZ_ADAPTER_ONLY(QueryWL_AuthenticationMode)
VZ_ADAPTER_ONLY(QueryWL_RSSI)
VZ_ADAPTER_ONLY(QueryWL_CommQuality)
VZ_ADAPTER_ONLY(QueryWL_CurrentLinkSpeed)
VZ_ADAPTER_ONLY(QueryWL_802_11_NetworkTypeInUse)
VZ_ADAPTER_ONLY(QueryWL_QVWirelessMode)
VZ_ADAPTER_ONLY(QueryWL_QVAdhocMode)
VZ_ADAPTER_ONLY(QueryWL_OperationMode_STA_AP)
VZ_ADAPTER_ONLY(QueryWL_OperationRegionCode)
VZ_ADAPTER_ONLY(QueryWL_MultiDomainCapability)
VZ_ADAPTER_ONLY(QueryWL_PSMode)
VZ_ADAPTER_ONLY(QueryWL_FragmentationThreshold)
VZ_ADAPTER_ONLY(QueryWL_RTS_CTS_Threshold)
VZ_ADAPTER_ONLY(QueryWL_QVUseQVXOidState)
VZ_ADAPTER_ONLY(WL_SiteSurveyStart)
VZ_ADAPTER_ONLY(QueryWL_CheckWZCStatus)

VZ_ADAPTER_AND_NUMBER(SetWL_Channel)
VZ_ADAPTER_AND_NUMBER(SetWL_NetworkType)
VZ_ADAPTER_AND_NUMBER(SetWL_802_11_NetworkTypeInUse)
VZ_ADAPTER_AND_NUMBER(SetWL_AuthenticationMode)
VZ_ADAPTER_AND_NUMBER(SetWL_WEPStatus)
VZ_ADAPTER_AND_NUMBER(SetWL_PSMode)
VZ_ADAPTER_AND_NUMBER(SetWL_FragmentationThreshold)
VZ_ADAPTER_AND_NUMBER(SetWL_RTS_CTS_Threshold)
VZ_ADAPTER_AND_NUMBER(SetWL_PreambleMode)
VZ_ADAPTER_AND_NUMBER(SetWL_MultiDomainCapability)
VZ_ADAPTER_AND_NUMBER(SetWL_OperationRegionCode)
VZ_ADAPTER_AND_NUMBER(SetWL_QVPSPXLinkMode)
VZ_ADAPTER_AND_NUMBER(SetWL_QVWMMQosMode)
VZ_ADAPTER_AND_NUMBER(SetWL_QVWirelessMode)
VZ_ADAPTER_AND_NUMBER(SetWL_QVUseQVXOidState)
VZ_ADAPTER_AND_NUMBER(SetWL_RegionAndSupportChannel)
VZ_ADAPTER_AND_NUMBER(SetWL_OperationMode_STA_AP)
VZ_ADAPTER_AND_NUMBER(SetWL_ApWirelessMode)
VZ_ADAPTER_AND_NUMBER(SetWL_ApProtectionMode)
VZ_ADAPTER_AND_NUMBER(SetWLAP_HideSSIDState)
VZ_ADAPTER_AND_NUMBER(SetWLAP_TxPowerLevel)
VZ_ADAPTER_AND_NUMBER(SetWLAP_FilterMode)

VZ_NO_ARGUMENTS(QVStartWZCService)
VZ_NO_ARGUMENTS(QVStopWZCService)
VZ_NO_ARGUMENTS(CheckOSWinNT)
VZ_NO_ARGUMENTS(QueryWL_IsWindows2000)
VZ_NO_ARGUMENTS(QueryWL_IsWindows95)
VZ_NO_ARGUMENTS(IsAdmin)
VZ_NO_ARGUMENTS(NonAdminUserEnabler)
VZ_NO_ARGUMENTS(QV_GetOSVersion)
VZ_NO_ARGUMENTS(Query_FixWindisPnPBug)

#undef VZ_ADAPTER_ONLY
#undef VZ_ADAPTER_AND_NUMBER
#undef VZ_NO_ARGUMENTS

std::int32_t RecordingAdapterLibrary::QvOpenAdapter(AdapterHandle& adapter) {
  const std::int32_t result = Serve("QvOpenAdapter", &adapter, {}).result;
  if (result != 0) adapter.handle = kOpenHandle;
  return result;
}

std::int32_t RecordingAdapterLibrary::CreateAllNICAdapterList(std::span<AdapterRecord> list) {
  Reply reply = Serve("CreateAllNICAdapterList", nullptr, {Number(list.size())});
  Fill(RawBytes(list), reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::CreateNICAdapterList(std::span<AdapterRecord> list) {
  Reply reply = Serve("CreateNICAdapterList", nullptr, {Number(list.size())});
  Fill(RawBytes(list), reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::Query_QVDriverInfo(AdapterHandle& adapter,
                                                         DriverInfo& info) {
  Reply reply = Serve("Query_QVDriverInfo", &adapter, {});
  Fill(RawBytes(std::span(&info, 1)), reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::QueryWL_SSID(AdapterHandle& adapter,
                                                   std::span<std::uint8_t, VZ_SSID_SIZE> ssid) {
  Reply reply = Serve("QueryWL_SSID", &adapter, {});
  Fill(ssid, reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::QueryWL_BSSID(AdapterHandle& adapter, MacOut bssid) {
  Reply reply = Serve("QueryWL_BSSID", &adapter, {});
  Fill(bssid, reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::GetNICAdapterMAC(AdapterHandle& adapter, MacOut mac) {
  Reply reply = Serve("GetNICAdapterMAC", &adapter, {});
  Fill(mac, reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::GetTxRxFrameCount(AdapterHandle& adapter,
                                                        std::uint32_t& sent,
                                                        std::uint32_t& received) {
  Reply reply = Serve("GetTxRxFrameCount", &adapter, {});
  if (reply.bytes) {
    std::array<std::uint8_t, 8> raw{};
    PutLittleEndian32(sent, raw.data());
    PutLittleEndian32(received, raw.data() + 4);
    Fill(raw, reply.bytes);
    sent = LittleEndian32(raw.data());
    received = LittleEndian32(raw.data() + 4);
  }
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::QueryWL_SupportChannel(AdapterHandle& adapter,
                                                             Bytes channels,
                                                             std::int32_t& count) {
  Reply reply = Serve("QueryWL_SupportChannel", &adapter, {Number(channels.size())});
  count = static_cast<std::int32_t>(Fill(channels, reply.bytes));
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::QueryWL_UISupportTxRate(AdapterHandle& adapter,
                                                              Bytes rates, std::int32_t& count) {
  Reply reply = Serve("QueryWL_UISupportTxRate", &adapter, {Number(rates.size())});
  count = static_cast<std::int32_t>(Fill(rates, reply.bytes));
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::QueryWL_SupportedRate(AdapterHandle& adapter,
                                                            RateSetOut rates) {
  Reply reply = Serve("QueryWL_SupportedRate", &adapter, {});
  Fill(rates, reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::SetWL_SSID(AdapterHandle& adapter, ConstBytes ssid) {
  return Serve("SetWL_SSID", &adapter, {HexText(ssid), Number(ssid.size())}).result;
}

std::int32_t RecordingAdapterLibrary::SetWL_DesiredRate(AdapterHandle& adapter, RateSetIn rates) {
  return Serve("SetWL_DesiredRate", &adapter, {HexText(rates)}).result;
}

std::int32_t RecordingAdapterLibrary::SetWL_SupportChannel(AdapterHandle& adapter,
                                                           ConstBytes channels) {
  return Serve("SetWL_SupportChannel", &adapter, {HexText(channels), Number(channels.size())})
      .result;
}

std::int32_t RecordingAdapterLibrary::SetWL_BSSID(AdapterHandle& adapter, MacIn bssid) {
  return Serve("SetWL_BSSID", &adapter, {HexText(bssid)}).result;
}

std::int32_t RecordingAdapterLibrary::SetWL_WriteKey(AdapterHandle& adapter, std::int32_t index,
                                                     std::int32_t lengthCode,
                                                     std::int32_t defaultKey, ConstBytes key) {
  return Serve("SetWL_WriteKey", &adapter,
               {Number(index), Number(lengthCode), Number(defaultKey), HexText(key)})
      .result;
}

std::int32_t RecordingAdapterLibrary::SetWLAP_FilterList(AdapterHandle& adapter, MacListIn list) {
  return Serve("SetWLAP_FilterList", &adapter, {HexText(list), Number(list.size())}).result;
}

std::int32_t RecordingAdapterLibrary::WL_RetrieveSiteSurveyData(AdapterHandle& adapter,
                                                                Bytes buffer) {
  Reply reply = Serve("WL_RetrieveSiteSurveyData", &adapter, {Number(buffer.size())});
  Fill(buffer, reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::WL_RetrieveStationList(AdapterHandle& adapter,
                                                             MacListOut buffer) {
  Reply reply = Serve("WL_RetrieveStationList", &adapter, {Number(buffer.size())});
  Fill(buffer, reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::ReadOid(AdapterHandle& adapter, std::uint32_t oid,
                                              Bytes buffer) {
  Reply reply = Serve("ReadOid", &adapter, {Oid(oid), Number(buffer.size())});
  Fill(buffer, reply.bytes);
  return reply.result;
}

std::int32_t RecordingAdapterLibrary::WriteOid(AdapterHandle& adapter, std::uint32_t oid,
                                               ConstBytes buffer) {
  return Serve("WriteOid", &adapter, {Oid(oid), HexText(buffer), Number(buffer.size())}).result;
}

}  // namespace adapter::testing
