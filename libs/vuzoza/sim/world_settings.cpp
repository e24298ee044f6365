// The number queries and setters of the world, and the station's byte-string settings.

#include <algorithm>

#include "libs/vuzoza/sim/device.h"
#include "libs/vuzoza/sim/radio.h"
#include "libs/vuzoza/sim/world.h"

namespace vuzoza {
namespace {

bool In(int v, int lo, int hi) { return v >= lo && v <= hi; }

// Kbit/s of the fastest rate both sides share, within the rates the station was told to use.
int LinkSpeedKbps(const NetworkSpec& n, const Bytes& adapterRates, const Bytes& desired) {
  auto has = [](const Bytes& set, std::uint8_t r) {
    return std::any_of(set.begin(), set.end(), [&](std::uint8_t x) { return (x & 0x7F) == (r & 0x7F); });
  };
  int best = 0;
  int bestAllowed = 0;
  for (std::uint8_t r : n.rates) {
    if (!has(adapterRates, r)) continue;
    best = std::max(best, (r & 0x7F) * 500);
    if (desired.empty() || has(desired, r)) bestAllowed = std::max(bestAllowed, (r & 0x7F) * 500);
  }
  return bestAllowed > 0 ? bestAllowed : best;
}

}  // namespace

std::string_view ExportName(Query q) {
  switch (q) {
    case Query::ConnectState: return "QueryWL_ConnectState";
    case Query::Channel: return "QueryWL_Channel";
    case Query::NetworkType: return "QueryWL_NetworkType";
    case Query::Encryption: return "QueryWL_WEPStatus";
    case Query::AuthMode: return "QueryWL_AuthenticationMode";
    case Query::Rssi: return "QueryWL_RSSI";
    case Query::Quality: return "QueryWL_CommQuality";
    case Query::LinkSpeed: return "QueryWL_CurrentLinkSpeed";
    case Query::BandInUse: return "QueryWL_802_11_NetworkTypeInUse";
    case Query::BandModes: return "QueryWL_QVWirelessMode";
    case Query::AdhocRateMode: return "QueryWL_QVAdhocMode";
    case Query::OperationMode: return "QueryWL_OperationMode_STA_AP";
    case Query::Region: return "QueryWL_OperationRegionCode";
    case Query::MultiDomain: return "QueryWL_MultiDomainCapability";
    case Query::PowerSave: return "QueryWL_PSMode";
    case Query::Fragmentation: return "QueryWL_FragmentationThreshold";
    case Query::RtsThreshold: return "QueryWL_RTS_CTS_Threshold";
    case Query::PrivateRequests: return "QueryWL_QVUseQVXOidState";
    case Query::WzcStatus: return "QueryWL_CheckWZCStatus";
  }
  return "";
}

std::string_view ExportName(Setting s) {
  switch (s) {
    case Setting::Channel: return "SetWL_Channel";
    case Setting::NetworkType: return "SetWL_NetworkType";
    case Setting::BandInUse: return "SetWL_802_11_NetworkTypeInUse";
    case Setting::AuthMode: return "SetWL_AuthenticationMode";
    case Setting::Encryption: return "SetWL_WEPStatus";
    case Setting::PowerSave: return "SetWL_PSMode";
    case Setting::Fragmentation: return "SetWL_FragmentationThreshold";
    case Setting::RtsThreshold: return "SetWL_RTS_CTS_Threshold";
    case Setting::Preamble: return "SetWL_PreambleMode";
    case Setting::MultiDomain: return "SetWL_MultiDomainCapability";
    case Setting::Region: return "SetWL_OperationRegionCode";
    case Setting::PspXLink: return "SetWL_QVPSPXLinkMode";
    case Setting::Wmm: return "SetWL_QVWMMQosMode";
    case Setting::BandMode: return "SetWL_QVWirelessMode";
    case Setting::PrivateRequests: return "SetWL_QVUseQVXOidState";
    case Setting::RegionAndChannels: return "SetWL_RegionAndSupportChannel";
    case Setting::OperationMode: return "SetWL_OperationMode_STA_AP";
    case Setting::ApBandMode: return "SetWL_ApWirelessMode";
    case Setting::ApProtection: return "SetWL_ApProtectionMode";
    case Setting::HideSsid: return "SetWLAP_HideSSIDState";
    case Setting::TxPower: return "SetWLAP_TxPowerLevel";
    case Setting::FilterMode: return "SetWLAP_FilterMode";
  }
  return "";
}

int World::Get(std::string_view adapter, Query q) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, ExportName(q));
  if (d == nullptr) return -1;
  const bool ap = d->operationMode == 1;
  const Link& link = d->link;
  const NetworkSpec* n = link.state == LinkState::Associated && link.network ? &scenario_.networks[*link.network] : nullptr;
  switch (q) {
    case Query::ConnectState:
      return ap || link.state == LinkState::Associated ? 0 : 1;
    case Query::Channel:
      if (ap) return d->ap.channel;
      if (link.state == LinkState::Associated) return link.channel;
      return d->station.channel > 0 ? d->station.channel : FirstChannel(*d);
    case Query::NetworkType:
      return d->station.networkType;
    case Query::Encryption:
      return ap ? d->ap.encryption : d->station.encryption;
    case Query::AuthMode:
      return ap ? d->ap.authMode : d->station.authMode;
    case Query::Rssi:
      return n != nullptr && !ap ? SignalAt(*n, Now()) : -1;
    case Query::Quality:
      return n != nullptr && !ap ? QualityFor(SignalAt(*n, Now())) : 0;
    case Query::LinkSpeed:
      if (ap) return MaxRateKbps(d->spec->rates);
      return n != nullptr ? LinkSpeedKbps(*n, d->spec->rates, d->station.desiredRates) : 0;
    case Query::BandInUse:
      if (n != nullptr && !ap) return IsFiveGhzChannel(n->channel) ? kBand5 : kBand24;
      return d->station.band;
    case Query::BandModes:
      switch (d->spec->bands) {
        case Bands::Band24: return kBand24;
        case Bands::Band5: return kBand5;
        case Bands::Both: return d->bandMode;
      }
      return -1;
    case Query::AdhocRateMode: return d->spec->adhocRateMode;
    case Query::OperationMode: return d->operationMode;
    case Query::Region: return d->region;
    case Query::MultiDomain: return d->multiDomain;
    case Query::PowerSave: return d->powerSave;
    case Query::Fragmentation: return d->fragmentation;
    case Query::RtsThreshold: return d->rtsThreshold;
    case Query::PrivateRequests: return d->privateRequests;
    case Query::WzcStatus:
      switch (wzc_) {
        case WzcState::Stopped: return 0;
        case WzcState::Running: return 1;
        case WzcState::Absent: return 2;
      }
      return -1;
  }
  return -1;
}

