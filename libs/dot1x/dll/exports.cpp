// The supplicant library's C functions. One key negotiation is active at a time; one mutex
// serialises the calls, so a shutdown from another thread waits for a running step.

#include <openssl/crypto.h>

#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string_view>

#include "libs/dot1x/dll/dynamic_wep.h"
#include "libs/dot1x/dll/eap_session.h"
#include "libs/dot1x/dll/key_negotiation.h"
#include "libs/dot1x/include/dot1x_dll.h"
#include "libs/dot1x/wpa/crypto.h"

namespace {

constexpr std::size_t kMaxSsid = 32;
constexpr std::size_t kMinPassPhrase = 8;
constexpr std::size_t kMaxPassPhrase = 63;
constexpr std::size_t kEapKeyingMaterial = 128;

struct LibraryState {
  std::mutex mutex;
  // The adapter of the last preparation, kept even when it failed so that run steps still wait.
  VzAdapterHandle* adapter = nullptr;
  std::unique_ptr<dot1x::KeyNegotiation> negotiation;
  std::unique_ptr<dot1x::DynamicWep> dynamicWep;
  std::unique_ptr<dot1x::EapSession> eap;
  // The keying material of the last authentication that succeeded with new keys.
  std::optional<eap::KeyingMaterial> eapKeys;

  void ForgetEapKeys() {
    if (eapKeys) OPENSSL_cleanse(eapKeys->data(), eapKeys->size());
    eapKeys.reset();
  }
};

// A run step with nothing to run still spends the step's time, so a caller's loop never spins.
void WaitOneStep(LibraryState& s) {
  wpa::Bytes ignored;
  wpa::MacAddress sender{};
  if (s.adapter != nullptr) (void)dot1x::ReceiveFrame(s.adapter, dot1x::kStepWaitMs, ignored, sender);
}

LibraryState& State() {
  static LibraryState state;
  return state;
}

}  // namespace

extern "C" {

int32_t do_eapol_init(VzAdapterHandle* adapter, int32_t, const uint8_t*, const uint8_t* bssid,
                      const uint8_t* eap_block) {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  s.eap.reset();
  s.ForgetEapKeys();
  dot1x::DropHeldFrame();
  if (adapter != nullptr) s.adapter = adapter;
  if (adapter == nullptr || bssid == nullptr || eap_block == nullptr) return -1;
  dot1x::EapBlock block;
  dot1x::ReadEapBlock(eap_block, block);
  wpa::MacAddress peer{};
  std::memcpy(peer.data(), bssid, peer.size());
  std::string error;
  s.eap = dot1x::EapSession::Prepare(adapter, peer, block, &wpa::RandomBytes, error);
  return s.eap ? 0 : -1;
}

int32_t do_eapol_run(void) {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  if (!s.eap) {
    WaitOneStep(s);
    return 0;
  }
  if (!s.eap->Step()) return 0;
  if (const auto keys = s.eap->Keys()) s.eapKeys = keys;
  return 1;
}

int32_t do_eapol_halt(void) {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  s.eap.reset();
  return 0;
}

int32_t Get_EAP_Derived_Key(uint8_t* out) {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  if (out == nullptr) return -1;
  if (!s.eapKeys) {
    std::memset(out, 0, kEapKeyingMaterial);
    return -1;
  }
  std::memcpy(out, s.eapKeys->data(), kEapKeyingMaterial);
  return 0;
}

int32_t Get_PSK_Key_32byte(const char* passphrase, const uint8_t* ssid, int32_t ssid_length, int32_t iterations,
                           uint8_t* out, int32_t out_length) {
  if (passphrase == nullptr || out == nullptr || out_length <= 0 || iterations <= 0 || ssid_length < 0 ||
      static_cast<std::size_t>(ssid_length) > kMaxSsid || (ssid == nullptr && ssid_length > 0)) {
    return -1;
  }
  const std::size_t phraseLength = strnlen(passphrase, kMaxPassPhrase + 1);
  if (phraseLength < kMinPassPhrase || phraseLength > kMaxPassPhrase) return -1;
  wpa::Pbkdf2HmacSha1(wpa::ByteSpan(reinterpret_cast<const std::uint8_t*>(passphrase), phraseLength),
                      wpa::ByteSpan(ssid, static_cast<std::size_t>(ssid_length)), static_cast<unsigned>(iterations),
                      std::span<std::uint8_t>(out, static_cast<std::size_t>(out_length)));
  return 0;
}

int32_t Get_PMKID(const uint8_t* pmk, const uint8_t* bssid, const uint8_t* own_mac, uint8_t* out) {
  if (pmk == nullptr || bssid == nullptr || own_mac == nullptr || out == nullptr) return -1;
  wpa::MacAddress aa{};
  wpa::MacAddress spa{};
  std::memcpy(aa.data(), bssid, aa.size());
  std::memcpy(spa.data(), own_mac, spa.size());
  wpa::Pmkid pmkid{};
  if (!wpa::ComputePmkid(wpa::ByteSpan(pmk, 32), aa, spa, pmkid)) return -1;
  std::memcpy(out, pmkid.data(), pmkid.size());
  return 0;
}

int32_t do_key_negotiation_init(VzAdapterHandle* adapter, Dot1xKeyContext* context) {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  s.negotiation.reset();
  s.dynamicWep.reset();
  if (adapter != nullptr) s.adapter = adapter;
  if (context == nullptr) return -1;
  if (dot1x::DynamicWep::Wanted(*context)) {
    s.dynamicWep = dot1x::DynamicWep::Prepare(adapter, *context);
    return s.dynamicWep ? 0 : -1;
  }
  s.negotiation = dot1x::KeyNegotiation::Prepare(adapter, *context);
  return s.negotiation ? 0 : -1;
}

int32_t do_eapol_start(const uint8_t* bssid, const uint8_t*) {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  if (!s.negotiation) return -1;
  return s.negotiation->SendStart(bssid) ? 0 : -1;
}

int32_t do_key_negotiation_run(Dot1xKeyContext* context) {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  if (s.dynamicWep && s.dynamicWep->context() == context) return s.dynamicWep->Step() ? 1 : 0;
  if (!s.negotiation || s.negotiation->context() != context) {
    WaitOneStep(s);
    return -1;
  }
  return s.negotiation->Step() ? 1 : 0;
}

int32_t Shutdown_Dot1x_Module(void) {
  LibraryState& s = State();
  std::lock_guard lock(s.mutex);
  s.negotiation.reset();
  s.dynamicWep.reset();
  s.eap.reset();
  s.ForgetEapKeys();
  dot1x::DropHeldFrame();
  s.adapter = nullptr;
  return 0;
}

}  // extern "C"
