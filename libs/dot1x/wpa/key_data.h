#pragma once
// Elements carried in EAPOL-Key key data: the RSN or WPA element of the sender and the
// group temporal key in its key data encapsulation.

#include <optional>
#include <string_view>

#include "libs/dot1x/wpa/bytes.h"
#include "libs/dot1x/wpa/secret_bytes.h"

namespace wpa {

inline constexpr std::uint8_t kElementIdRsn = 48;
inline constexpr std::uint8_t kElementIdVendor = 221;  // also marks key data encapsulations

struct GroupKey {
  int keyIndex = 0;
  bool transmit = false;
  SecretBytes key;
};

struct KeyDataElements {
  Bytes rsnElement;  // whole element: id, length, body; empty when absent
  Bytes wpaElement;
  std::optional<GroupKey> groupKey;
};

enum class KeyDataParseError {
  None,
  ElementOverrun,      // an element's length runs past the key data
  MalformedGroupKey,   // group key encapsulation without room for its header or key
  DuplicateGroupKey,
};

[[nodiscard]] std::string_view ToString(KeyDataParseError error);

// Walks the elements up to the end or to the 0xdd 0x00 padding; unknown elements are skipped.
[[nodiscard]] KeyDataParseError ParseKeyData(ByteSpan keyData, KeyDataElements& out);

// Group key encapsulation with the key index and transmit flag.
[[nodiscard]] SecretBytes BuildGroupKeyKde(const GroupKey& groupKey);

// AES key wrap needs at least 16 bytes in whole 8-byte blocks: appends 0xdd and zeros.
void PadKeyDataForWrap(SecretBytes& keyData);

}  // namespace wpa