int World::Set(std::string_view adapter, Setting s, int v) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, ExportName(s));
  if (d == nullptr) return -1;
  const std::int64_t now = Now();
  const bool ap = d->operationMode == 1;
  // Settings that decide the association make the station associate anew.
  auto rejoin = [&] {
    if (!ap) StartJoin(*d, now);
    return 0;
  };
  auto store = [](int& field, int value, bool ok) {
    if (!ok) return -1;
    field = value;
    return 0;
  };
  switch (s) {
    case Setting::Channel:
      if (v != 0 && !SupportsChannel(*d, v)) return -1;
      if (ap) {
        d->ap.channel = v != 0 ? v : SupportsChannel(*d, 6) ? 6 : FirstChannel(*d);
        return 0;
      }
      d->station.channel = v;
      return d->station.networkType == 1 ? 0 : rejoin();
    case Setting::NetworkType:
      if (v != 0 && v != 1 && v != 3 && v != 4) return -1;
      d->station.networkType = v == 4 ? 1 : v;
      return rejoin();
    case Setting::BandInUse: {
      const bool has5 = !d->channels5.empty();
      const bool has24 = !d->channels24.empty();
      if (!In(v, 1, 4) || (v == kBand5 && !has5) || ((v == kBand24 || v == kBandDs) && !has24)) return -1;
      d->station.band = v;
      return rejoin();
    }
    case Setting::AuthMode:
      if (ap) return store(d->ap.authMode, v, In(v, 0, 1));
      if (store(d->station.authMode, v, In(v, 0, 7)) != 0) return -1;
      return rejoin();
    case Setting::Encryption:
      if (ap) return store(d->ap.encryption, v, In(v, 0, 1));
      if (store(d->station.encryption, v, v == kWepOn || v == kWepOff || v == kTkip || v == kAes) != 0) return -1;
      return rejoin();
    case Setting::PowerSave: return store(d->powerSave, v, In(v, 0, 2));
    case Setting::Fragmentation: return store(d->fragmentation, v, In(v, 256, 2346));
    case Setting::RtsThreshold: return store(d->rtsThreshold, v, In(v, 0, 2347));
    case Setting::Preamble: return store(d->preamble, v, In(v, 0, 2));
    case Setting::MultiDomain: return store(d->multiDomain, v, In(v, 0, 1));
    case Setting::Region:
    case Setting::RegionAndChannels: return store(d->region, v, In(v, 0, 255));
    case Setting::PspXLink: return store(d->pspXLink, v, In(v, 0, 1));
    case Setting::Wmm: return store(d->wmm, v, In(v, 0, 1));
    case Setting::PrivateRequests: return store(d->privateRequests, v, v >= 0);
    case Setting::BandMode:
      switch (d->spec->bands) {
        case Bands::Band24: return v == kBand24 || v == kBandAuto ? 0 : -1;
        case Bands::Band5: return v == kBand5 || v == kBandAuto ? 0 : -1;
        case Bands::Both: return store(d->bandMode, v, v == kBand24 || v == kBand5 || v == kBandAuto);
      }
      return -1;
    case Setting::OperationMode:
      if (!In(v, 0, 1)) return -1;
      if (v != d->operationMode) {
        d->operationMode = v;
        d->scanStartedMs.reset();
        if (v == 1) {
          d->link = Link{};
          d->apUpSinceMs = now;
        } else {
          StartJoin(*d, now);
        }
      }
      return 0;
    case Setting::ApBandMode: return store(d->ap.bandMode, v, In(v, 1, 4));
    case Setting::ApProtection: return store(d->ap.protectionMode, v, In(v, 0, 3));
    case Setting::HideSsid: {
      int hidden = 0;
      if (store(hidden, v, In(v, 0, 1)) != 0) return -1;
      d->ap.hidden = hidden == 1;
      return 0;
    }
    case Setting::TxPower: return store(d->ap.txPowerLevel, v, In(v, 0, 3));
    case Setting::FilterMode: return store(d->ap.filterMode, v, In(v, 0, 2));
  }
  return -1;
}

