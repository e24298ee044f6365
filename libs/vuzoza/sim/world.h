#pragma once
// The simulated world: the scenario's adapters as drivers see them, the air around them, and
// time. Every entry point answers one call of the adapter library contract with the contract's
// result convention (setters 0 or -1, queries the value or -1). The world moves lazily: each call
// first brings it up to the program's clock. One mutex guards it, so the user-interface thread
// and the supplicant thread may call at once.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "libs/vuzoza/sim/authenticator.h"
#include "libs/vuzoza/sim/handshake_authenticator.h"
#include "libs/vuzoza/sim/pmksa_cache.h"
#include "libs/vuzoza/sim/scenario.h"

namespace vuzoza {

struct SimClock {
  std::function<std::int64_t()> nowMs;         // monotonic
  std::function<void(std::uint32_t)> sleepMs;  // waits, or moves virtual time on
};
SimClock RealClock();

// How long things take on the program's clock.
inline constexpr std::int64_t kAssociationMs = 1500;
inline constexpr std::int64_t kScanMs = 2500;
inline constexpr std::int64_t kTxFramesPerSecond = 9;
inline constexpr std::int64_t kRxFramesPerSecond = 14;

// Queries answering one number.
enum class Query {
  ConnectState, Channel, NetworkType, Encryption, AuthMode, Rssi, Quality, LinkSpeed, BandInUse,
  BandModes, AdhocRateMode, OperationMode, Region, MultiDomain, PowerSave, Fragmentation, RtsThreshold,
  PrivateRequests, WzcStatus,
};

// Setters taking one number.
enum class Setting {
  Channel, NetworkType, BandInUse, AuthMode, Encryption, PowerSave, Fragmentation, RtsThreshold, Preamble,
  MultiDomain, Region, PspXLink, Wmm, BandMode, PrivateRequests, RegionAndChannels, OperationMode,
  ApBandMode, ApProtection, HideSsid, TxPower, FilterMode,
};

// The export name of each, as fault knobs in scenarios name them.
std::string_view ExportName(Query q);
std::string_view ExportName(Setting s);

struct AdapterListEntry {
  std::string name;
  std::string description;
  std::string instance;
};

struct DriverInfo {
  std::uint32_t vendorId = 0;
  std::uint32_t deviceId = 0;
  std::uint32_t firmwareVersion = 0;
  std::uint32_t chip = 0;
};

inline constexpr std::uint32_t kOidAssociationInformation = 0x0D01011F;
inline constexpr std::uint32_t kOidAddWpaKey = 0xFF12FF1D;
inline constexpr std::uint32_t kOidAddWepKey = 0xFF12FF13;
inline constexpr std::uint32_t kOidPmkid = 0xFF12FF23;
inline constexpr std::uint32_t kOidEapolSend = 0xFF5E0001;
inline constexpr std::uint32_t kOidEapolReceive = 0xFF5E0002;
inline constexpr std::size_t kEapolHeader = 16;
inline constexpr std::size_t kEapolFrameMax = 2048;

struct Device;

class World {
 public:
  World(Scenario scenario, SimClock clock, AuthenticatorFactory authenticators = CreateHandshakeAuthenticator);
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  const Scenario& scenario() const { return scenario_; }

  // Lists: every adapter present now, or only those outside the wireless family.
  std::vector<AdapterListEntry> ListAdapters(bool othersOnly);
  // A handle (> 0) when the adapter is present, 0 otherwise.
  int Open(std::string_view adapter);
  int DriverVersion(std::string_view adapter);
  int GetDriverInfo(std::string_view adapter, DriverInfo& out);

  int Get(std::string_view adapter, Query q);
  int Set(std::string_view adapter, Setting s, int value);

  int GetSsid(std::string_view adapter, Bytes& out);
  int GetBssid(std::string_view adapter, Mac& out);
  int GetMac(std::string_view adapter, Mac& out);
  int GetFrameCounts(std::string_view adapter, std::uint32_t& sent, std::uint32_t& received);
  int GetSupportedChannels(std::string_view adapter, Bytes& out);
  int GetUiTxRates(std::string_view adapter, Bytes& out);
  int GetSupportedRates(std::string_view adapter, Bytes& out);

  int SetSsid(std::string_view adapter, std::span<const std::uint8_t> ssid);
  int SetBssid(std::string_view adapter, const Mac& bssid);
  int SetDesiredRates(std::string_view adapter, std::span<const std::uint8_t, 16> rates);
  int SetSupportedChannels(std::string_view adapter, std::span<const std::uint8_t> channels);
  int WriteKey(std::string_view adapter, int index, int lengthCode, bool isDefault, const std::uint8_t* key);
  int SetFilterList(std::string_view adapter, std::span<const std::uint8_t> list);

  int StartSurvey(std::string_view adapter);
  // The last finished survey as an NDIS BSSID list of at most `capacity` bytes.
  int GetSurvey(std::string_view adapter, std::size_t capacity, Bytes& out);
  int GetStationList(std::string_view adapter, Bytes& out);

  int StartWzc();
  int StopWzc();
  bool PnpWait() const { return scenario_.pnpWait; }

  // `buffer` is in and out, as the raw request defines.
  int ReadOid(std::string_view adapter, std::uint32_t oid, std::span<std::uint8_t> buffer);
  int WriteOid(std::string_view adapter, std::uint32_t oid, std::span<const std::uint8_t> buffer);

  // Milliseconds since the world started, on the program's clock.
  std::int64_t Now() const;

 private:
  // Brings the adapter up to now and checks it may answer `op`; null when it may not.
  Device* Enter(std::string_view adapter, std::string_view op);
  Device* Find(std::string_view adapter);
  bool Present(const Device& d, std::int64_t now) const;
  bool Silent(const Device& d, std::int64_t now) const;
  void Advance(Device& d, std::int64_t now);
  void ResetDevice(Device& d);

  void StartJoin(Device& d, std::int64_t now);
  void FinishJoin(Device& d);
  void DropLink(Device& d);
  bool TrafficFlows(const Device& d) const;
  std::size_t StationsPresent(const Device& d, std::int64_t now) const;
  bool Usable(const Device& d, const NetworkSpec& n) const;

  int ReceiveEapol(std::unique_lock<std::mutex>& lock, std::string_view adapter, std::span<std::uint8_t> buffer);
  int AddWpaKey(Device& d, std::span<const std::uint8_t> record);
  int AddWepKey(Device& d, std::span<const std::uint8_t> record);
  int SetPmkids(Device& d, std::span<const std::uint8_t> record);

  Scenario scenario_;
  SimClock clock_;
  AuthenticatorFactory authenticators_;
  std::int64_t epoch_;
  std::mutex mutex_;
  WzcState wzc_;
  PmksaCache pmksa_;  // the access points' memory of authentications, across associations
  std::vector<std::unique_ptr<Device>> devices_;
};

}  // namespace vuzoza
