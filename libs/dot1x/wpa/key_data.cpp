#include "libs/dot1x/wpa/key_data.h"

#include <algorithm>

namespace wpa {
namespace {

constexpr std::array<std::uint8_t, 3> kRsnOui = {0x00, 0x0f, 0xac};
constexpr std::uint8_t kKdeTypeGroupKey = 1;
// The WPA element is a vendor element with this organisation identifier and type 1.
constexpr std::array<std::uint8_t, 3> kWpaOui = {0x00, 0x50, 0xf2};
constexpr std::uint8_t kWpaElementType = 1;
constexpr std::size_t kMaxGroupKeyLength = 32;

bool HasPrefix(ByteSpan body, const std::array<std::uint8_t, 3>& oui, std::uint8_t type) {
  return body.size() >= 4 && std::equal(oui.begin(), oui.end(), body.begin()) && body[3] == type;
}

}  // namespace

std::string_view ToString(KeyDataParseError error) {
  switch (error) {
    case KeyDataParseError::None:
      return "no error";
    case KeyDataParseError::ElementOverrun:
      return "element runs past the key data";
    case KeyDataParseError::MalformedGroupKey:
      return "malformed group key encapsulation";
    case KeyDataParseError::DuplicateGroupKey:
      return "more than one group key";
  }
  return "unknown error";
}

KeyDataParseError ParseKeyData(ByteSpan keyData, KeyDataElements& out) {
  KeyDataElements result;
  std::size_t pos = 0;
  while (pos < keyData.size()) {
    const std::uint8_t id = keyData[pos];
    if (id == kElementIdVendor && (pos + 1 == keyData.size() || keyData[pos + 1] == 0)) break;  // padding
    if (pos + 2 > keyData.size()) return KeyDataParseError::ElementOverrun;
    const std::size_t length = keyData[pos + 1];
    if (length > keyData.size() - pos - 2) return KeyDataParseError::ElementOverrun;
    const ByteSpan element = keyData.subspan(pos, length + 2);
    const ByteSpan body = element.subspan(2);
    if (id == kElementIdRsn) {
      result.rsnElement.assign(element.begin(), element.end());
    } else if (id == kElementIdVendor && HasPrefix(body, kWpaOui, kWpaElementType)) {
      result.wpaElement.assign(element.begin(), element.end());
    } else if (id == kElementIdVendor && HasPrefix(body, kRsnOui, kKdeTypeGroupKey)) {
      if (result.groupKey) return KeyDataParseError::DuplicateGroupKey;
      // OUI and type, then key index/transmit byte, a reserved byte and the key.
      const ByteSpan key = body.subspan(std::min<std::size_t>(6, body.size()));
      if (body.size() < 6 || key.empty() || key.size() > kMaxGroupKeyLength) {
        return KeyDataParseError::MalformedGroupKey;
      }
      GroupKey groupKey;
      groupKey.keyIndex = body[4] & 0x03;
      groupKey.transmit = (body[4] & 0x04) != 0;
      groupKey.key.assign(key.begin(), key.end());
      result.groupKey = std::move(groupKey);
    }
    pos += element.size();
  }
  out = std::move(result);
  return KeyDataParseError::None;
}

SecretBytes BuildGroupKeyKde(const GroupKey& groupKey) {
  SecretBytes out;
  out.reserve(8 + groupKey.key.size());
  out.push_back(kElementIdVendor);
  out.push_back(static_cast<std::uint8_t>(6 + groupKey.key.size()));
  out.insert(out.end(), kRsnOui.begin(), kRsnOui.end());
  out.push_back(kKdeTypeGroupKey);
  out.push_back(static_cast<std::uint8_t>((groupKey.keyIndex & 0x03) | (groupKey.transmit ? 0x04 : 0)));
  out.push_back(0);
  out.insert(out.end(), groupKey.key.begin(), groupKey.key.end());
  return out;
}

void PadKeyDataForWrap(SecretBytes& keyData) {
  if (keyData.size() >= 16 && keyData.size() % 8 == 0) return;
  keyData.push_back(kElementIdVendor);
  while (keyData.size() < 16 || keyData.size() % 8 != 0) keyData.push_back(0);
}

}  // namespace wpa
