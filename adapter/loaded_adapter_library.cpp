#include "adapter/loaded_adapter_library.h"

#include <algorithm>
#include <array>
#include <limits>
#include <system_error>
#include <utility>

#include "adapter/contract_functions.h"
#include "platform/dynlib/dynamic_library.h"

namespace adapter {
namespace {

using platform::DynamicLibrary;
using platform::DynamicLibraryFileName;
using platform::DynamicLibraryOpen;
using platform::OpenDynamicLibrary;

struct Functions {
#define VZ_FUNCTION_FIELD(name) decltype(&::name) name = nullptr;
  VZ_ADAPTER_CONTRACT(VZ_FUNCTION_FIELD)
#undef VZ_FUNCTION_FIELD
};

template <typename Function>
bool Resolve(const DynamicLibrary& library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(library.Symbol(name));
  return function != nullptr;
}

// The room of a buffer as the library's size argument; no buffer of ours comes near the limit.
std::int32_t Room(std::size_t size) {
  return static_cast<std::int32_t>(
      std::min<std::size_t>(size, std::numeric_limits<std::int32_t>::max()));
}

std::uint32_t RawSize(std::size_t size) {
  return static_cast<std::uint32_t>(
      std::min<std::size_t>(size, std::numeric_limits<std::uint32_t>::max()));
}

std::int64_t VZ_CALL ClockNow(void* user) {
  return static_cast<platform::Clock*>(user)->Now().count();
}
std::int64_t VZ_CALL ClockUnixSeconds(void* user) {
  return static_cast<platform::Clock*>(user)->UnixSeconds();
}
void VZ_CALL ClockSleep(void* user, std::uint32_t milliseconds) {
  static_cast<platform::Clock*>(user)->Sleep(platform::Millis(milliseconds));
}

class DynamicAdapterLibrary final : public LoadedAdapterLibrary {
 public:
  DynamicAdapterLibrary(std::unique_ptr<DynamicLibrary> library, const Functions& functions)
      : library_(std::move(library)), f_(functions) {
    Resolve(*library_, "VzSim_SetClock", setClock_);
  }
  ~DynamicAdapterLibrary() override {
    // The library must not call back into a clock that may die before it is unloaded.
    if (clockShared_) setClock_(nullptr);
  }
  DynamicAdapterLibrary(const DynamicAdapterLibrary&) = delete;
  DynamicAdapterLibrary& operator=(const DynamicAdapterLibrary&) = delete;

  bool ShareClock(platform::Clock& clock) override {
    if (setClock_ == nullptr) return false;
    const VzSimClock callbacks{&clock, &ClockNow, &ClockUnixSeconds, &ClockSleep};
    setClock_(&callbacks);
    clockShared_ = true;
    return true;
  }

  std::int32_t QvOpenAdapter(AdapterHandle& a) override { return f_.QvOpenAdapter(&a); }
  std::int32_t QvCloseAdapter(AdapterHandle& a) override { return f_.QvCloseAdapter(&a); }
  std::int32_t CreateAllNICAdapterList(std::span<AdapterRecord> list) override {
    return f_.CreateAllNICAdapterList(list.data(), Room(list.size()));
  }
  std::int32_t CreateNICAdapterList(std::span<AdapterRecord> list) override {
    return f_.CreateNICAdapterList(list.data(), Room(list.size()));
  }
  std::int32_t QueryWL_DriverVersion(AdapterHandle& a) override {
    return f_.QueryWL_DriverVersion(&a);
  }
  std::int32_t Query_QVDriverInfo(AdapterHandle& a, DriverInfo& info) override {
    return f_.Query_QVDriverInfo(&a, &info);
  }

