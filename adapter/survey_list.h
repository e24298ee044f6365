#pragma once
// Reading the site survey buffer the driver fills (the 802.11 BSSID list layout documented at
// VZ_SURVEY_BUFFER_SIZE in vuzoza.h). The driver's bytes are outside input: the count may claim
// more entries than there are, an entry's length may be 0 or run past the buffer, an SSID length
// may exceed 32. The reader never reads outside the buffer it is given:
//
//   - the walk stops at the first entry whose length is shorter than the fixed part of an entry
//     (which includes a length of 0) or which does not fit in the rest of the buffer;
//   - it stops after `count` entries, or earlier at the end of the buffer;
//   - an SSID length above 32 is taken as 32;
//   - the information elements are those from entry offset 128 on, as many as the entry's
//     element length (minus its 12 fixed bytes) says, cut at the end of the entry.
//
// The views of an entry point into the buffer and live as long as it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "vuzoza.h"

namespace adapter {

inline constexpr std::size_t kSurveyBufferSize = VZ_SURVEY_BUFFER_SIZE;
inline constexpr std::size_t kSurveySsidMax = 32;

// Infrastructure modes of an entry.
inline constexpr std::uint32_t kSurveyAdHoc = 0;
inline constexpr std::uint32_t kSurveyInfrastructure = 1;

struct SurveyEntry {
  std::array<std::uint8_t, VZ_MAC_SIZE> bssid{};
  std::span<const std::uint8_t> ssid;  // at most 32 bytes
  std::uint32_t privacy = 0;           // 0 open, otherwise encryption required
  std::int32_t signalDbm = 0;
  std::uint32_t networkTypeInUse = 0;  // 802.11 physical type
  std::uint32_t frequencyKhz = 0;
  std::uint32_t infrastructureMode = 0;  // kSurveyAdHoc, kSurveyInfrastructure, 2 automatic
  std::span<const std::uint8_t> informationElements;  // variable elements: id, length, body
};

// The entries of `buffer` in the driver's order.
std::vector<SurveyEntry> ReadSurveyList(std::span<const std::uint8_t> buffer);

}  // namespace adapter
