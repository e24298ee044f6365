#include "libs/vuzoza/sim/world.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "libs/vuzoza/sim/device.h"
#include "libs/vuzoza/sim/radio.h"

namespace vuzoza {
namespace {

bool Listed(const std::vector<std::string>& names, std::string_view op) {
  return std::find(names.begin(), names.end(), op) != names.end();
}

int DefaultBand(Bands b) {
  switch (b) {
    case Bands::Band24:
      return kBand24;
    case Bands::Band5:
      return kBand5;
    case Bands::Both:
      return kBandAuto;
  }
  return kBand24;
}

// The number behind "PID_" or "DEV_" of a hardware identifier.
std::uint32_t DeviceIdOf(const std::string& hardwareId) {
  for (const char* tag : {"PID_", "DEV_"}) {
    const auto at = hardwareId.find(tag);
    if (at != std::string::npos) return static_cast<std::uint32_t>(std::strtoul(hardwareId.c_str() + at + 4, nullptr, 16));
  }
  return 0;
}

}  // namespace

SimClock RealClock() {
  return {[] {
            return std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::steady_clock::now().time_since_epoch())
                .count();
          },
          [](std::uint32_t ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }};
}

World::World(Scenario scenario, SimClock clock, AuthenticatorFactory authenticators)
    : scenario_(std::move(scenario)),
      clock_(std::move(clock)),
      authenticators_(std::move(authenticators)),
      epoch_(clock_.nowMs()),
      wzc_(scenario_.wzc) {
  for (const AdapterSpec& adapterSpec : scenario_.adapters) {
    devices_.push_back(std::make_unique<Device>(adapterSpec));
    ResetDevice(*devices_.back());
    if (adapterSpec.wireless) StartJoin(*devices_.back(), 0);
  }
}

World::~World() = default;

std::int64_t World::Now() const { return clock_.nowMs() - epoch_; }

Device* World::Find(std::string_view adapter) {
  for (auto& d : devices_) {
    if (d->spec->name == adapter) return d.get();
  }
  return nullptr;
}

bool World::Present(const Device& d, std::int64_t now) const {
  const AdapterFaults& f = d.spec->faults;
  if (!f.vanishAtMs || now < *f.vanishAtMs) return true;
  return f.vanishForMs > 0 && now >= *f.vanishAtMs + f.vanishForMs;
}

bool World::Silent(const Device& d, std::int64_t now) const {
  const auto& from = d.spec->faults.silentFromMs;
  return !d.spec->answers || (from && now >= *from);
}

void World::ResetDevice(Device& d) {
  const AdapterSpec& adapterSpec = *d.spec;
  Device fresh(adapterSpec);
  fresh.station.band = DefaultBand(adapterSpec.bands);
  fresh.region = adapterSpec.region;
  fresh.channels24 = adapterSpec.channels24;
  fresh.channels5 = adapterSpec.channels5;
  fresh.lastAdvanceMs = Now();
  fresh.wasPresent = d.wasPresent;
  fresh.lastAssociationId = d.lastAssociationId;
  fresh.stationTrafficMs = 0;
  d = std::move(fresh);
}

Device* World::Enter(std::string_view adapter, std::string_view op) {
  Device* d = Find(adapter);
  if (d == nullptr || !d->spec->wireless) return nullptr;
  const std::int64_t now = Now();
  if (!Present(*d, now)) {
    if (d->wasPresent) {
      ResetDevice(*d);
      d->wasPresent = false;
    }
    return nullptr;
  }
  if (!d->wasPresent) {
    // Back again: the driver starts afresh, as after plugging the adapter in.
    d->wasPresent = true;
    ResetDevice(*d);
    StartJoin(*d, now);
  }
  Advance(*d, now);
  if (Silent(*d, now)) return nullptr;
  const AdapterFaults& f = d->spec->faults;
  if (Listed(f.failingQueries, op) || Listed(f.refusedSetters, op)) return nullptr;
  return d;
}

void World::Advance(Device& d, std::int64_t now) {
  const std::int64_t elapsed = now - d.lastAdvanceMs;
  if (elapsed > 0) {
    if (TrafficFlows(d)) d.stationTrafficMs += elapsed;
    if (d.operationMode == 1 && StationsPresent(d, d.lastAdvanceMs) > 0) d.apTrafficMs += elapsed;
    d.lastAdvanceMs = now;
  }
  if (d.link.state == LinkState::Joining && now >= d.link.joinStartedMs + kAssociationMs) FinishJoin(d);
  // An access point that gave up on the station's keys sends it away.
  if (d.link.state == LinkState::Associated && d.link.authenticator && d.link.authenticator->WantsDisconnect()) {
    DropLink(d);
  }
  if (d.link.state == LinkState::Associated && d.link.network) {
    constexpr int kLostBelowDbm = -100;
    if (SignalAt(scenario_.networks[*d.link.network], now) < kLostBelowDbm) DropLink(d);
  }
  if (d.scanStartedMs && now >= *d.scanStartedMs + kScanMs) {
    const std::int64_t doneAt = *d.scanStartedMs + kScanMs;
    d.survey.clear();
    for (const NetworkSpec& n : scenario_.networks) {
      if (Usable(d, n) && SignalAt(n, doneAt) >= -100) d.survey.push_back(EncodeBssidEntry(n, SignalAt(n, doneAt)));
    }
    d.scanStartedMs.reset();
  }
}

