// Raw driver requests: association information, key installation and the EAPOL frame path
// between the station and the simulated access point.

#include <algorithm>

#include "libs/vuzoza/sim/device.h"
#include "libs/vuzoza/sim/world.h"

namespace vuzoza {
namespace {

std::uint32_t Get32(std::span<const std::uint8_t> b, std::size_t at) {
  return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
         static_cast<std::uint32_t>(b[at + 2]) << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}
void Put32(std::span<std::uint8_t> b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

constexpr std::uint32_t kKeyTransmit = 0x80000000;
constexpr std::uint32_t kKeyPairwise = 0x40000000;
constexpr std::size_t kWpaKeyHeader = 32;
constexpr std::size_t kWepKeyHeader = 12;
// How often a waiting receive looks for a frame again.
constexpr std::uint32_t kReceivePollMs = 10;
// Where an EAPOL-Key frame carries its integrity code.
constexpr std::size_t kKeyMicOffset = 81;
constexpr std::size_t kKeyMicSize = 16;

bool Listed(const std::vector<int>& numbers, int n) {
  return std::find(numbers.begin(), numbers.end(), n) != numbers.end();
}

// The access point's frames as the station's radio receives them.
void PutOnAir(const AirFaults& faults, int number, Bytes frame, std::deque<Bytes>& received) {
  if (Listed(faults.loseToStation, number)) return;
  if (Listed(faults.forgeMicToStation, number) && frame.size() >= kKeyMicOffset + kKeyMicSize) {
    frame[kKeyMicOffset] ^= 0x01;
  }
  if (Listed(faults.repeatToStation, number)) received.push_back(frame);
  received.push_back(std::move(frame));
}

}  // namespace

int World::ReadOid(std::string_view adapter, std::uint32_t oid, std::span<std::uint8_t> buffer) {
  std::unique_lock lock(mutex_);
  if (oid == kOidEapolReceive) return ReceiveEapol(lock, adapter, buffer);
  Device* d = Enter(adapter, "ReadOid");
  if (d == nullptr || oid != kOidAssociationInformation) return -1;
  const Bytes& info = d->link.associationInfo;
  if (d->link.state != LinkState::Associated || info.empty() || buffer.size() < info.size()) return -1;
  std::copy(info.begin(), info.end(), buffer.begin());
  return 0;
}

int World::WriteOid(std::string_view adapter, std::uint32_t oid, std::span<const std::uint8_t> buffer) {
  std::lock_guard lock(mutex_);
  Device* d = Enter(adapter, "WriteOid");
  if (d == nullptr) return -1;
  switch (oid) {
    case kOidAddWpaKey:
      return AddWpaKey(*d, buffer);
    case kOidAddWepKey:
      return AddWepKey(*d, buffer);
    case kOidPmkid:
      return SetPmkids(*d, buffer);
    case kOidEapolSend: {
      if (buffer.size() < kEapolHeader || d->link.state != LinkState::Associated || d->link.ownIbss) return -1;
      const std::uint32_t length = Get32(buffer, 4);
      if (length > kEapolFrameMax || kEapolHeader + length > buffer.size()) return -1;
      // Frames to a network without key negotiation (open, static WEP) go unanswered.
      const int number = ++d->link.framesFromStationSeen;
      const bool lost = d->link.network && Listed(scenario_.networks[*d->link.network].airFaults.loseFromStation, number);
      if (d->link.authenticator && !lost) {
        d->link.authenticator->OnFrameFromStation(buffer.subspan(kEapolHeader, length));
      }
      return 0;
    }
    default:
      return -1;
  }
}

int World::ReceiveEapol(std::unique_lock<std::mutex>& lock, std::string_view adapter, std::span<std::uint8_t> buffer) {
  if (buffer.size() < kEapolHeader) return -1;
  const std::int64_t deadline = Now() + Get32(buffer, 0);
  for (;;) {
    Device* d = Enter(adapter, "ReadOid");
    if (d == nullptr || d->link.state != LinkState::Associated) return -1;
    Link& link = d->link;
    if (link.authenticator && link.network) {
      const AirFaults& faults = scenario_.networks[*link.network].airFaults;
      while (auto frame = link.authenticator->TakeFrameToStation()) {
        PutOnAir(faults, ++link.framesToStationSeen, std::move(*frame), link.framesToStation);
      }
    }
    if (!link.framesToStation.empty()) {
      const Bytes& frame = link.framesToStation.front();
      Put32(buffer, 4, static_cast<std::uint32_t>(frame.size()));
      if (kEapolHeader + frame.size() > buffer.size()) return -1;  // stays queued for a bigger buffer
      std::copy(link.bssid.begin(), link.bssid.end(), buffer.begin() + 8);
      buffer[14] = buffer[15] = 0;
      std::copy(frame.begin(), frame.end(), buffer.begin() + kEapolHeader);
      link.framesToStation.pop_front();
      return 0;
    }
    // The access point waits for its authentication server: wait with it, in the server's time.
    if (const auto serverWait = link.authenticator ? link.authenticator->ServerWait() : nullptr) {
      lock.unlock();
      serverWait(kReceivePollMs);
      lock.lock();
      continue;
    }
    const std::int64_t left = deadline - Now();
    if (left <= 0) return -1;
    // Wait outside the lock so that the other thread can go on using the adapter meanwhile.
    lock.unlock();
    clock_.sleepMs(static_cast<std::uint32_t>(std::min<std::int64_t>(left, kReceivePollMs)));
    lock.lock();
  }
}

int World::AddWpaKey(Device& d, std::span<const std::uint8_t> record) {
  if (record.size() < kWpaKeyHeader || d.link.state != LinkState::Associated) return -1;
  const std::uint32_t index = Get32(record, 4);
  const std::uint32_t length = Get32(record, 8);
  if (length == 0 || length > 64 || kWpaKeyHeader + length > record.size()) return -1;
  if (!std::equal(d.link.bssid.begin(), d.link.bssid.end(), record.begin() + 12)) return -1;
  InstalledKey key;
  key.pairwise = (index & kKeyPairwise) != 0;
  key.index = static_cast<int>(index & 0xFF);
  if (key.index > 3) return -1;
  key.key.assign(record.begin() + kWpaKeyHeader, record.begin() + kWpaKeyHeader + length);
  if (d.link.authenticator) d.link.authenticator->OnKeyInstalled(key);
  return 0;
}

int World::SetPmkids(Device& d, std::span<const std::uint8_t> record) {
  // Length, count, then entries of BSSID and PMKID; the list replaces the one before.
  constexpr std::size_t kEntry = 6 + 16;
  if (record.size() < 8 || Get32(record, 0) > record.size() || Get32(record, 0) < 8) return -1;
  const std::uint32_t count = Get32(record, 4);
  if (count > (Get32(record, 0) - 8) / kEntry) return -1;
  d.station.pmkids.clear();
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t at = 8 + i * kEntry;
    Mac bssid{};
    Pmkid pmkid{};
    std::copy(record.begin() + at, record.begin() + at + 6, bssid.begin());
    std::copy(record.begin() + at + 6, record.begin() + at + kEntry, pmkid.begin());
    d.station.pmkids.emplace_back(bssid, pmkid);
  }
  return 0;
}

int World::AddWepKey(Device& d, std::span<const std::uint8_t> record) {
  if (record.size() < kWepKeyHeader) return -1;
  const std::uint32_t index = Get32(record, 4);
  const std::uint32_t length = Get32(record, 8);
  if ((length != 5 && length != 13 && length != 29) || kWepKeyHeader + length > record.size()) return -1;
  const int slot = static_cast<int>(index & 0x3);
  d.station.wepKeys[slot].assign(record.begin() + kWepKeyHeader, record.begin() + kWepKeyHeader + length);
  if ((index & kKeyTransmit) != 0) d.station.wepDefaultKey = slot;
  // 802.1X with dynamic WEP: the access point checks the keys it sent.
  if (d.link.authenticator) d.link.authenticator->OnKeyInstalled({(index & kKeyTransmit) != 0, slot, d.station.wepKeys[slot]});
  return 0;
}

}  // namespace vuzoza
