#include "ui/main/element_scan.h"

#include <cstddef>
#include <optional>

namespace ui {
namespace {

constexpr std::uint8_t kRsnElement = 48;
constexpr std::uint8_t kVendorElement = 221;
constexpr std::uint8_t kWpaOrganisation[] = {0x00, 0x50, 0xF2};
constexpr std::uint8_t kWpaVendorType = 1;
constexpr std::size_t kHeader = 2;  // id and length

// Where the pairwise suite count starts, counted from the element's id byte: the WPA element
// has its organisation, type, version and group suite before it, the RSN element its version and
// group suite.
constexpr std::size_t kWpaPairwiseCountAt = 12;
constexpr std::size_t kRsnPairwiseCountAt = 8;
constexpr std::size_t kSuiteSize = 4;
constexpr std::size_t kCountSize = 2;
constexpr std::size_t kSuiteTypeAt = 3;  // within a suite selector

struct Suites {
  int pairwise;
  int keyManagement;
};

std::size_t Le16(std::span<const std::uint8_t> bytes, std::size_t at) {
  return static_cast<std::size_t>(bytes[at]) | static_cast<std::size_t>(bytes[at + 1]) << 8;
}

// The first pairwise and key-management suite types of a whole element (id byte first); none
// when the element does not hold both.
std::optional<Suites> ReadSuites(std::span<const std::uint8_t> element,
                                 std::size_t pairwiseCountAt) {
  if (element.size() < pairwiseCountAt + kCountSize) return std::nullopt;
  const std::size_t pairwiseCount = Le16(element, pairwiseCountAt);
  if (pairwiseCount == 0) return std::nullopt;
  const std::size_t firstPairwise = pairwiseCountAt + kCountSize;
  const std::size_t keyManagementCountAt = firstPairwise + pairwiseCount * kSuiteSize;
  if (element.size() < keyManagementCountAt + kCountSize + kSuiteSize) return std::nullopt;
  if (Le16(element, keyManagementCountAt) == 0) return std::nullopt;
  const std::size_t firstKeyManagement = keyManagementCountAt + kCountSize;
  return Suites{element[firstPairwise + kSuiteTypeAt], element[firstKeyManagement + kSuiteTypeAt]};
}

bool IsWpaElement(std::span<const std::uint8_t> element) {
  if (element[0] != kVendorElement || element.size() < kHeader + 4) return false;
  return element[2] == kWpaOrganisation[0] && element[3] == kWpaOrganisation[1] &&
         element[4] == kWpaOrganisation[2] && element[5] == kWpaVendorType;
}

}  // namespace

SecurityElements ScanSecurityElements(std::span<const std::uint8_t> elements, bool wpa2Mode) {
  SecurityElements found;
  auto take = [&found](const Suites& suites) {
    found.pairwise = suites.pairwise;
    found.keyManagement = suites.keyManagement;
  };
  std::size_t at = 0;
  while (elements.size() - at >= kHeader) {
    const std::size_t length = elements[at + 1];
    if (elements.size() - at - kHeader < length) break;
    const std::span<const std::uint8_t> element = elements.subspan(at, kHeader + length);
    at += kHeader + length;
    if (element[0] == kRsnElement) {
      if (const std::optional<Suites> suites = ReadSuites(element, kRsnPairwiseCountAt)) {
        found.rsnFound = true;
        take(*suites);
      }
    } else if (IsWpaElement(element) && !(wpa2Mode && found.rsnFound)) {
      if (const std::optional<Suites> suites = ReadSuites(element, kWpaPairwiseCountAt)) {
        found.wpaFound = true;
        take(*suites);
      }
    }
  }
  return found;
}

}  // namespace ui