  std::int32_t QueryWL_ConnectState(AdapterHandle& a) override {
    return f_.QueryWL_ConnectState(&a);
  }
  std::int32_t QueryWL_SSID(AdapterHandle& a,
                            std::span<std::uint8_t, VZ_SSID_SIZE> ssid) override {
    return f_.QueryWL_SSID(&a, ssid.data());
  }
  std::int32_t QueryWL_BSSID(AdapterHandle& a, MacOut bssid) override {
    return f_.QueryWL_BSSID(&a, bssid.data());
  }
  std::int32_t GetNICAdapterMAC(AdapterHandle& a, MacOut mac) override {
    return f_.GetNICAdapterMAC(&a, mac.data());
  }
  std::int32_t QueryWL_Channel(AdapterHandle& a) override { return f_.QueryWL_Channel(&a); }
  std::int32_t QueryWL_NetworkType(AdapterHandle& a) override {
    return f_.QueryWL_NetworkType(&a);
  }
  std::int32_t QueryWL_WEPStatus(AdapterHandle& a) override { return f_.QueryWL_WEPStatus(&a); }
  std::int32_t QueryWL_AuthenticationMode(AdapterHandle& a) override {
    return f_.QueryWL_AuthenticationMode(&a);
  }
  std::int32_t QueryWL_RSSI(AdapterHandle& a) override { return f_.QueryWL_RSSI(&a); }
  std::int32_t QueryWL_CommQuality(AdapterHandle& a) override {
    return f_.QueryWL_CommQuality(&a);
  }
  std::int32_t QueryWL_CurrentLinkSpeed(AdapterHandle& a) override {
    return f_.QueryWL_CurrentLinkSpeed(&a);
  }
  std::int32_t GetTxRxFrameCount(AdapterHandle& a, std::uint32_t& sent,
                                 std::uint32_t& received) override {
    return f_.GetTxRxFrameCount(&a, &sent, &received);
  }
  std::int32_t QueryWL_802_11_NetworkTypeInUse(AdapterHandle& a) override {
    return f_.QueryWL_802_11_NetworkTypeInUse(&a);
  }
  std::int32_t QueryWL_QVWirelessMode(AdapterHandle& a) override {
    return f_.QueryWL_QVWirelessMode(&a);
  }
  std::int32_t QueryWL_QVAdhocMode(AdapterHandle& a) override {
    return f_.QueryWL_QVAdhocMode(&a);
  }
  std::int32_t QueryWL_OperationMode_STA_AP(AdapterHandle& a) override {
    return f_.QueryWL_OperationMode_STA_AP(&a);
  }
  std::int32_t QueryWL_OperationRegionCode(AdapterHandle& a) override {
    return f_.QueryWL_OperationRegionCode(&a);
  }
  std::int32_t QueryWL_MultiDomainCapability(AdapterHandle& a) override {
    return f_.QueryWL_MultiDomainCapability(&a);
  }
  std::int32_t QueryWL_PSMode(AdapterHandle& a) override { return f_.QueryWL_PSMode(&a); }
  std::int32_t QueryWL_FragmentationThreshold(AdapterHandle& a) override {
    return f_.QueryWL_FragmentationThreshold(&a);
  }
  std::int32_t QueryWL_RTS_CTS_Threshold(AdapterHandle& a) override {
    return f_.QueryWL_RTS_CTS_Threshold(&a);
  }
  std::int32_t QueryWL_QVUseQVXOidState(AdapterHandle& a) override {
    return f_.QueryWL_QVUseQVXOidState(&a);
  }
  std::int32_t QueryWL_SupportChannel(AdapterHandle& a, Bytes channels,
                                      std::int32_t& count) override {
    count = Room(channels.size());
    return f_.QueryWL_SupportChannel(&a, channels.data(), &count);
  }
  std::int32_t QueryWL_UISupportTxRate(AdapterHandle& a, Bytes rates,
                                       std::int32_t& count) override {
    count = Room(rates.size());
    return f_.QueryWL_UISupportTxRate(&a, rates.data(), &count);
  }
  std::int32_t QueryWL_SupportedRate(AdapterHandle& a, RateSetOut rates) override {
    return f_.QueryWL_SupportedRate(&a, rates.data());
  }

