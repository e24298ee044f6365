#include "adapter/survey_list.h"

#include <algorithm>

namespace adapter {
namespace {

// Entry offsets of the fields read here.
constexpr std::size_t kLengthAt = 0;
constexpr std::size_t kBssidAt = 4;
constexpr std::size_t kSsidLengthAt = 12;
constexpr std::size_t kSsidAt = 16;
constexpr std::size_t kPrivacyAt = 48;
constexpr std::size_t kSignalAt = 52;
constexpr std::size_t kNetworkTypeInUseAt = 56;
constexpr std::size_t kFrequencyAt = 72;
constexpr std::size_t kInfrastructureAt = 92;
constexpr std::size_t kElementsLengthAt = 112;
constexpr std::size_t kFixedElementsSize = 12;
constexpr std::size_t kVariableElementsAt = VZ_SURVEY_ENTRY_FIXED_SIZE;

std::uint32_t U32(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | static_cast<std::uint32_t>(bytes[at + 1]) << 8 |
         static_cast<std::uint32_t>(bytes[at + 2]) << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// `entry` holds at least the fixed part.
SurveyEntry ReadEntry(std::span<const std::uint8_t> entry) {
  SurveyEntry e;
  std::copy_n(entry.begin() + kBssidAt, e.bssid.size(), e.bssid.begin());
  const std::size_t ssidLength = std::min<std::size_t>(U32(entry, kSsidLengthAt), kSurveySsidMax);
  e.ssid = entry.subspan(kSsidAt, ssidLength);
  e.privacy = U32(entry, kPrivacyAt);
  e.signalDbm = static_cast<std::int32_t>(U32(entry, kSignalAt));
  e.networkTypeInUse = U32(entry, kNetworkTypeInUseAt);
  e.frequencyKhz = U32(entry, kFrequencyAt);
  e.infrastructureMode = U32(entry, kInfrastructureAt);
  const std::uint32_t elementsLength = U32(entry, kElementsLengthAt);
  const std::size_t variable =
      elementsLength > kFixedElementsSize ? elementsLength - kFixedElementsSize : 0;
  e.informationElements = entry.subspan(
      kVariableElementsAt, std::min(variable, entry.size() - kVariableElementsAt));
  return e;
}

}  // namespace

std::vector<SurveyEntry> ReadSurveyList(std::span<const std::uint8_t> buffer) {
  std::vector<SurveyEntry> entries;
  if (buffer.size() < 4) return entries;
  const std::uint32_t count = U32(buffer, 0);
  std::size_t at = 4;
  for (std::uint32_t k = 0; k < count; ++k) {
    const std::size_t left = buffer.size() - at;
    if (left < VZ_SURVEY_ENTRY_FIXED_SIZE) break;
    const std::uint32_t length = U32(buffer, at + kLengthAt);
    if (length < VZ_SURVEY_ENTRY_FIXED_SIZE || length > left) break;
    entries.push_back(ReadEntry(buffer.subspan(at, length)));
    at += length;
  }
  return entries;
}

}  // namespace adapter