bool World::Usable(const Device& d, const NetworkSpec& n) const { return SupportsChannel(d, n.channel); }

void World::DropLink(Device& d) { d.link = Link{}; }

void World::StartJoin(Device& d, std::int64_t now) {
  DropLink(d);
  if (d.operationMode != 0) return;
  d.link.state = LinkState::Joining;
  d.link.joinStartedMs = now;
}

void World::FinishJoin(Device& d) {
  const std::int64_t now = d.lastAdvanceMs;
  const auto chosen = ChooseNetwork(
      scenario_.networks, d.station, [&](const NetworkSpec& n) { return Usable(d, n); },
      [&](const NetworkSpec& n) { return SignalAt(n, now); });
  d.link.state = LinkState::Idle;
  if (chosen) {
    const NetworkSpec& n = scenario_.networks[*chosen];
    d.link.state = LinkState::Associated;
    d.link.network = chosen;
    d.link.bssid = n.bssid;
    d.link.channel = n.channel;
    d.lastAssociationId = static_cast<std::uint16_t>(d.lastAssociationId % 2007 + 1);
    d.link.associationInfo = AssociationInformation(n, d.station, d.spec->rates, d.lastAssociationId);
    const auto setup = KeySetupOf(d.station);
    if ((setup && n.security != Security::Open && n.security != Security::Wep) || n.security == Security::Dot1xWep) {
      AuthenticatorContext context;
      context.network = &n;
      context.accessPoint = n.bssid;
      context.station = d.spec->mac;
      context.group = n.group;
      if (setup) {
        context.family = setup->family;
        context.pairwise = setup->pairwise;
        context.stationElement = StationSecurityElement(n, *setup, d.station);
        AppendSecurityElement(context.accessPointElement, setup->family, n.group, n.pairwise, AkmOf(n.security));
        if (!n.airFaults.message3Element.empty()) context.accessPointElement = n.airFaults.message3Element;
      }
      context.nowMs = [this] { return Now(); };
      context.pmksa = &pmksa_;
      d.link.authenticator = authenticators_(context);
    }
    return;
  }
  const bool adhoc = d.station.networkType == 0 || d.station.networkType == 3;
  if (adhoc && !d.station.ssid.empty()) {
    // Nobody to join: start our own ad hoc network on the configured channel.
    d.link.state = LinkState::Associated;
    d.link.ownIbss = true;
    d.link.bssid = d.spec->mac;
    d.link.bssid[0] = static_cast<std::uint8_t>((d.link.bssid[0] | 0x02) & 0xFE);
    d.link.bssid[5] ^= 0x5A;
    d.link.channel = SupportsChannel(d, d.station.channel) ? d.station.channel : FirstChannel(d);
  }
}

bool World::TrafficFlows(const Device& d) const {
  if (d.operationMode != 0 || d.link.state != LinkState::Associated || !d.link.network) return false;
  const NetworkSpec& n = scenario_.networks[*d.link.network];
  switch (n.security) {
    case Security::Open:
      return true;
    case Security::Wep:
      return WepTrafficPasses(n, d.station);
    case Security::WpaPsk:
    case Security::Wpa2Psk:
    case Security::WpaWpa2Psk:
    case Security::WpaEap:
    case Security::Wpa2Eap:
    case Security::Dot1xWep:
      return d.link.authenticator && d.link.authenticator->KeysEstablished();
  }
  return false;
}

std::size_t World::StationsPresent(const Device& d, std::int64_t now) const {
  std::size_t count = 0;
  for (const StationSpec& s : scenario_.stations) {
    if (StationPresent(d.ap, s, now - d.apUpSinceMs)) ++count;
  }
  return std::min(count, kMacListEntries);
}

std::vector<AdapterListEntry> World::ListAdapters(bool othersOnly) {
  std::lock_guard lock(mutex_);
  const std::int64_t now = Now();
  std::vector<AdapterListEntry> out;
  for (const auto& d : devices_) {
    if (!Present(*d, now) || (othersOnly && d->spec->wireless)) continue;
    out.push_back({d->spec->name, d->spec->description, d->spec->instance});
  }
  return out;
}

int World::Open(std::string_view adapter) {
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < devices_.size(); ++i) {
    if (devices_[i]->spec->name == adapter && Present(*devices_[i], Now())) return static_cast<int>(i) + 1;
  }
  return 0;
}

int World::DriverVersion(std::string_view adapter) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "QueryWL_DriverVersion");
  if (d == nullptr) return -1;
  return static_cast<int>(d->spec->driverVersion);
}

int World::GetDriverInfo(std::string_view adapter, DriverInfo& out) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "Query_QVDriverInfo");
  if (d == nullptr) return -1;
  out.vendorId = 0xF5A1;
  out.deviceId = DeviceIdOf(d->spec->hardwareId);
  out.firmwareVersion = d->spec->driverVersion;
  out.chip = static_cast<std::uint32_t>(d->spec->chip);
  return 0;
}

int World::StartWzc() {
  std::lock_guard lock(mutex_);
  if (wzc_ == WzcState::Absent) return -1;
  wzc_ = WzcState::Running;
  return 0;
}

int World::StopWzc() {
  std::lock_guard lock(mutex_);
  if (wzc_ == WzcState::Absent) return -1;
  wzc_ = WzcState::Stopped;
  return 0;
}

}  // namespace vuzoza
