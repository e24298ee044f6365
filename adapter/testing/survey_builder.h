#pragma once
// Survey buffers for tests, in the layout the driver writes (vuzoza.h, VZ_SURVEY_BUFFER_SIZE).

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "vuzoza.h"

namespace adapter::testing {

struct SurveyEntryFields {
  std::array<std::uint8_t, VZ_MAC_SIZE> bssid{0x02, 0x5A, 0xA0, 0x00, 0x00, 0x01};
  std::string ssid;
  std::uint32_t privacy = 0;
  std::int32_t signalDbm = -50;
  std::uint32_t networkTypeInUse = 2;
  std::uint32_t frequencyKhz = 2'412'000;
  std::uint32_t infrastructureMode = 1;
  std::vector<std::uint8_t> elements;  // variable information elements
};

inline void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// One entry: the fixed part, the elements, padded to a multiple of four bytes.
inline std::vector<std::uint8_t> SurveyEntryBytes(const SurveyEntryFields& fields) {
  const std::size_t unpadded = VZ_SURVEY_ENTRY_FIXED_SIZE + fields.elements.size();
  std::vector<std::uint8_t> e((unpadded + 3) / 4 * 4, 0);
  PutU32(e, 0, static_cast<std::uint32_t>(e.size()));
  std::copy(fields.bssid.begin(), fields.bssid.end(), e.begin() + 4);
  const std::size_t ssidLength = std::min<std::size_t>(fields.ssid.size(), 32);
  PutU32(e, 12, static_cast<std::uint32_t>(ssidLength));
  std::copy_n(fields.ssid.begin(), ssidLength, e.begin() + 16);
  PutU32(e, 48, fields.privacy);
  PutU32(e, 52, static_cast<std::uint32_t>(fields.signalDbm));
  PutU32(e, 56, fields.networkTypeInUse);
  PutU32(e, 60, 32);
  PutU32(e, 72, fields.frequencyKhz);
  PutU32(e, 92, fields.infrastructureMode);
  PutU32(e, 112, static_cast<std::uint32_t>(12 + fields.elements.size()));
  std::copy(fields.elements.begin(), fields.elements.end(), e.begin() + VZ_SURVEY_ENTRY_FIXED_SIZE);
  return e;
}

// The count, then the entries back to back; exactly as long as that.
inline std::vector<std::uint8_t> SurveyBufferBytes(const std::vector<SurveyEntryFields>& entries) {
  std::vector<std::uint8_t> buffer(4, 0);
  PutU32(buffer, 0, static_cast<std::uint32_t>(entries.size()));
  for (const SurveyEntryFields& fields : entries) {
    const std::vector<std::uint8_t> e = SurveyEntryBytes(fields);
    buffer.insert(buffer.end(), e.begin(), e.end());
  }
  return buffer;
}

}  // namespace adapter::testing