  std::int32_t SetWL_SSID(AdapterHandle& a, ConstBytes ssid) override {
    return f_.SetWL_SSID(&a, ssid.data(), Room(ssid.size()));
  }
  std::int32_t SetWL_Channel(AdapterHandle& a, std::int32_t channel) override {
    return f_.SetWL_Channel(&a, channel);
  }
  std::int32_t SetWL_NetworkType(AdapterHandle& a, std::int32_t networkType) override {
    return f_.SetWL_NetworkType(&a, networkType);
  }
  std::int32_t SetWL_802_11_NetworkTypeInUse(AdapterHandle& a,
                                             std::int32_t networkTypeInUse) override {
    return f_.SetWL_802_11_NetworkTypeInUse(&a, networkTypeInUse);
  }
  std::int32_t SetWL_AuthenticationMode(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWL_AuthenticationMode(&a, mode);
  }
  std::int32_t SetWL_WEPStatus(AdapterHandle& a, std::int32_t status) override {
    return f_.SetWL_WEPStatus(&a, status);
  }
  std::int32_t SetWL_DesiredRate(AdapterHandle& a, RateSetIn rates) override {
    return f_.SetWL_DesiredRate(&a, rates.data());
  }
  std::int32_t SetWL_PSMode(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWL_PSMode(&a, mode);
  }
  std::int32_t SetWL_FragmentationThreshold(AdapterHandle& a, std::int32_t bytes) override {
    return f_.SetWL_FragmentationThreshold(&a, bytes);
  }
  std::int32_t SetWL_RTS_CTS_Threshold(AdapterHandle& a, std::int32_t bytes) override {
    return f_.SetWL_RTS_CTS_Threshold(&a, bytes);
  }
  std::int32_t SetWL_PreambleMode(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWL_PreambleMode(&a, mode);
  }
  std::int32_t SetWL_MultiDomainCapability(AdapterHandle& a, std::int32_t enabled) override {
    return f_.SetWL_MultiDomainCapability(&a, enabled);
  }
  std::int32_t SetWL_OperationRegionCode(AdapterHandle& a, std::int32_t region) override {
    return f_.SetWL_OperationRegionCode(&a, region);
  }
  std::int32_t SetWL_QVPSPXLinkMode(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWL_QVPSPXLinkMode(&a, mode);
  }
  std::int32_t SetWL_QVWMMQosMode(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWL_QVWMMQosMode(&a, mode);
  }
  std::int32_t SetWL_QVWirelessMode(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWL_QVWirelessMode(&a, mode);
  }
  std::int32_t SetWL_QVUseQVXOidState(AdapterHandle& a, std::int32_t state) override {
    return f_.SetWL_QVUseQVXOidState(&a, state);
  }
  std::int32_t SetWL_SupportChannel(AdapterHandle& a, ConstBytes channels) override {
    return f_.SetWL_SupportChannel(&a, channels.data(), Room(channels.size()));
  }
  std::int32_t SetWL_RegionAndSupportChannel(AdapterHandle& a, std::int32_t region) override {
    return f_.SetWL_RegionAndSupportChannel(&a, region);
  }
  std::int32_t SetWL_BSSID(AdapterHandle& a, MacIn bssid) override {
    return f_.SetWL_BSSID(&a, bssid.data());
  }
  std::int32_t SetWL_WriteKey(AdapterHandle& a, std::int32_t index, std::int32_t lengthCode,
                              std::int32_t defaultKey, ConstBytes key) override {
    // The library reads by the length code, not by what the caller holds: give it the largest
    // key's room so a short key with a long code reads zeros instead of foreign memory.
    std::array<std::uint8_t, VZ_WEP_KEY_MAX> padded{};
    std::copy_n(key.begin(), std::min(key.size(), padded.size()), padded.begin());
    return f_.SetWL_WriteKey(&a, index, lengthCode, defaultKey, padded.data());
  }
  std::int32_t SetWL_OperationMode_STA_AP(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWL_OperationMode_STA_AP(&a, mode);
  }

  std::int32_t SetWL_ApWirelessMode(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWL_ApWirelessMode(&a, mode);
  }
  std::int32_t SetWL_ApProtectionMode(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWL_ApProtectionMode(&a, mode);
  }
  std::int32_t SetWLAP_HideSSIDState(AdapterHandle& a, std::int32_t hidden) override {
    return f_.SetWLAP_HideSSIDState(&a, hidden);
  }
  std::int32_t SetWLAP_TxPowerLevel(AdapterHandle& a, std::int32_t level) override {
    return f_.SetWLAP_TxPowerLevel(&a, level);
  }
  std::int32_t SetWLAP_FilterMode(AdapterHandle& a, std::int32_t mode) override {
    return f_.SetWLAP_FilterMode(&a, mode);
  }
  std::int32_t SetWLAP_FilterList(AdapterHandle& a, MacListIn list) override {
    return f_.SetWLAP_FilterList(&a, list.data(), Room(list.size()));
  }

