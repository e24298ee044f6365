#include "libs/dot1x/wpa/surveyed_element.h"

#include <algorithm>
#include <array>

#include "libs/dot1x/wpa/key_data.h"
#include "libs/vuzoza/include/vuzoza.h"

namespace wpa {
namespace {

constexpr std::size_t kLengthAt = 0;
constexpr std::size_t kBssidAt = 4;
constexpr std::size_t kElementsLengthAt = 112;
constexpr std::size_t kFixedElementsSize = 12;
constexpr std::size_t kVariableElementsAt = VZ_SURVEY_ENTRY_FIXED_SIZE;
constexpr std::array<std::uint8_t, 4> kWpaElementPrefix = {0x00, 0x50, 0xf2, 0x01};

std::uint32_t U32(ByteSpan bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The variable elements of an entry that holds at least its fixed part, cut at the entry's end.
ByteSpan VariableElements(ByteSpan entry) {
  const std::uint32_t length = U32(entry, kElementsLengthAt);
  const std::size_t variable = length > kFixedElementsSize ? length - kFixedElementsSize : 0;
  return entry.subspan(kVariableElementsAt, std::min(variable, entry.size() - kVariableElementsAt));
}

bool IsWanted(ByteSpan element, Protocol protocol) {
  switch (protocol) {
    case Protocol::Rsn:
      return element[0] == kElementIdRsn;
    case Protocol::Wpa:
      return element[0] == kElementIdVendor && element.size() >= 2 + kWpaElementPrefix.size() &&
             std::equal(kWpaElementPrefix.begin(), kWpaElementPrefix.end(), element.begin() + 2);
  }
  return false;
}

Bytes FindElement(ByteSpan elements, Protocol protocol) {
  for (std::size_t at = 0; elements.size() - at >= 2;) {
    const std::size_t length = elements[at + 1];
    if (length > elements.size() - at - 2) break;  // runs past the entry
    const ByteSpan element = elements.subspan(at, 2 + length);
    if (IsWanted(element, protocol)) return Bytes(element.begin(), element.end());
    at += element.size();
  }
  return {};
}

}  // namespace

Bytes SurveyedSecurityElement(ByteSpan surveyList, const MacAddress& bssid, Protocol protocol) {
  if (surveyList.size() < 4) return {};
  const std::uint32_t count = U32(surveyList, 0);
  std::size_t at = 4;
  for (std::uint32_t k = 0; k < count; ++k) {
    const std::size_t left = surveyList.size() - at;
    if (left < VZ_SURVEY_ENTRY_FIXED_SIZE) break;
    const std::uint32_t length = U32(surveyList, at + kLengthAt);
    if (length < VZ_SURVEY_ENTRY_FIXED_SIZE || length > left) break;
    const ByteSpan entry = surveyList.subspan(at, length);
    if (std::equal(bssid.begin(), bssid.end(), entry.begin() + kBssidAt)) {
      return FindElement(VariableElements(entry), protocol);
    }
    at += length;
  }
  return {};
}

}  // namespace wpa
