// Feeds arbitrary bytes to the EAPOL-Key parser, the key data parser and both handshake
// state machines, which must reject what they cannot use without reading out of bounds.
#include <cstddef>
#include <cstdint>

#include "libs/dot1x/wpa/authenticator.h"
#include "libs/dot1x/wpa/eapol_key.h"
#include "libs/dot1x/wpa/key_data.h"
#include "libs/dot1x/wpa/supplicant.h"

namespace {

bool FixedNonce(std::span<std::uint8_t> out) {
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = static_cast<std::uint8_t>(i);
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const wpa::ByteSpan bytes(data, size);
  wpa::ParsedEapolKey parsed;
  if (wpa::ParseEapolKey(bytes, parsed) == wpa::EapolParseError::None) {
    (void)wpa::SerializeEapolKey(parsed.key);
    wpa::KeyDataElements elements;
    (void)wpa::ParseKeyData(parsed.key.keyData, elements);
  }
  wpa::KeyDataElements elements;
  (void)wpa::ParseKeyData(bytes, elements);

  for (wpa::Protocol protocol : {wpa::Protocol::Rsn, wpa::Protocol::Wpa}) {
    const wpa::Cipher cipher = protocol == wpa::Protocol::Rsn ? wpa::Cipher::Ccmp : wpa::Cipher::Tkip;
    wpa::Supplicant supplicant({.suite = {protocol, cipher, cipher}}, {.nonce = FixedNonce});
    (void)supplicant.OnFrame(bytes);
    wpa::Authenticator authenticator({.suite = {protocol, cipher, cipher}, .groupKey = {1, false, wpa::SecretBytes(16, 1)}},
                                     {.nonce = FixedNonce});
    authenticator.Start();
    (void)authenticator.OnFrame(bytes);
  }
  return 0;
}
