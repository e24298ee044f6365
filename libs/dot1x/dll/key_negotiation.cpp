#include "libs/dot1x/dll/key_negotiation.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "libs/dot1x/wpa/surveyed_element.h"

namespace dot1x {
namespace {

constexpr std::uint8_t kElementRsn = 48;
constexpr std::uint8_t kElementVendor = 221;
constexpr std::array<std::uint8_t, 4> kWpaElementType{0x00, 0x50, 0xF2, 0x01};
// An element (at most 2 + 255 bytes) and the 0 byte the callback puts after it.
constexpr std::size_t kElementRoom = 258;
constexpr std::uint8_t kEapolKeyPacket = 3;
constexpr std::uint8_t kEapolStartPacket = 1;

void Put32(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::optional<wpa::Cipher> CipherOf(std::uint32_t code) {
  if (code == DOT1X_CIPHER_TKIP) return wpa::Cipher::Tkip;
  if (code == DOT1X_CIPHER_CCMP) return wpa::Cipher::Ccmp;
  return std::nullopt;
}

// The station's element with this id, when the callback has one of that kind.
wpa::Bytes FetchElement(Dot1xElementCallback callback, std::uint8_t id) {
  std::array<std::uint8_t, kElementRoom + 2> out{};
  callback(id, out.data());
  if (out[0] != id) return {};
  wpa::Bytes element(out.begin(), out.begin() + 2 + out[1]);
  if (id == kElementVendor &&
      (element.size() < 2 + kWpaElementType.size() || !std::equal(kWpaElementType.begin(), kWpaElementType.end(), element.begin() + 2))) {
    return {};
  }
  return element;
}

// The access point's element as its beacon announced it, from the adapter's last survey; empty
// when that survey does not list the access point.
wpa::Bytes SurveyedElement(VzAdapterHandle* adapter, const wpa::MacAddress& bssid, wpa::Protocol protocol) {
  std::vector<std::uint8_t> list(VZ_SURVEY_BUFFER_SIZE, 0);
  if (WL_RetrieveSiteSurveyData(adapter, list.data(), static_cast<std::int32_t>(list.size())) != 0) return {};
  return wpa::SurveyedSecurityElement(list, bssid, protocol);
}

}  // namespace

std::optional<SuiteChoice> ChooseSuite(const Dot1xKeyContext& context) {
  const auto pairwise = CipherOf(context.pairwise_cipher);
  const auto group = CipherOf(context.group_cipher);
  if (!pairwise || !group || context.element_callback == nullptr) return std::nullopt;
  SuiteChoice choice;
  choice.suite = {wpa::Protocol::Rsn, *pairwise, *group};
  choice.ownElement = FetchElement(context.element_callback, kElementRsn);
  if (choice.ownElement.empty()) {
    choice.suite.protocol = wpa::Protocol::Wpa;
    choice.ownElement = FetchElement(context.element_callback, kElementVendor);
  }
  // Message 2 must repeat the association request's element; without one no handshake can succeed.
  if (choice.ownElement.empty()) return std::nullopt;
  return choice;
}

std::unique_ptr<KeyNegotiation> KeyNegotiation::Prepare(VzAdapterHandle* adapter, Dot1xKeyContext& context) {
  static constexpr std::uint8_t kTag[DOT1X_KEY_CONTEXT_TAG_SIZE] = DOT1X_KEY_CONTEXT_TAG;
  if (adapter == nullptr || std::memcmp(context.tag, kTag, sizeof kTag) != 0 || context.key_callback == nullptr ||
      wpa::IsAllZero(context.pmk)) {
    return nullptr;
  }
  const auto choice = ChooseSuite(context);
  if (!choice) return nullptr;
  wpa::MacAddress bssid{};
  if (QueryWL_BSSID(adapter, bssid.data()) != 0 || wpa::IsAllZero(bssid)) return nullptr;
  return std::unique_ptr<KeyNegotiation>(new KeyNegotiation(adapter, context, bssid, *choice));
}

KeyNegotiation::KeyNegotiation(VzAdapterHandle* adapter, Dot1xKeyContext& context, const wpa::MacAddress& bssid,
                               const SuiteChoice& choice)
    : adapter_(adapter), context_(&context), bssid_(bssid), protocol_(choice.suite.protocol) {
  wpa::SupplicantConfig config;
  std::copy(std::begin(context.own_mac), std::end(context.own_mac), config.ownAddress.begin());
  config.authenticatorAddress = bssid;
  std::copy(std::begin(context.pmk), std::end(context.pmk), config.pmk.begin());
  config.suite = choice.suite;
  // Message 3 is checked against the beacon's element; without a survey listing the access
  // point, one is started and message 3 waits for its result (the access point repeats it).
  config.expectedAuthenticatorElement = SurveyedElement(adapter, bssid, protocol_);
  if (config.expectedAuthenticatorElement.empty()) (void)WL_SiteSurveyStart(adapter);
  wpa::SupplicantSeams seams;
  seams.transmit = [this](wpa::ByteSpan frame) { (void)SendFrame(adapter_, bssid_, frame); };
  seams.installKey = [this](const wpa::Rsc& rsc, wpa::ByteSpan key, int keyIndex, wpa::KeyKind kind) {
    ++installs_;
    context_->key_callback(rsc.data(), key.data(), static_cast<std::int32_t>(key.size()), keyIndex,
                           kind == wpa::KeyKind::Pairwise ? DOT1X_KEY_PAIRWISE : DOT1X_KEY_GROUP);
  };
  seams.ownElement = [element = choice.ownElement] { return element; };
  supplicant_ = std::make_unique<wpa::Supplicant>(std::move(config), std::move(seams));
}

bool KeyNegotiation::SendStart(const std::uint8_t* bssid) {
  wpa::MacAddress peer = bssid_;
  if (bssid != nullptr) std::copy(bssid, bssid + peer.size(), peer.begin());
  const std::uint8_t start[] = {wpa::EapolVersionOf(protocol_), kEapolStartPacket, 0, 0};
  return SendFrame(adapter_, peer, start);
}

bool KeyNegotiation::Step() {
  if (!supplicant_->KnowsAuthenticatorElement()) {
    supplicant_->LearnAuthenticatorElement(SurveyedElement(adapter_, bssid_, protocol_));
  }
  wpa::Bytes frame;
  wpa::MacAddress sender{};
  // Frames from another access point (after a roam) or of another kind (EAP) are not ours.
  if (!ReceiveFrame(adapter_, kStepWaitMs, frame, sender) || sender != bssid_ || frame.size() < 2 ||
      frame[1] != kEapolKeyPacket) {
    return false;
  }
  const int before = installs_;
  (void)supplicant_->OnFrame(frame);
  return installs_ != before;
}

namespace {
struct HeldFrame {
  wpa::Bytes frame;
  wpa::MacAddress sender{};
};
// Calls into the library are serialised, so one slot needs no lock of its own.
std::optional<HeldFrame>& Held() {
  static std::optional<HeldFrame> held;
  return held;
}
}  // namespace

void HoldFrame(const wpa::Bytes& frame, const wpa::MacAddress& sender) { Held() = HeldFrame{frame, sender}; }
void DropHeldFrame() { Held().reset(); }

bool ReceiveFrame(VzAdapterHandle* adapter, std::uint32_t waitMs, wpa::Bytes& frame, wpa::MacAddress& sender) {
  if (auto& held = Held()) {
    frame = std::move(held->frame);
    sender = held->sender;
    held.reset();
    return true;
  }
  auto record = std::make_unique<VzSimEapolFrame>();
  std::memset(record.get(), 0, sizeof *record);
  record->timeout_ms = waitMs;
  if (ReadOid(adapter, VZ_OID_SIM_EAPOL_RECEIVE, reinterpret_cast<std::uint8_t*>(record.get()), sizeof *record) != 0) {
    return false;
  }
  // The library reports its own length; never read past our record.
  const std::size_t length = std::min<std::size_t>(record->length, VZ_EAPOL_FRAME_MAX);
  frame.assign(record->frame, record->frame + length);
  std::copy(std::begin(record->peer), std::end(record->peer), sender.begin());
  return true;
}

bool SendFrame(VzAdapterHandle* adapter, const wpa::MacAddress& peer, wpa::ByteSpan frame) {
  if (frame.size() > VZ_EAPOL_FRAME_MAX) return false;
  std::vector<std::uint8_t> record(VZ_EAPOL_FRAME_HEADER_SIZE + frame.size(), 0);
  Put32(record.data() + 4, static_cast<std::uint32_t>(frame.size()));
  std::copy(peer.begin(), peer.end(), record.begin() + 8);
  std::copy(frame.begin(), frame.end(), record.begin() + VZ_EAPOL_FRAME_HEADER_SIZE);
  return WriteOid(adapter, VZ_OID_SIM_EAPOL_SEND, record.data(), static_cast<std::uint32_t>(record.size())) == 0;
}

}  // namespace dot1x