  std::int32_t WL_SiteSurveyStart(AdapterHandle& a) override {
    return f_.WL_SiteSurveyStart(&a);
  }
  std::int32_t WL_RetrieveSiteSurveyData(AdapterHandle& a, Bytes buffer) override {
    return f_.WL_RetrieveSiteSurveyData(&a, buffer.data(), Room(buffer.size()));
  }
  std::int32_t WL_RetrieveStationList(AdapterHandle& a, MacListOut buffer) override {
    return f_.WL_RetrieveStationList(&a, buffer.data(), Room(buffer.size()));
  }

  std::int32_t QVStartWZCService() override { return f_.QVStartWZCService(); }
  std::int32_t QVStopWZCService() override { return f_.QVStopWZCService(); }
  std::int32_t QueryWL_CheckWZCStatus(AdapterHandle& a) override {
    return f_.QueryWL_CheckWZCStatus(&a);
  }

  std::int32_t CheckOSWinNT() override { return f_.CheckOSWinNT(); }
  std::int32_t QueryWL_IsWindows2000() override { return f_.QueryWL_IsWindows2000(); }
  std::int32_t QueryWL_IsWindows95() override { return f_.QueryWL_IsWindows95(); }
  std::int32_t IsAdmin() override { return f_.IsAdmin(); }
  std::int32_t NonAdminUserEnabler() override { return f_.NonAdminUserEnabler(); }
  std::int32_t QV_GetOSVersion() override { return f_.QV_GetOSVersion(); }
  std::int32_t Query_FixWindisPnPBug() override { return f_.Query_FixWindisPnPBug(); }

  std::int32_t ReadOid(AdapterHandle& a, std::uint32_t oid, Bytes buffer) override {
    return f_.ReadOid(&a, oid, buffer.data(), RawSize(buffer.size()));
  }
  std::int32_t WriteOid(AdapterHandle& a, std::uint32_t oid, ConstBytes buffer) override {
    return f_.WriteOid(&a, oid, buffer.data(), RawSize(buffer.size()));
  }

 private:
  std::unique_ptr<DynamicLibrary> library_;
  Functions f_;
  decltype(&::VzSim_SetClock) setClock_ = nullptr;
  bool clockShared_ = false;
};

}  // namespace

AdapterLibraryLoad LoadAdapterLibrary(const std::filesystem::path& programFolder) {
  const std::string fileName = DynamicLibraryFileName(kAdapterLibraryBaseName);
  const std::filesystem::path besideProgram = programFolder / fileName;

  DynamicLibraryOpen opened;
  std::error_code ignored;
  if (std::filesystem::exists(besideProgram, ignored)) {
    // A copy beside the program that fails to load is reported as it is: quietly taking
    // another copy from the search path would run a driver library nobody chose.
    opened = OpenDynamicLibrary(besideProgram);
    if (!opened.library) {
      return {nullptr, besideProgram.string() + ": cannot be loaded: " + opened.error};
    }
  } else {
    opened = OpenDynamicLibrary(fileName);
    if (!opened.library) {
      return {nullptr, fileName + ": library not found in " + programFolder.string() +
                           " nor on the library search path (" + opened.error + ")"};
    }
  }

  Functions functions;
#define VZ_RESOLVE_FUNCTION(name)                                       \
  if (!Resolve(*opened.library, #name, functions.name)) {               \
    return {nullptr, fileName + ": function " #name " not found"};      \
  }
  VZ_ADAPTER_CONTRACT(VZ_RESOLVE_FUNCTION)
#undef VZ_RESOLVE_FUNCTION

  return {std::make_unique<DynamicAdapterLibrary>(std::move(opened.library), functions), {}};
}

}  // namespace adapter
