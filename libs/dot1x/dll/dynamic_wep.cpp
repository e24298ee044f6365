#include "libs/dot1x/dll/dynamic_wep.h"

#include <openssl/crypto.h>

#include <cstring>

#include "libs/dot1x/dll/key_negotiation.h"
#include "libs/dot1x/eap/wep_key_frame.h"
#include "libs/dot1x/wpa/crypto.h"

namespace dot1x {

bool DynamicWep::Wanted(const Dot1xKeyContext& context) {
  return context.pairwise_cipher == DOT1X_CIPHER_UNKNOWN && context.group_cipher == DOT1X_CIPHER_UNKNOWN;
}

std::unique_ptr<DynamicWep> DynamicWep::Prepare(VzAdapterHandle* adapter, Dot1xKeyContext& context) {
  static constexpr std::uint8_t kTag[DOT1X_KEY_CONTEXT_TAG_SIZE] = DOT1X_KEY_CONTEXT_TAG;
  if (adapter == nullptr || std::memcmp(context.tag, kTag, sizeof kTag) != 0 || context.key_callback == nullptr ||
      wpa::IsAllZero(wpa::ByteSpan(context.eap_keying_material, eap::kWepFrameKeySize))) {
    return nullptr;
  }
  wpa::MacAddress bssid{};
  if (QueryWL_BSSID(adapter, bssid.data()) != 0 || wpa::IsAllZero(bssid)) return nullptr;
  return std::unique_ptr<DynamicWep>(new DynamicWep(adapter, context, bssid));
}

DynamicWep::DynamicWep(VzAdapterHandle* adapter, Dot1xKeyContext& context, const wpa::MacAddress& bssid)
    : adapter_(adapter), context_(&context), bssid_(bssid) {}

DynamicWep::~DynamicWep() = default;

bool DynamicWep::Step() {
  wpa::Bytes frame;
  wpa::MacAddress sender{};
  if (!ReceiveFrame(adapter_, kStepWaitMs, frame, sender) || sender != bssid_) return false;
  auto key = eap::OpenWepKeyFrame(frame, wpa::ByteSpan(context_->eap_keying_material, eap::kWepFrameKeySize));
  if (!key) return false;
  const bool fresh = !lastReplayCounter_ || key->replayCounter > *lastReplayCounter_;
  if (fresh) {
    lastReplayCounter_ = key->replayCounter;
    const std::uint8_t rsc[8] = {};
    context_->key_callback(rsc, key->key.data(), static_cast<std::int32_t>(key->key.size()), key->index,
                           key->unicast ? DOT1X_KEY_PAIRWISE : DOT1X_KEY_GROUP);
  }
  OPENSSL_cleanse(key->key.data(), key->key.size());
  return fresh;
}

}  // namespace dot1x