int World::GetSsid(std::string_view adapter, Bytes& out) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "QueryWL_SSID");
  if (d == nullptr) return -1;
  if (d->operationMode == 1) {
    out = d->ap.ssid;
  } else if (d->link.state == LinkState::Associated && d->link.network) {
    out = scenario_.networks[*d->link.network].ssid;
  } else {
    out = d->station.ssid;
  }
  return static_cast<int>(out.size());
}

int World::GetBssid(std::string_view adapter, Mac& out) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "QueryWL_BSSID");
  if (d == nullptr) return -1;
  if (d->operationMode == 1) {
    out = d->spec->mac;
    return 0;
  }
  if (d->link.state != LinkState::Associated) return -1;
  out = d->link.bssid;
  return 0;
}

int World::GetMac(std::string_view adapter, Mac& out) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "GetNICAdapterMAC");
  if (d == nullptr) return -1;
  out = d->spec->mac;
  return 0;
}

int World::GetFrameCounts(std::string_view adapter, std::uint32_t& sent, std::uint32_t& received) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "GetTxRxFrameCount");
  if (d == nullptr) return -1;
  const std::int64_t ms = d->stationTrafficMs + d->apTrafficMs;
  sent = static_cast<std::uint32_t>(ms * kTxFramesPerSecond / 1000);
  received = static_cast<std::uint32_t>(ms * kRxFramesPerSecond / 1000);
  return 0;
}

int World::GetSupportedChannels(std::string_view adapter, Bytes& out) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "QueryWL_SupportChannel");
  if (d == nullptr) return -1;
  out.assign(d->channels24.begin(), d->channels24.end());
  if (!d->channels5.empty()) {
    out.push_back(0xFF);
    out.insert(out.end(), d->channels5.begin(), d->channels5.end());
  }
  return 0;
}

int World::GetUiTxRates(std::string_view adapter, Bytes& out) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "QueryWL_UISupportTxRate");
  if (d == nullptr) return -1;
  out = d->spec->rates;
  return 0;
}

int World::GetSupportedRates(std::string_view adapter, Bytes& out) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "QueryWL_SupportedRate");
  if (d == nullptr) return -1;
  out = d->spec->rates;
  out.resize(16, 0);
  return 0;
}

int World::SetSsid(std::string_view adapter, std::span<const std::uint8_t> ssid) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "SetWL_SSID");
  if (d == nullptr || ssid.size() > 32) return -1;
  if (d->operationMode == 1) {
    d->ap.ssid.assign(ssid.begin(), ssid.end());
    return 0;
  }
  d->station.ssid.assign(ssid.begin(), ssid.end());
  StartJoin(*d, Now());
  return 0;
}

int World::SetBssid(std::string_view adapter, const Mac& bssid) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "SetWL_BSSID");
  if (d == nullptr) return -1;
  if (d->operationMode == 1) return 0;
  const bool any = std::all_of(bssid.begin(), bssid.end(), [](auto b) { return b == 0; }) ||
                   std::all_of(bssid.begin(), bssid.end(), [](auto b) { return b == 0xFF; });
  d->station.bssid = any ? std::nullopt : std::optional<Mac>(bssid);
  StartJoin(*d, Now());
  return 0;
}

int World::SetDesiredRates(std::string_view adapter, std::span<const std::uint8_t, 16> rates) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "SetWL_DesiredRate");
  if (d == nullptr) return -1;
  Bytes wanted;
  for (std::uint8_t r : rates) {
    if (r == 0) break;
    const bool supported = std::any_of(d->spec->rates.begin(), d->spec->rates.end(),
                                       [&](std::uint8_t x) { return (x & 0x7F) == (r & 0x7F); });
    if (!supported) return -1;
    wanted.push_back(r);
  }
  if (wanted.empty()) return -1;
  d->station.desiredRates = wanted;
  return 0;
}

int World::SetSupportedChannels(std::string_view adapter, std::span<const std::uint8_t> channels) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "SetWL_SupportChannel");
  if (d == nullptr || channels.empty()) return -1;
  std::vector<std::uint8_t> low;
  std::vector<std::uint8_t> high;
  for (std::uint8_t c : channels) {
    if (IsValidChannel(c, false)) {
      low.push_back(c);
    } else if (IsValidChannel(c, true)) {
      high.push_back(c);
    } else {
      return -1;
    }
  }
  if ((!low.empty() && d->spec->bands == Bands::Band5) || (!high.empty() && d->spec->bands == Bands::Band24)) {
    return -1;
  }
  if (!low.empty()) d->channels24 = low;
  if (!high.empty()) d->channels5 = high;
  return 0;
}

int World::WriteKey(std::string_view adapter, int index, int lengthCode, bool isDefault, const std::uint8_t* key) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "SetWL_WriteKey");
  if (d == nullptr || key == nullptr || !In(index, 0, 3) || !In(lengthCode, 0, 2)) return -1;
  static constexpr std::size_t kLengths[] = {5, 13, 29};
  const bool ap = d->operationMode == 1;
  auto& keys = ap ? d->ap.wepKeys : d->station.wepKeys;
  keys[index].assign(key, key + kLengths[lengthCode]);
  if (isDefault) (ap ? d->ap.wepDefaultKey : d->station.wepDefaultKey) = index;
  return 0;
}

int World::SetFilterList(std::string_view adapter, std::span<const std::uint8_t> list) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "SetWLAP_FilterList");
  if (d == nullptr || list.size() != kMacListSize) return -1;
  std::copy(list.begin(), list.end(), d->ap.filterList.begin());
  return 0;
}

}  // namespace vuzoza
